#include "platform/SharedFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace tb::test {
namespace {

using Result = SharedFile::Result;

class SharedFileTest : public ::testing::Test {
 protected:
  // Runs a real second process that tries to take the file for writing; gives
  // its result as the child's exit code.
  Result OpenInChildProcess(const std::string& path) {
    pid_t pid = fork();
    if (pid == 0) {
      SharedFile f;
      _exit(static_cast<int>(f.OpenReadWriteDenyWriters(path)));
    }
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    return static_cast<Result>(WEXITSTATUS(status));
  }

  TempDir dir;
};

TEST_F(SharedFileTest, DenyWritersShutsOutOtherWritersButNotReaders) {
  std::string path = dir.Write("Bookings.bks", "booking data");
  SharedFile first;
  ASSERT_EQ(first.OpenReadWriteDenyWriters(path), Result::Ok);

  SharedFile second;
  EXPECT_EQ(second.OpenReadWriteDenyWriters(path), Result::Locked);
  EXPECT_FALSE(second.IsOpen());
  // A refused create must not have emptied the holder's file.
  EXPECT_EQ(second.CreateDenyWriters(path), Result::Locked);
  EXPECT_EQ(dir.Read("Bookings.bks"), "booking data");

  SharedFile reader;
  ASSERT_EQ(reader.OpenReadShareAll(path), Result::Ok);
  EXPECT_TRUE(reader.IsReadOnly());
  std::string text;
  ASSERT_TRUE(reader.ReadAll(text));
  EXPECT_EQ(text, "booking data");
  size_t written = 0;
  EXPECT_FALSE(reader.WriteAt(0, "x", 1, written));
  reader.Close();

  // The lock moves with the object and goes with Close.
  SharedFile moved = std::move(first);
  EXPECT_FALSE(first.IsOpen());
  EXPECT_EQ(second.OpenReadWriteDenyWriters(path), Result::Locked);
  moved.Close();
  EXPECT_EQ(second.OpenReadWriteDenyWriters(path), Result::Ok);
}

TEST_F(SharedFileTest, AnotherProcessIsRefusedWhileTheLockIsHeld) {
  std::string path = dir.Write("Bookings.bks", "data");
  SharedFile holder;
  ASSERT_EQ(holder.OpenReadWriteDenyWriters(path), Result::Ok);
  // Closing some other descriptor on the file would drop a classic POSIX lock.
  {
    SharedFile reader;
    ASSERT_EQ(reader.OpenReadShareAll(path), Result::Ok);
  }
  EXPECT_EQ(OpenInChildProcess(path), Result::Locked);
  holder.Close();
  EXPECT_EQ(OpenInChildProcess(path), Result::Ok);
}

TEST_F(SharedFileTest, ShorterRewriteWithTruncateLeavesNoStaleBytes) {
  std::string path = dir.Write("Rates.rts", "0123456789");
  SharedFile f;
  ASSERT_EQ(f.OpenReadWriteDenyWriters(path), Result::Ok);
  size_t written = 0;
  ASSERT_TRUE(f.WriteAt(0, "abc", 3, written));
  EXPECT_EQ(written, 3u);
  ASSERT_TRUE(f.Truncate(3));
  ASSERT_TRUE(f.Append("de", 2));
  ASSERT_TRUE(f.Sync());
  EXPECT_EQ(f.Size(), 5);
  std::string text;
  ASSERT_TRUE(f.ReadAll(text));
  EXPECT_EQ(text, "abcde");
  f.Close();
  EXPECT_EQ(dir.Read("Rates.rts"), "abcde");

  // Create empties an existing file once it holds the lock.
  ASSERT_EQ(f.CreateDenyWriters(path), Result::Ok);
  EXPECT_EQ(f.Size(), 0);
}

TEST_F(SharedFileTest, MissingFileIsNotFound) {
  SharedFile f;
  EXPECT_EQ(f.OpenReadShareAll(dir / "none.bks"), Result::NotFound);
  EXPECT_EQ(f.OpenReadWriteDenyWriters(dir / "none.bks"), Result::NotFound);
  EXPECT_FALSE(f.ErrorText().empty());
  EXPECT_EQ(f.OpenReadWriteDenyWriters(dir / "no-folder/none.bks"), Result::NotFound);
  EXPECT_EQ(f.CreateDenyWriters(dir / "no-folder/new.bks"), Result::NotFound);
  ASSERT_EQ(f.CreateDenyWriters(dir / "new.bks"), Result::Ok);
  EXPECT_EQ(f.Size(), 0);
}

}  // namespace
}  // namespace tb::test
