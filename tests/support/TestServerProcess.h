#pragma once
// One of the local test servers in tests/support/servers/, run as a child process with
// Debian's python3. The server prints "ready PORT" once it listens; it ends on SIGTERM,
// or when its stdin closes because the test process died.

#include <nlohmann/json.hpp>

#include <string>
#include <sys/types.h>
#include <vector>

namespace tb::test {

class TestServerProcess {
 public:
  // script: a file name in tests/support/servers/; args follow it, then "--watch-stdin".
  // The server's stderr goes to logPath. Waits (up to 20 s) until it listens.
  TestServerProcess(const std::string& script, const std::vector<std::string>& args, const std::string& logPath);
  ~TestServerProcess();  // SIGTERM, then SIGKILL if it has not ended within 5 s
  TestServerProcess(const TestServerProcess&) = delete;
  TestServerProcess& operator=(const TestServerProcess&) = delete;

  int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  int stdinFd_ = -1;  // held open: the server ends when it closes
  int stdoutFd_ = -1;
};

// The complete lines of a server's record file, one JSON object each; what names the
// server in the error thrown for a line that does not parse.
std::vector<nlohmann::json> ReadRecords(const std::string& path, const std::string& what);

}  // namespace tb::test
