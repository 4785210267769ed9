#pragma once
// Runs one of our programs as a separate process, the way a user or a script would.

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace tb::test {

// Folder of the built programs (COTLYN_BIN_DIR, set by the test runner).
std::string ProgramPath(const std::string& name);

class ChildProcess {
 public:
  // env: extra "NAME=value" entries on top of this process's environment.
  ChildProcess(std::string program, std::vector<std::string> args, std::vector<std::string> env = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start();
  // Waits for the end; returns the exit code, or -1 on a signal or timeout (then kills it).
  int Wait(double timeoutSeconds = 60);
  void Kill(int signal);
  const std::string& Output() const { return out_; }  // stdout, after Wait
  const std::string& Errors() const { return err_; }  // stderr, after Wait

  // Start and Wait in one.
  static ChildProcess Run(const std::string& program, std::vector<std::string> args,
                          std::vector<std::string> env = {}, double timeoutSeconds = 60);
  int exitCode = -1;

 ChildProcess(ChildProcess&& other) noexcept;

 private:
  std::string program_;
  std::vector<std::string> args_, env_;
  pid_t pid_ = -1;
  std::string outPath_, errPath_, out_, err_;
};

// The text of a PDF file as poppler's pdftotext lays it out ("" when it cannot).
std::string PdfText(const std::string& pdf);

// Waits until pred() is true, polling; false on timeout.
bool WaitUntil(const std::function<bool()>& pred, double timeoutSeconds = 30);

}  // namespace tb::test
