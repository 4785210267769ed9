#include "support/SmtpTestServer.h"

#include <cstdlib>
#include <stdexcept>

#include "store/CommonSettings.h"
#include "store/ScrambledPassword.h"
#include "support/ChildProcess.h"

namespace tb::test {

namespace {

struct KeyPair {
  std::string certificate, key;
};

KeyPair MakeKeyPair(const TempDir& dir, const std::string& name) {
  KeyPair pair{dir / (name + "-cert.pem"), dir / (name + "-key.pem")};
  ChildProcess openssl = ChildProcess::Run(
      "/usr/bin/openssl",
      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
       "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout", pair.key, "-out", pair.certificate},
      {}, 60);
  if (openssl.exitCode != 0)
    throw std::runtime_error("openssl could not make a test certificate: " + openssl.Errors());
  return pair;
}

struct Certificates {
  TempDir dir;
  KeyPair trusted = MakeKeyPair(dir, "test");
  KeyPair other = MakeKeyPair(dir, "other");
};

const Certificates& TheCertificates() {
  static const Certificates certificates;
  return certificates;
}

const char* ModeName(SmtpTestServer::Mode mode) {
  switch (mode) {
    case SmtpTestServer::Mode::StartTlsAuth: return "starttls-auth";
    case SmtpTestServer::Mode::ImplicitTls: return "implicit-tls";
    case SmtpTestServer::Mode::Plain: return "plain";
    case SmtpTestServer::Mode::Refuse: return "refuse";
  }
  return "";
}

}  // namespace

const std::string& TestCertificate() { return TheCertificates().trusted.certificate; }
const std::string& TestKey() { return TheCertificates().trusted.key; }
const std::string& OtherCertificate() { return TheCertificates().other.certificate; }
const std::string& OtherKey() { return TheCertificates().other.key; }

TrustTestServers::TrustTestServers() {
  setenv("COTLYN_CA_FILE", TestCertificate().c_str(), 1);
  setenv("COTLYN_HTTP_TIMEOUT", "5", 1);
}

TrustTestServers::~TrustTestServers() {
  unsetenv("COTLYN_CA_FILE");
  unsetenv("COTLYN_HTTP_TIMEOUT");
}

void UseMailServer(CommonSettings& c, const SmtpTestServer& server) {
  c.eAddr = "office@tenbrook.test";
  c.eHost = "127.0.0.1";
  c.Port = server.Port();
  c.eUser = "office";
  c.ePC = ScramblePassword("s3cret pw");
  c.eSSL = 2;
  c.eExpTLS = true;
}

SmtpTestServer::SmtpTestServer(Mode mode, bool untrusted, std::string user, std::string password,
                               std::string refuseTo) {
  Start(mode, untrusted, user, password, refuseTo);
}

void SmtpTestServer::Start(Mode mode, bool untrusted, const std::string& user, const std::string& password,
                           const std::string& refuseTo) {
  const std::vector<std::string> args = {
      "--mode", ModeName(mode),
      "--record", dir_ / "record.jsonl",
      "--cert", untrusted ? OtherCertificate() : TestCertificate(),
      "--key", untrusted ? OtherKey() : TestKey(),
      "--user", user,
      "--password", password,
      "--refuse-to", refuseTo};
  process_.emplace("smtp_server.py", args, dir_ / "server.log");
}

int SmtpTestServer::Port() const { return process_ ? process_->Port() : 0; }

std::string SmtpTestServer::Log() const { return dir_.Read("server.log"); }

std::vector<nlohmann::json> SmtpTestServer::Records() const {
  return ReadRecords(dir_ / "record.jsonl", "SMTP test server");
}

std::vector<std::string> SmtpTestServer::Commands() const {
  std::vector<std::string> commands;
  for (const nlohmann::json& r : Records())
    if (r.contains("command")) commands.push_back(r["command"].get<std::string>());
  return commands;
}

std::vector<nlohmann::json> SmtpTestServer::Messages() const {
  std::vector<nlohmann::json> messages;
  for (const nlohmann::json& r : Records())
    if (r.contains("message")) messages.push_back(r["message"]);
  return messages;
}

bool SmtpTestServer::WaitForMessages(size_t n) const {
  return WaitUntil([&] { return Messages().size() >= n; }, 10);
}

}  // namespace tb::test
