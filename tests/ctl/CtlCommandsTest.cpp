// cotlynctl's commands on a demo root folder, run as a script would run them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "bookings/Rates.h"
#include "ctl/Demo.h"
#include "platform/SharedFile.h"
#include "store/BookRec.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "store/ScrambledPassword.h"
#include "support/ChildProcess.h"
#include "support/SmtpTestServer.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);

class CtlCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new TempDir;
    DemoOptions o;
    o.folder = dir->Path() + "demo/";
    o.years = 2;
    o.today = kToday;
    ASSERT_EQ(MakeDemo(o), "");
  }
  static void TearDownTestSuite() {
    delete dir;
    dir = nullptr;
  }
  static std::string Root() { return dir->Path() + "demo/"; }
  ChildProcess Ctl(std::vector<std::string> args) {
    return ChildProcess::Run(ProgramPath("cotlynctl"), std::move(args),
                             {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir->Path(), "XDG_CONFIG_HOME=" + dir->Path()});
  }
  nlohmann::ordered_json Json(std::vector<std::string> args) {
    ChildProcess p = Ctl(std::move(args));
    EXPECT_EQ(p.exitCode, 0) << p.Errors();
    return nlohmann::ordered_json::parse(p.Output(), nullptr, false);
  }
  static TempDir* dir;
};
TempDir* CtlCommands::dir = nullptr;

// A demo root folder of one year in dir; "" when it could not be made.
std::string OneYearDemo(const TempDir& dir) {
  DemoOptions o;
  o.folder = dir.Path() + "demo/";
  o.years = 1;
  o.today = kToday;
  return MakeDemo(o).empty() ? o.folder : std::string();
}

TEST_F(CtlCommands, DemoBookingsCoverEveryStoredStatus) {
  std::set<int> statuses;
  bool shortLet = false, straddle = false, personal = false, waitlist = false;
  for (const char* prop : {"1", "2", "3", "Kestrel Barn"}) {
    const nlohmann::ordered_json list = Json({"bookings", Root(), prop, "--today", "2026-12-09"});
    ASSERT_TRUE(list.is_array()) << prop;
    ASSERT_GT(list.size(), 20u) << prop;
    for (const nlohmann::ordered_json& b : list) {
      statuses.insert(b["Status"].get<int>());
      TDateTime start = 0, end = 0;
      const std::string s = b["StartD"], e = b["EndD"];
      TryEncodeDate(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)), start);
      TryEncodeDate(std::stoi(e.substr(0, 4)), std::stoi(e.substr(5, 2)), std::stoi(e.substr(8, 2)), end);
      shortLet |= end - start < 7;
      straddle |= s.substr(0, 4) != e.substr(0, 4);
      personal |= b["Surname"] == "- Reserved -";
      waitlist |= b["Status"] == 1 && b["Surname"] != "- Reserved -";
      EXPECT_EQ(b["DateUpD"].get<std::string>().size(), 19u);
      EXPECT_TRUE(b.contains("Tag") && b.contains("EffectiveStatus"));
    }
  }
  for (int status : {1, 2, 3, 4, 5, 6, 9}) EXPECT_TRUE(statuses.count(status)) << status;
  EXPECT_TRUE(shortLet);
  EXPECT_TRUE(straddle);
  EXPECT_TRUE(personal);
  EXPECT_TRUE(waitlist);
}

TEST_F(CtlCommands, WeeksOfTwoRateYears) {
  const nlohmann::ordered_json weeks = Json({"weeks", Root(), "Bramble Cottage", "2026", "--today", "2026-12-09"});
  ASSERT_TRUE(weeks.is_array());
  EXPECT_EQ(weeks.size(), 53u + 52u);  // Saturday changeover: 2026 has 53 weeks, 2027 52
  EXPECT_EQ(weeks[0]["WeekDate"], "2026-01-03");
  EXPECT_EQ(weeks[0]["WeekNo"], 1);
  EXPECT_EQ(weeks[53]["RateYear"], 2027);
  EXPECT_EQ(weeks[0]["DayStatus"].size(), 7u);
  EXPECT_TRUE(weeks[10]["FuelBand"].is_string());
  int let = 0, priced = 0;
  for (const nlohmann::ordered_json& w : weeks) {
    let += w["DayMask"] != 0;
    priced += w["WeekCost"] != 0;
  }
  EXPECT_GT(let, 20);
  EXPECT_GT(priced, 100);
}

TEST_F(CtlCommands, QuoteAsTheBookingWindowWouldOpen) {
  const nlohmann::ordered_json weeks = Json({"weeks", Root(), "1", "2027", "--today", "2026-12-09"});
  const nlohmann::ordered_json& june = weeks[22];  // a summer week of 2027
  const std::string start = june["WeekDate"];
  TDateTime d = 0;
  TryEncodeDate(std::stoi(start.substr(0, 4)), std::stoi(start.substr(5, 2)), std::stoi(start.substr(8, 2)), d);
  const std::string end = FormatDateTime("yyyy-mm-dd", d + 7);
  const nlohmann::ordered_json q = Json({"quote", Root(), "1", start, end, "--today", "2026-12-09"});
  EXPECT_EQ(q["Rent"], june["WeekCost"]);
  ASSERT_EQ(q["Charges"].size(), 2u);
  EXPECT_EQ(q["Charges"].begin().key(), "Fuel");  // in the property's order
  EXPECT_EQ(q["Charges"]["Fuel"], june["WeekFuel"]);
  EXPECT_DOUBLE_EQ(q["Total"].get<double>(),
                   q["Rent"].get<double>() + q["Charges"]["Fuel"].get<double>() + q["Charges"]["Linen"].get<double>());
  EXPECT_DOUBLE_EQ(q["Deposit"].get<double>() + q["Balance"].get<double>(), q["Total"].get<double>());
  EXPECT_EQ(q["Message"], "");
  EXPECT_EQ(q["DepositDue"], "2026-12-16");

  const nlohmann::ordered_json refused = Json({"quote", Root(), "1", "2030-06-01", "2030-06-08", "--today", "2026-12-09"});
  EXPECT_EQ(refused["Message"], "Rent not updated - dates outside Status Window range");
  EXPECT_FALSE(refused.contains("Rent"));
}

TEST_F(CtlCommands, CheckReadsEveryFile) {
  ChildProcess p = Ctl({"check", Root()});
  EXPECT_EQ(p.exitCode, 0) << p.Errors();
  EXPECT_NE(p.Output().find("Bramble Cottage/Data/Bookings.bks: "), std::string::npos) << p.Output();
  EXPECT_NE(p.Output().find("Bramble Cottage/Data/Rates26.bkc: rates"), std::string::npos);
}

TEST_F(CtlCommands, CheckStopsAtACorruptFile) {
  TempDir bad;
  DemoOptions o;
  o.folder = bad.Path();
  o.properties = 1;
  o.today = kToday;
  ASSERT_EQ(MakeDemo(o), "");
  const std::string file = bad.Path() + "Bramble Cottage/Data/Bookings.bks";
  WriteWholeFile(file, std::string(99, 'x'));
  ChildProcess p = Ctl({"check", bad.Path()});
  EXPECT_EQ(p.exitCode, 1220 & 0xFF);
  EXPECT_NE(p.Errors().find("[Error] Error 1220. Corrupt Data file=" + file +
                            "\\rPlease investigate and recover lost data before continuing - see Help. "
                            "{Abort,Help} help=1220 -> Abort"),
            std::string::npos)
      << p.Errors();
  EXPECT_NE(bad.Read("Cotlyn.log").find("QZ1220A File " + file + " corrupt. Size =99 bytes. DIE"), std::string::npos);
}

TEST_F(CtlCommands, UnknownPropertyAndBadDate) {
  EXPECT_EQ(Ctl({"bookings", Root(), "Nowhere"}).exitCode, 1);
  EXPECT_EQ(Ctl({"bookings", Root(), "1", "--today", "2026-13-01"}).exitCode, 2);
  EXPECT_EQ(Ctl({"weeks", Root(), "1"}).exitCode, 2);
}

// A letter is merged from the proforma the letter window would take, printed, and
// nothing is written.
TEST_F(CtlCommands, LetterPrintsTheMergedProforma) {
  const nlohmann::ordered_json list = Json({"bookings", Root(), "1", "--today", "2026-12-09"});
  std::string start, surname;
  for (const nlohmann::ordered_json& b : list)
    if (b["Status"] == 3 && start.empty()) {
      start = b["StartD"].get<std::string>().substr(0, 10);
      surname = b["Surname"];
    }
  ASSERT_FALSE(start.empty());
  const std::string letters = Root() + "Bramble Cottage/Letters/";
  const size_t before = ListFiles(letters, "*").size();
  struct Case {
    const char* type;
    const char* how;
    const char* holds;  // the property's own text, the HTML form, the shared text
  } cases[] = {{"3", "--post", "The owners live next door"}, {"1", "--email", "&pound;"}, {"2", "--email", "friendly reminder"}};
  for (const Case& c : cases) {
    ChildProcess p = Ctl({"letter", Root(), "1", start, c.type, c.how, "--today", "2026-12-09"});
    EXPECT_EQ(p.exitCode, 0) << p.Errors();
    EXPECT_NE(p.Output().find(c.holds), std::string::npos) << p.Output();
    EXPECT_NE(p.Output().find(surname), std::string::npos) << p.Output();
    for (const char* field : {"<!Salutation>", "<-Salutation->", "<!Balance>", "<-Balance->"})
      EXPECT_EQ(p.Output().find(field), std::string::npos) << p.Output();
    EXPECT_EQ(p.Output().find("** Sent"), std::string::npos);
  }
  EXPECT_EQ(ListFiles(letters, "*").size(), before);

  ChildProcess none = Ctl({"letter", Root(), "1", start, "3", "--email"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.Errors(), "Email proforma Prof-L3 not found in either Root or Property folder\nCannot create letter.  "
                           "Click HELP to read topic \"Managing Letter Proformas\"\nThen create a suitable proforma\n");
  EXPECT_EQ(Ctl({"letter", Root(), "Nowhere", start, "1", "--post"}).exitCode, 2);
  EXPECT_EQ(Ctl({"letter", Root(), "1", "2031-01-04", "1", "--post"}).exitCode, 2);
  EXPECT_EQ(Ctl({"letter", Root(), "1", start, "4", "--post"}).exitCode, 2);
  EXPECT_EQ(Ctl({"letter", Root(), "1", start, "1", "--post", "--email"}).exitCode, 2);
}

// book, cancel, delete and rates change data through the windows' engine: the lock and
// its refusal, the overlap rule, the charges, the logs. Exit status 0 only when saved.
TEST(CtlEdits, ChangesGoThroughTheWindowsEngine) {
  TempDir dir;
  const std::string root = OneYearDemo(dir);
  ASSERT_FALSE(root.empty());
  const std::vector<std::string> env = {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir.Path(),
                                        "XDG_CONFIG_HOME=" + dir.Path(), "XDG_RUNTIME_DIR="};
  auto ctl = [&](std::vector<std::string> args, int exitCode) {
    args.push_back("--today");
    args.push_back("2026-12-09");
    ChildProcess p = ChildProcess::Run(ProgramPath("cotlynctl"), args, env);
    EXPECT_EQ(p.exitCode, exitCode) << args[0] << "\n" << p.Output() << p.Errors();
    return exitCode == 2 ? nlohmann::ordered_json() : nlohmann::ordered_json::parse(p.Output(), nullptr, false);
  };
  // A free week of Bramble Cottage in 2027, as the bookings say.
  const nlohmann::ordered_json before = ctl({"bookings", root, "1"}, 0);
  std::string start, end;
  for (int day = 2; day < 350 && start.empty(); day += 7) {
    const TDateTime from = WeekStart(2027, 1, 7) + day - 2, to = from + 7;
    bool taken = false;
    for (const auto& b : before) {
      if (b["Status"] == Cancelled) continue;
      TDateTime s = 0, e = 0;
      ParseIsoDate(b["StartD"].get<std::string>(), s);
      ParseIsoDate(b["EndD"].get<std::string>(), e);
      taken |= s < to && from < e;
    }
    if (!taken) start = FormatDateTime("yyyy-mm-dd", from), end = FormatDateTime("yyyy-mm-dd", to);
  }
  ASSERT_FALSE(start.empty());

  const nlohmann::ordered_json booked = ctl({"book", root, "1", start, end, "--surname", "Dyer", "--status", "deposit",
                                             "--source", "Import"}, 0);
  EXPECT_TRUE(booked["saved"].get<bool>());
  EXPECT_EQ(booked["booking"]["Surname"], "Dyer");
  EXPECT_EQ(booked["booking"]["Status"], DepositPaid);
  EXPECT_GT(booked["booking"]["Rent"].get<double>(), 0);  // priced from the rates
  EXPECT_EQ(ctl({"bookings", root, "1"}, 0).size(), before.size() + 1);
  std::string log;
  ReadWholeFile(root + "Cotlyn.log", log);
  EXPECT_NE(log.find("CTL P=1 Bramble Cottage Name=Dyer S=D SD=" + start.substr(2, 2) + start.substr(5, 2) +
                     start.substr(8, 2)),
            std::string::npos);

  // The same week again: the overlap rule's own message.
  const nlohmann::ordered_json clash = ctl({"book", root, "1", start, end, "--surname", "Clash"}, 1);
  EXPECT_FALSE(clash["saved"].get<bool>());
  ASSERT_FALSE(clash["messages"].empty());
  EXPECT_EQ(clash["messages"][0].get<std::string>().rfind("Error - dates overlap booking ", 0), 0u);

  // Another user holds the file: refused, as a click is.
  {
    SharedFile held;
    ASSERT_EQ(held.OpenReadWriteDenyWriters(root + "Bramble Cottage/Data/Bookings.bks"), SharedFile::Result::Ok);
    const nlohmann::ordered_json refused = ctl({"cancel", root, "1", start}, 1);
    EXPECT_EQ(refused["error"], "Data being updated - try later");
  }

  const double deposit = booked["booking"]["Deposit"].get<double>();
  const nlohmann::ordered_json cancelled = ctl({"cancel", root, "1", start, "--charge", "20"}, 0);
  EXPECT_EQ(cancelled["booking"]["Status"], Cancelled);
  EXPECT_EQ(cancelled["booking"]["Total"].get<double>(), 20);
  EXPECT_DOUBLE_EQ(cancelled["booking"]["Refund"].get<double>(), deposit - 20);

  EXPECT_TRUE(ctl({"delete", root, "1", start}, 0)["saved"].get<bool>());
  EXPECT_EQ(ctl({"bookings", root, "1"}, 0).size(), before.size());
  EXPECT_EQ(ctl({"delete", root, "1", start}, 1)["error"], "No booking starts on " + start);
  // Every save and the deletion are in the logs.
  EXPECT_EQ(FileSizeOf(root + "Bramble Cottage/Archive/Deleted.bks") > 0, true);

  const nlohmann::ordered_json rates = ctl({"rates", root, "2", "2027", "--change", "10"}, 0);
  ASSERT_TRUE(rates["saved"].get<bool>());
  Rate_Rec r;
  ASSERT_TRUE(ReadRatesFile(root + "Heron's Reach/Data/Rates27.bkc", r));
  EXPECT_EQ(r.BandCost[0], rates["bands"][0].get<int>());

  ctl({"book", root, "1", start, end}, 2);  // no surname
  ctl({"cancel", root, "1", "someday"}, 2);
}

// sendmail: the message goes to the settings' server; exit 0 only when it was accepted.
TEST(CtlSendmail, SendsWithTheSettingsAndSaysWhenItCannot) {
  SmtpTestServer server(SmtpTestServer::Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  TempDir dir;
  const std::string root = OneYearDemo(dir);
  ASSERT_FALSE(root.empty());
  IniFile ini(root + "Cotlyn.ini");
  ASSERT_TRUE(ini.Load());
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"eAddr", "office@tenbrook.test"},
                                   {"eHost", "127.0.0.1"}, {"Port", std::to_string(server.Port())},
                                   {"eUser", "office"}, {"ePC", ScramblePassword("s3cret pw")}, {"eSSL", "2"},
                                   {"eExpTLS", "1"}})
    ini.WriteString("Common", key, value);
  ASSERT_TRUE(ini.Save());
  const std::string html = dir.Write("note.htm", "<p>Caf\xE9</p>");
  const std::string pdf = dir.Write("terms.pdf", "%PDF");
  auto sendmail = [&](std::vector<std::string> more) {
    std::vector<std::string> args = {"sendmail", root, "--to", "ann@example.test", "--subject",
                                     "Caf\xC3\xA9 \xC2\xA3" "5", "--html", html};
    args.insert(args.end(), more.begin(), more.end());
    return ChildProcess::Run(ProgramPath("cotlynctl"), args,
                             {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path(),
                              "COTLYN_CA_FILE=" + TestCertificate(), "COTLYN_HTTP_TIMEOUT=5"});
  };
  ChildProcess sent = sendmail({"--bcc", "copy@tenbrook.test", "--attach", pdf});
  EXPECT_EQ(sent.exitCode, 0) << sent.Errors();
  EXPECT_EQ(sent.Output(), "sent\n");
  ASSERT_TRUE(server.WaitForMessages(1));
  const nlohmann::json m = server.Messages()[0];
  EXPECT_EQ(m["rcpt_tos"], nlohmann::json({"ann@example.test", "copy@tenbrook.test"}));
  EXPECT_EQ(m["parts"][4]["filename"], "terms.pdf");
  for (const auto& h : m["headers"]) {
    if (h[0] == "Subject") {
      EXPECT_EQ(h[1], "Caf\u00e9 \u00a3" "5");
    }
  }

  ChildProcess missing = sendmail({"--attach", dir.Path() + "gone.pdf"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.Errors(), "Error - Attachment not found: " + dir.Path() + "gone.pdf\n");
  ini.WriteString("Common", "ePC", ScramblePassword("wrong"));
  ASSERT_TRUE(ini.Save());
  ChildProcess refused = sendmail({});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.Errors().rfind("[None] Logon failure. Check user/password\\r", 0), 0u) << refused.Errors();
  EXPECT_EQ(refused.Errors().find("wrong"), std::string::npos);
  EXPECT_EQ(server.Messages().size(), 1u);
}

}  // namespace
}  // namespace tb::test
