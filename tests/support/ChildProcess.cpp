#include "support/ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

extern char** environ;

namespace tb::test {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TempName(const char* what) {
  std::string tmpl = "/tmp/tenbrook-child-" + std::string(what) + "-XXXXXX";
  int fd = mkstemp(tmpl.data());
  if (fd >= 0) close(fd);
  return tmpl;
}

}  // namespace

std::string ProgramPath(const std::string& name) {
  return std::string(TENBROOK_BIN_DIR) + "/" + name;
}

ChildProcess::ChildProcess(std::string program, std::vector<std::string> args, std::vector<std::string> env)
    : program_(std::move(program)), args_(std::move(args)), env_(std::move(env)) {}

ChildProcess::ChildProcess(ChildProcess&& o) noexcept
    : exitCode(o.exitCode),
      program_(std::move(o.program_)),
      args_(std::move(o.args_)),
      env_(std::move(o.env_)),
      pid_(o.pid_),
      outPath_(std::move(o.outPath_)),
      errPath_(std::move(o.errPath_)),
      out_(std::move(o.out_)),
      err_(std::move(o.err_)) {
  o.pid_ = -1;
  o.outPath_.clear();
  o.errPath_.clear();
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (!outPath_.empty()) unlink(outPath_.c_str());
  if (!errPath_.empty()) unlink(errPath_.c_str());
}

bool ChildProcess::Start() {
  outPath_ = TempName("out");
  errPath_ = TempName("err");
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    int out = open(outPath_.c_str(), O_WRONLY | O_TRUNC);
    int err = open(errPath_.c_str(), O_WRONLY | O_TRUNC);
    int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    for (const std::string& e : env_) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program_.c_str()));
    for (const std::string& a : args_) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execve(program_.c_str(), argv.data(), environ);
    _exit(127);
  }
  return true;
}

int ChildProcess::Wait(double timeoutSeconds) {
  int status = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  while (pid_ > 0) {
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      pid_ = -1;
      exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() > until) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      exitCode = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  out_ = ReadAll(outPath_);
  err_ = ReadAll(errPath_);
  return exitCode;
}

void ChildProcess::Kill(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

ChildProcess ChildProcess::Run(const std::string& program, std::vector<std::string> args,
                               std::vector<std::string> env, double timeoutSeconds) {
  ChildProcess p(program, std::move(args), std::move(env));
  if (p.Start()) p.Wait(timeoutSeconds);
  return p;
}

std::string PdfText(const std::string& pdf) {
  ChildProcess run = ChildProcess::Run("/usr/bin/pdftotext", {"-layout", pdf, "-"});
  return run.exitCode == 0 ? run.Output() : std::string();
}

bool WaitUntil(const std::function<bool()>& pred, double timeoutSeconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

}  // namespace tb::test
