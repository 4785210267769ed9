#include "support/TestServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tb::test {

namespace {

// Debian's interpreter: a python3 earlier on PATH may not see Debian's python3-* packages.
constexpr const char* kPython = "/usr/bin/python3";

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

TestServerProcess::TestServerProcess(const std::string& script, const std::vector<std::string>& serverArgs,
                                     const std::string& logPath) {
  std::vector<std::string> args = {kPython, std::string(TENBROOK_TEST_SERVERS) + script};
  args.insert(args.end(), serverArgs.begin(), serverArgs.end());
  args.push_back("--watch-stdin");
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

TestServerProcess::~TestServerProcess() {
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

std::vector<nlohmann::json> ReadRecords(const std::string& path, const std::string& what) {
  std::vector<nlohmann::json> records;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  // A line without its newline is still being written: leave it for next time.
  while (std::getline(in, line) && !in.eof()) {
    try {
      records.push_back(nlohmann::json::parse(line));
    } catch (const nlohmann::json::parse_error& e) {
      throw std::runtime_error("unreadable " + what + " record: " + std::string(e.what()) + ": " +
                               line.substr(0, 200));
    }
  }
  return records;
}

}  // namespace tb::test
