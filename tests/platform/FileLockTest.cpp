#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace tb::test {
namespace {

// Two marks in one process stand for two programs: the locks belong to open files.
TEST(OwnerMark, CountsTheLiveOwners) {
  TempDir dir;
  const std::string path = dir / "owner.lock";
  EXPECT_EQ(OwnerMark::Holders(path), 0);  // never made
  OwnerMark first, second, third;
  ASSERT_TRUE(first.Hold(path));
  ASSERT_TRUE(second.Hold(path));  // two owners of one mark, each counted
  EXPECT_EQ(OwnerMark::Holders(path), 2);
  first.Release();  // as when its owner is killed
  EXPECT_EQ(OwnerMark::Holders(path), 1);
  ASSERT_TRUE(third.Hold(path));  // takes the place that came free
  EXPECT_EQ(OwnerMark::Holders(path), 2);
  OwnerMark moved = std::move(second);
  EXPECT_EQ(OwnerMark::Holders(path), 2);
  moved.Release();
  third.Release();
  EXPECT_EQ(OwnerMark::Holders(path), 0);
}

TEST(FileLock, HoldsUntilItGoes) {
  TempDir dir;
  {
    FileLock lock(dir / "users.lock");
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(OwnerMark::Holders(dir / "users.lock"), 1);
  }
  EXPECT_EQ(OwnerMark::Holders(dir / "users.lock"), 0);
  EXPECT_FALSE(FileLock(dir / "no-folder/users.lock").Held());
}

}  // namespace
}  // namespace tb::test
