#include "bookings/Rates.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "bookings/RatesBytes.h"
#include "bookings/WeekTable.h"
#include "platform/FileSystem.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// A rate year assembled from the layout itself, not from the writer under test.
std::string HandMadeFile() {
  std::string f = Le32(35) + Le32(250) + Le32(0);                  // linen, minimum, spare
  for (int32_t c : {400, 500, 600, 700, 800, 90000}) f += Le32(c);  // bands 1..6
  for (int32_t c : {15, 25, -5}) f += Le32(c);                     // fuel L, M, H
  f += Entry('L', 0, 6, "Half term");
  f += Entry('H', 3, 7, "");
  f += Entry(0, 0, 0, "Owner wk");
  for (int w = 4; w <= 53; ++w) f += Entry('M', 0, w * 10, w == 53 ? "last" : "");
  return f;
}

TEST(RatesCalendar, FirstWeekAndLengthOfRateYears) {
  struct Case {
    int changeDay, year, month, day, weeks;
  } cases[] = {
      {7, 2026, 1, 3, 53}, {7, 2027, 1, 9, 52}, {5, 2025, 1, 2, 53},
      {6, 2026, 1, 2, 53}, {1, 2027, 1, 3, 53}, {7, 2028, 1, 8, 52},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ChangeDay " << c.changeDay << " year " << c.year);
    const TDateTime start = WeekStart(c.year, 1, c.changeDay);
    EXPECT_EQ(start, EncodeDate(c.year, c.month, c.day));
    EXPECT_EQ(DayOfWeek(start), c.changeDay);
    EXPECT_EQ(WeeksInYear(c.year, c.changeDay), c.weeks);
    EXPECT_EQ(WeekStart(c.year, c.weeks + 1, c.changeDay), WeekStart(c.year + 1, 1, c.changeDay));
  }
}

TEST(RatesFile, HandMadeFileReadsFieldForFieldAndWritesBackIdentically) {
  const std::string file = HandMadeFile();
  const Rate_Rec r = ParseRates(file);
  EXPECT_EQ(r.LinenCharge, 35);
  EXPECT_EQ(r.MinCost, 250);
  EXPECT_EQ(r.BandCost, (std::array<int32_t, 6>{400, 500, 600, 700, 800, 90000}));
  EXPECT_EQ(r.FuelCost, (std::array<int32_t, 3>{15, 25, -5}));
  EXPECT_EQ(r.WeekRates[0].FuelBand, 'L');
  EXPECT_EQ(r.WeekRates[0].CostOrBand, 6);
  EXPECT_EQ(r.WeekRates[0].WeekComment, "Half term");
  EXPECT_EQ(r.WeekRates[1].FuelBand, 'H');
  EXPECT_EQ(r.WeekRates[1].EntrySpare, 3);
  EXPECT_EQ(r.WeekRates[1].CostOrBand, 7);
  EXPECT_EQ(r.WeekRates[2].FuelBand, 0);
  EXPECT_EQ(r.WeekRates[2].WeekComment, "Owner wk");
  EXPECT_EQ(r.WeekRates[51].CostOrBand, 520);
  EXPECT_EQ(r.WeekRates[52].WeekComment, "last");
  EXPECT_EQ(RatesImage(r), file);
}

TEST(RatesFile, WriterTrimsCommentsAndAnEmptyYearIs472Bytes) {
  const std::string empty = RatesImage(Rate_Rec{});
  EXPECT_EQ(empty, std::string(472, '\0'));

  Rate_Rec r;
  r.WeekRates[4].WeekComment = "  Easter ";
  const Rate_Rec back = ParseRates(RatesImage(r));
  EXPECT_EQ(back.WeekRates[4].WeekComment, "Easter");
  EXPECT_EQ(RatesImage(r).size(), 472u + 6);
}

// Every field of a cut-off file is either whole or zero/empty: whole exactly when the
// bytes it needs (for a comment: its length and all its bytes) are within the cut.
TEST(RatesFile, TruncatedFileKeepsWhatWasCompleteAtEveryLength) {
  const std::string file = HandMadeFile();
  const Rate_Rec full = ParseRates(file);
  for (size_t len = 0; len <= file.size(); ++len) {
    SCOPED_TRACE(len);
    const Rate_Rec r = ParseRates(file.substr(0, len));
    auto keep = [&](size_t end, auto value) { return end <= len ? value : decltype(value){}; };
    EXPECT_EQ(r.LinenCharge, keep(4, full.LinenCharge));
    EXPECT_EQ(r.BandCost[5], keep(36, full.BandCost[5]));
    EXPECT_EQ(r.FuelCost[2], keep(48, full.FuelCost[2]));
    size_t pos = kRateHeaderSize;
    for (size_t w = 0; w < 53; ++w) {
      const WeekRate& e = full.WeekRates[w];
      ASSERT_EQ(r.WeekRates[w].FuelBand, keep(pos + 1, e.FuelBand)) << "week " << w + 1;
      ASSERT_EQ(r.WeekRates[w].CostOrBand, keep(pos + 6, e.CostOrBand)) << "week " << w + 1;
      pos += 8 + e.WeekComment.size();
      ASSERT_EQ(r.WeekRates[w].WeekComment, keep(pos, e.WeekComment)) << "week " << w + 1;
    }
  }
}

TEST(RatesFile, CommentLengthRunningPastTheEndLeavesItAndTheRestEmpty) {
  std::string f = HandMadeFile().substr(0, kRateHeaderSize);
  f += Entry('L', 0, 6, "ok");
  f += std::string("M\0", 2) + Le32(9) + Le16(0xFFFF) + "short";
  const Rate_Rec r = ParseRates(f);
  EXPECT_EQ(r.WeekRates[0].WeekComment, "ok");
  EXPECT_EQ(r.WeekRates[1].CostOrBand, 9);
  EXPECT_EQ(r.WeekRates[1].WeekComment, "");
  EXPECT_EQ(r.WeekRates[2].FuelBand, 0);
}

TEST(RatesFile, PathUsesTheLastTwoDigitsOfTheYear) {
  Prop_Rec p;
  p.Folder = "/r/Sea View/";
  EXPECT_EQ(RatesFilePath(p, 2026), "/r/Sea View/Data/Rates26.bkc");
  EXPECT_EQ(RatesFilePath(p, 2100), "/r/Sea View/Data/Rates00.bkc");
  EXPECT_EQ(RatesFilePath(p, 2005), "/r/Sea View/Data/Rates05.bkc");
}

class RatesSession : public testing::Test {
 protected:
  void SetUp() override {
    t.Load(SimpleSettings(2));
    s.SeasonYear = {2026, 2027};
    s.CurrentProperty = 1;
  }
  std::string WriteYear(int n, int year, const Rate_Rec& r) {
    const std::string path = RatesFilePath(s.Prop(n), year);
    EXPECT_TRUE(ForceDirectories(ExtractFilePath(path)));
    EXPECT_TRUE(WriteWholeFile(path, RatesImage(r)));
    return path;
  }
  static void SetFileTime(const std::string& path, std::time_t t) {
    const timespec times[2] = {{t, 0}, {t, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  static Rate_Rec Linen(int32_t linen) {
    Rate_Rec r;
    r.LinenCharge = linen;
    return r;
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(RatesSession, ReadingAMissingFileZeroesTheRecord) {
  Rate_Rec r = Linen(99);
  r.WeekRates[3].WeekComment = "stale";
  EXPECT_FALSE(ReadRatesFile(RatesFilePath(s.Prop(1), 2026), r));
  EXPECT_EQ(RatesImage(r), RatesImage(Rate_Rec{}));

  WriteYear(1, 2026, Linen(12));
  EXPECT_TRUE(ReadRatesFile(RatesFilePath(s.Prop(1), 2026), r));
  EXPECT_EQ(r.LinenCharge, 12);
}

TEST_F(RatesSession, CacheReloadsOnlyWhenTheFileChanges) {
  Prop_Rec& p = s.Prop(1);
  const std::string path = WriteYear(1, 2026, Linen(10));
  SetFileTime(path, 1'700'000'000);
  EXPECT_TRUE(RefreshRateCache(s, 1));
  EXPECT_EQ(p.RateCache[0].LinenCharge, 10);
  EXPECT_NE(p.RateCacheAge[0], 0);
  EXPECT_EQ(p.RateCacheAge[1], 0);  // no 2027 file
  EXPECT_FALSE(RefreshRateCache(s, 1));

  // Another user saves the year.
  WriteYear(1, 2026, Linen(20));
  SetFileTime(path, 1'700'000'100);
  EXPECT_TRUE(RefreshRateCache(s, 1));
  EXPECT_EQ(p.RateCache[0].LinenCharge, 20);
  EXPECT_FALSE(RefreshRateCache(s, 1));

  // The file disappears: the slot is emptied, and that is a change to redraw.
  ASSERT_TRUE(DeleteFileAt(path));
  EXPECT_TRUE(RefreshRateCache(s, 1));
  EXPECT_EQ(p.RateCache[0].LinenCharge, 0);
  EXPECT_EQ(p.RateCacheAge[0], 0);
  EXPECT_FALSE(RefreshRateCache(s, 1));
}

TEST_F(RatesSession, CacheFollowsTheYearsOnShowEvenWhenFilesShareATimeStamp) {
  Prop_Rec& p = s.Prop(1);
  for (int year : {2026, 2027, 2028}) SetFileTime(WriteYear(1, year, Linen(year - 2000)), 1'700'000'000);
  EXPECT_TRUE(RefreshRateCache(s, 1));
  s.SeasonYear = {2027, 2028};
  EXPECT_TRUE(RefreshRateCache(s, 1));
  EXPECT_EQ(p.RateCache[0].LinenCharge, 27);
  EXPECT_EQ(p.RateCache[1].LinenCharge, 28);
}

TEST_F(RatesSession, YearRatesComeFromTheCacheOnlyForPropertiesOnShow) {
  WriteYear(1, 2026, Linen(1));
  WriteYear(1, 2025, Linen(2));
  WriteYear(2, 2026, Linen(3));
  RefreshRateCache(s, 1);
  RefreshRateCache(s, 2);
  // What is in memory is what the chart shows, whatever the file holds by now.
  s.Prop(1).RateCache[0].LinenCharge = 100;
  s.Prop(2).RateCache[0].LinenCharge = 200;

  Rate_Rec r;
  LoadYearRates(s, 1, 2026, r);
  EXPECT_EQ(r.LinenCharge, 100);
  LoadYearRates(s, 1, 2025, r);  // not a year on show
  EXPECT_EQ(r.LinenCharge, 2);
  LoadYearRates(s, 2, 2026, r);  // not the current property in view "C"
  EXPECT_EQ(r.LinenCharge, 3);
  s.common.ViewMode = "M";
  LoadYearRates(s, 2, 2026, r);
  EXPECT_EQ(r.LinenCharge, 200);
  LoadYearRates(s, 2, 2030, r);  // no file
  EXPECT_EQ(RatesImage(r), RatesImage(Rate_Rec{}));
}

// The price members of the week table, over a 52-week year and into the next one.
TEST_F(RatesSession, WeekTablePricesWeeksFromTheirOwnRateYear) {
  s.SeasonYear = {2027, 2028};
  Rate_Rec y27;
  y27.MinCost = 70000;  // above 16 bits: kept whole
  y27.BandCost = {120, 220, 320, 420, 520, 620};
  y27.FuelCost = {11, 22, 33};
  y27.WeekRates[0] = {'H', 0, 6, "Top"};
  y27.WeekRates[1] = {'X', 0, 7, ""};
  y27.WeekRates[2] = {0, 0, 0, "Owner's week - painters in until Friday"};
  y27.WeekRates[3] = {'L', 0, 70000, ""};
  y27.WeekRates[51] = {'M', 0, 1, ""};
  y27.WeekRates[52] = {'H', 0, 999, "never used"};
  Rate_Rec y28;  // band 1 costs nothing: an unpriced week is not reserved
  y28.BandCost = {0, 700, 0, 0, 0, 0};
  y28.WeekRates[0] = {'L', 0, 2, "New year"};
  WriteYear(1, 2027, y27);
  WriteYear(1, 2028, y28);
  RefreshRateCache(s, 1);

  for (const char* view : {"C", "M"}) {
    SCOPED_TRACE(view);
    s.common.ViewMode = view;
    BuildWeekTable(s, 1, false);
    const TStArray& w = s.Prop(1).Weeks;
    ASSERT_EQ(w.size(), 52u + 52u);
    struct Expect {
      size_t index;
      int year, weekNo, band;
      char fuelBand;
      int cost, fuel, minCost;
      const char* comment;
    } rows[] = {
        {0, 2027, 1, 6, 'H', 620, 33, 70000, "Top"},
        {1, 2027, 2, 0, 'X', 7, 0, 70000, ""},
        {2, 2027, 3, 0, 0, 0, 0, 70000, "Owner's week - painters in until Friday"},
        {3, 2027, 4, 0, 'L', 70000, 11, 70000, ""},
        {51, 2027, 52, 1, 'M', 120, 22, 70000, ""},
        {52, 2028, 1, 2, 'L', 700, 0, 0, "New year"},
        {53, 2028, 2, 0, 0, 0, 0, 0, ""},
    };
    for (const Expect& e : rows) {
      SCOPED_TRACE(e.index);
      const Status_Rec& r = w[e.index];
      EXPECT_EQ(r.WeekDate, WeekStart(e.year, e.weekNo, 7));
      EXPECT_EQ(r.RateYear, e.year);
      EXPECT_EQ(r.WeekNo, e.weekNo);
      EXPECT_EQ(r.RateBand, e.band);
      EXPECT_EQ(r.FuelBand, e.fuelBand);
      EXPECT_EQ(r.WeekCost, e.cost);
      EXPECT_EQ(r.WeekFuel, e.fuel);
      EXPECT_EQ(r.MinCost, e.minCost);
      EXPECT_EQ(r.RateComment, e.comment);
      EXPECT_EQ(r.DayMask, e.index == 2 ? kWholeWeek : 0);
    }
    // The unpriced week of a year with band prices is taken for the whole week.
    const Status_Rec& reserved = w[2];
    EXPECT_EQ(reserved.DayStatus[0], Reserved);
    EXPECT_EQ(reserved.DayEffStatus[0], Reserved);
    EXPECT_EQ(reserved.WeekNames, view[0] == 'M' ? "Owner's week - painters in unt" : "- Reserved -");
    EXPECT_EQ(w[53].WeekNames, "");
  }
}

}  // namespace
}  // namespace tb::test
