#include "platform/Process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

TEST(ProcessTest, WaitingGivesTheExitCode) {
  PosixProcessRunner runner;
  EXPECT_EQ(runner.Run("sh", {"-c", "exit 3"}, true), 3);
  EXPECT_EQ(runner.Run("/bin/sh", {"-c", "test \"$1\" = \"a 'b' c\"", "sh", "a 'b' c"}, true), 0);
  EXPECT_EQ(runner.Run("sh", {"-c", "kill -9 $$"}, true), -1);  // killed by a signal
  EXPECT_EQ(runner.Run("no-such-program-tenbrook", {}, true), -1);
  EXPECT_EQ(runner.Run("/no/such/program", {}, true), -1);
}

TEST(ProcessTest, CaptureGivesWhatTheProgramWrote) {
  PosixProcessRunner runner;
  std::string out;
  EXPECT_EQ(runner.Capture("sh", {"-c", "printf '%s\\n' \"$1\"; exit 2", "sh", "a 'b' c"}, out), 2);
  EXPECT_EQ(out, "a 'b' c\n");
  EXPECT_EQ(runner.Capture("sh", {"-c", "head -c 100000 /dev/zero"}, out), 0);
  EXPECT_EQ(out.size(), 100000u) << "more than a pipe holds";
  EXPECT_EQ(runner.Capture("no-such-program-tenbrook", {}, out), -1);
  EXPECT_EQ(out, "");
}

TEST(ProcessTest, NotWaitingStartsItAndLeavesNoChildBehind) {
  TempDir dir;
  PosixProcessRunner runner;
  const std::string out = dir / "out.txt";
  ASSERT_EQ(runner.Run("sh", {"-c", "printf %s \"$1\" > \"$2.part\" && mv \"$2.part\" \"$2\"", "sh", "a 'b' c", out},
                       false),
            0);
  // Nothing of ours is left to reap: no zombie can build up.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  for (int i = 0; i < 500 && !FileExists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(dir.Read("out.txt"), "a 'b' c");

  EXPECT_EQ(runner.Run("no-such-program-tenbrook", {}, false), -1);
}

TEST(ProcessTest, FindOnPath) {
  std::string sh = FindOnPath("sh");
  ASSERT_FALSE(sh.empty());
  EXPECT_EQ(sh.substr(sh.size() - 3), "/sh");
  EXPECT_EQ(access(sh.c_str(), X_OK), 0);
  EXPECT_EQ(FindOnPath("/bin/sh"), "/bin/sh");
  EXPECT_EQ(FindOnPath("no-such-program-tenbrook"), "");
  EXPECT_EQ(FindOnPath("/no/such/program"), "");
}

}  // namespace
}  // namespace tb::test
