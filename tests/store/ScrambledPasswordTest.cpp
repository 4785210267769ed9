// The SMTP password's stored form: read back exactly, whatever it holds.

#include "store/ScrambledPassword.h"

#include <gtest/gtest.h>

#include <vector>

namespace tb::test {
namespace {

TEST(ScrambledPassword, ReadsBackWhatWasStored) {
  for (const std::string& password : std::vector<std::string>{"", "s3cret pw", "p\xE4ss\xA3", std::string("a\0b", 3), std::string(200, 'x')}) {
    const std::string stored = ScramblePassword(password);
    EXPECT_EQ(stored.size(), 2 * password.size());
    EXPECT_EQ(DescramblePassword(stored), password) << stored;
    if (!password.empty()) {
      EXPECT_EQ(stored.find(password), std::string::npos) << "never in clear";
    }
  }
  // Worked by hand from the steps: low half-byte in the key, the key turned, high half
  // in the turned key, turned again.
  EXPECT_EQ(ScramblePassword("AB"), "7ZK7");
  EXPECT_EQ(DescramblePassword("7ZK7"), "AB");
  // The same byte is written differently as the key turns.
  const std::string same = ScramblePassword("aaaa");
  EXPECT_NE(same.substr(0, 2), same.substr(2, 2));
}

TEST(ScrambledPassword, ForeignCharactersAndAnOddCount) {
  const std::string stored = ScramblePassword("s3cret");
  std::string noisy;
  for (const char c : stored) noisy += std::string("- \r\n") + c;  // none of these are in the key
  EXPECT_EQ(DescramblePassword(noisy), "s3cret");
  EXPECT_EQ(DescramblePassword(stored.substr(1)), "\x01") << "set, but never right";
  EXPECT_EQ(DescramblePassword("- \r\n"), "");
}

}  // namespace
}  // namespace tb::test
