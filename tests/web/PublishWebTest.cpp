// The publishing window's engine: the week range and its rules, where it is kept,
// "View selected" and "Upload selected" (the list Ferrit gets, with and without a helper
// script).
//
// Today is Wednesday 9 December 2026. The properties change over on Saturdays: week 1 of
// 2026 starts on 3 January, so today lies 48.6 weeks on and the first week worth
// publishing is 50.

#include "web/PublishWeb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "store/Settings.h"
#include "support/HelperScriptServer.h"
#include "support/SmtpTestServer.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const MsgButtons kYesCancel = MsgButton::Yes | MsgButton::Cancel;
constexpr const char* kAsk =
    "Upload rates/availability files for specified properties to Web Server?\rNB Ensure you are connected to the "
    "Internet before replying YES";

class PublishWeb : public ::testing::Test {
 protected:
  // Three properties; 1 and 3 share a web folder and so a page.
  void Load(const std::string& common = "") {
    t.Load("[Common]\nNumProps=3\nSite=Main\nLocSite=shared\nHS_LDIR=Web-Up/\n" + common +
           "[Prop01]\nPropName=Bramble\nID=11\nChangeDay=7\nWebAvail=avail.htm\n"
           "[Prop02]\nPropName=Heron\nID=12\nChangeDay=7\nWebFolder=heron\nWebAvail=avail.htm\nSite=  Other  \n"
           "[Prop03]\nPropName=Kite\nID=13\nChangeDay=7\nWebAvail=avail.htm\n");
    for (const char* folder : {"Web-Up", "Bramble/Data", "Heron/Data", "Kite/Data"}) ForceDirectories(t.Root() + folder);
    t.session.common.ProgramFolder = t.dir.Path() + "prog/bin/";
  }
  void Pages() {
    t.dir.Write("root/shared/avail.htm", "<html>1</html>");
    t.dir.Write("root/heron/avail.htm", "<html>2</html>");
  }
  void Ferrit(const std::string& script = "#!/bin/sh\n") {
    t.dir.Write("prog/Ferrit/Ferrit", script);
    chmod((t.dir.Path() + "prog/Ferrit/Ferrit").c_str(), 0700);
  }

  TestSession t;
};

TEST_F(PublishWeb, RangeRules) {
  Load();
  EXPECT_EQ(PublishYears(t.session), (std::vector<int>{2026, 2027, 2028, 2029}));
  EXPECT_EQ(EarliestStartWeek(t.session, 2026), 50);
  EXPECT_EQ(EarliestStartWeek(t.session, 2027), 1);

  struct Case {
    const char* what;
    PubRange before;
    enum { Start, End } pick;
    int year;
    PubRange after;
  };
  const Case cases[] = {
      {"a start after the end moves the end", {2026, 50, 2027, 10}, Case::Start, 2028, {2028, 1, 2028, 53}},
      {"a later start year starts at week 1", {2026, 50, 2029, 10}, Case::Start, 2027, {2027, 1, 2029, 10}},
      {"back to this year: not before this week", {2027, 3, 2029, 10}, Case::Start, 2026, {2026, 50, 2029, 10}},
      {"an earlier start keeps a later week", {2027, 52, 2029, 10}, Case::Start, 2026, {2026, 52, 2029, 10}},
      {"an end year always ends at 53", {2026, 50, 2027, 10}, Case::End, 2028, {2026, 50, 2028, 53}},
      {"an end before the start moves the start", {2028, 5, 2029, 10}, Case::End, 2026, {2026, 50, 2026, 53}},
  };
  for (const Case& c : cases) {
    const PubRange got = c.pick == Case::Start ? StartYearChosen(t.session, c.before, c.year)
                                               : EndYearChosen(t.session, c.before, c.year);
    EXPECT_EQ(got, c.after) << c.what;
  }
}

TEST_F(PublishWeb, RangeIsKeptInThePreferenceBlock) {
  Load();
  // Nothing kept yet: from this week to the end of next year.
  EXPECT_EQ(InitialPubRange(t.session), (PubRange{2026, 50, 2027, 53}));
  ASSERT_TRUE(StorePubRange(t.session, {2027, 4, 2028, 20}));
  const std::vector<uint8_t> bytes = *t.registry.ReadBinary(kRegistryKey, "UPrefs");
  ASSERT_EQ(bytes.size(), 39u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 22),
            (std::vector<uint8_t>{0xEB, 0x07, 0xEC, 0x07, 4, 20}));
  EXPECT_EQ(InitialPubRange(t.session), (PubRange{2027, 4, 2028, 20}));
  // Kept from last year: the start comes to this week, an end before it follows.
  StorePubRange(t.session, {2025, 10, 2025, 30});
  EXPECT_EQ(InitialPubRange(t.session), (PubRange{2026, 50, 2026, 53}));
}

TEST_F(PublishWeb, ViewOpensEachPageOnceAndNamesAMissingOne) {
  Load();
  t.dir.Write("root/shared/avail.htm", "<html></html>");
  t.dialogs.Expect("Error: Availability/Rates file = " + t.Root() + "heron/avail.htm not found\rCheck configuration.",
                   MsgIcon::Error, MsgButton::OK, 550, MsgButton::OK);
  ViewSelectedPages(t.session, {1, 2, 3});
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{t.Root() + "shared/avail.htm"});
}

TEST_F(PublishWeb, UploadListsThePagesForFerritWithPropinfoFirst) {
  Load("NAvDays=30\n");
  Pages();
  t.registry.WriteString("Software\\Orvane\\Ferrit\\CotlynData", "LDir", t.Root() + "Web-Up");

  // Cancelled, then Ferrit missing: nothing written or started.
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Cancel);
  EXPECT_TRUE(UploadSelectedPages(t.session, {1, 2}).empty());
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Ferrit not found at " + t.dir.Path() + "prog/Ferrit/Ferrit. (Re)install?", MsgIcon::Error,
                   MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_TRUE(UploadSelectedPages(t.session, {1, 2}).empty());
  EXPECT_FALSE(FileExists(t.Root() + "PubWebList.txt"));
  EXPECT_TRUE(t.runner.calls.empty());

  // Ferrit records the one argument it gets and the list it names.
  const std::string seen = t.dir.Path() + "seen.txt";
  Ferrit("#!/bin/sh\necho \"$#\" > '" + seen + "'\ncat \"$1\" >> '" + seen + "'\n");
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  const std::vector<PaneLine> pane = UploadSelectedPages(t.session, {3, 2, 1});
  t.dialogs.VerifyAllShown();
  const std::string info = "Site=CotlynData File=" + t.Root() + "Web-Up/propinfo.php";
  const std::string heron = "Site=Other File=" + t.Root() + "heron/avail.htm";
  const std::string shared = "Site=Main File=" + t.Root() + "shared/avail.htm";
  const std::vector<PaneLine> expected = {
      {"Creating and uploading Property Information file propinfo.php", PaneStyle::Blue},
      {"Launching Program Ferrit to upload following file(s) to specified site(s)\rTime 10:30:00 09/12/26",
       PaneStyle::BoldBlue},
      {info, PaneStyle::SmallBlue},
      {shared, PaneStyle::SmallBlue},
      {shared, PaneStyle::SmallBlue},
      {heron, PaneStyle::SmallBlue},
      {"Ferrit will report progress. This form can now be closed", PaneStyle::BoldBlue}};
  EXPECT_EQ(pane, expected);
  const std::string listText = info + "\r\n" + shared + "\r\n" + shared + "\r\n" + heron + "\r\n";
  EXPECT_EQ(t.dir.Read("root/PubWebList.txt"), listText);
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_FALSE(t.runner.calls[0].wait);
  PosixProcessRunner real;
  EXPECT_EQ(real.Run(t.runner.calls[0].program, t.runner.calls[0].args, true), 0);
  EXPECT_EQ(t.dir.Read("seen.txt"), "1\n" + listText);
  EXPECT_TRUE(FileExists(t.Root() + "Web-Up/propinfo.php"));
}

TEST_F(PublishWeb, WithAHelperScriptPropinfoGoesThereUnlisted) {
  TrustTestServers trust;
  HelperScriptServer server{true};
  ASSERT_TRUE(server.Started()) << server.Log();
  Load("NAvDays=30\nHS_PW=hs pw 1\nHS_URL=" + server.Url() + "\n");
  Pages();
  Ferrit();
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  const std::vector<PaneLine> pane = UploadSelectedPages(t.session, {2});
  t.dialogs.VerifyAllShown();
  ASSERT_GE(pane.size(), 2u);
  EXPECT_EQ(pane[1], (PaneLine{"Created in Web-Up/ and uploaded by Helper Script with URL=" + server.Url(),
                               PaneStyle::BoldBlue}));
  EXPECT_EQ(server.Uploads("propinfo.php"), 1u);
  EXPECT_EQ(t.dir.Read("root/PubWebList.txt"), "Site=Other File=" + t.Root() + "heron/avail.htm\r\n");

  // The helper script down: said in red and in a box, the pages still go.
  t.session.common.HS_URL = "https://127.0.0.1:1/helper.php";
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("XHR-Error (in Publish To Web). Upload of propinfo.php failed\rCheck diagnostic log",
                   MsgIcon::Error, MsgButton::OK | MsgButton::Help, 1250, MsgButton::OK);
  const std::vector<PaneLine> failed = UploadSelectedPages(t.session, {2});
  t.dialogs.VerifyAllShown();
  ASSERT_GE(failed.size(), 2u);
  EXPECT_EQ(failed[1], (PaneLine{"Unable to upload propinfo.php - see diagnostic log", PaneStyle::Red}));
  EXPECT_EQ(failed.back().text, "Ferrit will report progress. This form can now be closed");
}

TEST_F(PublishWeb, UploadWithoutPagesOrSiteListsNothing) {
  Load("NAvDays=30\n");
  Ferrit();
  t.registry.WriteString("Software\\Orvane\\Ferrit\\CotlynData", "LDir", t.Root() + "Web-Up");
  t.dialogs.Expect(kAsk, MsgIcon::Information, kYesCancel, 0, MsgButton::Yes);
  t.dialogs.Expect("No files to publish for selected properties", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  const std::vector<PaneLine> pane = UploadSelectedPages(t.session, {1, 2});
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(pane.size(), 1u);  // only the propinfo line: it is not listed alone
  EXPECT_FALSE(FileExists(t.Root() + "PubWebList.txt"));
  EXPECT_TRUE(t.runner.calls.empty());

  // Without the common site the command does nothing at all.
  Pages();
  t.session.common.Site.clear();
  EXPECT_TRUE(UploadSelectedPages(t.session, {1, 2}).empty());
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(t.runner.calls.empty());
}

}  // namespace
}  // namespace tb::test
