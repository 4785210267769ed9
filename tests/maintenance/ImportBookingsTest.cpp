// Importing bookings from a CSV file: the rule of every field, the overlap checks, and
// what the import leaves behind when it is confirmed, cancelled, refused or fails.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "maintenance/ImportBookings.h"
#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/Frozen.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kJun = EncodeDate(2027, 6, 1) - 1;  // kJun + d is d June 2027
const MsgButtons kAbort = MsgButton::Abort;

// One line of the file: a valid hold for 1-8 June 2027, with some columns replaced.
std::string Line(const std::map<int, std::string>& columns = {}) {
  std::vector<std::string> c = {"Prop 1", "01/06/2027", "7",      "500",     "Smith",     "Mr",
                                "John",   "1 High St",  "",       "",        "",          "",
                                "AB1 2CD", "01234 567", "j@x.uk", "Late arrival", "H"};
  for (const auto& [column, text] : columns) c[static_cast<size_t>(column - 1)] = text;
  std::string line;
  for (size_t i = 0; i < c.size(); ++i) line += (i ? "," : "") + c[i];
  return line;
}
std::string Stay(int day, int nights, const std::string& surname = "Smith") {
  return Line({{2, FormatDateTime("dd/mm/yyyy", kJun + day)}, {3, std::to_string(nights)}, {5, surname}});
}

class Import : public ::testing::Test {
 protected:
  Import() {
    t.Load(SimpleSettings(1));
    ForceDirectories(t.Root() + "Prop 1/Data");
    ForceDirectories(t.Root() + "Prop 1/Archive");
    p.PropName = "Prop 1";
  }
  // The reason the file fails (with its line), or "" when it is valid.
  std::string Check(const std::string& data) {
    const ImportCheck c = CheckImport(data, p, t.clock.Today(), BritishFormatSettings());
    return c.badLine ? std::to_string(c.badLine) + ": " + c.reason : "";
  }
  Book_Rec Parsed(const std::string& line) {
    Book_Rec rec;
    std::string reason;
    EXPECT_TRUE(ParseImportLine(line, p, t.clock.Today(), BritishFormatSettings(), rec, reason)) << reason;
    return rec;
  }
  // Existing bookings in the property's file (and the list, as a run reads it).
  void Existing(const std::vector<Book_Rec>& records) {
    WriteWholeFile(File(), BookingFileImage(records));
    s.Prop(1).BookFileAge = 0;
    ReadBookings(s, 1, false, false);
    for (const Book_Rec& r : records) p.Bookings.Append(r);
  }
  std::string File() const { return t.Root() + "Prop 1/Data/Bookings.bks"; }
  std::string Csv(const std::string& text) { return t.dir.Write("in.csv", text); }
  void ExpectDataError(int line, const std::string& reason) {
    t.dialogs.Expect("Data Error: CSV file invalid. Line " + std::to_string(line) + "\r" + reason, MsgIcon::Error,
                     kAbort, 0, MsgButton::Abort);
  }
  void ExpectContinue(MsgButton answer) {
    t.dialogs.Expect("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                     answer);
  }

  TestSession t;
  Session& s = t.session;
  Prop_Rec p;  // the property as the rules see it, for checks without the file
};

TEST_F(Import, EachFieldRuleAtAndPastItsLimit) {
  const std::string x(300, 'x');
  struct Case {
    std::map<int, std::string> columns;
    std::string reason;  // "" = valid
  };
  const Case cases[] = {
      {{{1, "prop 1"}}, "Col 1 - property name error"},
      {{{1, "Prop 1 "}}, "Col 1 - property name error"},
      {{{1, "Property"}, {2, "Arrival"}}, "Col 1 - property name error"},  // a heading line
      {{{2, "31/02/2027"}}, "'31/02/2027' is not a valid date and time"},
      {{{2, "01/06/2027 24:00"}}, "'01/06/2027 24:00' is not a valid date and time"},
      {{{2, "1/6/27 9:30 pm"}}, ""},
      {{{3, "0"}}, "Col 3 - Duration invalid"},
      {{{3, "1"}}, ""},
      {{{3, "365"}}, ""},
      {{{3, "366"}}, "Col 3 - Duration invalid"},
      {{{3, "7.5"}}, "'7.5' is not a valid integer value"},
      {{{3, "99999999999"}}, "'99999999999' is not a valid integer value"},
      {{{4, "0"}}, ""},
      {{{4, "-0.01"}}, "Col 4 - rent negative"},
      {{{4, "\"1,000\""}}, "'1,000' is not a valid floating point value"},
      {{{4, "nan"}}, "'nan' is not a valid floating point value"},
      {{{5, x.substr(0, 30)}}, ""},
      {{{5, x.substr(0, 31)}}, "Col 5. Surname>30 chars"},
      {{{5, " " + x.substr(0, 29) + " "}}, "Col 5. Surname>30 chars"},  // not trimmed
      {{{6, "Dr"}, {7, x.substr(0, 57)}}, ""},
      {{{6, "Dr"}, {7, x.substr(0, 58)}}, "Title+First names>60 chars"},
      {{{6, ""}, {7, "  " + x.substr(0, 60) + " "}}, ""},  // trimmed
      {{{8, x.substr(0, 121)}}, ""},                      // + CR LF + "AB1 2CD" = 130
      {{{8, x.substr(0, 122)}}, "Address+Post code >130 chars"},
      {{{14, " " + x.substr(0, 56) + " "}}, ""},
      {{{14, x.substr(0, 57)}}, "Col 10. Phone>56 chars"},
      {{{15, x.substr(0, 50)}}, ""},
      {{{15, x.substr(0, 51)}}, "Col 11. email>50 chars"},
      {{{16, x.substr(0, 255)}}, ""},
      {{{16, x.substr(0, 256)}}, "Col 12. Comment>255 chars"},
      {{{17, " H "}}, ""},
      {{{17, ""}}, ""},
      {{{17, "h"}}, "Col 13. Status not Blank or H"},
      {{{17, "P"}}, "Col 13. Status not Blank or H"},
      {{{5, "\"Smith"}}, "No matching quote"},
      {{{5, "\"Smith\"x"}}, "Quoted string not terminated with comma"},
      {{{1, "\"Prop 1\""}, {5, "\"O\"\"Hara, Jr\""}}, ""},
  };
  for (const Case& c : cases) {
    const std::string line = Line(c.columns);
    EXPECT_EQ(Check(line + "\r\n"), c.reason.empty() ? "" : "1: " + c.reason) << line;
  }
}

TEST_F(Import, ALineBecomesABookingSettledAroundItsStay) {
  const Book_Rec b = Parsed(Line({{2, "03/06/2027 14:30"}, {4, "612.5"}, {5, " O\"Hara "}, {6, ""}, {7, " Ann "},
                                  {8, " Rose Cottage "}, {9, "Lane "}, {10, "Village"}, {11, "Town"},
                                  {12, "County"}, {13, "AB1 2CD "}, {17, ""}}));
  EXPECT_EQ(b.StartD, kJun + 3);  // the time is dropped
  EXPECT_EQ(b.EndD, kJun + 10);
  EXPECT_EQ(b.Rent, 612.5);
  EXPECT_EQ(b.Total, 612.5);
  EXPECT_EQ(b.Surname, " O\"Hara ");
  EXPECT_EQ(b.Fnames, "Ann");
  // Four further lines: the postcode joins the last one.
  EXPECT_EQ(b.Address, "Rose Cottage\r\nLane\r\nVillage\r\nTown\r\nCounty AB1 2CD");
  EXPECT_EQ(b.Phone, "01234 567");
  EXPECT_EQ(b.Comments, "Late arrival");
  EXPECT_EQ(b.Status, Paid);  // arrives after today
  EXPECT_EQ(b.DateB, kJun + 3 - 42);
  EXPECT_EQ(b.DateD, kJun + 3 - 42);
  EXPECT_EQ(b.DateP, kJun + 3 - 42);
  EXPECT_EQ(b.DateR, kJun + 10 + 7);
  EXPECT_EQ(b.DateUpD, t.clock.Today());
  EXPECT_EQ(b.Deposit, 0);
  EXPECT_EQ(b.Chg1, 0);

  const Book_Rec gaps = Parsed(Line({{8, "1 Mill St"}, {10, "Town"}, {13, "ZZ9"}}));
  EXPECT_EQ(gaps.Address, "1 Mill St\r\nTown\r\nZZ9");
  EXPECT_EQ(gaps.Fnames, "Mr John");
  EXPECT_EQ(gaps.Status, Hold);
  const Book_Rec today = Parsed(Line({{2, "09/12/2026"}, {17, ""}}));
  EXPECT_EQ(today.Status, Complete);  // an arrival not after today is over
  const Book_Rec few = Parsed("Prop 1,01/06/2027,7,500");  // missing columns are empty
  EXPECT_EQ(few.Surname, "");
  EXPECT_EQ(few.Status, Paid);
}

TEST_F(Import, DatesAndAmountsInTheLocalesOrder) {
  FormatSettings us = BritishFormatSettings();
  us.shortDateFormat = "m/d/yyyy";
  FormatSettings german = BritishFormatSettings();
  german.shortDateFormat = "dd.mm.yyyy";
  german.dateSeparator = '.';
  german.decimalSeparator = ',';
  FormatSettings iso = BritishFormatSettings();
  iso.shortDateFormat = "yyyy-mm-dd";
  iso.dateSeparator = '-';
  struct Case {
    const FormatSettings* fs;
    std::string date, rent;
    TDateTime start;  // 0: refused
    double amount;
  };
  const Case cases[] = {
      {&us, "6/3/2027 10:00 AM", "99.5", kJun + 3, 99.5},
      {&us, "6/3", "1", EncodeDate(2026, 6, 3), 1},  // no year: this year
      {&german, "03.06.27", "\"99,5\"", kJun + 3, 99.5},
      {&german, "03/06/2027", "1", 0, 0},
      {&iso, "2027-06-03 23:59:59", "0", kJun + 3, 0},
      {&iso, "2027-13-03", "0", 0, 0},
  };
  for (const Case& c : cases) {
    Book_Rec rec;
    std::string reason;
    const bool ok =
        ParseImportLine(Line({{2, c.date}, {4, c.rent}}), p, t.clock.Today(), *c.fs, rec, reason);
    EXPECT_EQ(ok, c.start != 0) << c.date << ": " << reason;
    if (!ok) continue;
    EXPECT_EQ(rec.StartD, c.start) << c.date;
    EXPECT_EQ(rec.Rent, c.amount) << c.date;
  }
}

TEST_F(Import, OverlapsWithBookingsAndEarlierLines) {
  Book_Rec cancelled = MakeBooking(kJun + 20, 7, "Gone", Cancelled);
  // A long cancelled stay with a let inside it: the list's departures do not run in order.
  Existing({MakeBooking(kJun + 2, 7, "Adams"), cancelled, MakeBooking(kJun + 30, 30, "Long", Cancelled),
            MakeBooking(kJun + 35, 3, "Inside")});
  struct Case {
    std::vector<std::string> lines;
    std::string result;
  };
  const Case cases[] = {
      {{Stay(9, 7), Stay(-5, 7)}, ""},  // touching on either side
      {{Stay(5, 2)}, "1: Imported Booking overlaps existing booking 1"},
      {{Stay(1, 2)}, "1: Imported Booking overlaps existing booking 1"},
      {{Stay(22, 1)}, "1: Imported Booking overlaps existing booking 2"},  // cancelled blocks
      {{Stay(50, 2)}, "1: Imported Booking overlaps existing booking 3"},
      {{Stay(10, 5), Stay(15, 5), Stay(12, 1)}, "3: Imported Booking overlaps line 1"},
      {{Stay(10, 5), Stay(8, 1), Stay(9, 1)}, "2: Imported Booking overlaps existing booking 1"},
      {{Stay(70, 5), Stay(62, 10)}, "2: Imported Booking overlaps line 1"},
  };
  for (const Case& c : cases) {
    std::string data;
    for (const std::string& line : c.lines) data += line + "\r\n";
    EXPECT_EQ(Check(data), c.result) << data;
  }
}

TEST_F(Import, AConfirmedFileIsSortedIntoTheListAndWritten) {
  Existing({MakeBooking(kJun + 2, 7, "Adams")});
  const std::string csv = Csv(Stay(20, 7, "Late") + "\r\n" + Stay(-5, 7, "Early"));  // no final break
  ExpectContinue(MsgButton::Yes);
  std::vector<std::string> logged;
  const ImportOutcome o = ImportBookings(s, 1, csv, false, [&](const std::string& l) { logged.push_back(l); });
  EXPECT_EQ(o.result, ImportResult::Imported);
  EXPECT_EQ(Surnames(FileRecords(File())), (std::vector<std::string>{"Early", "Adams", "Late"}));
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 3);
  // The change log learns of them, as of any booking saved, so a recovery keeps them.
  EXPECT_EQ(Surnames(FileRecords(t.Root() + "Prop 1/Archive/Changed.bks")), (std::vector<std::string>{"Late", "Early"}));
  EXPECT_EQ(s.Prop(1).ImportSel, 1);
  EXPECT_EQ(logged, std::vector<std::string>{"Imported 2 lines for Property Prop 1"});
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("Imported 2 lines for Property Prop 1"), std::string::npos);
  EXPECT_FALSE(s.BookFile.IsOpen()) << "the file is let go";
}

TEST_F(Import, NothingChangesUnlessConfirmedAndValid) {
  Existing({MakeBooking(kJun + 2, 7, "Adams")});
  const std::string before = t.dir.Read("root/Prop 1/Data/Bookings.bks");
  ExpectContinue(MsgButton::Cancel);
  EXPECT_EQ(ImportBookings(s, 1, Csv(Stay(20, 7)), false).result, ImportResult::Cancelled);
  EXPECT_FALSE(FileExists(t.Root() + "Prop 1/Archive/Changed.bks"));

  ExpectDataError(2, "Col 3 - Duration invalid");
  const ImportOutcome bad = ImportBookings(s, 1, Csv(Stay(20, 7) + "\n" + Line({{3, "0"}}) + "\n"), false);
  EXPECT_EQ(bad.result, ImportResult::Invalid);
  EXPECT_EQ(bad.badLine, 2);

  EXPECT_EQ(t.dir.Read("root/Prop 1/Data/Bookings.bks"), before);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 1);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(Import, RefusedWithoutFilePropertyOrLock) {
  Existing({MakeBooking(kJun + 2, 7, "Adams")});
  const std::string csv = Csv(Stay(20, 7));
  const std::string missing = t.dir.Path() + "none.csv";
  t.dialogs.Expect("File " + missing + " does not exist.", MsgIcon::Error, kAbort, 0, MsgButton::Abort);
  EXPECT_EQ(ImportBookings(s, 1, missing, false).result, ImportResult::Refused);
  t.dialogs.Expect("No property selected", MsgIcon::Error, kAbort, 0, MsgButton::Abort);
  EXPECT_EQ(ImportBookings(s, 0, csv, false).result, ImportResult::Refused);
  EXPECT_EQ(t.dialogs.beeps, 2);

  s.ReadOnly = true;
  t.dialogs.Expect("Read only mode", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(ImportBookings(s, 1, csv, false).result, ImportResult::Refused);
  s.ReadOnly = false;

  TestSession other;
  other.JoinRoot(t);
  ReadBookings(other.session, 1, true, false);  // another user's booking window holds the file
  ASSERT_FALSE(other.session.FileReadOnly);
  t.dialogs.Expect("Data being updated - try later", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(ImportBookings(s, 1, csv, false).result, ImportResult::Refused);
  EXPECT_FALSE(s.BookFile.IsOpen());
  // A check only reads.
  EXPECT_EQ(ImportBookings(s, 1, csv, true).result, ImportResult::Valid);
  EXPECT_EQ(Surnames(FileRecords(File())), std::vector<std::string>{"Adams"});
}

TEST_F(Import, AFailedWriteLeavesFileAndListAsTheyWere) {
  Existing({MakeBooking(kJun + 2, 7, "Adams")});
  const std::string before = t.dir.Read("root/Prop 1/Data/Bookings.bks");
  const std::string csv = Csv(Stay(20, 7));
  // Frozen once the import holds the file, as a full disk would stop the write.
  std::unique_ptr<Frozen> frozen;
  t.dialogs.onMessage = [&]() {
    if (!frozen) frozen = std::make_unique<Frozen>(File());
  };
  ExpectContinue(MsgButton::Yes);
  t.dialogs.permissive = true;  // the writer's own messages
  const ImportResult result = ImportBookings(s, 1, csv, false).result;
  if (!frozen->Ok()) GTEST_SKIP() << "cannot make a file immutable here";
  EXPECT_EQ(result, ImportResult::NotWritten);
  ASSERT_GT(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[1].text.rfind("QZ1080", 0), 0u) << t.dialogs.shown[1].text;
  frozen->Thaw();
  EXPECT_EQ(t.dir.Read("root/Prop 1/Data/Bookings.bks"), before);
  EXPECT_EQ(s.Prop(1).Bookings.Count(), 1);
  EXPECT_EQ(s.Prop(1).ListModified, 0);
}

}  // namespace
}  // namespace tb::test
