// Availability pages made again from the bookings and rates: the rows a row template
// gives, what of the page stays byte for byte, the errors that stop a run, and a write
// that fails.
//
// Today is Tuesday 14 July 2026. The properties change over on Saturdays; the range is
// weeks 29 to 32 of 2026: 18 July, 25 July, 1 August and 8 August. Every week costs
// 500 (band 1) with a minimum of 300; week 30 has the comment "Summer".

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "store/Session.h"
#include "support/Builders.h"
#include "support/TestSession.h"
#include "web/AvailabilityPages.h"

namespace tb::test {
namespace {

TDateTime Day(int month, int day) { return EncodeDate(2026, month, day); }

Book_Rec Let(TDateTime start, int nights, uint8_t status = Paid) { return MakeBooking(start, nights, "Guest", status); }

// A page as its author writes it: a date line and a table whose body is `body`.
std::string Page(const std::string& body, const std::string& dateLine = "not yet", const std::string& eol = "\r\n") {
  return "<html><body>" + eol + "<h1>Caf\xE9 Bramble</h1><!--PubDate-->" + eol + dateLine + eol +
         "<table class=\"r\">" + eol + "<!--RateLines-->" + eol + body + "</TABLE>" + eol + "<p>\xA9 2026</p>" + eol +
         "</body></html>" + eol;
}

class AvailabilityPages : public ::testing::Test {
 protected:
  AvailabilityPages() : t(Day(7, 14) + 10.5 / 24) {
    t.Load(
        "[Common]\nver=V4.4\nNumProps=2\nViewMode=M\n"
        "[Prop01]\nPropName=Bramble\nChangeDay=7\nWebFolder=web1\nWebAvail=avail.htm\n"
        "[Prop02]\nPropName=Heron\nChangeDay=7\nWebFolder=web2\nWebAvail=avail.htm\n");
    s.common.ViewMode = "M";  // every list is held: nothing is re-read from files
    Rate_Rec r;
    r.MinCost = 300;
    r.BandCost = {500, 400, 0, 0, 0, 0};
    for (WeekRate& w : r.WeekRates) w.CostOrBand = 1;
    r.WeekRates[29].WeekComment = "Summer";
    for (int n = 1; n <= 2; ++n) {
      ForceDirectories(s.Prop(n).Folder + "Data/");
      EXPECT_TRUE(WriteWholeFile(RatesFilePath(s.Prop(n), 2026), RatesImage(r)));
    }
    run.properties = {1};
    run.startYear = run.endYear = 2026;
    run.startWeek = 29;
    run.endWeek = 32;
  }
  std::string PagePath(int n) const { return t.Root() + "web" + std::to_string(n) + "/avail.htm"; }
  std::string BakPath(int n) const { return t.Root() + "web" + std::to_string(n) + "/avail.bak"; }
  void Setup(int n, const std::string& rowTemplate, const std::string& page) {
    t.dir.Write("root/web" + std::to_string(n) + "/$RowProforma.txt", rowTemplate);
    t.dir.Write("root/web" + std::to_string(n) + "/avail.htm", page);
  }
  std::string Read(const std::string& path) const {
    std::string data;
    return ReadWholeFile(path, data) ? data : "(none)";
  }

  TestSession t;
  Session& s = t.session;
  PageRun run;
};

// The rows a template gives, one case per rule of the fields, merging and separators.
TEST_F(AvailabilityPages, Rows) {
  struct Case {
    const char* what;
    std::string rowTemplate;
    std::vector<Book_Rec> bookings;
    std::function<void(PageRun&, Session&)> options;
    std::vector<std::string> rows;
  } cases[] = {
      {"NM and PN are not N and P; N is the week number; dates short",
       "  <tr><td>@NM</td><td>@N</td><td>@PN</td><td>@SD-@ED</td><td>@D</td></tr>\r\n",
       {},
       {},
       {"<tr><td>Bramble</td><td>29</td><td>1</td><td>Jul 18-Jul 25</td><td>Sat</td></tr>",
        "<tr><td>Bramble</td><td>30</td><td>1</td><td>Jul 25-Aug 1</td><td>Sat</td></tr>",
        "<tr><td>Bramble</td><td>31</td><td>1</td><td>Aug 1-Aug 8</td><td>Sat</td></tr>",
        "<tr><td>Bramble</td><td>32</td><td>1</td><td>Aug 8-Aug 15</td><td>Sat</td></tr>"}},
      {"rows alternate odd and even; long dates; c and C differ",
       "<tr class=\"@OE\"><td>@SD</td><td>@c</td><td>@C</td></tr>",
       {},
       [](PageRun& r, Session&) {
         r.endWeek = 30;
         r.wLDts = true;
       },
       {"<tr class=\"odd\"><td>18 July 2026</td><td>Jul 2026</td><td>&nbsp;</td></tr>",
        "<tr class=\"even\"><td>25 July 2026</td><td>Summer</td><td>Summer</td></tr>"}},
      {"a field ending the row is filled", "<tr><td>@A</td>", {}, [](PageRun& r, Session&) { r.endWeek = 29; },
       {"<tr><td>Yes</td>"}},
      {"compressed with no A, R, F or C in use: one row", "<tr><td>@RG</td><td>@c</td></tr>", {},
       [](PageRun& r, Session&) { r.wCWks = true; }, {"<tr><td>Jul 18 - Aug 8</td><td>Jul - Aug 2026</td></tr>"}},
      {"compressed with month separators; the colspan counts the cells",
       "<tr><TD>@RG</td>< td >@A</td></tr>",
       {},
       [](PageRun& r, Session&) {
         r.wCWks = true;
         r.wMSep = true;
       },
       {"<tr class=\"sep\"><td colspan=\"2\">July 2026</td></tr>", "<tr><TD>Jul 18 - Jul 25</td>< td >Yes</td></tr>",
        "<tr class=\"sep\"><td colspan=\"2\">August 2026</td></tr>", "<tr><TD>Aug 1 - Aug 8</td>< td >Yes</td></tr>"}},
      {"compressed runs split where the comment changes", "<tr><td>@RG @C</td></tr>", {},
       [](PageRun& r, Session&) { r.wCWks = true; },
       {"<tr><td>Jul 18 &nbsp;</td></tr>", "<tr><td>Jul 25 Summer</td></tr>", "<tr><td>Aug 1 - Aug 8 &nbsp;</td></tr>"}},
      {"a let week: no rate when omitted, LET; a hold stays on offer",
       "<tr><td>@S @A @R @F @C</td></tr>",
       {Let(Day(7, 18), 7), Let(Day(7, 25), 7, Hold)},
       [](PageRun& r, Session&) {
         r.endWeek = 30;
         r.wOLet = true;
       },
       {"<tr><td>B No &nbsp; H LET</td></tr>", "<tr><td>A Yes &pound;500 H Summer</td></tr>"}},
      {"part lets: Tue-Fri, from, to",
       "<tr><td>@S @A @C</td></tr>",
       {Let(Day(7, 18), 3), Let(Day(7, 24), 7), Let(Day(8, 6), 2)},
       {},
       {"<tr><td>P Part PART LET. Avail. Tue-Fri</td></tr>", "<tr><td>P Part PART LET. Avail. from Fri</td></tr>",
        "<tr><td>P Part PART LET. Avail. to Thu</td></tr>", "<tr><td>A Yes &nbsp;</td></tr>"}},
      {"over the year's end, the end week cut to the end year's 52 weeks; @RG uses R: 2027 has no price",
       "<tr><td>@N @RG</td></tr>",
       {},
       [](PageRun& r, Session&) {
         r.startWeek = 53;
         r.endYear = 2027;
         r.endWeek = 53;
         r.wCWks = true;
       },
       {"<tr><td>53 Jan 2</td></tr>", "<tr><td>52 Jan 9 - Jan 1</td></tr>"}},
      {"short-break prices: raised to the minimum", "<tr><td>@MW @MM</td></tr>", {},
       [](PageRun& r, Session& ses) {
         r.endWeek = 29;
         ses.common.CRWanted = true;
         ses.common.WEFix = 50;
         ses.common.WEpn = 10;
         ses.common.WEmin = 2;
       },
       {"<tr><td>&pound;350 &pound;300</td></tr>"}},
  };
  const PageRun base = run;
  for (const Case& c : cases) {
    run = base;
    s.common.CRWanted = false;
    s.Prop(1).Bookings.Clear();
    for (const Book_Rec& b : c.bookings) s.Prop(1).Bookings.Append(b);
    if (c.options) c.options(run, s);
    Setup(1, c.rowTemplate, Page("<tr><td>old</td></tr>\r\n"));
    const PageRunResult r = UpdateAvailabilityPages(s, run);
    EXPECT_TRUE(r.AllWritten()) << c.what;
    std::string body;
    for (const std::string& row : c.rows) body += "\r\n" + row;
    EXPECT_EQ(Read(PagePath(1)), Page(body + "\r\n", "Last updated Tuesday 14 Jul 2026")) << c.what;
  }
}

// Outside the table body and the date line the page stays byte for byte, with CR LF
// or LF alone; text after a marker on its line goes to a line of its own. A second
// run gives the same page, and its backup holds the first result.
TEST_F(AvailabilityPages, PageBytes) {
  for (const std::string eol : {"\r\n", "\n"}) {
    Setup(1, "<tr><td>@N</td></tr>", Page("<tr><td>\xE9</td></tr>" + eol, "   x", eol));
    // Text after the markers on their lines.
    std::string page = Read(PagePath(1));
    page.replace(page.find("<!--RateLines-->") + 16, eol.size(), "  <tr>old</tr>" + eol);
    page.replace(page.find("<!--PubDate-->") + 14, eol.size(), " \t");
    ASSERT_TRUE(WriteWholeFile(PagePath(1), page));
    DeleteFileAt(BakPath(1));
    run.endWeek = 30;

    const PageRunResult first = UpdateAvailabilityPages(s, run);
    const std::string written =
        Page(eol + "<tr><td>29</td></tr>" + eol + "<tr><td>30</td></tr>" + eol, "Last updated Tuesday 14 Jul 2026", eol);
    EXPECT_EQ(Read(PagePath(1)), written);
    EXPECT_EQ(Read(BakPath(1)), page);
    EXPECT_EQ(first.pane, (std::vector<PaneLine>{
                              {"Updating " + PagePath(1) + " at 10:30:00 14/07/26", PaneStyle::BoldBlue},
                              {"Update complete. Read 9 records. Written 12 records.", PaneStyle::Blue}}));

    const PageRunResult second = UpdateAvailabilityPages(s, run);
    EXPECT_TRUE(second.AllWritten());
    EXPECT_EQ(Read(PagePath(1)), written);
    EXPECT_EQ(Read(BakPath(1)), written);
  }
  // A page holding the tables of several properties: property 2's own marker, in any case.
  const std::string shared = "<table>\r\n<!-- linesforprop1 -->\r\n</table>\r\n<table>\r\n<!-- LINESFORPROP2 -->";
  Setup(2, "<tr><td>@PN</td></tr>", shared + "\r\n<tr/>\r\n</table>\r\n");
  run.properties = {2};
  run.endWeek = 29;
  EXPECT_TRUE(UpdateAvailabilityPages(s, run).AllWritten());
  EXPECT_EQ(Read(PagePath(2)), shared + "\r\n\r\n<tr><td>2</td></tr>\r\n</table>\r\n");
}

// Property 1 is fine; property 2 has a fault. A fault that stops the run leaves page 2
// untouched and page 1 written with its backup; a missing page only skips its property.
TEST_F(AvailabilityPages, Faults) {
  const std::string good = Page("<tr><td>old</td></tr>\r\n");
  const std::string templ2 = t.Root() + "web2/$RowProforma.txt";
  struct Case {
    const char* what;
    std::string rowTemplate;  // "" for none
    std::string page;         // "" for none
    std::string box;          // "" for none
    MsgButtons buttons;
    int help;
    std::vector<PaneLine> lastLines;
    bool stops;
  } cases[] = {
      {"an @ naming no field", "<tr><td>@N</td><td>@X1</td></tr>", good,
       "Error: Invalid @string=@X1 in Table Row proforma " + templ2 + "\r(Press F1 for Help)", MsgButton::OK, 550,
       {{"Updating " + PagePath(2) + " at 10:30:00 14/07/26", PaneStyle::BoldBlue}}, true},
      {"no row template", "", good, "", {}, 0,
       {{"Table proforma " + templ2 + " not found. Create it.", PaneStyle::Red}}, true},
      {"no page", "<tr><td>@N</td></tr>", "", "", {}, 0,
       {{"Input file " + PagePath(2) + " not found. Cannot update", PaneStyle::Red}}, false},
      {"the date line too long", "<tr><td>@N</td></tr>", Page("", std::string(49, 'x')),
       "HTML Format error in file " + PagePath(2) + "\rLine following <!--PubDate--> too long\rFile in wrong format?",
       MsgButton::Abort | MsgButton::Help, 510,
       {{"Updating " + PagePath(2) + " at 10:30:00 14/07/26", PaneStyle::BoldBlue}}, true},
      {"no table end", "<tr><td>@N</td></tr>", "<!--RateLines-->\r\n<tr></tr>\r\n",
       "Error: Table delimiters (eg <!--RateLines-->) not found. Cannot update\rCorrect Input file, then rerun (Press "
       "F1 for Help)",
       MsgButton::OK, 510,
       {{"Updating " + PagePath(2) + " at 10:30:00 14/07/26", PaneStyle::BoldBlue},
        {"No comment found =\"<!--PubDate-->\"  Publish date not set", PaneStyle::SmallBlue}},
       true},
  };
  run.properties = {2, 1};
  for (const Case& c : cases) {
    Setup(1, "<tr><td>@N</td></tr>", good);
    DeleteFileAt(BakPath(1));
    DeleteFileAt(templ2);
    DeleteFileAt(PagePath(2));
    if (!c.rowTemplate.empty()) t.dir.Write("root/web2/$RowProforma.txt", c.rowTemplate);
    if (!c.page.empty()) t.dir.Write("root/web2/avail.htm", c.page);
    if (!c.box.empty()) t.dialogs.Expect(c.box, MsgIcon::Error, c.buttons, c.help, MsgButton::OK);
    const int beeps = t.dialogs.beeps;

    const PageRunResult r = UpdateAvailabilityPages(s, run);
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(t.dialogs.beeps, beeps + 1) << c.what;
    EXPECT_EQ(r.stopped, c.stops) << c.what;
    EXPECT_FALSE(r.AllWritten()) << c.what;
    ASSERT_GE(r.pane.size(), c.lastLines.size()) << c.what;
    EXPECT_EQ(std::vector<PaneLine>(r.pane.end() - static_cast<std::ptrdiff_t>(c.lastLines.size()), r.pane.end()),
              c.lastLines)
        << c.what;
    EXPECT_EQ(Read(BakPath(1)), good) << c.what;
    EXPECT_NE(Read(PagePath(1)), good) << c.what;
    EXPECT_EQ(Read(PagePath(2)), c.page.empty() ? "(none)" : c.page) << c.what;
    EXPECT_EQ(Read(BakPath(2)), "(none)") << c.what;
  }
}

TEST_F(AvailabilityPages, NothingToDo) {
  Setup(1, "<tr><td>@N</td></tr>", Page(""));
  const auto refused = [&](const PageRun& r) {
    const PageRunResult result = UpdateAvailabilityPages(s, r);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(Read(BakPath(1)), "(none)");
    return result.pane;
  };
  PageRun none = run;
  none.properties.clear();
  EXPECT_EQ(refused(none), (std::vector<PaneLine>{{"No properties selected", PaneStyle::Red}}));
  PageRun noYear = run;
  noYear.startYear = 0;
  EXPECT_EQ(refused(noYear), (std::vector<PaneLine>{{"Invalid dates", PaneStyle::Red}}));
  PageRun backwards = run;
  backwards.endWeek = 28;
  EXPECT_EQ(refused(backwards), (std::vector<PaneLine>{{"Invalid dates", PaneStyle::Red}}));
  PageRun pastTheYear = run;  // week 53 to 53 of a year of 52 weeks holds none
  while (WeeksInYear(pastTheYear.startYear, s.Prop(1)) != 52) ++pastTheYear.startYear;
  pastTheYear.endYear = pastTheYear.startYear;
  pastTheYear.startWeek = pastTheYear.endWeek = 53;
  EXPECT_EQ(refused(pastTheYear), (std::vector<PaneLine>{{"Invalid dates", PaneStyle::Red}}));
}

// A write that fails (the backup's name taken by a folder) says where and why, and
// leaves the page, the folder and no work file behind.
TEST_F(AvailabilityPages, WriteFails) {
  const std::string page = Page("<tr><td>old</td></tr>\r\n");
  Setup(1, "<tr><td>@N</td></tr>", page);
  t.dir.Write("root/web1/avail.bak/keep", "kept");

  const PageRunResult r = UpdateAvailabilityPages(s, run);
  EXPECT_FALSE(r.AllWritten());
  ASSERT_EQ(r.pages.size(), 1u);
  EXPECT_EQ(r.pages[0].outcome, PageOutcome::NotWritten);
  const std::string line = "Unable to write " + PagePath(1) + ": Is a directory. Page and backup left as they were";
  EXPECT_EQ(r.pane.back(), (PaneLine{line, PaneStyle::Red}));
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find(line), std::string::npos);
  EXPECT_EQ(Read(PagePath(1)), page);
  EXPECT_EQ(Read(BakPath(1) + "/keep"), "kept");
  EXPECT_EQ(ListFiles(t.Root() + "web1/", ".*"), std::vector<std::string>{});
}

}  // namespace
}  // namespace tb::test
