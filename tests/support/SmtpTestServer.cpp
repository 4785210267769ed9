#include "support/SmtpTestServer.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "store/CommonSettings.h"
#include "store/ScrambledPassword.h"
#include "support/ChildProcess.h"

extern char** environ;

namespace tb::test {

namespace {

// Debian's interpreter: a python3 earlier on PATH may not see python3-aiosmtpd.
constexpr const char* kPython = "/usr/bin/python3";

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

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// Reads from fd until a whole line has arrived; "" on end of file or timeout.
std::string ReadLine(int fd, std::chrono::steady_clock::time_point until) {
  std::string line;
  char c = 0;
  while (std::chrono::steady_clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) < 0 && errno != EINTR) return "";
    if (p.revents == 0) continue;
    ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "";
    if (c == '\n') return line;
    line += c;
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
      kPython, std::string(TENBROOK_TEST_SERVERS) + "smtp_server.py",
      "--mode", ModeName(mode),
      "--record", dir_ / "record.jsonl",
      "--cert", untrusted ? OtherCertificate() : TestCertificate(),
      "--key", untrusted ? OtherKey() : TestKey(),
      "--user", user,
      "--password", password,
      "--refuse-to", refuseTo,
      "--watch-stdin"};
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // Close-on-exec everywhere, so that no other child inherits our ends and
  // keeps the server's stdin open after this process has gone.
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return;
  }
  const std::string logPath = dir_ / "server.log";
  int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  if (logFd >= 0) posix_spawn_file_actions_adddup2(&actions, logFd, 2);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, kPython, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  CloseFd(logFd);
  stdinFd_ = in[1];
  stdoutFd_ = out[0];
  if (spawned != 0) return;
  pid_ = pid;

  const std::string line =
      ReadLine(stdoutFd_, std::chrono::steady_clock::now() + std::chrono::seconds(20));
  int port = 0;
  if (std::istringstream words(line); line.rfind("ready ", 0) == 0 && (words.ignore(6) >> port) && port > 0)
    port_ = port;
}

SmtpTestServer::~SmtpTestServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > until) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  CloseFd(stdinFd_);
  CloseFd(stdoutFd_);
}

std::string SmtpTestServer::Log() const { return dir_.Read("server.log"); }

std::vector<nlohmann::json> SmtpTestServer::Records() const {
  std::vector<nlohmann::json> records;
  std::ifstream in(dir_ / "record.jsonl", std::ios::binary);
  std::string line;
  // A line without its newline is still being written: leave it for next time.
  while (std::getline(in, line) && !in.eof()) {
    try {
      records.push_back(nlohmann::json::parse(line));
    } catch (const nlohmann::json::parse_error& e) {
      throw std::runtime_error("unreadable SMTP test server record: " + std::string(e.what()) + ": " +
                               line.substr(0, 200));
    }
  }
  return records;
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
