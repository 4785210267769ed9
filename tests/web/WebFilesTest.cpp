// The files the web site reads, byte for byte: propinfo.php (availability codes and
// departures), the agency calendars and ratequery.php, and how they are put in place.
//
// Today is Tuesday 14 July 2026 throughout. The properties change over on Saturdays:
// week 1 of 2026 starts on 3 January, so today is the fourth day of week 28 (from 11
// July); 2026 has 53 weeks and week 1 of 2027 starts on 9 January 2027.

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "store/Session.h"
#include "support/Builders.h"
#include "support/Frozen.h"
#include "support/TestSession.h"
#include "web/WebFiles.h"

namespace tb::test {
namespace {

TDateTime July(int day) { return EncodeDate(2026, 7, day); }

// Lines, each ended with CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

Book_Rec Let(TDateTime start, int nights, uint8_t status = Paid) { return MakeBooking(start, nights, "Guest", status); }

class WebFiles : public ::testing::Test {
 protected:
  WebFiles() : t(July(14) + 10.5 / 24) {
    t.Load(
        "[Common]\nver=V4.4\nNumProps=3\nViewMode=M\n"
        "[Prop01]\nPropName=Bramble\nChangeDay=7\nID=101\nAS=1\n"
        "[Prop02]\nPropName=Heron\nChangeDay=7\nID=102\n"
        "[Prop03]\nPropName=Kite\nChangeDay=7\nID=103\n");
    for (int n = 1; n <= s.NumProps(); ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
    s.common.ViewMode = "M";  // every list is held: nothing is re-read from files
    s.CurrentProperty = 1;
  }
  void Book(int n, std::initializer_list<Book_Rec> bookings) {
    for (const Book_Rec& b : bookings) s.Prop(n).Bookings.Append(b);
  }
  // A rates year: every week `entry`, then the changes.
  void Rates(int n, int year, int32_t entry, const std::function<void(Rate_Rec&)>& change = {}) {
    Rate_Rec r;
    r.MinCost = 300;
    r.BandCost = {500, 400, 0, 0, 0, 0};
    for (WeekRate& w : r.WeekRates) w.CostOrBand = entry;
    if (change) change(r);
    ASSERT_TRUE(WriteWholeFile(RatesFilePath(s.Prop(n), year), RatesImage(r)));
  }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }

  TestSession t;
  Session& s = t.session;
};

// The code of property 1 on its line of propinfo.php.
std::string CodeOf(const std::string& text) {
  const std::string head = "$a[1]='";
  const size_t at = text.find(head);
  if (at == std::string::npos) return "(no line)";
  const size_t from = at + head.size();
  return text.substr(from, text.find("';\r\n", from) - from);
}

TEST_F(WebFiles, AvailabilityCodes) {
  const auto showAsLet = [] {
    Book_Rec b = Let(July(18), 7, Hold);
    b.Set(ShowAsLet, true);
    return b;
  };
  struct Case {
    const char* what;
    int navDays;
    std::vector<Book_Rec> bookings;
    bool week29Closed;  // 18-24 July has no price while band 1 has one
    std::string code;
  } cases[] = {
      {"all free", 90, {}, false, ""},
      {"10 days from the fourth day of a week: 4 of it, 6 of the next", 10, {Let(July(18), 7)}, false, "4A6B"},
      {"AAAABBBBBBBA: the last A dropped, runs counted", 12, {Let(July(18), 7)}, false, "4A7B"},
      {"runs of two stay letters", 12, {Let(July(16), 2)}, false, "AABB"},
      {"a let of the whole week under way", 12, {Let(July(11), 7)}, false, "4B"},
      {"a hold stays on offer", 12, {Let(July(18), 7, Hold), Let(July(16), 2, Hold)}, false, ""},
      {"a hold shown as let is booked", 12, {showAsLet()}, false, "4A7B"},
      {"hold days inside a week with a let", 12, {Let(July(14), 2), Let(July(16), 2, Hold)}, false, "BB"},
      {"a cancelled let frees its days", 12, {Let(July(18), 7, Cancelled)}, false, ""},
      {"a week without a price is booked", 12, {}, true, "4A7B"},
      {"also with the owner's hold in it", 12, {Let(July(18), 7, Hold)}, true, "4A7B"},
  };
  for (const Case& c : cases) {
    s.Prop(1).Bookings.Clear();
    for (const Book_Rec& b : c.bookings) s.Prop(1).Bookings.Append(b);
    DeleteFileAt(RatesFilePath(s.Prop(1), 2026));
    if (c.week29Closed) Rates(1, 2026, 1, [](Rate_Rec& r) { r.WeekRates[28].CostOrBand = 0; });
    s.common.NAvDays = c.navDays;
    EXPECT_EQ(CodeOf(PropInfoText(s)), c.code) << c.what;
  }
}

// The whole file: names escaped for PHP's double-quoted string, the departures of the
// next wUCD days (from the one leaving today; cancelled ones left out; the special
// instructions trimmed and escaped), and no $c line for a property with none.
TEST_F(WebFiles, PropInfoFile) {
  s.common.NAvDays = 12;
  s.common.wUCD = 14;
  s.Prop(1).PropName = "Bramble \"Big\" $1";
  s.Prop(2).PropName = "Heron's";
  Book_Rec late = Let(July(18), 7);
  late.Set(NoClean, true);
  late.Special = "  Late \"arrival\" \\ o'clock ";
  Book(1, {Let(July(1), 7), Let(July(7), 7), Let(July(14), 2, Cancelled), late, Let(July(25), 7)});
  Book(3, {Let(July(1), 7)});
  EXPECT_EQ(PropInfoText(s),
            Lines({"<?php", "$prop = array(", R"("-select property-",)", R"("Bramble \"Big\" \$1",)",
                   R"("Heron's",)", R"("Kite",)", ");", "", "$nadays = 12;",
                   "$startdate = mktime(0,0,0,7,14,2026);", "", "$a[1]='4A8B';", "$a[2]='';", "$a[3]='';", "",
                   "$uid = [0,101,102,103];", "",
                   R"($c[101]='[{"s":"2026-07-07","e":"2026-07-14","c":1,"n":""},)"
                   R"({"s":"2026-07-18","e":"2026-07-25","c":0,"n":"Late \"arrival\" \\\\ o\'clock"}]';)",
                   "?>"}));
}

std::string Calendar(std::initializer_list<std::pair<const char*, const char*>> ranges) {
  std::string out = "101\r\n{\"bookedRanges\":[";
  for (const auto& [from, to] : ranges)
    out += std::string(out.back() == '[' ? "" : ",") + "\r\n{\"start\": \"" + from + "\",\"end\": \"" + to + "\"}";
  return out + (ranges.size() == 0 ? "\r\n]}\r\n" : "]}\r\n");
}

TEST_F(WebFiles, AgencyCalendars) {
  // The layout itself, once by hand.
  ASSERT_EQ(Calendar({}), "101\r\n{\"bookedRanges\":[\r\n]}\r\n");
  ASSERT_EQ(Calendar({{"2026-07-18", "2026-07-24"}, {"2026-07-26", "2026-07-29"}}),
            "101\r\n{\"bookedRanges\":[\r\n{\"start\": \"2026-07-18\",\"end\": \"2026-07-24\"},\r\n"
            "{\"start\": \"2026-07-26\",\"end\": \"2026-07-29\"}]}\r\n");
  // The weeks are copied: an initializer list's array ends with the full expression.
  const auto closed = [](std::initializer_list<int> list) {
    return [weeks = std::vector<int>(list)](Rate_Rec& r) {
      for (const int w : weeks) r.WeekRates[static_cast<size_t>(w - 1)].CostOrBand = 0;
    };
  };
  struct Case {
    const char* what;
    std::vector<Book_Rec> bookings;
    std::function<void(Rate_Rec&)> rates2026;  // none: no 2026 file
    bool closed2027;                           // a 2027 file with every week closed
    std::string text;
  } cases[] = {
      {"none", {}, {}, false, Calendar({})},
      {"back to back: one range", {Let(July(18), 7), Let(July(25), 7)}, {}, false,
       Calendar({{"2026-07-18", "2026-07-31"}})},
      {"a day between: two", {Let(July(18), 7), Let(July(26), 4)}, {}, false,
       Calendar({{"2026-07-18", "2026-07-24"}, {"2026-07-26", "2026-07-29"}})},
      {"a closed week, then a let from the day after it", {Let(EncodeDate(2026, 8, 1), 7)}, closed({30}), false,
       Calendar({{"2026-07-25", "2026-08-07"}})},
      {"closed weeks from this week on, in date order with the lets", {Let(July(18), 7)}, closed({27, 30}), false,
       Calendar({{"2026-07-18", "2026-07-24"}, {"2026-07-25", "2026-07-31"}})},
      {"no rates file this year: no closed weeks at all", {Let(July(18), 7)}, {}, true,
       Calendar({{"2026-07-18", "2026-07-24"}})},
      {"ended and cancelled lets left out, one leaving today kept",
       {Let(July(1), 7), Let(July(7), 7), Let(July(18), 7, Cancelled)}, {}, false,
       Calendar({{"2026-07-07", "2026-07-13"}})},
  };
  for (const Case& c : cases) {
    s.Prop(1).Bookings.Clear();
    for (const Book_Rec& b : c.bookings) s.Prop(1).Bookings.Append(b);
    DeleteFileAt(RatesFilePath(s.Prop(1), 2026));
    DeleteFileAt(RatesFilePath(s.Prop(1), 2027));
    if (c.rates2026) Rates(1, 2026, 1, c.rates2026);
    if (c.closed2027) Rates(1, 2027, 0);
    EXPECT_EQ(AgencyCalendarText(s, 1), c.text) << c.what;
  }
  EXPECT_EQ(AgencyCalendarName(3), "P3-cal-json.txt");
}

// Rows from last week on: equal weeks merged (a new year's minimum starts a row), band prices looked up, a year's 53rd
// entry used only in a 53-week year, comments and names escaped, each property's rows
// apart, and a property without this year's rates left out.
TEST_F(WebFiles, RateQueryFile) {
  s.Prop(1).PropName = "Bramble's \"Den\"";
  Rates(1, 2026, 1, [](Rate_Rec& r) {
    for (const size_t w : {29u, 30u}) r.WeekRates[w] = {0, 0, 750, "Owner's week"};
  });
  Rates(1, 2027, 520, [](Rate_Rec& r) { r.WeekRates[52] = {0, 0, 999, "never"}; });
  Rates(2, 2027, 520);
  Rates(3, 2026, 2, [](Rate_Rec& r) { r.MinCost = 200; });
  Rates(3, 2027, 2);  // the same price with a new minimum: a row of its own
  int rows = 0;
  EXPECT_EQ(RateQueryText(s, rows),
            Lines({"<?php",
                   "$q = \"INSERT INTO `rates` (`pname`, `sdate`, `edate`, `rate`, `comment`, `mincost`) VALUES \".",
                   R"("('Bramble\'s \"Den\"','2026-07-04','2026-07-24',500,'',300),".)",
                   R"("('Bramble\'s \"Den\"','2026-07-25','2026-08-07',750,'Owner\'s week',300),".)",
                   R"("('Bramble\'s \"Den\"','2026-08-08','2027-01-08',500,'',300),".)",
                   R"("('Bramble\'s \"Den\"','2027-01-09','2028-01-07',520,'',300),".)",
                   R"("('Kite','2026-07-04','2027-01-08',400,'',200),".)",
                   R"("('Kite','2027-01-09','2028-01-07',400,'',300);";)"}));
  EXPECT_EQ(rows, 6);
}

// With no rates at all the statement keeps its header and an empty VALUES list, still
// a PHP script that parses; the server's insert then adds nothing.
TEST_F(WebFiles, RateQueryWithoutRates) {
  int rows = -1;
  EXPECT_EQ(RateQueryText(s, rows),
            Lines({"<?php",
                   "$q = \"INSERT INTO `rates` (`pname`, `sdate`, `edate`, `rate`, `comment`, `mincost`) VALUES \".",
                   R"(";";)"}));
  EXPECT_EQ(rows, 0);
}

// Tuesday 5 January 2027 lies in week 53 of 2026 (2-8 January), before week 1 of 2027:
// availability goes on from 2026's last week, while the calendar and the rates query
// start at week 1 of 2027, never before it.
TEST_F(WebFiles, BeforeTheFirstWeekOfTheYear) {
  t.clock.Set(EncodeDate(2027, 1, 5) + 0.5);
  s.common.NAvDays = 10;
  Book(1, {Let(EncodeDate(2027, 1, 2), 7)});
  Rates(1, 2026, 0);  // every week of 2026 closed: none of them may show up
  Rates(1, 2027, 1, [](Rate_Rec& r) { r.WeekRates[1].CostOrBand = 0; });
  EXPECT_EQ(CodeOf(PropInfoText(s)), "4B");
  EXPECT_EQ(AgencyCalendarText(s, 1), Calendar({{"2027-01-02", "2027-01-08"}, {"2027-01-16", "2027-01-22"}}));
  int rows = 0;
  const std::string query = RateQueryText(s, rows);
  EXPECT_NE(query.find(R"("('Bramble','2027-01-09','2027-01-15',500,'',300),".)"), std::string::npos) << query;
  EXPECT_EQ(query.find("2026-"), std::string::npos) << query;
}

TEST_F(WebFiles, HelperFolderIsTakenFromTheRoot) {
  const struct {
    const char* ldir;
    std::string folder;
  } cases[] = {{"", t.Root()}, {"Web-Up", t.Root() + "Web-Up/"}, {"Web-Up\xE9", t.Root() + "Web-Up\xC3\xA9/"}, {"Web\\Up\\", t.Root() + "Web/Up/"}, {"/srv/up", "/srv/up/"}};
  for (const auto& c : cases) {
    s.common.HS_LDIR = c.ldir;
    EXPECT_EQ(HelperFolder(s), c.folder) << c.ldir;
  }
}

TEST_F(WebFiles, PublishChoosesTheFolderOrSaysWhyNot) {
  const std::string ferrit = "Software\\Orvane\\Ferrit\\CotlynData";
  ForceDirectories(t.Root() + "Web-Up/");
  ForceDirectories(t.Root() + "Ferrit Up/");
  struct Case {
    const char* url;
    const char* ldir;
    const char* ferritDir;  // null: no site key
    std::string error, file;
  } cases[] = {
      {"https://example.org/up.php", "Missing", nullptr,
       "Local Directory for files " + t.Root() + "Missing/ defined in Web-Up not found", ""},
      {"", "Web-Up", nullptr, "No Ferrit Site named CotlynData. Cannot upload", ""},
      {"", "", "C:\\Gone\\Up", "Local Directory C:/Gone/Up/ defined in site CotlynData not found", ""},
      {"https://example.org/up.php", "Web-Up", nullptr, "", t.Root() + "Web-Up/propinfo.php"},
      {"", "Web-Up", "", "Local Directory  defined in site CotlynData not found", ""},
  };
  for (const Case& c : cases) {
    s.common.HS_URL = c.url;
    s.common.HS_LDIR = c.ldir;
    t.registry.DeleteKey(ferrit);
    if (c.ferritDir) t.registry.WriteString(ferrit, "LDir", c.ferritDir);
    const PublishResult r = PublishPHPWebData(s);
    EXPECT_EQ(r.error, c.error) << c.url << " " << c.ldir;
    EXPECT_EQ(r.listLine, c.file.empty() ? "" : "Site=CotlynData File=" + c.file);
  }
  // The Ferrit site's folder, written the Windows way.
  s.common.HS_URL.clear();
  t.registry.WriteString(ferrit, "LDir", t.Root() + "Ferrit Up\\");
  EXPECT_EQ(PublishPHPWebData(s).listLine, "Site=CotlynData File=" + t.Root() + "Ferrit Up/propinfo.php");
  EXPECT_EQ(t.dir.Read("root/Ferrit Up/propinfo.php"), PropInfoText(s));
  EXPECT_NE(Log().find("CreateWebData created file " + t.Root() + "Ferrit Up/propinfo.php Elapsed="),
            std::string::npos);
}

// A file that cannot be replaced stays as it was, is logged, and is reported, so a
// stale copy is never sent as new.
TEST_F(WebFiles, AFileThatCannotBeWrittenIsKeptAndReported) {
  s.common.HS_URL = "https://example.org/up.php";
  s.common.HS_LDIR = "Web-Up/";
  const std::string folder = t.Root() + "Web-Up/";
  const std::string path = t.dir.Write("root/Web-Up/propinfo.php", "old");
  Frozen frozen(path);
  if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
  EXPECT_FALSE(CreateWebData(s, path));
  EXPECT_EQ(PublishPHPWebData(s).error, "Cannot write to file " + path);
  frozen.Thaw();
  EXPECT_EQ(t.dir.Read("root/Web-Up/propinfo.php"), "old");
  EXPECT_NE(Log().find("QZ1080J Should not occur. Cannot write to file " + path + "\r\n"), std::string::npos);
  EXPECT_EQ(Log().find("CreateWebData created"), std::string::npos);
}

}  // namespace
}  // namespace tb::test
