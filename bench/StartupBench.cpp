// The whole start of Cotlyn in "M": from starting the process to its window shown with
// the chart painted (offscreen, COTLYN_FIRST_PAINT), on an agency root (200 properties,
// 20 years of bookings) against the same start on a root of 4 properties.

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "BenchSupport.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"

extern char** environ;

using namespace tb;
using namespace tb::bench;

namespace {

constexpr int kYears = 20;

// This environment with what a measured start needs: configuration and temporary
// folders of its own, message boxes on stderr, the offscreen platform, and the line
// that says the chart is painted.
std::vector<std::string> StartEnvironment(const std::string& root) {
  const std::string run = root + "run/";
  const std::pair<std::string, std::string> ours[] = {
      {"XDG_CONFIG_HOME", run + "config"}, {"XDG_RUNTIME_DIR", run + "runtime"}, {"TMPDIR", run + "tmp"},
      {"COTLYN_NONINTERACTIVE", "1"},      {"QT_QPA_PLATFORM", "offscreen"},     {"COTLYN_FIRST_PAINT", "1"},
  };
  std::set<std::string> names;
  std::vector<std::string> env;
  for (const auto& [name, value] : ours) {
    names.insert(name);
    env.push_back(name + "=" + value);
  }
  for (char** e = environ; *e; ++e) {
    const std::string v(*e);
    if (!names.count(v.substr(0, v.find('=')))) env.push_back(v);
  }
  for (const char* folder : {"config", "runtime", "tmp"}) {
    ForceDirectories(run + folder);
    ::chmod((run + folder).c_str(), 0700);
  }
  return env;
}

// Starts Cotlyn on root: the seconds from the start to its "first paint" line, or -1
// when it ended without one. The close that follows is waited for, not timed.
double TimedStart(const std::string& root, const std::vector<std::string>& env) {
  const std::string program = ExecutableFolder() + "Cotlyn";
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  const std::string errors = root + "run/stderr.txt";
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(root.c_str()), nullptr};
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string said;
  bool painted = false;
  char buf[256];
  ssize_t n = 0;
  while (spawned == 0 && !painted && (n = ::read(out[0], buf, sizeof buf)) > 0) {
    said.append(buf, static_cast<size_t>(n));
    painted = said.find("first paint\n") != std::string::npos;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  while (spawned == 0 && ::read(out[0], buf, sizeof buf) > 0) {
  }
  ::close(out[0]);
  int status = 0;
  if (spawned == 0) ::waitpid(pid, &status, 0);
  return painted ? seconds : -1;
}

void Start(benchmark::State& state, int properties) {
  const std::string root = StartupRoot(properties, kYears);
  const std::vector<std::string> env = StartEnvironment(root);
  for (auto _ : state) {
    const double seconds = TimedStart(root, env);
    if (seconds < 0) {
      state.SkipWithError(("no first paint; see " + root + "run/stderr.txt").c_str());
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["properties"] = properties;
}

// The floor: the same start with little data.
void BM_StartFourProperties(benchmark::State& state) { Start(state, 4); }
void BM_StartAgency(benchmark::State& state) { Start(state, 200); }

BENCHMARK(BM_StartFourProperties)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StartAgency)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Made, and started once each, before any timing: the first start after making a root
  // finds the files, libraries and fonts outside the cache.
  for (int properties : {4, 200}) {
    const std::string root = StartupRoot(properties, kYears);
    if (TimedStart(root, StartEnvironment(root)) < 0)
      std::fprintf(stderr, "Cotlyn did not report its first paint on %s (see run/stderr.txt)\n", root.c_str());
  }
  RatioReporter reporter(RatioReporter::Floors{{"BM_StartAgency", "BM_StartFourProperties"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
