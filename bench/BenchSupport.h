#pragma once
// What the benchmarks share: an agency-sized demo root folder, a session over it, and
// a reporter that prints each benchmark against the floor measured in the same run.

#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "store/Session.h"

namespace tb::bench {

// A `cotlynctl demo --properties N --years Y` root, made once and kept in the
// temporary folder for later runs.
std::string AgencyRoot(int properties, int years);
// The same for the start-up benchmark, kept apart (each start writes to its root), set
// to show every property ("M") and no splash window.
std::string StartupRoot(int properties, int years);

// A session over a root folder with its settings loaded; boxes go to stderr.
class BenchSession {
 public:
  explicit BenchSession(const std::string& root);
  Session& session() { return *session_; }

 private:
  SystemClock clock_;
  ConsoleDialogs dialogs_;
  std::unique_ptr<RegistryStore> registry_;
  PosixProcessRunner processes_;
  std::unique_ptr<Session> session_;
};

// The floor of the report benchmarks: every booking of every property visited once.
// Returns a sum of their dates, so that the walk cannot be left out.
double WalkEveryBooking(const Session& s, int& bookings);

// Prints the usual table, then each benchmark named in `floors` (benchmark name ->
// name of its floor, both without arguments) with its ratio to the floor.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using Floors = std::map<std::string, std::string>;
  explicit RatioReporter(Floors floors) : floors_(std::move(floors)) {}
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  std::map<std::string, std::string> floors_;
  std::map<std::string, double> seconds_;  // real time per iteration
};

}  // namespace tb::bench
