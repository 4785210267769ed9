// cotlynctl overdue on a demo root folder with a long list: the JSON a daily mail is
// made from, "Overdue-Items.csv" and the printed pages as pdftotext reads them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "reports/OverdueCsv.h"
#include "reports/OverdueList.h"
#include "store/BookingFile.h"
#include "support/Builders.h"

namespace tb::test {
namespace {

class CtlOverdue : public DemoRootTest {
 protected:
  // Property 1 gets 70 paid lets whose balance is not acknowledged: more lines than a
  // page holds.
  CtlOverdue() {
    std::string error;
    auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
    EXPECT_TRUE(ctl) << error;
    const std::string path = BookingFilePath(ctl->session(), 1);
    std::vector<Book_Rec> records = FileRecords(path);
    for (int i = 0; i < 70; ++i) {
      Book_Rec b = MakeBooking(EncodeDate(2030, 1, 5) + 7 * i, 7, i == 0 ? "O\"Neil" : "Guest" + std::to_string(i),
                               Paid);
      records.push_back(b);
    }
    EXPECT_TRUE(WriteWholeFile(path, BookingFileImage(records)));
  }
};

TEST_F(CtlOverdue, ListsWhatTheWindowListsAsJsonCsvAndPdf) {
  const std::string pdf = dir.Path() + "overdue.pdf";
  ChildProcess run = Ctl({"overdue", Root(), "--csv", "--pdf", pdf, "--today", "2026-12-09"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const auto j = nlohmann::json::parse(run.Output());

  std::string error;
  auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
  ASSERT_TRUE(ctl) << error;
  Session& s = ctl->session();
  const std::vector<int> properties = OverdueProperties(s);
  for (const int n : properties) ReadBookings(s, n, false, false);
  const std::vector<OverdueRow> rows = OverdueRows(s, properties, s.clock.Today());
  ASSERT_EQ(j["items"].size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(j["items"][i]["surname"], rows[i].surname) << i;
    EXPECT_EQ(j["items"][i]["reason"], rows[i].reason) << i;
    EXPECT_EQ(j["items"][i]["start"], IsoDate(rows[i].start)) << i;
  }
  // The demo's own bookings give more than the acknowledgements added here.
  EXPECT_GT(rows.size(), 70u);
  EXPECT_EQ(dir.Read("demo/Overdue-Items.csv"), OverdueCsv(rows));

  EXPECT_GE(j["pages"], 2);
  const std::string text = PdfText(pdf);
  for (const char* want : {"Overdue Payments List", "Property", "Rec", "Let starts", "Name", "Comment", "Page 2",
                           "O\"Neil,", "Balance not acknowledged, send joining details?"})
    EXPECT_NE(text.find(want), std::string::npos) << want << " not in:\n" << text;
  EXPECT_NE(text.find('\f'), std::string::npos) << "one page only";
}

TEST_F(CtlOverdue, RefusesWhatItCannotDo) {
  const struct {
    std::vector<std::string> args;
    int exit;
    const char* says;
  } cases[] = {
      {{"overdue"}, 2, "usage: cotlynctl overdue"},
      {{"overdue", Root(), "--pdf", ""}, 2, "usage: cotlynctl overdue"},
      {{"overdue", Root(), "--today", "2026-13-01"}, 2, "usage: cotlynctl overdue"},
      {{"overdue", dir.Path() + "nowhere/"}, 1, "nowhere"},
  };
  for (const auto& c : cases) {
    ChildProcess p = Ctl(c.args);
    EXPECT_EQ(p.exitCode, c.exit) << c.says;
    EXPECT_NE(p.Errors().find(c.says), std::string::npos) << p.Errors();
  }
  EXPECT_FALSE(FileExists(Root() + "Overdue-Items.csv"));
}

}  // namespace
}  // namespace tb::test
