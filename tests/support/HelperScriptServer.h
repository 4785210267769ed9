#pragma once
// A local helper script for upload tests (tests/support/servers/helper_script_server.py),
// run as a child process. It checks the password, inflates compressed bodies, checks the
// length, stores each file and records every request with its headers in order, so a test
// sees what an upload really sent. Some paths fail on purpose: "/missing" (404),
// "/broken" (200 without success), "/moved" (302), "/stall" (never answers).

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/TempDir.h"
#include "support/TestServerProcess.h"

namespace tb::test {

class HelperScriptServer {
 public:
  // tls: HTTPS with TestCertificate() (trusted under TrustTestServers), else plain http.
  explicit HelperScriptServer(bool tls, std::string password = "hs pw 1");

  bool Started() const { return Port() > 0; }
  int Port() const;
  // The helper script's address on this server at path ("/helper.php" uploads).
  std::string Url(const std::string& path = "/helper.php") const;
  std::string Log() const;

  // One object a request: "method", "path", "headers" ([name, value] in order),
  // "body_length", "stored", "outcome".
  std::vector<nlohmann::json> Requests() const;
  // The headers of request i in the order they arrived.
  std::vector<std::pair<std::string, std::string>> Headers(size_t i) const;
  // The value of header name in request i, or nullopt when it was not sent.
  std::optional<std::string> Header(size_t i, const std::string& name) const;
  // How many requests sent a file of that name (XHRFN).
  size_t Uploads(const std::string& name) const;
  // The bytes stored under name, or nullopt when nothing was.
  std::optional<std::string> Stored(const std::string& name) const;

 private:
  bool tls_;
  TempDir dir_;
  std::optional<TestServerProcess> process_;
};

}  // namespace tb::test
