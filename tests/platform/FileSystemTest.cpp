#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <cstdlib>
#include <ctime>

#include "support/TempDir.h"

namespace tb::test {
namespace {

TEST(FileSystemTest, WholeFileRoundTripKeepsEveryByte) {
  TempDir dir;
  const std::string data("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(WriteWholeFile(dir / "f.bin", data));
  std::string back;
  ASSERT_TRUE(ReadWholeFile(dir / "f.bin", back));
  EXPECT_EQ(back, data);
  EXPECT_EQ(FileSizeOf(dir / "f.bin"), 6);
  // Replacing with less leaves nothing of the old content behind.
  ASSERT_TRUE(WriteWholeFile(dir / "f.bin", "z"));
  EXPECT_EQ(dir.Read("f.bin"), "z");
  EXPECT_FALSE(ReadWholeFile(dir / "missing", back));
  EXPECT_EQ(FileSizeOf(dir / "missing"), -1);
  EXPECT_FALSE(WriteWholeFile(dir / "no-folder/f", "x"));
}

// The new image replaces the file in one step: a reader of the old file keeps reading
// the old bytes, permissions stay, private files are this user's only, links are followed.
TEST(FileSystemTest, WholeFileIsReplacedNotRewrittenInPlace) {
  TempDir dir;
  const std::string path = dir.Write("settings.ini", "old settings");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const int reader = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(WriteWholeFile(path, "new"));
  char buf[32] = {};
  EXPECT_EQ(::read(reader, buf, sizeof buf), 12);
  EXPECT_STREQ(buf, "old settings");
  ::close(reader);
  EXPECT_EQ(dir.Read("settings.ini"), "new");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  ASSERT_TRUE(WriteWholeFile(dir / "P1-Bookings.bks", "names", FileAccess::Private));
  ASSERT_EQ(::stat((dir / "P1-Bookings.bks").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  ASSERT_EQ(::symlink(path.c_str(), (dir / "link.ini").c_str()), 0);
  ASSERT_TRUE(WriteWholeFile(dir / "link.ini", "through the link"));
  EXPECT_EQ(dir.Read("settings.ini"), "through the link");
  struct stat lst {};
  ASSERT_EQ(::lstat((dir / "link.ini").c_str(), &lst), 0);
  EXPECT_TRUE(S_ISLNK(lst.st_mode));

  EXPECT_FALSE(WriteWholeFile(dir.Path(), "a folder"));
  // Nothing of the work is left beside the files.
  EXPECT_EQ(ListFiles(dir.Path(), ".*"), std::vector<std::string>{});
}

// Killed at any moment of a write, a file replaced whole is the old one or the new one;
// what the killed writer left beside it goes at the next write.
TEST(FileSystemTest, AWriterKilledAnywhereLeavesTheOldFileOrTheNew) {
  TempDir dir;
  const std::string path = dir / "Cotlyn.ini";
  const std::string a(200000, 'a'), b(150000, 'b');
  ASSERT_TRUE(WriteWholeFile(path, a));
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) WriteWholeFile(path, i % 2 ? a : b);
    }
    usleep(1000 + rng() % 20000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = dir.Read("Cotlyn.ini");
    EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
  ASSERT_TRUE(WriteWholeFile(path, "last"));
  EXPECT_EQ(ListFiles(dir.Path(), ".*"), std::vector<std::string>{});
}

TEST(FileSystemTest, RelativePathsAreTakenFromTheWorkingFolder) {
  char* cwd = ::getcwd(nullptr, 0);
  const std::string here = cwd;
  std::free(cwd);
  EXPECT_EQ(AbsolutePath("demo/"), here + "/demo/");
  EXPECT_EQ(AbsolutePath("./demo/../demo/Bramble/Data/Bookings.bks"), here + "/demo/Bramble/Data/Bookings.bks");
  EXPECT_EQ(AbsolutePath("/abs/x"), "/abs/x");
  TempDir dir;
  dir.Write("a/f.txt", "x");
  ASSERT_EQ(::symlink((dir / "a").c_str(), (dir / "b").c_str()), 0);
  EXPECT_EQ(CanonicalPath(dir / "b/f.txt"), CanonicalPath(dir / "a/f.txt"));
  EXPECT_EQ(CanonicalPath(dir / "b/").back(), '/');
  EXPECT_EQ(CanonicalPath(dir / "missing"), dir / "missing");
}

// A booking form saved by a browser is often on another disk: a move copies it over and
// deletes the original.
TEST(FileSystemTest, MoveCrossesFileSystems) {
  TempDir dir;
  const std::string elsewhere = "/dev/shm/tenbrook-move-" + std::to_string(::getpid());
  struct stat there {}, here {};
  if (!WriteWholeFile(elsewhere, "form") || ::stat(elsewhere.c_str(), &there) != 0 ||
      ::stat(dir.Path().c_str(), &here) != 0 || there.st_dev == here.st_dev) {
    DeleteFileAt(elsewhere);
    GTEST_SKIP() << "no second file system here";
  }
  ASSERT_TRUE(MoveFileAt(elsewhere, dir / "form.pdf"));
  EXPECT_EQ(dir.Read("form.pdf"), "form");
  EXPECT_FALSE(FileExists(elsewhere));
  // Never over a file that is there.
  ASSERT_TRUE(WriteWholeFile(elsewhere, "second"));
  EXPECT_FALSE(MoveFileAt(elsewhere, dir / "form.pdf"));
  EXPECT_EQ(dir.Read("form.pdf"), "form");
  EXPECT_TRUE(FileExists(elsewhere));
  DeleteFileAt(elsewhere);
  // Within one file system it is a rename.
  dir.Write("a.txt", "A");
  EXPECT_TRUE(MoveFileAt(dir / "a.txt", dir / "b.txt"));
  EXPECT_EQ(dir.Read("b.txt"), "A");
}

TEST(FileSystemTest, RenameNeverReplacesAnExistingFile) {
  TempDir dir;
  std::string from = dir.Write("a.txt", "A");
  std::string to = dir.Write("b.txt", "B");
  EXPECT_FALSE(RenameFileAt(from, to));
  EXPECT_EQ(dir.Read("a.txt"), "A");
  EXPECT_EQ(dir.Read("b.txt"), "B");
  ASSERT_TRUE(DeleteFileAt(to));
  EXPECT_TRUE(RenameFileAt(from, to));
  EXPECT_FALSE(FileExists(from));
  EXPECT_EQ(dir.Read("b.txt"), "A");
}

TEST(FileSystemTest, ForceDirectoriesAndCopy) {
  TempDir dir;
  ASSERT_TRUE(ForceDirectories(dir / "x/y/z/"));
  EXPECT_TRUE(DirectoryExists(dir / "x/y/z"));
  EXPECT_TRUE(ForceDirectories(dir / "x/y"));  // already there
  std::string file = dir.Write("f", "1");
  EXPECT_FALSE(ForceDirectories(file + "/sub"));
  ASSERT_TRUE(CopyFileOverwrite(file, dir / "x/y/z/copy"));
  ASSERT_TRUE(CopyFileOverwrite(dir.Write("g", "22"), dir / "x/y/z/copy"));
  EXPECT_EQ(dir.Read("x/y/z/copy"), "22");
  EXPECT_FALSE(CopyFileOverwrite(dir / "missing", dir / "x/y/z/copy"));
  EXPECT_EQ(dir.Read("x/y/z/copy"), "22");
}

TEST(FileSystemTest, FileTimeIsLocalWallClockWithMilliseconds) {
  TempDir dir;
  std::string path = dir.Write("f", "x");
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 6;  // July
  tm.tm_mday = 14;
  tm.tm_hour = 9;
  tm.tm_min = 5;
  tm.tm_sec = 30;
  tm.tm_isdst = -1;
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = std::mktime(&tm);
  times[0].tv_nsec = times[1].tv_nsec = 250'000'000;
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_NEAR(FileTimeAsDateTime(path), EncodeDate(2024, 7, 14) + EncodeTime(9, 5, 30, 250), 1e-9);
  EXPECT_EQ(FileTimeAsDateTime(dir / "missing"), -1);
}

TEST(FileSystemTest, ListFilesMatchesRegularFilesCaseInsensitivelyInOrder) {
  TempDir dir;
  for (const char* name : {"b.BKS", "a.bks", "C.bks", "a.bks.old", "notes.txt", "ab.bk"}) dir.Write(name, "");
  ForceDirectories(dir / "folder.bks");
  EXPECT_EQ(ListFiles(dir.Path(), "*.bks"), (std::vector<std::string>{"a.bks", "b.BKS", "C.bks"}));
  EXPECT_EQ(ListFiles(dir.Path(), "?.bk*").size(), 4u);
  EXPECT_EQ(ListFiles(dir.Path(), "*.*").size(), 6u);
  EXPECT_TRUE(ListFiles(dir / "missing", "*").empty());
}

TEST(FileSystemTest, Wildcards) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  } cases[] = {
      {"Letter1.rtf", "letter?.RTF", true}, {"Letter12.rtf", "letter?.rtf", false},
      {"abc", "*", true},                   {"", "*", true},
      {"abc", "a*c", true},                 {"abcbc", "a*bc", true},
      {"abcb", "a*bc", false},              {"README", "*.*", true},
      {"a.b.c", "*.c", true},               {"abc", "ab", false},
      {"ab", "abc", false},                 {"x.bks", "*x*.bks", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(FileSystemTest, PathHelpers) {
  EXPECT_EQ(NativePath("Data\\Sub\\Bookings.bks"), "Data/Sub/Bookings.bks");
  EXPECT_EQ(ExtractFileName("/r/Data/x.bks"), "x.bks");
  EXPECT_EQ(ExtractFileName("x.bks"), "x.bks");
  EXPECT_EQ(ExtractFilePath("/r/Data/x.bks"), "/r/Data/");
  EXPECT_EQ(ExtractFilePath("x.bks"), "");
  EXPECT_EQ(IncludeTrailingSlash("/r"), "/r/");
  EXPECT_EQ(IncludeTrailingSlash("/r/"), "/r/");
  EXPECT_TRUE(IsRelativePath("Data/x"));
  EXPECT_FALSE(IsRelativePath("/Data/x"));
}

}  // namespace
}  // namespace tb::test
