#pragma once
// A local FTP server for tests (tests/support/servers/ftp_tls_server.py), run as a
// child process: explicit TLS required for the login and every transfer, or no TLS
// at all. It records every command it receives (never a password), so a test can
// check what a client sent and when.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/TestServerProcess.h"

namespace tb::test {

class FtpTestServer {
 public:
  enum class Mode { Tls, Plain };

  // Starts the server with TestCertificate() and waits (up to 20 s) until it listens.
  explicit FtpTestServer(Mode mode, std::string user = "webmaster", std::string password = "ftp s3cret");
  FtpTestServer(const FtpTestServer&) = delete;
  FtpTestServer& operator=(const FtpTestServer&) = delete;

  bool Started() const { return Port() > 0; }
  int Port() const;
  std::string Log() const;  // what the server wrote to stderr
  // The user's home on the server, where uploads land (with a trailing "/").
  std::string Home() const { return dir_ / "home/"; }

  // Every command so far: {"command", "arg" (null for PASS), "tls", "session"}.
  std::vector<nlohmann::json> Records() const;

 private:
  TempDir dir_;
  std::optional<TestServerProcess> process_;
};

}  // namespace tb::test
