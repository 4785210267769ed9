#pragma once
// A session over a root folder for one cotlynctl command: the settings loaded, boxes
// written to stderr, today from the system or from --today.

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "store/Session.h"

namespace tb {

class CtlDialogs;

class CtlSession {
 public:
  ~CtlSession();
  // Fails (returns null, with the reason in error) when the root or its settings are missing.
  static std::unique_ptr<CtlSession> Open(const std::string& root, const std::string& today, std::string& error);
  Session& session() { return *session_; }
  // A property by number or exact name; 0 when none.
  int FindProperty(const std::string& text) const;
  // "1,Heron,3": properties by number or name, in number order, each once; false with
  // the first that names none in unknown.
  bool FindProperties(const std::string& list, std::vector<int>& out, std::string& unknown) const;
  // Reads property n's bookings and rates and builds its week table, as the chart
  // does when it shows the property.
  void ShowProperty(int n);
  // The same with the chart's years moved, when needed, so that `date` is on show.
  void ShowPropertyAt(int n, TDateTime date);
  // The texts of the boxes shown so far (each also written to stderr).
  const std::vector<std::string>& Messages() const;

 private:
  CtlSession();
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<CtlDialogs> dialogs_;
  std::unique_ptr<RegistryStore> registry_;
  PosixProcessRunner processes_;
  std::unique_ptr<Session> session_;
};

// The booking of property n's list that starts on `start`, one that is not cancelled
// first (as a click on the chart finds it); null when none does.
Book_Buffer* BookingStartingOn(Session& s, int n, TDateTime start);

// ROOT opened with --today; null on failure, with the reason written to err and
// exitCode 2 for a usage error (a bad date), else 1.
std::unique_ptr<CtlSession> OpenCtlRoot(const std::string& root, const std::string& today, const std::string& usage,
                                        std::ostream& err, int& exitCode);

// ROOT opened (with --today) and PROP found. On failure `ctl` is null and exitCode says
// why: 2 for a usage error (a bad date), 1 otherwise; the reason is written to err.
struct CtlProperty {
  std::unique_ptr<CtlSession> ctl;
  int n = 0;
  int exitCode = 0;
  bool unknownProperty = false;  // the root opened, but PROP names no property
};
CtlProperty OpenCtlProperty(const std::string& root, const std::string& prop, const std::string& today,
                            const std::string& usage, std::ostream& err);

// Dates and money for JSON output.
std::string IsoDate(TDateTime d);
std::string IsoDateTime(TDateTime d);
// A Windows-1252 text as UTF-8, for JSON.
std::string JsonText(const std::string& ansi);
// A booking with every field, its status tag and what it is today, as JSON.
nlohmann::ordered_json BookingJson(const Book_Rec& b, const Prop_Rec& p, TDateTime today);

// Writes the answer of a command that changes data, with "saved" and the texts of the
// boxes shown ("messages"); the exit status: 0 only when saved.
int CtlAnswer(CtlSession& ctl, nlohmann::ordered_json answer, bool saved, std::ostream& out);

}  // namespace tb
