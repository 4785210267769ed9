// The bookings exports: each item of the configurable export, the title and postcode
// rules, the VAT content, the full export's line, and writing (asked, cancelled,
// failed) as the files are left on disk.

#include <gtest/gtest.h>

#include "maintenance/Export.h"
#include "maintenance/ExportFields.h"
#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

std::vector<std::string> CsvLines(const std::string& csv) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < csv.size()) {
    size_t end = csv.find("\r\n", pos);
    if (end == std::string::npos) end = csv.size();
    lines.push_back(csv.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

TEST(ExportFieldsTest, TitleIsTakenOnlyWhereTheNamesGoOnWithASpaceOrADot) {
  struct Case {
    const char* fnames;
    const char* title;
    const char* names;
  };
  const Case cases[] = {
      {"Dr. John", "Dr", "John"},
      {"Dr John", "Dr", "John"},
      {"Mr.John", "Mr", "John"},
      {"Drew", "", "Drew"},
      {"Mrsa Jones", "", "Mrsa Jones"},
      {"Msx", "", "Msx"},
      {"Mrs Ann", "Mrs", "Ann"},
      {"Mr and Mrs J.", "Mr and Mrs", "J"},
      {"Revd. and Mrs. Hope", "Revd and Mrs", "Hope"},
      {"  Ms  Jo ", "Ms", "Jo"},
      {"Miss", "Miss", ""},
      {"Dr.", "Dr", ""},
      {"mr John", "", "mr John"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const NameParts parts = SplitTitle(c.fnames);
    EXPECT_EQ(parts.title, c.title) << c.fnames;
    EXPECT_EQ(parts.names, c.names) << c.fnames;
  }
}

TEST(ExportFieldsTest, PostcodeRule) {
  struct Case {
    const char* address;
    std::vector<std::string> lines;
    const char* postcode;
  };
  const Case cases[] = {
      {"1 High St\r\nTown\r\nAB1 2CD", {"1 High St", "Town"}, "AB1 2CD"},
      {"Main St\r\nSpringfield 12345", {"Main St", "Springfield"}, "12345"},
      {"Main St\r\nSpringfield 123456", {"Main St", "Springfield 123456"}, " - "},
      {"1 High St\r\nTown", {"1 High St", "Town"}, " - "},
      {"Town\r\nAB12 3CD\r\n \r\n", {"Town"}, "AB12 3CD"},
      {"Town ABCDE 1AA", {"Town ABCDE 1AA"}, " - "},
      {"W1 1AA", {}, "W1 1AA"},
      {"", {" - "}, " - "},
      {"  \r\n\r\n", {" - "}, " - "},
      {"a\r\nb\r\nc\r\nd\r\ne\r\nf  G12 3AB\r\n", {"a", "b", "c", "d", "e", "f"}, "G12 3AB"},
  };
  for (const Case& c : cases) {
    const PostalAddress a = SplitPostcode(c.address);
    EXPECT_EQ(a.lines, c.lines) << c.address;
    EXPECT_EQ(a.postcode, c.postcode) << c.address;
  }
}

TEST(ExportFieldsTest, VatContentRoundsHalvesToEven) {
  EXPECT_EQ(VatHundredths(120, 20), 2000);
  EXPECT_EQ(VatHundredths(100, 17.5), 1489);  // 1489.36
  EXPECT_EQ(VatHundredths(105, 5), 500);
  EXPECT_EQ(VatHundredths(0.01, 100), 0);  // 0.5
  EXPECT_EQ(VatHundredths(0.03, 100), 2);  // 1.5
  EXPECT_EQ(VatHundredths(99, 0), 0);
}

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    t.Load("[Common]\nNumProps=2\nViewMode=M\nTax=20\n"
           "[Prop01]\nPropName=Ash\nExtChg1=Linen\nExtChg2=Fuel\nExtChg3=Dog\n[Prop02]\nPropName=Elm\n");
    run.properties = {1};
    run.from = EncodeDate(2026, 1, 1);
    run.to = EncodeDate(2026, 12, 31);
  }
  // A paid week with every field set.
  static Book_Rec Guest() {
    Book_Rec b = MakeBooking(EncodeDate(2026, 7, 4), 7, " O\"Neil ", Paid);
    b.Rent = 100;
    b.Chg1 = 10;
    b.Chg2 = 5.5;
    b.Chg3 = 4.5;
    b.Total = 120;
    b.Deposit = 30;
    b.Balance = 90;
    b.NumV = 4;
    b.Source = "Web";
    b.DateD = EncodeDate(2026, 6, 5);
    b.Flag = FlagSp | DepAck;
    b.Fnames = "Dr. John";
    b.Address = "1 High St\r\nTown\r\nAB1 2CD";
    b.Phone = " 0123 ";
    b.Comments = "Late\r\narrival";
    b.DateUpD = EncodeDate(2026, 6, 4) + EncodeTime(9, 5, 7, 0);
    return b;
  }
  std::string Csv(const ExportTemplate& tmpl) {
    log.clear();
    return BookingsCsv(s, tmpl, run, BritishFormatSettings(), log);
  }
  TestSession t;
  Session& s = t.session;
  ExportRun run;
  std::vector<std::string> log;
};

TEST_F(ExportTest, EachItemCodeWritesItsHeadingAndValue) {
  s.Prop(1).Bookings.Append(Guest());
  struct Case {
    int code;
    const char* heading;
    const char* value;
  };
  const Case cases[] = {
      {1, "\"H\"", "\"Ash\""},
      {2, "\"H\"", "\"04/07/2026\""},
      {3, "\"H\"", "7"},
      {4, "\"H\"", "120.00"},
      {5, "\"H\"", "\"O\"\"Neil\""},
      {6, "\"H\"", "\"Dr\""},
      {7, "\"H\"", "\"Dr. John\""},
      {8, "\"Address 1\",\"Address 2\",\"Address 3\",\"Address 4\",\"Address 5\"",
       "\"1 High St\",\"Town\",\"AB1 2CD\",\" - \",\" - \""},
      {9, "\"H\"", "\"AB1 2CD\""},
      {10, "\"H\"", "\"0123\""},
      {11, "\"H\"", "\" - \""},
      {12, "\"H\"", "\"Late;arrival\""},
      {13, "\"H\"", "\" - \""},
      {14, "\"H\"", "1"},
      {15, "\"H\"", "100.00"},
      {16, "\"Linen\"", "10.00"},
      {17, "\"Fuel\"", "5.50"},
      {18, "\"Dog\"", "4.50"},
      {19, "\"H\"", "30.00"},
      {20, "\"H\"", "90.00"},
      {21, "\"H\"", "4"},
      {22, "\"H\"", "\"Web\""},
      {23, "\"H\"", "\"04/06/2026\""},
      {24, "\"H\"", "\"05/06/2026\""},
      {25, "\"H\"", "\"not paid\""},
      {26, "\"H\"", "\"Yes\""},
      {27, "\"H\"", "100.00"},
      {28, "\"H\"", "20.00"},
      {29, "\"H\"", "0.00"},
      {30, "\"H\"", "\"not paid\""},
      {31, "\"H\"", "\"Paid, sent instructions\""},
      {32, "\"H\"", "\"11/07/2026\""},
      {33, "\"H\"", ""},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = CsvLines(Csv(ExportTemplate{{{c.code, "H"}}, {}}));
    ASSERT_EQ(lines.size(), 3u) << c.code;
    EXPECT_EQ(lines[0], c.heading) << c.code;
    EXPECT_EQ(lines[1], c.value) << c.code;
    EXPECT_EQ(lines[2], " ") << c.code;
  }
}

TEST_F(ExportTest, TitleAndPostcodeItemsChangeTheNamesAndTheAddress) {
  Book_Rec b = Guest();
  b.Address = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\nTown 12345";  // six lines once the postcode is off
  s.Prop(1).Bookings.Append(b);
  const ExportTemplate tmpl{{{6, "T"}, {7, "F"}, {8, "A"}, {9, "P"}, {21, "N"}}, {{5, "S"}}};
  const std::vector<std::string> lines = CsvLines(Csv(tmpl));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "\"T\",\"F\",\"Address 1\",\"Address 2\",\"Address 3\",\"Address 4\",\"Address 5\",\"P\",\"N\"");
  EXPECT_EQ(lines[1], "\"Dr\",\"John\",\"a\",\"b\",\"c\",\"d\",\"e\",\"12345\",4");
}

TEST_F(ExportTest, BookingsInTheWindowWithCustomersNamesPerProperty) {
  run.properties = {1, 2};
  run.header = true;
  BookingList& ash = s.Prop(1).Bookings;
  ash.Append(MakeBooking(EncodeDate(2025, 12, 27), 7, "Early"));  // departs 3 Jan: in
  ash.Append(MakeBooking(EncodeDate(2025, 12, 20), 7, "Gone"));   // departs 27 Dec: out
  ash.Append(MakeBooking(EncodeDate(2026, 5, 2), 7, "- Owner -"));
  ash.Append(MakeBooking(EncodeDate(2026, 5, 9), 7, ""));
  ash.Append(MakeBooking(EncodeDate(2026, 12, 31), 7, "Late"));  // arrives on the last day: in
  ash.Append(MakeBooking(EncodeDate(2027, 1, 1), 7, "Next"));
  s.Prop(2).Bookings.Append(MakeBooking(EncodeDate(2026, 3, 1), 7, "9 Hill"));
  const std::vector<std::string> lines = CsvLines(Csv(ExportTemplate{{{5, "Surname"}}, {}}));
  EXPECT_EQ(lines, (std::vector<std::string>{"\"Property: Ash\"", "\"Surname\"", "\"Early\"", "\"Late\"", " ",
                                             "\"Property: Elm\"", "\"Surname\"", "\"9 Hill\"", " "}));
  EXPECT_EQ(log, (std::vector<std::string>{"Property: Ash.  Exported 2 Bookings",
                                           "Property: Elm.  Exported 1 Bookings"}));
  // An empty export list still gives a heading and a line per booking, both empty.
  EXPECT_EQ(CsvLines(Csv(ExportTemplate{})),
            (std::vector<std::string>{"\"Property: Ash\"", "", "", "", " ", "\"Property: Elm\"", "", "", " "}));
}

TEST_F(ExportTest, ExportAllWritesEveryFieldOnOneLine) {
  Book_Rec b = Guest();
  b.Email = "Ann@Example.COM";
  b.Special = "Key under \"mat\"\r\nGate code 12";
  b.Chg3 = 2.675;  // held as 2.67499..., written as typed
  b.Refund = -12.5;
  s.Prop(1).Bookings.Append(b);
  Book_Rec owner = MakeBooking(EncodeDate(2026, 8, 1), 7, "", Reserved);
  owner.DateB = 0;
  owner.Flag = OmitM | NoClean;
  s.Prop(1).Bookings.Append(owner);
  const std::vector<std::string> lines = CsvLines(AllBookingsCsv(s, run, log));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "Property,PN,Status,StartD,EndD,Rent,Chg1,Chg2,Chg3,Total,Deposit,Balance,Refund,DateB,DateD,DateP,DateR,"
            "DateUpD,Title,Fnames,Surname,Address,Postcode,Phone,Email,Special,Comments,Source,NumV,Flag");
  EXPECT_EQ(lines[1],
            "\"Ash\",1,4,2026-07-04,2026-07-11,100.00,10.00,5.50,2.68,120.00,30.00,90.00,-12.50,2026-06-04,2026-06-05,"
            ",,2026-06-04 09:05:07,\"Dr\",\"John\",\" O\"\"Neil \",\"1 High St\xBBTown\xBB\",\"AB1 2CD\",\" 0123 \","
            "\"ann@example.com\",\"Key under \"\"mat\"\"\xBBGate code 12\",\"Late\xBB" "arrival\",\"Web\",4,"
            "\"01010000\"");
  EXPECT_EQ(lines[2].substr(0, 32), "\"Ash\",1,1,2026-08-01,2026-08-08,");
  const std::string tail =
      ",,,,1899-12-30 00:00:00,\"\",\"\",\"\",\" - \xBB\",\" - \",\"\",\"\",\"\",\"\",\"\",1,\"10000010\"";
  EXPECT_EQ(lines[2].substr(lines[2].size() - tail.size()), tail);
  EXPECT_EQ(log, std::vector<std::string>{"Property: Ash.  Exported 2 Bookings"});
}

TEST_F(ExportTest, WritingAsksBeforeReplacingAndFailsWithoutAPartFile) {
  s.Prop(1).Bookings.Append(Guest());
  const ExportTemplate tmpl{{{5, "Surname"}}, {}};
  const std::string path = BookingsExportPath(s);
  EXPECT_EQ(ExportBookings(s, tmpl, run, log), ExportOutcome::Written);
  EXPECT_EQ(log.back(), "Export complete.  File " + path + " written");
  EXPECT_EQ(t.dialogs.beeps, 1);
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_EQ(text, "\"Surname\"\r\n\"O\"\"Neil\"\r\n \r\n");

  t.dialogs.Expect("File " + path + " already exists. Overwrite?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  EXPECT_EQ(ExportAll(s, run, log), ExportOutcome::Cancelled);
  EXPECT_EQ(log.back(), "Cancelled - no file written.");
  ASSERT_TRUE(ReadWholeFile(path, text));
  EXPECT_EQ(text, "\"Surname\"\r\n\"O\"\"Neil\"\r\n \r\n");

  // A folder where the file should go: the write fails, and says so.
  ASSERT_TRUE(DeleteFileAt(path));
  ASSERT_TRUE(ForceDirectories(path + "/"));
  t.dialogs.Expect("Cannot write " + path + "\rIs a directory", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  log.clear();
  EXPECT_EQ(ExportAll(s, run, log), ExportOutcome::Failed);
  EXPECT_EQ(log, (std::vector<std::string>{"Property: Ash.  Exported 1 Bookings", "Cannot write " + path}));
  EXPECT_TRUE(ListFiles(s.common.RootFolder, ".*").empty());  // no work file left behind
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test
