#pragma once
// A session over a fresh root folder, with a fixed clock, scripted dialogs, a
// registry of its own and a process runner that only records what it was asked.

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "store/Session.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tb::test {

// Thrown where the program would end the process.
struct ProcessExit : std::runtime_error {
  explicit ProcessExit(int c) : std::runtime_error("process exit " + std::to_string(c)), code(c) {}
  int code;
};

class RecordingRunner : public ProcessRunner {
 public:
  struct Call {
    std::string program;
    std::vector<std::string> args;
    bool wait;
  };
  int Run(const std::string& program, const std::vector<std::string>& args, bool wait) override {
    calls.push_back({program, args, wait});
    return exitCode;
  }
  bool ShellOpen(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  int Capture(const std::string& program, const std::vector<std::string>& args, std::string& output) override {
    calls.push_back({program, args, true});
    output = captured;
    return exitCode;
  }
  std::vector<Call> calls;
  std::vector<std::string> opened;
  int exitCode = 0;
  std::string captured;  // what a captured program writes
};

class TestSession {
 public:
  // now: the session's clock (default 9 Dec 2026, 10:30).
  explicit TestSession(TDateTime now = EncodeDate(2026, 12, 9) + 10.5 / 24);

  TempDir dir;  // holds root/ and the registry file
  FixedClock clock;
  ScriptedDialogs dialogs;
  RegistryStore registry;
  RecordingRunner runner;
  Session session;

  std::string Root() const { return dir.Path() + "root/"; }
  // Writes root/Cotlyn.ini (LF line ends in text become CR LF) and points the session at it.
  std::string WriteSettings(const std::string& text);
  // WriteSettings, then LoadSettings, with the root folder and log paths set.
  void Load(const std::string& text);
  // Makes this session a second user of other's root folder: the same settings and
  // property table, with nothing read yet and a temporary folder of its own.
  void JoinRoot(const TestSession& other);
};

// A settings file with the common section and n simple properties named "Prop 1".. .
std::string SimpleSettings(int properties, const std::string& extraCommon = "");

}  // namespace tb::test
