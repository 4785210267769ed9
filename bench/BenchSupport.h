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

// A root made by the demo of this build, kept apart from AgencyRoot's (which may have
// been made by an older demo): with each property's change and deletion logs.
std::string ChangeLogRoot(int properties, int years);

// Every box answered with its first button, and nothing written: for runs that ask
// the same questions at every iteration.
class FirstButtonDialogs : public Dialogs {
 public:
  void Beep() override {}

 protected:
  MsgButton ShowMessage(const MessageBoxSpec& box) override;
  bool ShowInput(const std::string&, const std::string&, std::string&) override { return false; }
};

// A session over a root folder with its settings loaded; boxes go to stderr, or with
// `quiet` are answered with their first button.
class BenchSession {
 public:
  explicit BenchSession(const std::string& root, bool quiet = false);
  Session& session() { return *session_; }

 private:
  SystemClock clock_;
  ConsoleDialogs dialogs_;
  FirstButtonDialogs quietDialogs_;
  std::unique_ptr<RegistryStore> registry_;
  PosixProcessRunner processes_;
  std::unique_ptr<Session> session_;
};

// The floor of the report benchmarks: every booking of every property visited once,
// timed in the state's loop.
void WalkEveryBooking(benchmark::State& state, const Session& s);

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
