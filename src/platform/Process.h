#pragma once
// Starting other programs and handing files and links to the desktop.

#include <string>
#include <vector>

namespace tb {

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Starts program (looked up on PATH unless it holds a "/") with args.
  // wait: returns its exit code; otherwise 0 once started. -1 when it cannot be started.
  virtual int Run(const std::string& program, const std::vector<std::string>& args, bool wait) = 0;
  // Opens a file, folder or link (mailto:, http:) with the desktop's associated program.
  virtual bool ShellOpen(const std::string& target) = 0;
  // Runs program with args, waits, and gives what it wrote to its standard output;
  // its exit code, -1 when it cannot be started.
  virtual int Capture(const std::string& program, const std::vector<std::string>& args, std::string& output) = 0;
};

// posix_spawn + waitpid; ShellOpen runs xdg-open.
class PosixProcessRunner : public ProcessRunner {
 public:
  int Run(const std::string& program, const std::vector<std::string>& args, bool wait) override;
  bool ShellOpen(const std::string& target) override;
  int Capture(const std::string& program, const std::vector<std::string>& args, std::string& output) override;
};

// Full path of a program found on PATH, or "" (like "which").
std::string FindOnPath(const std::string& program);
// The desktop entry file of an application the desktop names by its id
// ("org.gnome.TextEditor.desktop"), from the user's then the system's applications
// folders; "" when there is none.
std::string DesktopEntryPath(const std::string& desktopId);

}  // namespace tb
