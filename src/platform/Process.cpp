#include "platform/Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"

extern char** environ;

namespace tb {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The child starts with default signal handling and nothing blocked, whatever
// this process has set up for itself.
class SpawnAttr {
 public:
  explicit SpawnAttr(short extraFlags) {
    posix_spawnattr_init(&attr_);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr_, &all);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setflags(&attr_, static_cast<short>(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | extraFlags));
  }
  ~SpawnAttr() { posix_spawnattr_destroy(&attr_); }
  SpawnAttr(const SpawnAttr&) = delete;
  SpawnAttr& operator=(const SpawnAttr&) = delete;
  const posix_spawnattr_t* get() const { return &attr_; }

 private:
  posix_spawnattr_t attr_;
};

// Starts argv[0] (looked up on PATH unless it holds a "/"); -1 when it cannot be. With
// outFd, the child's standard output goes there.
pid_t Spawn(const std::vector<std::string>& argv, short flags, int outFd = -1) {
  std::vector<char*> ptrs;
  for (const std::string& a : argv) ptrs.push_back(const_cast<char*>(a.c_str()));
  ptrs.push_back(nullptr);
  SpawnAttr attr(flags);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
  pid_t pid = -1;
  // glibc's posix_spawnp reports a failed exec (missing program) as its result.
  const int started = posix_spawnp(&pid, ptrs[0], &actions, attr.get(), ptrs.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return started == 0 ? pid : -1;
}

int WaitExitCode(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int PosixProcessRunner::Run(const std::string& program, const std::vector<std::string>& args, bool wait) {
  if (program.empty()) return -1;
  if (wait) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_t pid = Spawn(argv, 0);
    return pid < 0 ? -1 : WaitExitCode(pid);
  }
  // Not waiting: a short-lived shell starts the program in the background and exits
  // at once, so the program is adopted by init (which reaps it) and never lingers
  // as our zombie; no SIGCHLD handler is needed. Its own session keeps it running
  // when our terminal closes. The program is looked up first because the shell's
  // own failure to start it would come too late to report.
  std::string path = FindOnPath(program);
  if (path.empty()) return -1;
  std::vector<std::string> argv{"/bin/sh", "-c", "\"$@\" &", "sh", path};
  argv.insert(argv.end(), args.begin(), args.end());
  pid_t pid = Spawn(argv, POSIX_SPAWN_SETSID);
  return (pid >= 0 && WaitExitCode(pid) == 0) ? 0 : -1;
}

bool PosixProcessRunner::ShellOpen(const std::string& target) {
  if (target.empty()) return false;
  // xdg-open would take a leading "-" as an option of its own.
  std::string arg = target[0] == '-' ? "./" + target : target;
  return Run("xdg-open", {arg}, false) == 0;
}

int PosixProcessRunner::Capture(const std::string& program, const std::vector<std::string>& args,
                                std::string& output) {
  output.clear();
  if (program.empty()) return -1;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  const pid_t pid = Spawn(argv, 0, pipeFds[1]);
  ::close(pipeFds[1]);
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(pipeFds[0], buf, sizeof buf);
    if (n > 0) output.append(buf, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR) break;
  }
  ::close(pipeFds[0]);
  return pid < 0 ? -1 : WaitExitCode(pid);
}

std::string FindOnPath(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : std::string();
  const char* env = std::getenv("PATH");
  std::string path = env ? env : "/usr/local/bin:/usr/bin:/bin";
  size_t pos = 0;
  for (;;) {
    size_t colon = path.find(':', pos);
    std::string dir = path.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
    if (dir.empty()) dir = ".";  // an empty entry means the current folder
    std::string candidate = dir + (dir.back() == '/' ? "" : "/") + program;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string::npos) break;
    pos = colon + 1;
  }
  return {};
}

std::string DesktopEntryPath(const std::string& desktopId) {
  if (desktopId.empty() || desktopId.find('/') != std::string::npos) return {};
  const char* home = std::getenv("XDG_DATA_HOME");
  const char* user = std::getenv("HOME");
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string folders = home && *home ? home : std::string(user ? user : "") + "/.local/share";
  folders += ":";
  folders += dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
  // An id may stand for a file in a subfolder: "kde-kwrite.desktop" for "kde/kwrite.desktop".
  std::vector<std::string> names{desktopId};
  for (size_t dash = desktopId.find('-'); dash != std::string::npos; dash = desktopId.find('-', dash + 1))
    names.push_back(desktopId.substr(0, dash) + "/" + desktopId.substr(dash + 1));
  size_t pos = 0;
  for (;;) {
    const size_t colon = folders.find(':', pos);
    const std::string dir = folders.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
    if (!dir.empty())
      for (const std::string& name : names) {
        const std::string candidate = dir + (dir.back() == '/' ? "" : "/") + "applications/" + name;
        if (FileExists(candidate)) return candidate;
      }
    if (colon == std::string::npos) break;
    pos = colon + 1;
  }
  return {};
}

}  // namespace tb
