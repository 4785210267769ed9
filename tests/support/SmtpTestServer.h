#pragma once
// A local SMTP server for tests (tests/support/servers/smtp_server.py), run as
// a child process. It records every command and message it receives, so a test
// can check what a client actually sent.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/TestServerProcess.h"

namespace tb {
struct CommonSettings;
}

namespace tb::test {

// A self-signed certificate for 127.0.0.1 and localhost and its key, made once
// per test process (PEM files). Tests trust it by pointing COTLYN_CA_FILE at it.
const std::string& TestCertificate();
const std::string& TestKey();
// A different self-signed pair for the same names, never trusted.
const std::string& OtherCertificate();
const std::string& OtherKey();

// While it lives, the program's network clients trust TestCertificate() and give up
// after a few seconds instead of a minute.
class TrustTestServers {
 public:
  TrustTestServers();
  ~TrustTestServers();
  TrustTestServers(const TrustTestServers&) = delete;
  TrustTestServers& operator=(const TrustTestServers&) = delete;
};

class SmtpTestServer;
// Mail settings that send through `server` with STARTTLS and its login.
void UseMailServer(CommonSettings& c, const SmtpTestServer& server);

class SmtpTestServer {
 public:
  enum class Mode {
    StartTlsAuth,  // STARTTLS offered; AUTH (LOGIN, PLAIN) only after it
    ImplicitTls,   // TLS from the first byte; AUTH offered at once
    Plain,         // no TLS at all; AUTH accepted in clear
    Refuse,        // as StartTlsAuth, but every recipient gets "550 5.7.1 Refused by policy"
  };

  // Starts the server and waits (up to 20 s) until it listens. untrusted: it
  // presents OtherCertificate() instead of TestCertificate(). refuseTo: that one
  // recipient is refused ("550 5.7.1 Refused by policy"), the others taken.
  explicit SmtpTestServer(Mode mode, bool untrusted = false, std::string user = "office",
                          std::string password = "s3cret pw", std::string refuseTo = "");
  SmtpTestServer(const SmtpTestServer&) = delete;
  SmtpTestServer& operator=(const SmtpTestServer&) = delete;

  bool Started() const { return Port() > 0; }
  int Port() const;
  // What the server wrote to stderr (its log), for failure messages.
  std::string Log() const;

  // Every record so far, read afresh from the record file: {"command": ...}
  // for each command, {"message": {...}} for each message accepted. Every
  // record has "session" (one number per connection); command records have
  // "tls"; AUTH records "mechanism", "user", "ok" and "reply".
  std::vector<nlohmann::json> Records() const;
  std::vector<std::string> Commands() const;       // the "command" values, in order
  std::vector<nlohmann::json> Messages() const;    // the "message" objects, in order
  // Waits (up to 10 s) until at least n messages were accepted.
  bool WaitForMessages(size_t n) const;

 private:
  void Start(Mode mode, bool untrusted, const std::string& user, const std::string& password,
             const std::string& refuseTo);

  TempDir dir_;
  std::optional<TestServerProcess> process_;
};

}  // namespace tb::test
