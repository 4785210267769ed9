#include "web/WebCommands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/FileSystem.h"
#include "support/HelperScriptServer.h"
#include "support/SmtpTestServer.h"
#include "support/TestSession.h"
#include "web/WebFiles.h"

namespace tb::test {
namespace {

constexpr const char* kPassword = "hs pw 1";
const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;
const MsgButtons kOkHelp = MsgButton::OK | MsgButton::Help;

// Two properties, the first with the agency calendar, the web folder "Web-Up/" in the root.
class WebCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Started()) << server.Log(); }

  void Load(const std::string& url, const std::string& extra = "") {
    t.Load("[Common]\nNumProps=2\nNAvDays=30\nSynchDB=1\nHS_LDIR=Web-Up/\nHS_PW=" + std::string(kPassword) +
           "\nHS_URL=" + url + "\n" + extra + "[Prop01]\nPropName=Heron\nID=11\nAS=1\n[Prop02]\nPropName=Kite\nID=12\n");
    for (const char* folder : {"Web-Up", "Heron/Data", "Kite/Data"}) ForceDirectories(t.Root() + folder);
  }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  std::string Down() const { return "https://127.0.0.1:1/helper.php"; }

  TestSession t;
  TrustTestServers trust;
  HelperScriptServer server{true};
};

TEST_F(WebCommands, UploadWebDataSendsPropinfoOrSaysWhyNot) {
  Load(server.Url());
  t.dialogs.Expect("Property availability data uploaded (with helper script)\rFile=propinfo.php More details in "
                   "diagnostic log",
                   MsgIcon::Information, kOkHelp, 197, MsgButton::OK);
  EXPECT_TRUE(UploadWebData(t.session));
  t.dialogs.VerifyAllShown();
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Stored("propinfo.php"), t.dir.Read("root/Web-Up/propinfo.php"));
  EXPECT_EQ(server.Header(0, "XHRCOMP"), "TRUE") << "HS_Compress is on";

  // Server down: the file is made, the upload fails.
  Load(Down());
  t.dialogs.Expect("XHR-Error. Upload of propinfo.php failed\rCheck diagnostic log", MsgIcon::Error, kAbortHelp, 1250,
                   MsgButton::Abort);
  EXPECT_FALSE(UploadWebData(t.session));
  // No folder: nothing is written or sent.
  Load(server.Url());
  t.session.common.HS_LDIR = "Gone/";
  t.dialogs.Expect("Local Directory for files " + t.Root() + "Gone/ defined in Web-Up not found\rUpload aborted",
                   MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_FALSE(UploadWebData(t.session));
  // Switched off.
  t.session.common.NAvDays = 0;
  t.dialogs.Expect("Function inactive\rConfigure File Upload period", MsgIcon::Error, kAbortHelp, 197,
                   MsgButton::Abort);
  EXPECT_FALSE(UploadWebData(t.session));
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(Log().find(kPassword), std::string::npos);
}

TEST_F(WebCommands, WithoutAHelperScriptPropinfoIsListedForFerrit) {
  Load("");
  const std::string ferritFolder = t.dir.Path() + "prog/Ferrit/";
  t.session.common.ProgramFolder = t.dir.Path() + "prog/bin/";
  t.registry.WriteString("Software\\Orvane\\Ferrit\\CotlynData", "LDir", t.Root() + "Web-Up");
  EXPECT_EQ(FerritPath(t.session), ferritFolder + "Ferrit");

  // Ferrit missing: no list, no success box.
  t.dialogs.Expect("Ferrit not found at " + ferritFolder + "Ferrit. (Re)install?", MsgIcon::Error, MsgButton::Abort,
                   0, MsgButton::Abort);
  EXPECT_FALSE(UploadWebData(t.session));
  EXPECT_FALSE(FileExists(t.Root() + "PubWebList.txt"));
  EXPECT_TRUE(t.runner.calls.empty());

  t.dir.Write("prog/Ferrit/Ferrit", "#!/bin/sh\n");
  t.dialogs.Expect("File created. Will be uploaded as specified in Ferrit site CotlynData", MsgIcon::Information,
                   MsgButton::OK, 0, MsgButton::OK);
  EXPECT_TRUE(UploadWebData(t.session));
  t.dialogs.VerifyAllShown();
  const std::string list = t.Root() + "PubWebList.txt";
  EXPECT_EQ(t.dir.Read("root/PubWebList.txt"), "Site=CotlynData File=" + t.Root() + "Web-Up/propinfo.php\r\n");
  ASSERT_EQ(t.runner.calls.size(), 1u);
  EXPECT_EQ(t.runner.calls[0].program, ferritFolder + "Ferrit");
  EXPECT_EQ(t.runner.calls[0].args, std::vector<std::string>{list});
  EXPECT_FALSE(t.runner.calls[0].wait);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(WebCommands, SynchDatabaseAsksFromTheMenuAndKeepsItsMarkOnFailure) {
  Load(server.Url());
  t.dialogs.Expect("Upload rates data and insert into remote database?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  EXPECT_FALSE(SynchRatesDatabase(t.session, true));
  EXPECT_TRUE(server.Requests().empty());

  int rows = 0;
  RateQueryText(t.session, rows);
  t.dialogs.Expect("Upload rates data and insert into remote database?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
  t.dialogs.Expect("Successfully synched online database.\rCreated local SQL query file " + t.Root() +
                       "Web-Up/ratequery.php\rFor exact dates see file. Diagnostic log shows timings.\rUploaded - "
                       "there were " +
                       std::to_string(rows) + " rows\rThen ran update script: insertrates.php",
                   MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  t.session.RatesDue = true;
  EXPECT_TRUE(SynchRatesDatabase(t.session, true));
  EXPECT_FALSE(t.session.RatesDue);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Header(0, "XHRIS"), "insertrates.php");

  // From the timer: nothing asked; a failure is shown and the mark stays for the next tick.
  t.session.RatesDue = true;
  t.session.common.HS_URL = server.Url("/broken");
  t.dialogs.Expect("XHR-Rates upload error.\rCannot upload / run script: insertrates.php\rCheck diagnostic log",
                   MsgIcon::Error, kAbortHelp, 1250, MsgButton::Abort);
  EXPECT_FALSE(SynchRatesDatabase(t.session, false));
  EXPECT_TRUE(t.session.RatesDue);
  t.session.common.HS_URL.clear();
  t.dialogs.Expect("Synch not possible. Specify URL of helper application", MsgIcon::Error, MsgButton::OK, 0,
                   MsgButton::OK);
  EXPECT_FALSE(SynchRatesDatabase(t.session, true));
  t.dialogs.VerifyAllShown();
}

TEST_F(WebCommands, SynchAgencySendsTheCalendarUncompressedForItsScript) {
  Load(server.Url());
  EXPECT_TRUE(SynchAgency(t.session, 2));  // AS off: nothing happens
  EXPECT_TRUE(server.Requests().empty());
  t.dialogs.Expect("Availability sucessfully synchronised\rProperty 1 Heron", MsgIcon::None, MsgButton::OK, 0,
                   MsgButton::OK);
  EXPECT_TRUE(SynchAgency(t.session, 1));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Stored("P1-cal-json.txt"), t.dir.Read("root/Web-Up/P1-cal-json.txt"));
  EXPECT_EQ(server.Header(0, "XHRIS"), "TA-upload-calendar.php");
  EXPECT_FALSE(server.Header(0, "XHRCOMP"));

  t.session.common.HS_URL = Down();
  t.dialogs.Expect("XHR-Upload error\rCannot synch. property 1 Heron\rMust run Synch Agency again (See Help)",
                   MsgIcon::Error, kAbortHelp, 1250, MsgButton::Abort);
  EXPECT_FALSE(SynchAgency(t.session, 1));
  t.session.common.HS_LDIR = "Gone/";
  t.dialogs.Expect("XHR-Upload error\rCannot create calendar file for property 1 Heron\rMust run Synch Agency "
                   "again (See Help)",
                   MsgIcon::Error, kAbortHelp, 1250, MsgButton::Abort);
  EXPECT_FALSE(SynchAgency(t.session, 1));
  t.dialogs.VerifyAllShown();
}

// After a booking save: a calendar that could not be made keeps the mark (the next save
// tries again); a failed upload clears it, with its own box.
TEST_F(WebCommands, TheCalendarAfterASaveSaysWhatFailedAndKeepsTheMarkOnlyWhenNotMade) {
  Load(server.Url());
  InstallAgencyCalendarHook(t.session);
  Prop_Rec& p = t.session.Prop(1);
  struct Case {
    std::string url, folder, text;
    bool markAfter;
  };
  const std::vector<Case> cases = {
      {server.Url(), "Web-Up/", "", false},
      {Down(), "Web-Up/",
       "XHR-Upload error.  (NB Booking was updated)\rCannot synch. Property=1 Heron\rMust run Synch Agency again "
       "(see Help)",
       false},
      {server.Url(), "Gone/",
       "XHR-Upload error. (NB Booking was updated)\rCannot create calendar file for property 1 Heron\rMust run "
       "Synch Agency again (see Help)",
       true},
      // No helper script configured: made, kept in the folder, not sent, no box.
      {"", "Web-Up/", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url + " " + c.folder);
    t.session.common.HS_URL = c.url;
    t.session.common.HS_LDIR = c.folder;
    p.DatesChanged = 1;
    if (!c.text.empty()) t.dialogs.Expect(c.text, MsgIcon::Error, kOkHelp, 1250, MsgButton::OK);
    t.session.agencyCalendarUpload(t.session, 1);
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(p.DatesChanged != 0, c.markAfter);
  }
  EXPECT_EQ(server.Requests().size(), 1u);
  // A property without AS just has its mark cleared.
  t.session.Prop(2).DatesChanged = 1;
  t.session.agencyCalendarUpload(t.session, 2);
  EXPECT_EQ(t.session.Prop(2).DatesChanged, 0);
  EXPECT_FALSE(FileExists(t.Root() + "Web-Up/P2-cal-json.txt"));
}

TEST_F(WebCommands, AFailedAutoUploadKeepsItsMarkForTheNextTick) {
  Load(Down());
  t.session.WebDataDue = t.session.RatesDue = true;
  t.dialogs.Expect("XHR-Error. Auto-upload of propinfo.php failed\rCheck diagnostic log", MsgIcon::Error,
                   MsgButton::Abort, 1250, MsgButton::Abort);
  AutoUploadTick(t.session);  // the tick ends there: the rates wait
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(t.session.WebDataDue);
  EXPECT_TRUE(t.session.RatesDue);

  t.session.common.HS_URL = server.Url();
  AutoUploadTick(t.session);  // both sent, nothing shown
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(t.session.WebDataDue);
  EXPECT_FALSE(t.session.RatesDue);
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_TRUE(server.Stored("propinfo.php"));
  EXPECT_TRUE(server.Stored("ratequery.php"));
  AutoUploadTick(t.session);  // nothing due
  EXPECT_EQ(server.Requests().size(), 2u);
}

}  // namespace
}  // namespace tb::test
