#include <fcntl.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/ChartActions.h"
#include "app/ChartModel.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/BookingFile.h"
#include "store/Settings.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Saturday changeover: week 1 of 2026 starts Sat 3 Jan 2026 (53 weeks), week 1 of
// 2027 Sat 9 Jan 2027. Row k of the chart starts kWeek0 + 7 k.
const TDateTime kWeek0 = EncodeDate(2026, 1, 3);
TDateTime WeekOf(int k) { return kWeek0 + 7.0 * k; }

// Weeks of the fixture (the clock says Wednesday 9 Dec 2026).
constexpr int kPast = 40;       // free, October
constexpr int kOverdue = 47;    // Sat 28 Nov: Late, deposit overdue
constexpr int kFree = 48;       // Sat 5 Dec: free, "Early Xmas"
constexpr int kPartly = 49;     // Sat 12 Dec: Smith Tue-Fri (days 3-5), "Short breaks"; Heron: Gray days 1-2
constexpr int kWhole = 50;      // Sat 19 Dec: Jones, paid
constexpr int kPersonal = 51;   // Sat 26 Dec: "- Reserved -"
constexpr int kBlocked = 54;    // Sat 16 Jan 2027: held back by the rates file, "Owner week"

const std::string kPound = "\xA3";

// "C" canvas: row k, any x. "M" canvas: property n, week k, upper or lower row, day.
int RowY(int k) { return 20 * k + 5; }
int MX(int k, int day = 0) { return 71 * k + 10 * day + 5; }
int MY(int n, bool upper) { return 40 * (n - 1) + (upper ? 5 : 25); }

class Chart : public testing::Test {
 protected:
  Chart() {
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Bramble\n[Prop02]\nPropName=Heron\nExtChg1=Fuel\n");
    s.SeasonYear = {2026, 2027};
    s.CurrentProperty = 1;
    s.chartChanged = [this](int n) { drawn.push_back(n); };

    Rate_Rec y26;
    y26.FuelCost = {10, 20, 30};
    for (WeekRate& w : y26.WeekRates) {
      w.CostOrBand = 450;
      w.FuelBand = 'M';
    }
    y26.WeekRates[kFree].WeekComment = "Early Xmas";
    y26.WeekRates[kPartly].WeekComment = "Short breaks";
    Rate_Rec y27;
    y27.BandCost[0] = 500;
    for (WeekRate& w : y27.WeekRates) w.CostOrBand = 1;
    y27.WeekRates[1] = {0, 0, 0, "Owner week"};  // week 2 of 2027 is not to be let
    for (int n : {1, 2}) {
      ForceDirectories(s.Prop(n).Folder + "Data/");
      Put(RatesFilePath(s.Prop(n), 2026), RatesImage(y26));
      Put(RatesFilePath(s.Prop(n), 2027), RatesImage(y27));
    }

    Book_Rec late = MakeBooking(WeekOf(kOverdue), 7, "Late");
    late.Fnames = "Cy";
    Book_Rec smith = MakeBooking(WeekOf(kPartly) + 3, 3, "Smith");
    smith.Fnames = "Bob";
    smith.DateB = EncodeDate(2026, 12, 7);  // the deposit is not due yet
    Book_Rec jones = MakeBooking(WeekOf(kWhole), 7, "Jones", Paid);
    jones.Fnames = "Ann";
    Book_Rec owner = MakeBooking(WeekOf(kPersonal), 7, "- Reserved -", Reserved);
    Put(BookingFilePath(s, 1), BookingFileImage({late, smith, jones, owner}));
    Book_Rec gray = MakeBooking(WeekOf(kPartly) + 1, 2, "Gray", Paid);
    Put(BookingFilePath(s, 2), BookingFileImage({gray}));
  }

  // Writes a file as another user would: each write gets a new time stamp.
  void Put(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    stamp += 100;
    const timespec times[2] = {{stamp, 0}, {stamp, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  void Show(const char* view) {
    s.common.ViewMode = view;
    LoadShownProperties(s);
  }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }

  TestSession t;
  Session& s = t.session;
  std::vector<int> drawn;
  std::time_t stamp = 1'700'000'000;
};

TEST_F(Chart, ClicksMapToTheDateAndWhetherABookingIsThere) {
  struct Case {
    const char* view;
    int x, y;
    int property;  // 0: off the chart
    TDateTime date;
    bool existing;
  } cases[] = {
      {"C", 100, RowY(kFree), 1, WeekOf(kFree), false},
      {"C", 300, RowY(kWhole), 1, WeekOf(kWhole), true},
      {"C", 100, RowY(kBlocked), 1, WeekOf(kBlocked), true},
      // A partly let week: outside the day cells the first let day, inside the day clicked.
      {"C", 100, RowY(kPartly), 1, WeekOf(kPartly) + 3, true},
      {"C", 251, RowY(kPartly), 1, WeekOf(kPartly) + 3, true},
      {"C", 180, RowY(kPartly), 1, WeekOf(kPartly), false},
      {"C", 190, RowY(kPartly), 1, WeekOf(kPartly), false},
      {"C", 210, RowY(kPartly), 1, WeekOf(kPartly) + 2, false},
      {"C", 211, RowY(kPartly), 1, WeekOf(kPartly) + 3, true},
      {"C", 240, RowY(kPartly), 1, WeekOf(kPartly) + 5, true},
      {"C", 250, RowY(kPartly), 1, WeekOf(kPartly) + 6, false},
      {"C", 100, 20 * 105, 0, 0, false},
      {"C", 100, -1, 0, 0, false},
      {"M", MX(kFree), MY(1, false), 1, WeekOf(kFree), false},
      {"M", MX(kWhole, 2), MY(1, true), 1, WeekOf(kWhole), true},
      {"M", MX(kPartly, 6), MY(1, true), 1, WeekOf(kPartly) + 3, true},
      {"M", MX(kPartly, 0), MY(1, false), 1, WeekOf(kPartly), false},
      {"M", MX(kPartly, 4), MY(1, false), 1, WeekOf(kPartly) + 4, true},
      {"M", 71 * kPartly + 70, MY(1, false), 1, WeekOf(kPartly) + 6, false},  // past the 7th cell
      {"M", MX(kPartly, 1), MY(2, false), 2, WeekOf(kPartly) + 1, true},
      {"M", MX(kPartly, 1), MY(2, true), 2, WeekOf(kPartly) + 1, true},
      {"M", MX(kPartly, 3), MY(2, false), 2, WeekOf(kPartly) + 3, false},
      {"M", MX(kFree), MY(3, true), 0, 0, false},
      {"M", 71 * 105, MY(1, true), 0, 0, false},
  };
  for (const char* view : {"C", "M"}) {
    Show(view);
    for (const Case& c : cases) {
      if (std::string(c.view) != view) continue;
      SCOPED_TRACE(std::string(view) + " x=" + std::to_string(c.x) + " y=" + std::to_string(c.y));
      const ChartPlace place = LocatePoint(s, c.x, c.y);
      EXPECT_EQ(place.property, c.property);
      const ClickTarget target = DecideClick(s, place, c.x);
      EXPECT_EQ(target.valid, c.property != 0);
      if (!target.valid) continue;
      EXPECT_EQ(FormatDateTime("yymmdd", target.date), FormatDateTime("yymmdd", c.date));
      EXPECT_EQ(target.existing, c.existing);
    }
  }
}

TEST_F(Chart, HintsSayWhatIsUnderThePointer) {
  const std::string partlyFree = "\rProperty: Bramble\rWeek partly let.   Short breaks\rWeekly rent=" + kPound + "450";
  const std::string smith = "Property: Bramble\rBooked by Bob Smith\rTue 15 Dec - Fri 18 Dec   3 days\rShort breaks\r"
                            "Hold.  Full amount due " + ShortDateText(EncodeDate(2026, 12, 14));
  const std::string jones = "Property: Bramble\rBooked by Ann Jones\rSat 19 Dec - Sat 26 Dec   7 days\rPAID.  ";
  struct Case {
    const char* view;
    int x, y;
    std::string hint;
  } cases[] = {
      {"M", MX(kFree), MY(1, true),
       "Property: Bramble\rWeek available.   Early Xmas\rWeek starts: Sat 05 Dec 2026\rRent=" + kPound + "450"},
      {"M", MX(kFree, 3), MY(2, false),
       "Property: Heron\rWeek available.   Early Xmas\rWeek starts: Sat 05 Dec 2026\rRent=" + kPound +
           "450  Fuel charge=" + kPound + "20"},
      {"M", MX(kPartly, 6), MY(1, false), "Fri 18 Dec 2026 - available" + partlyFree},
      {"M", MX(kPartly, 4), MY(1, true), "Sat 12 Dec 2026 - available" + partlyFree},
      {"M", MX(kPartly, 1), MY(2, true),
       "Sat 12 Dec 2026 - available\rProperty: Heron\rWeek partly let.   Short breaks\rWeekly rent=" + kPound +
           "450  Fuel=" + kPound + "20"},
      {"M", MX(kPartly, 3), MY(1, false), smith},
      {"M", MX(kWhole), MY(1, false), jones},
      {"M", MX(kPersonal), MY(1, true),
       "Property: Bramble\rReserved (personal)\rSat 26 Dec - Sat 2 Jan   7 days\rReserved.  "},
      {"M", MX(kOverdue), MY(1, false),
       "Property: Bramble\rBooked by Cy Late\rSat 28 Nov - Sat 5 Dec   7 days\rFull amount due " +
           ShortDateText(EncodeDate(2026, 11, 5)) + " **Overdue**"},
      {"M", MX(kBlocked), MY(1, false), "Property: Bramble\rWeek not available - Owner week"},
      // "C": only over let days, from the occupancy to the status column.
      {"C", 215, RowY(kPartly), smith},
      {"C", 180, RowY(kWhole), jones},
      {"C", 505, RowY(kWhole), jones},
      {"C", 300, RowY(kBlocked), "Property: Bramble\rWeek not available - Owner week"},
      {"C", 179, RowY(kWhole), ""},
      {"C", 506, RowY(kWhole), ""},
      {"C", 300, RowY(kFree), ""},
      {"C", 185, RowY(kPartly), ""},  // a free day of a partly let week
      {"C", 300, RowY(kPartly), ""},  // beside the day cells
      {"C", 300, 20 * 105, ""},
  };
  for (const char* view : {"C", "M"}) {
    Show(view);
    for (const Case& c : cases) {
      if (std::string(c.view) != view) continue;
      SCOPED_TRACE(std::string(view) + " x=" + std::to_string(c.x) + " y=" + std::to_string(c.y));
      EXPECT_EQ(ChartHint(s, LocatePoint(s, c.x, c.y), c.x), c.hint);
    }
  }

  // Acknowledged, a paid booking shows its status text.
  FindBookingAt(s, 1, WeekOf(kWhole)).first->Rec.Set(BalAck, true);
  EXPECT_EQ(ChartHint(s, LocatePoint(s, MX(kWhole), MY(1, true)), MX(kWhole)),
            "Property: Bramble\rBooked by Ann Jones\rSat 19 Dec - Sat 26 Dec   7 days\rPaid, sent instructions.  ");
}

TEST_F(Chart, TheHintKeyChangesWithTheDayOnlyWhereDaysAreDrawn) {
  Show("M");
  const auto key = [this](int x, int y) { return HintKeyAt(s, LocatePoint(s, x, y)); };
  EXPECT_EQ(key(MX(kWhole, 1), MY(1, false)), (HintKey{1, WeekOf(kWhole)}));
  EXPECT_EQ(key(MX(kWhole, 5), MY(1, false)), key(MX(kWhole, 1), MY(1, true)));
  EXPECT_EQ(key(MX(kPartly, 4), MY(1, false)), (HintKey{1, WeekOf(kPartly) + 4}));
  EXPECT_EQ(key(MX(kPartly, 4), MY(1, true)), (HintKey{1, WeekOf(kPartly)}));
  EXPECT_EQ(key(MX(kPartly, 4), MY(2, false)), (HintKey{2, WeekOf(kPartly) + 4}));
  EXPECT_EQ(key(71 * 105, MY(1, true)), HintKey{});
}

TEST_F(Chart, AClickOnAnExistingBookingHoldsTheFileAndLogsTheOpening) {
  Show("C");
  OpenBookingRequest r = ChartClick(s, 300, RowY(kWhole));
  ASSERT_TRUE(r.open);
  EXPECT_FALSE(r.isNew);
  ASSERT_NE(r.node, nullptr);
  EXPECT_EQ(r.node->Rec.Surname, "Jones");
  EXPECT_EQ(r.position, 3);
  EXPECT_FALSE(r.readOnly);
  EXPECT_TRUE(Logged("OPENBOOKING P=1 SD=261219\r\n"));
  SharedFile other;
  EXPECT_EQ(other.OpenReadWriteDenyWriters(BookingFilePath(s, 1)), SharedFile::Result::Locked);

  // Meanwhile the chart ignores clicks.
  s.BookFormOpen = true;
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);
  s.BookFormOpen = false;
  ReleaseBookingFile(s);

  // Another user holds the file: the booking opens read-only, a new one not at all.
  ASSERT_EQ(other.OpenReadWriteDenyWriters(BookingFilePath(s, 1)), SharedFile::Result::Ok);
  r = ChartClick(s, 300, RowY(kWhole));
  ASSERT_TRUE(r.open);
  EXPECT_TRUE(r.readOnly);
  EXPECT_TRUE(Logged("OPENBOOKING P=1 SD=261219 Readonly\r\n"));
  ReleaseBookingFile(s);
  t.dialogs.Expect("Data being updated - try later", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(Chart, AClickInViewMMakesThePropertyCurrent) {
  Show("M");
  const OpenBookingRequest r = ChartClick(s, MX(kPartly, 2), MY(2, false));
  ASSERT_TRUE(r.open);
  EXPECT_EQ(s.CurrentProperty, 2);
  EXPECT_EQ(r.property, 2);
  ASSERT_NE(r.node, nullptr);
  EXPECT_EQ(r.node->Rec.Surname, "Gray");
  EXPECT_EQ(r.date, WeekOf(kPartly) + 2);
  EXPECT_TRUE(Logged("OPENBOOKING P=2 SD=261214\r\n"));
}

TEST_F(Chart, AWeekHeldBackByTheRatesFileOpensAsANewBooking) {
  Show("C");
  const OpenBookingRequest r = ChartClick(s, 300, RowY(kBlocked));
  ASSERT_TRUE(r.open);
  EXPECT_TRUE(r.isNew);
  EXPECT_EQ(r.node, nullptr);
  EXPECT_EQ(r.date, WeekOf(kBlocked));
  EXPECT_TRUE(Logged("OPENBOOKING P=1 SD=270116\r\n"));
}

TEST_F(Chart, AChangedFileIsRedrawnAndTheClickMustBeRepeated) {
  Show("C");
  drawn.clear();
  // Another user lets the week that is still shown free.
  Book_Rec taken = MakeBooking(WeekOf(kFree), 7, "Quick");
  std::vector<Book_Rec> recs;
  for (const Book_Buffer* b = s.Prop(1).Bookings.First(); b; b = b->Next) recs.push_back(b->Rec);
  recs.insert(recs.begin() + 1, taken);
  Put(BookingFilePath(s, 1), BookingFileImage(recs));

  t.dialogs.Expect("Booking data has changed - Display updated. Review and repeat.", MsgIcon::Information,
                   MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);
  EXPECT_EQ(t.dialogs.beeps, 1);
  EXPECT_TRUE(Logged("REFRESH P=1\r\n"));
  EXPECT_TRUE(Logged("BOOKOPENFAIL P=1 User warned to repeat\r\n"));
  EXPECT_FALSE(s.BookFile.IsOpen());
  EXPECT_EQ(drawn, std::vector<int>{1});
  EXPECT_EQ(s.Prop(1).Weeks[kFree].DayMask, kWholeWeek);

  const OpenBookingRequest again = ChartClick(s, 300, RowY(kFree));
  ASSERT_TRUE(again.open);
  ASSERT_NE(again.node, nullptr);
  EXPECT_EQ(again.node->Rec.Surname, "Quick");
}

TEST_F(Chart, ANewBookingInThePastAsksFirst) {
  Show("C");
  const std::string question = "Start date is in the past! Continue?";
  t.dialogs.Expect(question, MsgIcon::Warning, MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kPast)).open);
  EXPECT_FALSE(s.BookFile.IsOpen());
  EXPECT_FALSE(Logged("OPENBOOKING"));

  t.dialogs.Expect(question, MsgIcon::Warning, MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Yes);
  const OpenBookingRequest r = ChartClick(s, 300, RowY(kPast));
  ASSERT_TRUE(r.open);
  EXPECT_TRUE(r.isNew);
  EXPECT_TRUE(s.BookFile.IsOpen());
  EXPECT_TRUE(Logged("OPENBOOKING P=1 SD=261010\r\n"));
}

TEST_F(Chart, AReadOnlyRunStartsNoNewBookingEvenWithoutAFile) {
  Show("C");
  s.ReadOnly = true;
  t.dialogs.Expect("Read only mode", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);

  // No booking file yet: there is no handle to be read-only, the run still is.
  ASSERT_TRUE(DeleteFileAt(BookingFilePath(s, 1)));
  t.dialogs.Expect("Booking data has changed - Display updated. Review and repeat.", MsgIcon::Information,
                   MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);
  t.dialogs.Expect("Read only mode", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kFree)).open);
  // A week held back by the rates file is a new booking too.
  t.dialogs.Expect("Read only mode", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(ChartClick(s, 300, RowY(kBlocked)).open);
}

TEST_F(Chart, RefreshRedrawsAndLogsOnlyWhatChanged) {
  Show("M");
  drawn.clear();
  EXPECT_FALSE(RefreshProperty(s, 1, false, true));
  EXPECT_FALSE(Logged("REFRESH"));
  EXPECT_TRUE(drawn.empty());

  Rate_Rec y26;
  y26.WeekRates[kFree].CostOrBand = 999;
  Put(RatesFilePath(s.Prop(1), 2026), RatesImage(y26));
  EXPECT_TRUE(RefreshProperty(s, 1, false, true));
  EXPECT_TRUE(s.RatesDue);
  EXPECT_FALSE(s.WebDataDue);
  EXPECT_EQ(s.Prop(1).Weeks[kFree].WeekCost, 999);
  EXPECT_TRUE(Logged("REFRESH P=1\r\n"));

  Put(BookingFilePath(s, 2), BookingFileImage({MakeBooking(WeekOf(kFree), 7, "Wren")}));
  EXPECT_TRUE(RefreshProperty(s, 2, false, true));
  EXPECT_TRUE(s.WebDataDue);
  EXPECT_EQ(s.Prop(2).Weeks[kFree].DayMask, kWholeWeek);
  EXPECT_TRUE(Logged("REFRESH P=2\r\n"));
  EXPECT_EQ(drawn, (std::vector<int>{1, 2}));

  // The rates editor saved property 2: reloaded and redrawn at the next activation.
  s.RatesDue = false;
  y26.WeekRates[kFree].CostOrBand = 777;
  Put(RatesFilePath(s.Prop(2), 2026), RatesImage(y26));
  s.RatesSavedProperty = 2;
  RefreshAfterRatesSaved(s);
  EXPECT_EQ(s.RatesSavedProperty, 0);
  EXPECT_TRUE(s.RatesDue);
  EXPECT_EQ(s.Prop(2).Weeks[kFree].WeekCost, 777);
}

TEST_F(Chart, CalendarAndCanvasFollowTheViewAndTheProperty) {
  ChartCalendar cal = BuildWeekCalendar(s);
  EXPECT_EQ(cal.W0, 53);
  EXPECT_EQ(cal.W1, 52);
  EXPECT_EQ(ChartCanvasSize(s, cal).width, 507);
  EXPECT_EQ(ChartCanvasSize(s, cal).height, 20 * 105);
  s.CurrentProperty = 2;  // has a fuel charge
  EXPECT_EQ(ChartCanvasSize(s, cal).width, 539);
  // "M" follows property 1, whatever the current one: on Thursdays 2026 has 52 weeks.
  s.common.ViewMode = "M";
  s.Prop(1).ChangeDay = 5;
  cal = BuildWeekCalendar(s);
  EXPECT_EQ(cal.W0, 52);
  EXPECT_EQ(ChartCanvasSize(s, cal).width, 71 * cal.Weeks() + 1);
  EXPECT_EQ(ChartCanvasSize(s, cal).height, 80);
}

TEST_F(Chart, TodayIsScrolledIntoViewAcrossTheTurnOfTheYear) {
  struct Case {
    TDateTime today;
    const char* view;
    int yearShift;  // years moved forward after start-up
  } cases[] = {
      {EncodeDate(2026, 12, 9), "C", 0},  {EncodeDate(2026, 12, 9), "M", 0}, {EncodeDate(2027, 1, 1), "C", 0},
      {EncodeDate(2027, 1, 8), "M", 0},   {EncodeDate(2027, 1, 9), "C", 0},  {EncodeDate(2027, 3, 31), "C", 0},
      {EncodeDate(2027, 4, 1), "M", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FormatDateTime("dd mmm yyyy ", c.today) + c.view);
    t.clock.Set(c.today + 0.5);
    s.ComputeSeasonYear();
    s.common.ViewMode = c.view;
    DrawChart(s, 1);
    const int unit = std::string(c.view) == "C" ? 20 : 71;
    const int pos = TodayScrollPosition(s, BuildWeekCalendar(s));
    ASSERT_EQ(pos % unit, 0);
    const Status_Rec& w = s.Prop(1).Weeks.at(static_cast<size_t>(pos / unit));
    EXPECT_LE(w.WeekDate, c.today);
    EXPECT_GT(w.WeekDate + 7, c.today);
  }
  // Early in January with the next years on show, today is before the chart: its start.
  t.clock.Set(EncodeDate(2027, 1, 5));
  s.SeasonYear = {2027, 2028};
  EXPECT_EQ(TodayScrollPosition(s, BuildWeekCalendar(s)), 0);
}

TEST_F(Chart, YearNavigationReloadsAndRedrawsTheShownProperties) {
  Show("M");
  drawn.clear();
  ChangeSeasonYear(s, 1);
  EXPECT_EQ(s.SeasonYear, (std::array<int, 2>{2027, 2028}));
  EXPECT_EQ(drawn, (std::vector<int>{1, 2}));
  for (int n : {1, 2}) {
    const TStArray& w = s.Prop(n).Weeks;
    ASSERT_EQ(w.size(), 52u + static_cast<size_t>(WeeksInYear(2028, 7)));
    EXPECT_EQ(w[0].WeekDate, EncodeDate(2027, 1, 9));
    EXPECT_EQ(w[1].DayMask, kWholeWeek);  // the rates file holds week 2 back
    EXPECT_EQ(w[1].RateComment, "Owner week");
  }
  ChangeSeasonYear(s, -1);
  EXPECT_EQ(s.SeasonYear, (std::array<int, 2>{2026, 2027}));
  EXPECT_EQ(s.Prop(1).Weeks[kFree].WeekCost, 450);
  EXPECT_EQ(s.Prop(1).Weeks[kBlocked].DayMask, kWholeWeek);
}

TEST_F(Chart, TheOverdueListIsDueOncePerDay) {
  const TDateTime now = t.clock.Now();
  struct Case {
    TDateTime lastCheck;
    bool due;
  } cases[] = {{0, true}, {now - 1, true}, {std::floor(now) + 0.01, false}, {now, false}};
  for (const Case& c : cases) {
    s.prefs.SetLastOverdueCheck(c.lastCheck);
    EXPECT_EQ(FirstActivate(s), c.due) << c.lastCheck;
    EXPECT_EQ(s.prefs.LastOverdueCheck(), now);
  }
  LoadSettings(s);  // the registry holds it
  EXPECT_EQ(s.prefs.LastOverdueCheck(), now);
}

TEST(ChartPropertyName, SplitsWhereTheFirstLineFits) {
  const auto width = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };
  struct Case {
    std::string name, first, second;
  } cases[] = {
      {"Bramble", "Bramble", ""},
      {"Sea Views!", "Sea Views!", ""},  // exactly the column
      {"Old Mill Cottage", "Old Mill", "Cottage"},
      {"Riverside Barn End", "Riverside", "Barn End"},
      {"Abbotsleighcourt", "Abbotsle-", "ighcourt"},
      {"Abbotsleighcourt House", "Abbotsleigh-", "court House"},
      {" Abbotsleighcourt", " Abbotsl-", "eighcourt"},  // a leading space is no place to split
  };
  for (const Case& c : cases) {
    const auto [first, second] = SplitPropertyName(c.name, width, 70);
    EXPECT_EQ(first, c.first) << c.name;
    EXPECT_EQ(second, c.second) << c.name;
  }
}

}  // namespace
}  // namespace tb::test
