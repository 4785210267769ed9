// cotlynctl accounts on a demo root folder, as a monthly cron job runs it: the printed
// accounts and agent summary, the summary's CSV file, the owners' e-mails through a
// real server, and the refusals with their exit codes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "store/ScrambledPassword.h"
#include "support/SmtpTestServer.h"

namespace tb::test {
namespace {

class CtlAccounts : public DemoRootTest {
 protected:
  ChildProcess Accounts(std::vector<std::string> args, std::vector<std::string> env = {}) {
    args.insert(args.begin(), {"accounts", Root()});
    args.insert(args.end(), {"--today", "2026-12-09"});
    env.insert(env.end(), {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path(),
                           "COTLYN_CA_FILE=" + TestCertificate(), "COTLYN_HTTP_TIMEOUT=5"});
    return ChildProcess::Run(ProgramPath("cotlynctl"), std::move(args), std::move(env));
  }
};

TEST_F(CtlAccounts, PrintsTheAccountsAndTheAgentSummary) {
  const std::string pdf = dir.Path() + "accounts.pdf";
  ChildProcess run = Accounts({"--month", "2025-08", "--agent", "--props", "1,2", "--pdf", pdf, "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const auto j = nlohmann::json::parse(run.Output());
  EXPECT_EQ(j["complete"], true);
  EXPECT_EQ(j["log"], nlohmann::json({"Analysing data for August 2025", "Run complete. Processed 2 properties"}));
  EXPECT_EQ(j["files"], nlohmann::json({pdf, dir.Path() + "accounts-summary.pdf"}));
  const std::string accounts = PdfText(pdf);
  EXPECT_NE(accounts.find("Agent Report. August 2025 Property: Bramble Cottage. Owner: Alice Penrose"),
            std::string::npos)
      << accounts;
  EXPECT_NE(accounts.find("Agent Report. August 2025 Property: Heron's Reach"), std::string::npos);
  const std::string summary = PdfText(dir.Path() + "accounts-summary.pdf");
  EXPECT_NE(summary.find("Agent Summary Report for August 2025"), std::string::npos) << summary;
  EXPECT_NE(summary.find("2 Heron's Reach"), std::string::npos);

  // The summary alone as CSV: a line per property and the totals.
  const std::string csv = dir.Path() + "summary.csv";
  ChildProcess csvRun = Accounts({"--month", "2025-08", "--agent", "--summary-only", "--csv", csv});
  ASSERT_EQ(csvRun.exitCode, 0) << csvRun.Errors();
  EXPECT_EQ(csvRun.Output(), "Analysing data for August 2025\nRun complete. Processed 4 properties\n");
  const std::string text = dir.Read("summary.csv");
  EXPECT_EQ(text.rfind("PROPERTY,Days Bkd,Days Cmp,Tot Income,Cleaning,Repairs,Laundry,Tot Expense,", 0), 0u)
      << text;
  EXPECT_NE(text.find("\r\n4 Kestrel Barn,"), std::string::npos);
  EXPECT_NE(text.find("\r\nTotals,"), std::string::npos);
}

// With every property in one window ("M") nothing is held by a window here either:
// each property's bookings are read, and the figures are those of view "C".
TEST_F(CtlAccounts, AllPropertiesViewReadsEveryPropertysBookings) {
  const std::string csv = dir.Path() + "summary.csv";
  ASSERT_EQ(Accounts({"--month", "2025-08", "--agent", "--summary-only", "--csv", csv}).exitCode, 0);
  const std::string inViewC = dir.Read("summary.csv");
  EXPECT_EQ(inViewC.find("\r\n1 Bramble Cottage,0,0,"), std::string::npos) << inViewC;
  IniFile ini(Root() + "Cotlyn.ini");
  ASSERT_TRUE(ini.Load());
  ini.WriteString("Common", "ViewMode", "M");
  ASSERT_TRUE(ini.Save());
  ChildProcess run = Accounts({"--month", "2025-08", "--agent", "--summary-only", "--csv", csv});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  EXPECT_EQ(dir.Read("summary.csv"), inViewC);
}

TEST_F(CtlAccounts, AMonthNotPastIsRefusedOrForecast) {
  const std::string pdf = dir.Path() + "old.pdf";
  dir.Write("old.pdf", "old");
  ChildProcess refused = Accounts({"--month", "2026-12", "--pdf", pdf});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.Errors().find("Report month not in the past\\rChange and run again"), std::string::npos)
      << refused.Errors();
  EXPECT_EQ(dir.Read("old.pdf"), "old");

  ChildProcess aborted = Accounts({"--month", "2026-12", "--agent", "--summary-only", "--pdf", pdf},
                                  {"COTLYN_ANSWERS=Abort"});
  EXPECT_EQ(aborted.exitCode, 1);
  EXPECT_EQ(dir.Read("old.pdf"), "old");
  ChildProcess forecast = Accounts({"--month", "2026-12", "--agent", "--summary-only", "--pdf", pdf},
                                   {"COTLYN_ANSWERS=Yes"});
  EXPECT_EQ(forecast.exitCode, 0) << forecast.Errors();
  EXPECT_NE(PdfText(pdf).find("Agent Summary Report for December 2026"), std::string::npos);

  // What the window would not allow is a usage error.
  EXPECT_EQ(Accounts({"--month", "2025-08", "--email", "--agent"}).exitCode, 2);
  EXPECT_EQ(Accounts({"--month", "2025-08"}).exitCode, 2);  // printed, but no --pdf
  EXPECT_EQ(Accounts({"--month", "2025-13", "--email"}).exitCode, 2);
}

TEST_F(CtlAccounts, EmailsEachOwnerTheirAccount) {
  SmtpTestServer server(SmtpTestServer::Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  IniFile ini(Root() + "Cotlyn.ini");
  ASSERT_TRUE(ini.Load());
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"eAddr", "office@tenbrook.test"},
                                   {"eHost", "127.0.0.1"}, {"Port", std::to_string(server.Port())},
                                   {"eUser", "office"}, {"ePC", ScramblePassword("s3cret pw")}, {"eSSL", "2"},
                                   {"eExpTLS", "1"}, {"eBCC", "books@tenbrook.test"}})
    ini.WriteString("Common", key, value);
  ASSERT_TRUE(ini.Save());
  ChildProcess run = Accounts({"--month", "2025-08", "--email"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  // Kestrel Barn has no owner: skipped with its box, the run goes on.
  EXPECT_NE(run.Errors().find("No owner details or email for Property Kestrel Barn\\rCannot send email"),
            std::string::npos)
      << run.Errors();
  EXPECT_NE(run.Output().find("EMail sent successfully to alice@penrose.example\n"), std::string::npos)
      << run.Output();
  const std::vector<nlohmann::json> messages = server.Messages();
  ASSERT_EQ(messages.size(), 3u);
  const nlohmann::json& first = messages[0];
  EXPECT_EQ(first["rcpt_tos"], nlohmann::json({"alice@penrose.example", "books@tenbrook.test"}));
  std::string html;
  for (const auto& part : first["parts"])
    if (part["content_type"] == "text/html") html = part["text"];
  // The demo's proforma uses every field: none is left, the short one at a line's end neither.
  EXPECT_EQ(html.find("<-"), std::string::npos) << html;
  EXPECT_NE(html.find("Dear Alice Penrose,"), std::string::npos) << html;
  EXPECT_NE(html.find("The Bookings Office, 2025\n"), std::string::npos);
  EXPECT_NE(html.find("&pound;"), std::string::npos);
}

}  // namespace
}  // namespace tb::test
