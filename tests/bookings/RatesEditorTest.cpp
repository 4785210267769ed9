#include "bookings/RatesEditor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "support/Frozen.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const MsgButtons kYesCancel = MsgButton::Yes | MsgButton::Cancel;
const std::string kCreate =
    "No file exists for specified year. Create it?\rNote: Data will be copied from the most recent rates file (if "
    "present)\rYou can then edit this. (Hit F1 for Help)";

// Property 1 "Bramble" (Fuel and Linen charges) and property 2 "Heron" (neither); the
// session's clock says 9 December 2026.
class Rates : public ::testing::Test {
 protected:
  Rates() {
    t.Load("[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=Bramble\nExtChg1=Fuel\nExtChg2=Linen\n"
           "[Prop02]\nPropName=Heron\n");
    for (const char* name : {"Bramble", "Heron"}) ForceDirectories(t.Root() + name + "/Data");
  }
  std::string File(int n, int year) const { return RatesFilePath(s.Prop(n), year); }
  // A year whose band 1 and week 1 say which year it is.
  void WriteYear(int n, int year, int32_t band1) {
    Rate_Rec r;
    r.BandCost[0] = band1;
    r.WeekRates[0].CostOrBand = year;
    r.WeekRates[0].WeekComment = "from " + std::to_string(year);
    WriteWholeFile(File(n, year), RatesImage(r));
  }
  Rate_Rec Saved(int n, int year) const {
    Rate_Rec r;
    EXPECT_TRUE(ReadRatesFile(File(n, year), r));
    return r;
  }

  TestSession t;
  Session& s = t.session;
  RatesEditor ed{s};
};

TEST_F(Rates, ANewYearStartsFromTheMostRecentFileCountingFromThisYear) {
  WriteYear(1, 2022, 222);
  WriteYear(1, 2025, 425);
  WriteYear(1, 2026, 426);
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, kYesCancel, 410, MsgButton::Yes);
  ASSERT_TRUE(ed.Load(1, 2027));
  EXPECT_EQ(ed.fields.band[0], "426");
  EXPECT_EQ(ed.fields.weeks[0].comment, "from 2026");
  EXPECT_TRUE(ed.Modified());
  EXPECT_EQ(ed.UpdatedText(), "");
  EXPECT_EQ(ed.Caption(), "Rates Window:  Bramble - 2027");
  EXPECT_TRUE(s.RatesFormOpen);

  s.SeasonYear = {2024, 2025};  // a year the chart does not show still goes online
  ASSERT_TRUE(ed.Save());
  EXPECT_EQ(Saved(1, 2027).BandCost[0], 426);
  EXPECT_EQ(s.RatesSavedProperty, 1);
  EXPECT_TRUE(s.RatesDue);
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("RATE UPDATE. Prop=1 File=" + File(1, 2027)), std::string::npos);
  ed.Finish();
  EXPECT_FALSE(s.RatesFormOpen);

  // Cancel: nothing is loaded; nothing earlier: all zero.
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, kYesCancel, 410, MsgButton::Cancel);
  EXPECT_FALSE(ed.Load(2, 2027));
  EXPECT_FALSE(s.RatesFormOpen);
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, kYesCancel, 410, MsgButton::Yes);
  ASSERT_TRUE(ed.Load(2, 2027));
  EXPECT_EQ(ed.fields.band[0], "0");
  EXPECT_EQ(ed.fields.weeks[0].cost, "0");
  EXPECT_EQ(ed.fields.weeks[0].comment, "");
  EXPECT_EQ(ed.fields.weeks[0].fuel, "L");  // an entry without a letter shows L
  t.dialogs.VerifyAllShown();
}

TEST_F(Rates, AReadOnlyRunOrAnotherUsersFileOnlyLooks) {
  WriteYear(1, 2026, 426);
  SharedFile other;  // another user editing 2026
  ASSERT_EQ(other.OpenReadWriteDenyWriters(File(1, 2026)), SharedFile::Result::Ok);
  ASSERT_TRUE(ed.Load(1, 2026));
  EXPECT_TRUE(ed.ReadOnly());
  EXPECT_EQ(ed.fields.band[0], "426");
  EXPECT_EQ(ed.UpdatedText().substr(0, 9), "Updated: ");
  ed.fields.band[0] = "1";
  ed.FieldChanged();
  EXPECT_FALSE(ed.Modified());
  other.Close();

  s.ReadOnly = true;
  t.dialogs.Expect("No file exists for specified year. (Readonly so can't create)", MsgIcon::Warning, kOK, 410,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Load(1, 2027));
  t.dialogs.VerifyAllShown();
}

TEST_F(Rates, TheHeldFileKeepsASecondEditorOut) {
  WriteYear(1, 2026, 426);
  ASSERT_TRUE(ed.Load(1, 2026));
  EXPECT_FALSE(ed.ReadOnly());
  RatesEditor second(s);
  ASSERT_TRUE(second.Load(1, 2026));
  EXPECT_TRUE(second.ReadOnly());
  second.Finish();
  ed.Finish();
  RatesEditor third(s);
  ASSERT_TRUE(third.Load(1, 2026));
  EXPECT_FALSE(third.ReadOnly());  // let go on closing
}

TEST_F(Rates, GlobalChangeMovesPricesButNotBandNumbers) {
  struct Case {
    bool increase;
    const char* percent;
    int32_t band, weekBand, weekPrice;
    const char *bandAfter, *weekPriceAfter;
  } cases[] = {
      {true, "10", 425, 3, 7, "468", "8"},      // 467.5 to even, 7.7
      {false, "10", 425, 6, 700, "382", "630"},  // 382.5 to even
      {true, "2.5", 400, 1, 1000, "410", "1025"},
  };
  WriteYear(1, 2026, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    ASSERT_TRUE(ed.Load(1, 2026));
    ed.fields.band[0] = std::to_string(c.band);
    ed.fields.weeks[0].cost = std::to_string(c.weekBand);
    ed.fields.weeks[1].cost = std::to_string(c.weekPrice);
    ed.fields.fuelCost[0] = ed.fields.linen = ed.fields.minCost = "100";
    ed.fields.increase = c.increase;
    ed.fields.percent = c.percent;
    t.dialogs.Expect(std::string("You've asked for all rates to be ") + (c.increase ? "increased" : "decreased") +
                         " by " + c.percent + " percent\rProceed?",
                     MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
    t.dialogs.Expect("Rates changed", MsgIcon::Information, kOK, 0, MsgButton::OK);
    ASSERT_TRUE(ed.GlobalChange());
    EXPECT_EQ(ed.fields.band[0], c.bandAfter);
    EXPECT_EQ(ed.fields.weeks[0].cost, std::to_string(c.weekBand));
    EXPECT_EQ(ed.fields.weeks[1].cost, c.weekPriceAfter);
    EXPECT_EQ(ed.fields.fuelCost[0] + ed.fields.linen + ed.fields.minCost, "100100100");
    EXPECT_TRUE(ed.Modified());
    ed.Finish();
  }
}

TEST_F(Rates, FieldChecks) {
  struct Case {
    RateFieldKind kind;
    const char* text;
    bool ok;
  } cases[] = {
      {RateFieldKind::Number, "0", true},       {RateFieldKind::Number, "65535", true},
      {RateFieldKind::Number, "65536", false},  {RateFieldKind::Number, "2147483648", false},
      {RateFieldKind::Number, "", false},       {RateFieldKind::Number, "-5", false},
      {RateFieldKind::Fuel, "H", true},         {RateFieldKind::Fuel, "m", true},
      {RateFieldKind::Fuel, "", false},         {RateFieldKind::Fuel, "HM", false},
      {RateFieldKind::Percent, "5.0", true},    {RateFieldKind::Percent, "0", false},
      {RateFieldKind::Percent, "abc", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RatesEditor::FieldError(c.kind, c.text).empty(), c.ok) << c.text;
  }
  EXPECT_EQ(RatesEditor::FieldError(RateFieldKind::Number, "x"), "Invalid input. Must be positive integer");
  // The week table keeps prices in 16 bits: a larger one is refused, not wrapped.
  EXPECT_EQ(RatesEditor::FieldError(RateFieldKind::Number, "70000"), "Invalid input. Must be 65535 or less");
  EXPECT_EQ(RatesEditor::FieldError(RateFieldKind::Fuel, ""), "Invalid fuel. 1 char only, H,M or L");
  EXPECT_EQ(RatesEditor::FieldError(RateFieldKind::Percent, "0"), "Invalid change percentage. Must be positive number");
}

TEST_F(Rates, AShortYearSavesItsLastEntryAsZeros) {
  ASSERT_EQ(WeeksInYear(2027, s.Prop(1)), 52);
  WriteYear(1, 2027, 0);
  ASSERT_TRUE(ed.Load(1, 2027));
  EXPECT_EQ(ed.Weeks(), 52);
  ed.fields.weeks[52] = {"999", "old text", "H"};
  ed.fields.weeks[51] = {"640", "  Christmas  ", "h"};
  ed.FieldChanged();
  ASSERT_TRUE(ed.Save());
  const Rate_Rec r = Saved(1, 2027);
  EXPECT_EQ(r.WeekRates[52].CostOrBand, 0);
  EXPECT_EQ(r.WeekRates[52].WeekComment, "");
  EXPECT_EQ(r.WeekRates[52].FuelBand, 0);
  EXPECT_EQ(r.WeekRates[51].WeekComment, "Christmas");
  EXPECT_TRUE(FileExists(s.common.TempFolder + "P1-Rates27.bkc"));  // the file as it was
}

TEST_F(Rates, LineCommandsStopAtTheYearsLastWeek) {
  WriteYear(1, 2027, 0);
  ASSERT_TRUE(ed.Load(1, 2027));
  ed.fields.weeks[0] = {"5", "Easter", "M"};
  ed.CopyLine(0);
  EXPECT_TRUE(ed.LineCopied());
  ed.PasteLine(10);
  EXPECT_EQ(ed.fields.weeks[10].comment, "Easter");
  EXPECT_TRUE(ed.DuplicateLine(10));
  EXPECT_EQ(ed.fields.weeks[11].cost, "5");
  EXPECT_EQ(ed.fields.weeks[11].fuel, "M");
  ed.fields.weeks[11].comment = "Only this";
  EXPECT_TRUE(ed.DuplicateField(11, RateColumn::Comment));
  EXPECT_EQ(ed.fields.weeks[12].comment, "Only this");
  EXPECT_EQ(ed.fields.weeks[12].cost, "0");
  EXPECT_FALSE(ed.DuplicateLine(51));  // week 52 of 52
  EXPECT_FALSE(ed.DuplicateField(51, RateColumn::Cost));
  EXPECT_EQ(t.dialogs.beeps, 6);
  EXPECT_TRUE(ed.Modified());
}

TEST_F(Rates, CopyingFromAnotherProperty) {
  Rate_Rec heron;
  heron.BandCost[0] = 900;
  heron.WeekRates[3] = {'H', 0, 4, "Heron week"};
  WriteWholeFile(File(2, 2026), RatesImage(heron));
  WriteYear(1, 2026, 426);
  ASSERT_TRUE(ed.Load(1, 2026));
  t.dialogs.Expect("Cannot copy from current property", MsgIcon::Warning, kOK, 410, MsgButton::OK);
  EXPECT_FALSE(ed.CopyFrom(1, false));
  t.dialogs.Expect("Rates copied", MsgIcon::Information, kOK, 0, MsgButton::OK);
  ASSERT_TRUE(ed.CopyFrom(2, true));
  EXPECT_EQ(ed.fields.band[0], "426");  // lines only
  EXPECT_EQ(ed.fields.weeks[3].comment, "Heron week");
  EXPECT_EQ(ed.fields.weeks[0].comment, "");
  t.dialogs.Expect("Rates copied", MsgIcon::Information, kOK, 0, MsgButton::OK);
  ASSERT_TRUE(ed.CopyFrom(2, false));
  EXPECT_EQ(ed.fields.band[0], "900");
  EXPECT_EQ(Saved(1, 2026).BandCost[0], 426);  // the file changes only on saving
  ed.Finish();
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, kYesCancel, 410, MsgButton::Yes);
  ASSERT_TRUE(ed.Load(1, 2028));
  t.dialogs.Expect("No 2028 rates file found for property: Heron", MsgIcon::Warning, kOK, 447, MsgButton::OK);
  EXPECT_FALSE(ed.CopyFrom(2, false));
  t.dialogs.VerifyAllShown();
}

TEST_F(Rates, ClosingYearsImportAndDelete) {
  WriteYear(1, 2026, 426);
  WriteYear(1, 2027, 427);
  ASSERT_TRUE(ed.Load(1, 2026));
  EXPECT_TRUE(ed.StepYear(+1));
  EXPECT_EQ(ed.fields.band[0], "427");
  ed.fields.band[0] = "1";
  ed.FieldChanged();
  EXPECT_FALSE(ed.StepYear(-1));  // not while changed
  const std::string question = "Save changes before closing?\r(Cancel returns to editing. No discards changes)";
  const MsgButtons ync = MsgButton::Yes | MsgButton::No | MsgButton::Cancel;
  t.dialogs.Expect(question, MsgIcon::Confirmation, ync, 0, MsgButton::Cancel);
  EXPECT_FALSE(ed.Close());
  t.dialogs.Expect(question, MsgIcon::Confirmation, ync, 0, MsgButton::No);
  EXPECT_TRUE(ed.Close());
  EXPECT_EQ(Saved(1, 2027).BandCost[0], 427);

  ASSERT_TRUE(ed.Load(1, 2027));
  ASSERT_TRUE(ed.Import(File(1, 2026)));
  EXPECT_EQ(ed.fields.band[0], "426");
  t.dialogs.Expect("Existing data changed. Discard changes?", MsgIcon::Confirmation, kYesCancel, 0,
                   MsgButton::Cancel);
  EXPECT_FALSE(ed.DiscardChanges());
  t.dialogs.Expect("Error opening rates file " + t.Root() + "none.bkc", MsgIcon::Error, kOK, 410, MsgButton::OK);
  EXPECT_FALSE(ed.Import(t.Root() + "none.bkc"));

  t.dialogs.Expect("Delete current rates file = " + File(1, 2027) +
                       "\rProceed?\r\rAll data will be lost (Any Backup file is not deleted)\rThe form will close",
                   MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  EXPECT_TRUE(ed.DeleteFile());
  EXPECT_FALSE(FileExists(File(1, 2027)));
  EXPECT_FALSE(s.RatesFormOpen);
  t.dialogs.VerifyAllShown();
}

TEST_F(Rates, AFileThatCannotBeCreatedKeepsTheWorkInTheWindow) {
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, kYesCancel, 410, MsgButton::Yes);
  ASSERT_TRUE(ed.Load(1, 2027));
  ed.fields.band[0] = "555";
  std::filesystem::remove_all(t.Root() + "Bramble/Data");
  t.dialogs.Expect("Error creating rates file" + File(1, 2027) + "\rIt may be in use?", MsgIcon::Error, kOK, 410,
                   MsgButton::OK);
  EXPECT_FALSE(ed.Save());
  EXPECT_EQ(ed.fields.band[0], "555");
  EXPECT_TRUE(ed.Modified());
  ForceDirectories(t.Root() + "Bramble/Data");
  EXPECT_TRUE(ed.Save());
  EXPECT_EQ(Saved(1, 2027).BandCost[0], 555);
  t.dialogs.VerifyAllShown();
}

// A damaged file shown as zeros would become zeros at the next save: it is refused.
TEST_F(Rates, ADamagedFileIsNeverOpenedAsZeros) {
  Rate_Rec r;
  r.BandCost[0] = 425;
  r.WeekRates[4].WeekComment = "Easter";
  const std::string whole = RatesImage(r);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut short", whole.substr(0, 100)},
      {"empty", ""},
      {"bytes after the last week", whole + "xx"},
      {"a comment running past the end", whole.substr(0, whole.size() - 3)},
  };
  const std::string path = File(1, 2026);
  WriteYear(1, 2027, 500);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteWholeFile(path, c.bytes);
    t.dialogs.Expect("Error opening rates file " + path, MsgIcon::Error, kOK, 410, MsgButton::OK);
    EXPECT_FALSE(ed.Load(1, 2026));
    EXPECT_FALSE(s.RatesFormOpen);
    EXPECT_EQ(t.dir.Read("root/Bramble/Data/Rates26.bkc"), c.bytes);
    // Nor is it imported, or copied from another property.
    ASSERT_TRUE(ed.Load(1, 2027));
    t.dialogs.Expect("Error opening rates file " + path, MsgIcon::Error, kOK, 410, MsgButton::OK);
    EXPECT_FALSE(ed.Import(path));
    WriteWholeFile(File(2, 2027), c.bytes);
    t.dialogs.Expect("Error opening rates file " + File(2, 2027), MsgIcon::Error, kOK, 410, MsgButton::OK);
    EXPECT_FALSE(ed.CopyFrom(2, false));
    EXPECT_EQ(ed.fields.band[0], "500");
    EXPECT_FALSE(ed.Modified());
    ed.Finish();
  }
  t.dialogs.VerifyAllShown();
}

// Prices above what the week table keeps are refused at the save too (the global
// change can make them), with the field named; nothing is written.
TEST_F(Rates, ASaveRefusesAPriceTheChartCannotShow) {
  WriteYear(1, 2026, 60000);
  ASSERT_TRUE(ed.Load(1, 2026));
  ed.fields.percent = "10";
  t.dialogs.Expect("You've asked for all rates to be increased by 10 percent\rProceed?", MsgIcon::Confirmation,
                   kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Rates changed", MsgIcon::Information, kOK, 0, MsgButton::OK);
  ASSERT_TRUE(ed.GlobalChange());
  EXPECT_EQ(ed.fields.band[0], "66000");
  const std::string before = t.dir.Read("root/Bramble/Data/Rates26.bkc");
  t.dialogs.Expect("Invalid input. Must be 65535 or less", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Save());
  EXPECT_EQ(ed.invalidField.which, RateFieldRef::Band);
  EXPECT_EQ(ed.invalidField.index, 0);
  EXPECT_EQ(t.dir.Read("root/Bramble/Data/Rates26.bkc"), before);
  ed.fields.band[0] = "65535";
  ed.fields.weeks[7].fuel = "q";
  t.dialogs.Expect("Invalid fuel. 1 char only, H,M or L", MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.Save());
  EXPECT_EQ(ed.invalidField.which, RateFieldRef::WeekFuel);
  EXPECT_EQ(ed.invalidField.index, 7);
  ed.fields.weeks[7].fuel = "m";
  ASSERT_TRUE(ed.Save());
  EXPECT_EQ(Saved(1, 2026).BandCost[0], 65535);
  EXPECT_EQ(Saved(1, 2026).WeekRates[7].FuelBand, 'M');
  t.dialogs.VerifyAllShown();
}

TEST_F(Rates, AYearWhoseFileCannotBeDeletedStays) {
  WriteYear(1, 2026, 426);
  ASSERT_TRUE(ed.Load(1, 2026));
  Frozen frozen(File(1, 2026));
  if (!frozen.Ok()) GTEST_SKIP() << "cannot make a file immutable here";
  t.dialogs.Expect("Delete current rates file = " + File(1, 2026) +
                       "\rProceed?\r\rAll data will be lost (Any Backup file is not deleted)\rThe form will close",
                   MsgIcon::Confirmation, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Cannot delete file " + File(1, 2026), MsgIcon::Error, kOK, 0, MsgButton::OK);
  EXPECT_FALSE(ed.DeleteFile());
  EXPECT_TRUE(s.RatesFormOpen);
  frozen.Thaw();
  EXPECT_EQ(Saved(1, 2026).BandCost[0], 426);
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test
