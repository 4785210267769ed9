#include <gtest/gtest.h>

#include "app/WindowPlacement.h"

namespace tb::test {
namespace {

TEST(WindowPlacement, PropertyWindowsCascade) {
  const std::array<int16_t, 4> none{0, 0, 0, 0};
  // d = round((1919 - 540 - 65) / 3) = 438
  Rect r = PropertyWindowPlacement(false, none, 1919, 1039, 540, 3, 4);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.height, 1036);
  EXPECT_EQ(r.width, 540);
  EXPECT_EQ(r.left, 60 + 2 * 438);
  EXPECT_EQ(PropertyWindowPlacement(false, none, 500, 700, 540, 2, 4).left, 140);  // no room: 80 apart
  EXPECT_EQ(PropertyWindowPlacement(false, none, 1919, 1039, 540, 1, 1).left, 60);
  // Halves go to even: (1000 - 540 - 65) / 2 = 197.5 -> 198
  EXPECT_EQ(PropertyWindowPlacement(false, none, 1000, 700, 540, 2, 3).left, 60 + 198);
}

TEST(WindowPlacement, SavedPlaceOnlyWithSaveSSPAndAHeight) {
  const std::array<int16_t, 4> saved{10, 20, 600, 530};
  Rect r = PropertyWindowPlacement(true, saved, 1919, 1039, 540, 1, 2);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.height, 600);
  EXPECT_EQ(r.width, 530);
  EXPECT_EQ(PropertyWindowPlacement(false, saved, 1919, 1039, 540, 1, 2).top, 1);
  EXPECT_EQ(PropertyWindowPlacement(true, {10, 20, 0, 530}, 1919, 1039, 540, 1, 2).top, 1);
}

TEST(WindowPlacement, AllPropertiesWindow) {
  Rect r = AllPropertiesPlacement(false, {}, 1919, 1039, 400);
  EXPECT_EQ(r.height, 400);
  EXPECT_EQ(r.top, (1039 - 400) / 4);
  EXPECT_EQ(r.left, 191);
  EXPECT_EQ(r.width, 1535);
  EXPECT_EQ(AllPropertiesPlacement(false, {}, 1919, 1039, 5000).height, 1039);
}

}  // namespace
}  // namespace tb::test
