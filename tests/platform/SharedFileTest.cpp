#include "platform/SharedFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"
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
  // A create over a file that is there changes nothing.
  EXPECT_EQ(second.CreateDenyWriters(path, "new data"), Result::Locked);
  EXPECT_EQ(dir.Read("Bookings.bks"), "booking data");

  SharedFile reader;
  ASSERT_EQ(reader.OpenReadShareAll(path), Result::Ok);
  EXPECT_TRUE(reader.IsReadOnly());
  std::string text;
  ASSERT_TRUE(reader.ReadAll(text));
  EXPECT_EQ(text, "booking data");
  size_t written = 0;
  EXPECT_FALSE(reader.Replace("x", written));
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

// A held file is replaced whole: a shorter image leaves nothing stale, and no journal
// stays behind.
TEST_F(SharedFileTest, ReplaceWritesTheWholeImageAndNothingElse) {
  std::string path = dir.Write("Rates26.bkc", "0123456789");
  SharedFile f;
  ASSERT_EQ(f.OpenReadWriteDenyWriters(path), Result::Ok);
  size_t written = 0;
  ASSERT_TRUE(f.Replace("abc", written));
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(f.Size(), 3);
  std::string text;
  ASSERT_TRUE(f.ReadAll(text));
  EXPECT_EQ(text, "abc");
  f.Close();
  EXPECT_EQ(dir.Read("Rates26.bkc"), "abc");
  EXPECT_FALSE(FileExists(SharedFile::JournalPath(path)));
}

// What a holder that was killed in the middle of a replace leaves: a complete journal
// and a half-written file (readers take the journal's image, the next holder finishes
// the replace), or a journal cut short and the file untouched (the journal is dropped).
TEST_F(SharedFileTest, TheNextHolderFinishesOrDropsAJournalACrashLeft) {
  struct Case {
    const char* what;
    std::string file, journal, read, after;
  } cases[] = {
      {"complete journal", "NEW DATa old tail", SharedFile::JournalOf("NEW DATA"), "NEW DATA", "NEW DATA"},
      {"journal cut short", "OLD DATA", SharedFile::JournalOf("NEW DATA").substr(0, 23), "OLD DATA", "OLD DATA"},
      {"journal with a flipped byte", "OLD DATA", SharedFile::JournalOf("NEW DATX").replace(20, 8, "NEW DATA"),
       "OLD DATA", "OLD DATA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.Write("Bookings.bks", c.file);
    const std::string journal = SharedFile::JournalPath(path);
    dir.Write(".Bookings.bks.journal", c.journal);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text));
    EXPECT_EQ(text, c.read);
    SharedFile holder;
    ASSERT_EQ(holder.OpenReadWriteDenyWriters(path), Result::Ok);
    EXPECT_FALSE(FileExists(journal));
    EXPECT_EQ(dir.Read("Bookings.bks"), c.after);
  }
}

// Appends to a log of records: a record cut short at the end by a crash is cut off
// first. A text log's cut line is ended instead (its words may tell what happened).
TEST_F(SharedFileTest, AppendsStartAfterWhatACrashCutShort) {
  const std::string path = dir.Write("Changed.bks", "AAAABBB");
  const auto wholeRecords = [](const std::string& content) { return content.size() / 4 * 4; };  // 4-byte records
  SharedFile log;
  ASSERT_EQ(log.OpenOrCreateDenyWriters(path), Result::Ok);
  ASSERT_TRUE(log.AppendRecords("CCCC", wholeRecords));
  EXPECT_EQ(dir.Read("Changed.bks"), "AAAACCCC");
  log.Close();
  const std::string text = dir.Write("Cotlyn.log", "line one\r\nline tw");
  ASSERT_EQ(log.OpenOrCreateDenyWriters(text), Result::Ok);
  ASSERT_TRUE(log.AppendLine("line three\r\n"));
  ASSERT_TRUE(log.AppendLine("line four\r\n"));
  EXPECT_EQ(dir.Read("Cotlyn.log"), "line one\r\nline tw\r\nline three\r\nline four\r\n");
  log.Close();
  ASSERT_EQ(log.OpenOrCreateDenyWriters(dir / "new.log"), Result::Ok);  // made when missing
  ASSERT_TRUE(log.AppendLine("first\r\n"));
  EXPECT_EQ(dir.Read("new.log"), "first\r\n");
}

// A private log is made for this user only, whatever the umask, and never through a link
// someone put in its place.
TEST_F(SharedFileTest, APrivateLogIsMadeForThisUserOnly) {
  const mode_t old = umask(0);
  SharedFile log;
  const Result made = log.OpenOrCreateDenyWriters(dir / "private.log", FileAccess::Private);
  umask(old);
  ASSERT_EQ(made, Result::Ok);
  struct stat st {};
  ASSERT_EQ(stat((dir / "private.log").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  log.Close();
  ASSERT_EQ(symlink((dir / "elsewhere.log").c_str(), (dir / "linked.log").c_str()), 0);
  EXPECT_EQ(log.OpenOrCreateDenyWriters(dir / "linked.log", FileAccess::Private), Result::Failed);
  EXPECT_FALSE(FileExists(dir / "elsewhere.log"));
}

// A new file appears whole and held, or not at all.
TEST_F(SharedFileTest, CreateMakesTheFileWholeAndHeld) {
  SharedFile f;
  EXPECT_EQ(f.OpenReadShareAll(dir / "none.bks"), Result::NotFound);
  EXPECT_EQ(f.OpenReadWriteDenyWriters(dir / "none.bks"), Result::NotFound);
  EXPECT_FALSE(f.ErrorText().empty());
  EXPECT_EQ(f.OpenReadWriteDenyWriters(dir / "no-folder/none.bks"), Result::NotFound);
  EXPECT_EQ(f.CreateDenyWriters(dir / "no-folder/new.bks", "x"), Result::NotFound);
  ASSERT_EQ(f.CreateDenyWriters(dir / "new.bks", "the bookings"), Result::Ok);
  EXPECT_EQ(dir.Read("new.bks"), "the bookings");
  EXPECT_EQ(OpenInChildProcess(dir / "new.bks"), Result::Locked);
  EXPECT_EQ(ListFiles(dir.Path(), ".*"), std::vector<std::string>{});  // nothing half made left beside it
}

}  // namespace
}  // namespace tb::test
