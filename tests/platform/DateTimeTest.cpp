#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "platform/FormatSettings.h"

namespace tb::test {
namespace {

struct KnownDate {
  int year, month, day;
  double serial;
  int dayOfWeek;  // 1 = Sunday
};

TEST(DateTimeTest, KnownDatesEncodeDecodeAndWeekday) {
  const KnownDate cases[] = {
      {1899, 12, 30, 0, 7},     {1899, 12, 29, -1, 6},   {1900, 1, 1, 2, 2},
      {1900, 3, 1, 61, 5},      {2000, 1, 1, 36526, 7},  {2024, 2, 29, 45351, 5},
      {2024, 3, 5, 45356, 3},   {1, 1, 1, -693593, 2},   {9999, 12, 31, 2958465, 6},
  };
  for (const KnownDate& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                 std::to_string(c.day));
    TDateTime dt = -99;
    ASSERT_TRUE(TryEncodeDate(c.year, c.month, c.day, dt));
    EXPECT_EQ(dt, c.serial);
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial);
    // 18:00 that day; before 1899-12-30 the fraction carries the date's minus sign.
    const TDateTime evening = c.serial + (c.serial < 0 ? -0.75 : 0.75);
    const DateParts back = DecodeDate(evening);
    EXPECT_EQ(back.year, c.year);
    EXPECT_EQ(back.month, c.month);
    EXPECT_EQ(back.day, c.day);
    EXPECT_EQ(DecodeTime(evening).hour, 18);
    EXPECT_EQ(DayOfWeek(evening), c.dayOfWeek);
  }
}

TEST(DateTimeTest, InvalidDatesAreRejected) {
  const DateParts cases[] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                             {2024, 0, 1},  {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  for (const DateParts& c : cases) {
    TDateTime dt = 123;
    EXPECT_FALSE(TryEncodeDate(c.year, c.month, c.day, dt)) << c.year << "-" << c.month;
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), 0);
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
  EXPECT_EQ(EncodeTime(24, 0, 0, 0), 0);
  EXPECT_EQ(EncodeTime(12, 60, 0, 0), 0);
}

// Every second of a day, at the start and the end of its millisecond range, must
// decode to what was encoded: the fraction is rounded, never truncated.
TEST(DateTimeTest, TimesRoundTripToTheMillisecond) {
  const TDateTime day = EncodeDate(2024, 6, 15);
  for (int sec = 0; sec < 86400; ++sec) {
    for (int ms : {0, 1, 999}) {
      const TimeParts t = DecodeTime(day + EncodeTime(sec / 3600, sec / 60 % 60, sec % 60, ms));
      ASSERT_EQ(t.hour * 3600 + t.minute * 60 + t.second, sec);
      ASSERT_EQ(t.msec, ms);
    }
  }
  EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", day + EncodeTime(12, 0, 0, 0), BritishFormatSettings()),
            "12:00:00.000");
}

TEST(DateTimeTest, LastFractionOfAMillisecondBelongsToTheNextDay) {
  const TDateTime dt = EncodeDate(2024, 2, 29) + 86399999.6 / 86400000.0;
  EXPECT_EQ(FormatDateTime("yymmdd hh:nn:ss.zzz", dt, BritishFormatSettings()),
            "240301 00:00:00.000");
  EXPECT_EQ(DateOf(dt), EncodeDate(2024, 3, 1));
}

TEST(DateTimeTest, NegativeValuesCountTheTimeForwardFromTheDate) {
  const DateParts d = DecodeDate(-1.25);
  EXPECT_EQ(d.year, 1899);
  EXPECT_EQ(d.month, 12);
  EXPECT_EQ(d.day, 29);
  EXPECT_EQ(DecodeTime(-1.25).hour, 6);
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(DateOf(45356.99), 45356);
}

TEST(DateTimeTest, FormatsThePatternsTheProgramUses) {
  // Tuesday 5 March 2024, 14:07:09.045
  const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"dd mmm yyyy", "05 Mar 2024"},
      {"yymmdd", "240305"},
      {"ddd d mmm", "Tue 5 Mar"},
      {"ddd dd mmm yyyy", "Tue 05 Mar 2024"},
      {"dd mmm", "05 Mar"},
      {"ddd", "Tue"},
      {"yyyy", "2024"},
      {"yymmdd hh:nn:ss", "240305 14:07:09"},
      {"yymmdd hh:nn:ss.zzz", "240305 14:07:09.045"},
      {"ddddd", "05/03/2024"},
      {"dddd d mmmm yy", "Tuesday 5 March 24"},
      {"d/m/yy", "5/3/24"},
      {"h:mm", "14:07"},          // minutes after an hour, across the separator
      {"hh mm", "14 07"},         // and across a space
      {"mm hh", "03 14"},         // but a month before it
      {"DD MMM YYYY", "05 Mar 2024"},
      {"'dd' d \"at\" h", "dd 5 at 14"},
      {"z", "45"},
      {"d 'unclosed", "5 unclosed"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTime(c.pattern, dt, BritishFormatSettings()), c.expected)
        << "pattern \"" << c.pattern << "\"";
  }
}

TEST(DateTimeTest, SeparatorsAndShortDateComeFromTheSettings) {
  const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0);
  FormatSettings fs = BritishFormatSettings();
  EXPECT_EQ(ShortDateText(dt, fs), "05/03/2024");
  fs.dateSeparator = '.';
  fs.timeSeparator = '-';
  fs.shortDateFormat = "yyyy/mm/dd";
  EXPECT_EQ(FormatDateTime("dd/mm hh:nn", dt, fs), "05.03 14-07");
  EXPECT_EQ(ShortDateText(dt, fs), "2024.03.05");
  EXPECT_EQ(FormatDateTime("ddddd", dt, fs), "2024.03.05");
  fs.shortDateFormat = "ddddd";  // names itself: must end
  EXPECT_EQ(ShortDateText(dt, fs), "");
}

TEST(DateTimeTest, LongTimeAndTwelveHourClock) {
  const TDateTime afternoon = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  const TDateTime midnight = EncodeDate(2024, 3, 5) + EncodeTime(0, 5, 0, 0);
  const TDateTime noon = EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0);
  FormatSettings fs = BritishFormatSettings();
  EXPECT_EQ(FormatDateTime("tt", afternoon, fs), "14:07:09");
  fs.longTimeFormat = "h:nn:ss ampm";
  fs.timeAMString = "vorm.";
  EXPECT_EQ(FormatDateTime("ddddd tt", afternoon, fs), "05/03/2024 2:07:09 PM");
  EXPECT_EQ(FormatDateTime("tt", midnight, fs), "12:05:00 vorm.");
  EXPECT_EQ(FormatDateTime("tt", noon, fs), "12:00:00 PM");
  EXPECT_EQ(FormatDateTime("hh:nn", afternoon, fs), "14:07");  // no "ampm": 24 hours
  EXPECT_EQ(FormatDateTime("t 'ampm'", afternoon, fs), "t ampm");  // quoted: text
  fs.longTimeFormat = "tt";  // names itself: must end
  EXPECT_EQ(FormatDateTime("tt", afternoon, fs), "");
}

TEST(DateTimeTest, OutOfRangeValuesDoNotCrash) {
  for (double dt : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN(), 3e6, -7e5}) {
    EXPECT_FALSE(FormatDateTime("ddd dd mmmm yyyy hh:nn:ss.zzz ddddd", dt,
                                BritishFormatSettings()).empty());
    EXPECT_GE(DayOfWeek(dt), 1);
    EXPECT_LE(DayOfWeek(dt), 7);
  }
}

// A zone with summer time, given as a rule so no zone database is needed.
class LocalTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    setenv("TZ", "GMT0BST,M3.5.0/1,M10.5.0", 1);
    tzset();
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  std::optional<std::string> saved_;
};

TEST_F(LocalTimeTest, ConvertsToAndFromTimeTInLocalTime) {
  const std::time_t summerNoonUtc = 1719835200;  // 1 Jul 2024 12:00 UTC
  const TDateTime summer = EncodeDate(2024, 7, 1) + EncodeTime(13, 0, 0, 0);
  EXPECT_EQ(FromTimeT(summerNoonUtc), summer);
  EXPECT_EQ(ToTimeT(summer), summerNoonUtc);
  const std::time_t winterNoonUtc = 1704110400;  // 1 Jan 2024 12:00 UTC
  const TDateTime winter = EncodeDate(2024, 1, 1) + EncodeTime(12, 0, 0, 0);
  EXPECT_EQ(FromTimeT(winterNoonUtc), winter);
  EXPECT_EQ(ToTimeT(winter), winterNoonUtc);
}

}  // namespace
}  // namespace tb::test
