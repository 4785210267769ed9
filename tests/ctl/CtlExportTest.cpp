// cotlynctl export on a demo root, as cron would run it, each file read back by
// Python's csv module (an independent reader): columns, quotes, commas and line
// breaks come through intact.

#include <gtest/gtest.h>

#include <cctype>
#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "support/Builders.h"

namespace tb::test {
namespace {

// Reads Bookings.csv (Windows-1252) with Python's csv module and prints its rows as JSON.
const char* const kReadCsv =
    "import csv, json, sys\n"
    "with open(sys.argv[1], newline='', encoding='cp1252') as f:\n"
    "    print(json.dumps(list(csv.reader(f))))\n";

class CtlExport : public DemoRootTest {
 protected:
  // A 2026 booking of the first cottage given texts with quotes, commas and line breaks.
  void AwkwardGuest() {
    const std::string path = Root() + "Bramble Cottage/Data/Bookings.bks";
    std::vector<Book_Rec> records = FileRecords(path);
    for (Book_Rec& b : records) {
      if (DecodeDate(b.StartD).year != 2026 || b.Status == Cancelled || !std::isalnum(b.Surname.view()[0])) continue;
      b.Surname = "O\"Neil, Jr";
      b.Fnames = "Dr. Ann";
      b.Address = "1 \"The\" Lane, Upper\r\nTown\r\nAB1 2CD";
      b.Comments = "Dog, cat\r\n\"quiet\"";
      break;
    }
    ASSERT_TRUE(WriteWholeFile(path, BookingFileImage(records)));
  }
  nlohmann::json CsvRows() {
    const ChildProcess p = ChildProcess::Run("/usr/bin/python3", {"-c", kReadCsv, Root() + "Bookings.csv"});
    EXPECT_EQ(p.exitCode, 0) << p.Errors();
    return nlohmann::json::parse(p.Output());
  }
};

TEST_F(CtlExport, ExportAllReadsBackAsThirtyFieldsARow) {
  AwkwardGuest();
  ChildProcess p = Ctl({"export", Root(), "--all", "--from", "2026-01-01", "--to", "2026-12-31", "--today",
                        "2026-12-09"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const nlohmann::json out = nlohmann::json::parse(p.Output());
  EXPECT_EQ(out["outcome"], "written");
  ASSERT_EQ(out["log"].size(), 5u);
  EXPECT_EQ(out["log"][4], "Export complete.  File " + Root() + "Bookings.csv written");
  const nlohmann::json rows = CsvRows();
  ASSERT_GT(rows.size(), 10u);
  EXPECT_EQ(rows[0][29], "Flag");
  int awkward = 0;
  for (const nlohmann::json& row : rows) {
    ASSERT_EQ(row.size(), 30u) << row.dump();
    if (row[20] != "O\"Neil, Jr") continue;
    ++awkward;
    EXPECT_EQ(row[18], "Dr");
    EXPECT_EQ(row[19], "Ann");
    EXPECT_EQ(row[21], "1 \"The\" Lane, Upper\u00BBTown\u00BB");
    EXPECT_EQ(row[22], "AB1 2CD");
    EXPECT_EQ(row[26], "Dog, cat\u00BB\"quiet\"");
  }
  EXPECT_EQ(awkward, 1);

  // Asked again, the file is there: COTLYN_ANSWERS declines, nothing changes.
  const ChildProcess again =
      ChildProcess::Run(ProgramPath("cotlynctl"), {"export", Root(), "--all"},
                        {"COTLYN_NONINTERACTIVE=1", "COTLYN_ANSWERS=Cancel", "XDG_CONFIG_HOME=" + dir.Path()});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.Errors().find("already exists. Overwrite?"), std::string::npos) << again.Errors();
  EXPECT_EQ(nlohmann::json::parse(again.Output())["log"].back(), "Cancelled - no file written.");
}

TEST_F(CtlExport, TemplateExportKeepsItsColumnsPerProperty) {
  AwkwardGuest();
  ChildProcess p = Ctl({"export", Root(), "--template", "default", "--props", "1,3", "--header", "--from",
                        "2026-01-01", "--to", "2026-12-31"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const nlohmann::json rows = CsvRows();
  ASSERT_GT(rows.size(), 6u);
  EXPECT_EQ(rows[0][0].get<std::string>().rfind("Property: Bramble Cottage", 0), 0u);
  EXPECT_EQ(rows[1][7], "Address 1");
  int titles = 0, awkward = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const nlohmann::json& row = rows[i];
    if (row.size() == 1) {  // the blank line ending a property, then the next title
      titles += row[0].get<std::string>().rfind("Property: ", 0) == 0;
      continue;
    }
    ASSERT_EQ(row.size(), 18u) << row.dump();
    if (row[6] != "O\"Neil, Jr") continue;
    ++awkward;
    EXPECT_EQ(row[4], "Dr");
    EXPECT_EQ(row[5], "Ann");
    EXPECT_EQ(row[7], "1 \"The\" Lane, Upper");
    EXPECT_EQ(row[12], "AB1 2CD");
  }
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(awkward, 1);

  EXPECT_EQ(Ctl({"export", Root(), "--template", "none"}).exitCode, 1);
  EXPECT_EQ(Ctl({"export", Root(), "--all", "--rates"}).exitCode, 2);
  EXPECT_EQ(Ctl({"export", Root(), "--all", "--props", "1,99"}).exitCode, 1);
  EXPECT_EQ(Ctl({"export", Root(), "--rates"}).exitCode, 0);
  EXPECT_TRUE(FileExists(Root() + "Import-charges.sql"));
}

}  // namespace
}  // namespace tb::test
