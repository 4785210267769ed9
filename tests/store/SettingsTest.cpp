#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "store/LocalIni.h"
#include "store/Settings.h"
#include "support/Frozen.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

struct PropCase {
  const char* lines;  // property section body
  double deposit;
  int depositIsPct;
  double bookFee;
  int bookFeeIsPct;
};

TEST(Settings, DepositAndBookFeeBoundaries) {
  const PropCase cases[] = {
      {"Deposit=100\n", 100, 1, 0, 1},                // 100 is a percentage
      {"Deposit=150\n", 1.5, 0, 0, 1},                // above 100: hundredths
      {"BookFee=100\n", 25, 1, 1.0, 0},               // BookFee 100 is a fixed 1.00
      {"BookFee=99\n", 25, 1, 99, 1},                 // below 100 a percentage
      {"Deposit=abc\nBookFee=x\n", 25, 1, 0, 1},      // wrong types: defaults
      {"Deposit=15000\nBookFee=2500\n", 150, 0, 25, 0},
  };
  for (const PropCase& c : cases) {
    TestSession t;
    t.Load(std::string("[Common]\nNumProps=1\n[Prop01]\nPropName=A\n") + c.lines);
    const Prop_Rec& p = t.session.Prop(1);
    EXPECT_DOUBLE_EQ(p.Deposit, c.deposit) << c.lines;
    EXPECT_EQ(p.DepositIsPct, c.depositIsPct) << c.lines;
    EXPECT_DOUBLE_EQ(p.BookFee, c.bookFee) << c.lines;
    EXPECT_EQ(p.BookFeeIsPct, c.bookFeeIsPct) << c.lines;
  }
}

TEST(Settings, ChargeRolesCountFromTheNamesThatAreSet) {
  TestSession t;
  t.Load(
      "[Common]\nNumProps=2\n"
      "[Prop01]\nPropName=A\nExtChg1=\nExtChg2=Fuel\n"
      "[Prop02]\nPropName=B\nExtChg1=Linen\nExtChg2=Ret Deposit\nExtChg3=Linen\n");
  const Prop_Rec& a = t.session.Prop(1);
  EXPECT_EQ(a.ChargeCount, 1);
  EXPECT_EQ(a.FuelChg, 2);
  EXPECT_EQ(a.LinenChg, 0);
  const Prop_Rec& b = t.session.Prop(2);
  EXPECT_EQ(b.ChargeCount, 3);
  EXPECT_EQ(b.LinenChg, 3);  // a later equal name wins
  EXPECT_EQ(b.RetDepChg, 2);
  EXPECT_EQ(b.BookFeeChg, 0);
}

TEST(Settings, MissingKeysAndEmptySectionsTakeDefaults) {
  TestSession t;
  t.Load("[Common]\nNumProps=2\nNLetters=2\nL1-Desc=A description longer than thirty characters\nNExpCats=1\n"
         "[Prop01]\n");
  const CommonSettings& c = t.session.common;
  EXPECT_EQ(c.ViewMode, "C");
  EXPECT_EQ(c.MURefresh, 10);
  EXPECT_TRUE(c.Splash);
  EXPECT_EQ(c.TaxYr, "0405");
  EXPECT_DOUBLE_EQ(c.Tax, 20);
  EXPECT_EQ(c.Port, 25);
  EXPECT_TRUE(c.eExpTLS);
  EXPECT_TRUE(c.wPubWeb);
  EXPECT_TRUE(c.HS_Compress);
  EXPECT_EQ(c.LetterDesc[1], "A description longer than thir");
  EXPECT_EQ(c.LetterDesc[2], "Fail");  // the visible mark of a damaged file
  EXPECT_EQ(c.ExpDesc[1], "Fail");
  for (int n : {1, 2}) {
    const Prop_Rec& p = t.session.Prop(n);
    EXPECT_EQ(p.PropName, "Fail");
    EXPECT_EQ(p.PropNo, n);
    EXPECT_EQ(p.Folder, t.Root() + "Fail/");
    EXPECT_EQ(p.ChangeDay, 7);
    EXPECT_EQ(p.CS, '\xA3');
    EXPECT_EQ(p.BalDue, 6);
    EXPECT_EQ(p.DepDue, 7);
    EXPECT_EQ(p.Wait, 34);
    EXPECT_DOUBLE_EQ(p.Deposit, 25);
  }
}

TEST(Settings, OptionalGroupsAreReadOnlyWhenSwitchedOn) {
  const std::string keys = "WEFix=10\nWEmin=300\nAvRent=1\nwCWks=1\nDBookFee=1\n";
  TestSession off;
  off.Load("[Common]\nNumProps=1\nCRWanted=0\nwPubWeb=0\n" + keys + "[Prop01]\nPropName=A\nDBookFee=1\n");
  EXPECT_DOUBLE_EQ(off.session.common.WEFix, 0);
  EXPECT_FALSE(off.session.common.AvRent);
  EXPECT_FALSE(off.session.common.wCWks);
  EXPECT_EQ(off.session.Prop(1).DBookFee, 0);  // no booking fee

  TestSession on;
  on.Load("[Common]\nNumProps=1\nCRWanted=1\n" + keys + "[Prop01]\nPropName=A\nBookFee=5\nDBookFee=1\nAS=1\n");
  EXPECT_DOUBLE_EQ(on.session.common.WEFix, 10);
  EXPECT_EQ(on.session.common.WEmin, 255);
  EXPECT_TRUE(on.session.common.AvRent);
  EXPECT_TRUE(on.session.common.wCWks);
  EXPECT_EQ(on.session.Prop(1).DBookFee, 1);
  EXPECT_TRUE(on.session.common.AgencySynch);
}

TEST(Settings, SectionNamesHaveAtLeastTwoDigits) {
  EXPECT_EQ(PropertySection(1), "Prop01");
  EXPECT_EQ(PropertySection(10), "Prop10");
  EXPECT_EQ(PropertySection(123), "Prop123");
}

TEST(Settings, RegistryValuesRoundTrip) {
  TestSession t;
  t.Load(SimpleSettings(1));
  EXPECT_EQ(t.session.prefs.Bytes(), std::vector<uint8_t>(39, 0));  // no key yet
  EXPECT_EQ(t.session.prefs.SurchargeHundredths(), 250);

  t.session.prefs.SetCalcSpecial("12.5");
  t.session.prefs.SetLastOverdueCheck(EncodeDate(2026, 12, 8) + 0.25);
  t.session.prefs.SetSurchargeHundredths(175);
  t.session.prefs.SetCsvEndDate(46000);
  t.session.BUP = "/backup/cotlyn";
  ASSERT_TRUE(SaveUserPrefs(t.session));
  const std::vector<uint8_t> saved = t.registry.ReadBinary(kRegistryKey, "UPrefs").value();
  ASSERT_EQ(saved.size(), 39u);
  EXPECT_EQ(saved[0], 4);
  EXPECT_EQ(saved[22], 175);
  EXPECT_EQ(saved[35] | saved[36] << 8, 46000);

  t.registry.WriteDword(kRegistryKey, "AupFREQ", 300);
  TestSession again;
  again.registry.WriteBinary(kRegistryKey, "UPrefs", std::vector<uint8_t>(saved.begin(), saved.begin() + 10));
  LoadSettingsFrom(again.session, IniFile());
  EXPECT_EQ(again.session.prefs.CalcSpecial(), "12.5");  // a short value leaves the rest zero
  EXPECT_EQ(again.session.prefs.SurchargeHundredths(), 250);

  LoadSettings(t.session);
  EXPECT_EQ(t.session.prefs.Bytes(), saved);
  EXPECT_EQ(t.session.BUP, "/backup/cotlyn");
  EXPECT_EQ(t.session.AupFREQ, 300);
}

TEST(Settings, WindowPositionsAreFourLittleEndianWords) {
  TestSession t;
  t.Load(SimpleSettings(1));
  t.session.Prop(1).WinPos = {1, -5, 700, 540};
  ASSERT_TRUE(SaveWindowPos(t.session, 1));
  EXPECT_EQ(t.registry.ReadBinary(kRegistryKey, "SWin1").value(),
            (std::vector<uint8_t>{1, 0, 0xFB, 0xFF, 0xBC, 0x02, 0x1C, 0x02}));
  t.session.Prop(1).WinPos = {};
  ReadWindowPos(t.session, 1);
  EXPECT_EQ(t.session.Prop(1).WinPos, (std::array<int16_t, 4>{1, -5, 700, 540}));
}

TEST(Settings, SavedKeysAreWrittenInPlace) {
  TestSession t;
  t.Load("; kept\n[Common]\nCloudData=0\nNumProps=1\n[Prop01]\nPropName=A\n");
  ASSERT_TRUE(SaveCloudMode(t.session, true));
  EXPECT_TRUE(t.session.common.CloudData);
  t.session.common.wLDts = true;
  ASSERT_TRUE(SaveWebOptions(t.session));
  EXPECT_EQ(t.dir.Read("root/Cotlyn.ini"),
            "; kept\r\n[Common]\r\nCloudData=1\r\nNumProps=1\r\nwCWks=0\r\nwLDts=1\r\nwMSep=0\r\nwYSep=0\r\nwOLet=0\r\n"
            "[Prop01]\r\nPropName=A\r\n");
}

// A settings file that cannot be read is never written over with just the new keys
// (every property would go), and a failed write leaves the file whole.
TEST(Settings, ASavedKeyNeverCostsTheRestOfTheFile) {
  TestSession t;
  const std::string text = "[Common]\r\nCloudData=0\r\nNumProps=1\r\n[Prop01]\r\nPropName=A\r\n";
  t.Load("[Common]\nCloudData=0\nNumProps=1\n[Prop01]\nPropName=A\n");
  const std::string path = t.session.common.SettingsPath;
  {
    Frozen frozen(path);
    if (frozen.Ok()) {
      t.dialogs.Expect("Cannot write to " + path + "\rThe settings were not saved", MsgIcon::Error, MsgButton::OK, 0,
                       MsgButton::OK);
      EXPECT_FALSE(SaveCloudMode(t.session, true));
    }
  }
  EXPECT_EQ(t.dir.Read("root/Cotlyn.ini"), text);
  std::filesystem::rename(path, path + ".away");  // gone, as behind a share that dropped
  t.dialogs.Expect("Cannot read " + path + "\rThe settings were not saved", MsgIcon::Error, MsgButton::OK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(SaveWebOptions(t.session));
  EXPECT_FALSE(FileExists(path));
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("Cannot read settings file " + path + ". Not saved: wCWks"),
            std::string::npos);
  t.dialogs.VerifyAllShown();
}

// Local.ini holds the root folder: a file that is there but cannot be read is left alone.
TEST(Settings, LocalIniIsWrittenOnlyWhenItWasRead) {
  TempDir dir;
  const LocalIni made = ReadLocalIni(dir / "Data/Local.ini");  // a new installation
  EXPECT_FALSE(made.UserKey.empty());
  EXPECT_EQ(dir.Read("Data/Local.ini"), "[Common]\r\nUserKey=" + made.UserKey + "\r\n");
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::string path = dir.Write("Data/Local.ini", "[Common]\r\nRootFolder=/data/\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
  ReadLocalIni(path);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(dir.Read("Data/Local.ini"), "[Common]\r\nRootFolder=/data/\r\n");
}

TEST(Settings, WebFoldersAndRelativePaths) {
  TestSession t;
  t.Load("[Common]\nNumProps=4\nLocSite=web\nLocIndex=index.html\nHS_LDIR=exchange\n"
         "[Prop01]\nPropName=A\n"
         "[Prop02]\nPropName=B\nWebFolder=/srv/site/b\nWebIndex=b.html\n"
         "[Prop03]\nPropName=C\nWebIndex=/srv/c/home.html\n[Prop04]\nPropName=D\n");
  EXPECT_EQ(LocalWebFolder(t.session, 1), t.Root() + "web/");
  EXPECT_EQ(LocalIndexPage(t.session, 1), t.Root() + "web/index.html");
  EXPECT_EQ(LocalWebFolder(t.session, 2), "/srv/site/b/");
  EXPECT_EQ(LocalIndexPage(t.session, 2), "/srv/site/b/b.html");
  EXPECT_EQ(LocalIndexPage(t.session, 3), "/srv/c/home.html");
  t.session.common.LocSite.clear();  // nothing set: the root folder, never the working folder
  EXPECT_EQ(LocalWebFolder(t.session, 4), t.Root());
  EXPECT_EQ(ResolvePath(t.session.common.HS_LDIR, t.Root()), t.Root() + "exchange");
}

TEST(Settings, PropertyTitleNamesTheOwnerOnlyWhenLetForThem) {
  TestSession t;
  t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=A\nOwner=7\nAO=1\n[Prop02]\nPropName=B\nOwner=7\n");
  EXPECT_EQ(PropertyTitle(t.session, 1), "Property: A");  // no owner database yet
  t.session.ownerName = [](uint16_t key) { return key == 7 ? std::string("Ann Smith") : std::string(); };
  EXPECT_EQ(PropertyTitle(t.session, 1), "Property: A.  Owner: Ann Smith");
  EXPECT_EQ(PropertyTitle(t.session, 2), "Property: B");
}

TEST(Settings, PropertyListRows) {
  TestSession t;
  std::string ini = "[Common]\nNumProps=11\n";
  for (int n = 1; n <= 11; ++n)
    ini += "[" + PropertySection(n) + "]\nPropName=" + (n == 1 || n == 3 ? "Ruza Rorazed" : "P" + std::to_string(n)) +
           "\nAS=" + (n % 2 ? "1" : "0") + "\n";
  t.Load(ini);
  std::vector<PropertyListRow> rows = PropertyListRows(t.session, false);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows[0].text, "1    Ruza Rorazed");
  EXPECT_TRUE(rows[0].selected);  // the first row always is
  EXPECT_FALSE(rows[2].selected);
  EXPECT_EQ(rows[9].text, "10  P10");
  rows = PropertyListRows(t.session, true);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1].propNo, 3);
}

TEST(Settings, ParseYYMMDD) {
  EXPECT_EQ(ParseYYMMDD("261209"), EncodeDate(2026, 12, 9));
  EXPECT_EQ(ParseYYMMDD("240229"), EncodeDate(2024, 2, 29));
  for (const char* bad : {"230229", "261309", "2612", "26120a", "", "2612091"}) EXPECT_EQ(ParseYYMMDD(bad), 0) << bad;
}

}  // namespace
}  // namespace tb::test
