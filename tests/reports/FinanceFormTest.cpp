// The monthly accounts window: its defaults and check-box rules, the runs it refuses,
// the printed run, the agent summary's file, and the owners' e-mails through a real
// SMTP server.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "app/forms/TMainForm.h"
#include "correspondence/forms/TEmailForm.h"
#include "reports/AccountsFixture.h"
#include "reports/RecordingCanvas.h"
#include "reports/forms/TFinanceForm.h"
#include "support/SmtpTestServer.h"

namespace tb::test {
namespace {

using json = nlohmann::json;
using Mode = SmtpTestServer::Mode;

class FinanceForm : public ::testing::Test, public AccountsFixture {
 protected:
  FinanceForm() {
    form.printCanvas = [this]() -> std::unique_ptr<PrintCanvas> {
      ++printJobs;
      auto canvas = std::make_unique<RecordingCanvas>();
      canvas->cancel = cancelPrint;
      canvas->onDestroy = [this](const RecordingCanvas& c) { jobs.push_back({c.ops, c.landscape}); };
      return canvas;
    };
  }
  // What a print job drew, kept once its canvas has gone.
  struct Job {
    std::vector<RecordingCanvas::Op> ops;
    bool landscape = false;
    std::vector<RecordingCanvas::Op> Of(const std::string& kind) const {
      std::vector<RecordingCanvas::Op> found;
      for (const RecordingCanvas::Op& op : ops)
        if (op.kind == kind) found.push_back(op);
      return found;
    }
  };
  // Every printed text of every job, in order.
  std::vector<std::string> Printed() const {
    std::vector<std::string> texts;
    for (const Job& job : jobs)
      for (const RecordingCanvas::Op& op : job.Of("text")) texts.push_back(op.text);
    return texts;
  }
  bool PrintedText(const std::string& text) const {
    const std::vector<std::string> texts = Printed();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  void Choose(int year, int month) {
    form.rYr->setCurrentIndex(form.rYr->findData(year));
    form.rMth->setCurrentIndex(month - 1);
  }

  TFinanceForm form{s};
  int printJobs = 0;
  bool cancelPrint = false;
  std::vector<Job> jobs;
};

TEST_F(FinanceForm, OpensOnLastMonthWithEveryPropertyChosen) {
  EXPECT_EQ(form.SelectedProperties(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(form.rYr->count(), 10);
  EXPECT_EQ(form.rYr->itemText(0), QStringLiteral("2026"));
  EXPECT_EQ(form.rYr->itemText(9), QStringLiteral("2017"));
  EXPECT_EQ(form.ChosenYear(), 2026);
  EXPECT_EQ(form.ChosenMonth(), 11);
  EXPECT_EQ(form.rMth->currentText(), QStringLiteral("November"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Monthly Accounts (for Owners/Agents)"));

  TestSession january(EncodeDate(2027, 1, 15) + 0.5);
  january.Load(SimpleSettings(1));
  TFinanceForm newYear(january.session);
  EXPECT_EQ(newYear.ChosenYear(), 2026);
  EXPECT_EQ(newYear.ChosenMonth(), 12);
  EXPECT_EQ(newYear.rYr->itemText(0), QStringLiteral("2027"));
}

// Both of the main window's commands open it, with the owners read for the e-mails.
TEST_F(FinanceForm, TheMainWindowOpensItWithTheOwnersRead) {
  WriteOwners(false);
  StartupEnvironment env;
  TMainForm main(s, env);
  std::vector<size_t> owners;
  main.showFinance = [&](TFinanceForm&) { owners.push_back(OwnerList(s).size()); };
  for (const char* command : {"Monthly Accounts", "Income/Expenditure Report"}) {
    QAction* action = main.Command(QString::fromLatin1(command));
    ASSERT_NE(action, nullptr) << command;
    action->trigger();
  }
  EXPECT_EQ(owners, (std::vector<size_t>{3, 3}));
}

TEST_F(FinanceForm, AgentReportAndEmailExcludeEachOther) {
  EXPECT_TRUE(form.SummaryOnly->isHidden());
  form.AgentReport->setChecked(true);
  EXPECT_FALSE(form.SummaryOnly->isHidden());
  EXPECT_FALSE(form.CSVSummary->isHidden());
  for (QCheckBox* box : {form.oEmail, form.ViewEdit}) {
    t.dialogs.Expect("Error - cannot sent agent report by email", MsgIcon::Error, MsgButton::Ignore, 0,
                     MsgButton::Ignore);
    box->setChecked(true);
    EXPECT_FALSE(form.oEmail->isChecked());
  }
  form.ViewEdit->setChecked(false);
  form.AgentReport->setChecked(false);
  EXPECT_TRUE(form.CSVSummary->isHidden());
  form.oEmail->setChecked(true);
  t.dialogs.Expect("Error - can't send agent report by email", MsgIcon::Error, MsgButton::Ignore, 0,
                   MsgButton::Ignore);
  form.AgentReport->setChecked(true);
  EXPECT_FALSE(form.AgentReport->isChecked());
  EXPECT_TRUE(form.SummaryOnly->isHidden());
  EXPECT_TRUE(form.oEmail->isChecked());
  EXPECT_EQ(t.dialogs.beeps, 3);
}

TEST_F(FinanceForm, RefusedRunsProduceNothing) {
  // A month not yet over: refused, or with the summary alone offered as a forecast.
  Choose(2026, 12);
  t.dialogs.Expect("Report month not in the past\rChange and run again", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  form.AgentReport->setChecked(true);
  form.SummaryOnly->setChecked(true);
  t.dialogs.Expect("Warning: Report month not in the past\rForecast may be inaccurate. Continue?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_TRUE(form.LogLines().empty());

  // Lets ended and not paid up, in two properties: each listed, then refused.
  WriteBookings(1, {Let(EncodeDate(2026, 10, 3), 7, DepositPaid, "Baker"), Let(EncodeDate(2026, 11, 20), 7, Complete)});
  WriteBookings(2, {Let(EncodeDate(2026, 2, 1), 7, DepositPaid, "Cole")});
  form.AgentReport->setChecked(false);
  Choose(2026, 11);
  t.dialogs.Expect("Found bookings with overdue payments - see log\rCorrect and run again", MsgIcon::Error,
                   MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_EQ(form.LogLines(),
            (std::vector<std::string>{
                "Analysing data for November 2026",
                "Booking not paid up. Property=Ash & Elm Name=Baker  Start date=" +
                    ShortDateText(EncodeDate(2026, 10, 3)),
                "Booking not paid up. Property=Birch Name=Cole  Start date=" + ShortDateText(EncodeDate(2026, 2, 1))}));
  EXPECT_EQ(printJobs, 0);

  // The same as a forecast of the summary alone: the run goes on.
  Choose(2026, 12);
  form.AgentReport->setChecked(true);
  t.dialogs.Expect("Warning: Report month not in the past\rForecast may be inaccurate. Continue?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Abort, 0, MsgButton::Yes);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Complete);
  EXPECT_EQ(form.LogLines(), (std::vector<std::string>{"Analysing data for December 2026",
                                                       "Run complete. Processed 3 properties"}));
  EXPECT_EQ(printJobs, 1);
  EXPECT_TRUE(PrintedText("Agent Summary Report for December 2026"));
}

TEST_F(FinanceForm, PrintsTheAccountsThenTheAgentSummary) {
  WriteBookings(1, {Let(EncodeDate(2026, 11, 20), 7, Complete)});
  form.LB->item(2)->setSelected(false);
  form.AgentReport->setChecked(true);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Complete);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].Of("begin")[0].text, "Monthly Accounts");
  EXPECT_FALSE(jobs[0].landscape);
  EXPECT_EQ(jobs[0].Of("page").size(), 1u);  // Birch on a page of its own
  EXPECT_EQ(jobs[1].Of("begin")[0].text, "AGENT SUMMARY REPORT");
  EXPECT_TRUE(jobs[1].landscape);
  EXPECT_TRUE(PrintedText("Agent Report. November 2026  Property: Ash & Elm"));
  EXPECT_TRUE(PrintedText("\xA3" "520.00"));
  EXPECT_TRUE(PrintedText("1 Ash & Elm"));
  EXPECT_FALSE(PrintedText("3 Cedar"));
  EXPECT_EQ(form.LogLines().back(), "Run complete. Processed 2 properties");

  // A cancelled print dialog ends the run there.
  cancelPrint = true;
  form.AgentReport->setChecked(false);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_EQ(form.LogLines(), std::vector<std::string>{"Analysing data for November 2026"});
}

TEST_F(FinanceForm, TheAgentSummaryAsACsvFile) {
  form.AgentReport->setChecked(true);
  form.SummaryOnly->setChecked(true);
  form.CSVSummary->setChecked(true);
  t.dialogs.ExpectSaveFile("Agent-Summary-2026-11.csv", "CSV Files|*.csv", "", false);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_EQ(form.LogLines().back(), "Run complete. User cancelled agent summary");

  const std::string path = t.dir / "summary.csv";
  t.dialogs.ExpectSaveFile("Agent-Summary-2026-11.csv", "CSV Files|*.csv", path);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Complete);
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(path, csv));
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "PROPERTY,Days Bkd,Days Cmp,Tot Income,Cleaning,\"Repairs, garden\",Tot Expense,Tot Expend,Net Income,"
            "Book.Fees,Mgmt.Fees,Tot Fees,VAT,Fees YTD,Fees F/C");
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{path});
  EXPECT_EQ(printJobs, 0);

  // A file that cannot be written says so; the run ends.
  t.dialogs.ExpectSaveFile("Agent-Summary-2026-11.csv", "CSV Files|*.csv", t.dir / "no/such/folder/a.csv");
  t.dialogs.Expect("Cannot write " + (t.dir / "no/such/folder/a.csv") + "\rNo such file or directory",
                   MsgIcon::Error, MsgButton::Abort, 0, MsgButton::Abort);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
}

// The owners' e-mails through a real server on 127.0.0.1 (STARTTLS, its certificate
// trusted for the test).
class FinanceMail : public FinanceForm {
 protected:
  void SetUp() override {
    WriteBookings(1, {Let(EncodeDate(2026, 11, 20), 7, Complete)});
    ASSERT_TRUE(WriteWholeFile(s.common.RootFolder + "ActProforma.htm",
                               "<p>Dear <-Owner->,</p>\r\n"
                               "<p><-Prop->, <-Month-></p>\r\n"
                               "<tr><td><-ECN1-></td><td><-ECh1-></td></tr>\r\n"
                               "<tr><td><-ECN2-></td><td><-ECh2-></td></tr>\r\n"
                               "<tr><td>Kept</td><td><-RetD-></td></tr>\r\n"
                               "<p>Net <-NetI-> in <-Yr->\r\n"));
    oEmail();
  }
  void oEmail() { form.oEmail->setChecked(true); }
  void Ask(int properties, MsgButton answer = MsgButton::OK, const char* how = "automatically") {
    t.dialogs.Expect("EMails will now be sent " + std::string(how) + " for " + std::to_string(properties) +
                         " Properties.  Continue?",
                     MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel, 0, answer);
  }
  void NoOwnerMail() {
    t.dialogs.Expect("No owner details or email for Property Cedar\rCannot send email", MsgIcon::Error,
                     MsgButton::OK, 0, MsgButton::OK);
  }
  TrustTestServers trust;
};

std::string HtmlOf(const json& message) {
  for (const json& part : message["parts"])
    if (part["content_type"] == "text/html") return part["text"].get<std::string>();
  return {};
}
std::string Header(const json& message, const std::string& name) {
  for (const json& h : message["headers"])
    if (h[0] == name) return h[1].get<std::string>();
  return "(none)";
}

TEST_F(FinanceMail, EachOwnerGetsTheirAccountAndOneWithoutAnAddressIsSkipped) {
  SmtpTestServer server(Mode::StartTlsAuth);
  ASSERT_TRUE(server.Started()) << server.Log();
  UseMailServer(s.common, server);
  WriteOwners();
  Ask(3);
  NoOwnerMail();
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Complete);
  const std::vector<json> messages = server.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(Header(messages[0], "Subject"), "Monthly Accounts for November 2026. Ash & Elm");
  EXPECT_EQ(Header(messages[0], "To"), "<alice@penrose.test>");
  EXPECT_EQ(Header(messages[0], "Bcc"), "(none)");  // the blind copy is in the envelope only
  EXPECT_EQ(messages[0]["rcpt_tos"], json({"alice@penrose.test", "books@agent.test"}));
  EXPECT_EQ(HtmlOf(messages[0]),
            "<p>Dear Alice Penrose,</p>\n"
            "<p>Ash &amp; Elm, November 2026</p>\n"
            "<tr><td>Fuel</td><td>&pound;20.00</td></tr>\n"
            "<p>Net &pound;426.40 in 2026\n");
  EXPECT_EQ(Header(messages[1], "To"), "<tom@ashdown.test>");
  EXPECT_NE(HtmlOf(messages[1]).find("<tr><td>Linen</td><td>$0.00</td></tr>"), std::string::npos);
  EXPECT_EQ(form.LogLines(),
            (std::vector<std::string>{"Analysing data for November 2026",
                                      "Sending email: Monthly Accounts for November 2026. Ash & Elm.  Wait",
                                      "EMail sent successfully to alice@penrose.test",
                                      "Sending email: Monthly Accounts for November 2026. Birch.  Wait",
                                      "EMail sent successfully to tom@ashdown.test",
                                      "Run complete. Processed 3 properties"}));
}

TEST_F(FinanceMail, ARefusedMessageEndsTheRun) {
  SmtpTestServer server(Mode::StartTlsAuth, false, "office", "s3cret pw", "tom@ashdown.test");
  ASSERT_TRUE(server.Started()) << server.Log();
  UseMailServer(s.common, server);
  WriteOwners();
  Ask(3);
  t.dialogs.permissive = true;  // the mail client's own box with the server's reply
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_EQ(server.Messages().size(), 1u);
  const std::vector<std::string> log = form.LogLines();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[2], "EMail sent successfully to alice@penrose.test");
  EXPECT_EQ(log[4], "Error sending to tom@ashdown.test");
  EXPECT_EQ(log[5], "Aborting run - resolve problem and retry?");
  EXPECT_EQ(t.dialogs.shown.back().text.substr(0, 20), "Error sending email\r") << t.dialogs.shown.back().text;
}

TEST_F(FinanceMail, WithoutTheProformaOrWithTheWindowShowingEachMessage) {
  WriteOwners();
  form.LB->item(0)->setSelected(false);
  ASSERT_TRUE(DeleteFileAt(s.common.RootFolder + "ActProforma.htm"));
  t.dialogs.Expect("Proforma " + s.common.RootFolder + "ActProforma.htm not found", MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 960, MsgButton::Abort);
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_EQ(form.LogLines(), std::vector<std::string>{"Analysing data for November 2026"});

  // With the e-mail window: the user cancels one; the run goes on.
  ASSERT_TRUE(WriteWholeFile(s.common.RootFolder + "ActProforma.htm", "<p><-Prop-></p>\r\n"));
  form.ViewEdit->setChecked(true);
  std::vector<std::string> shown;
  form.showEmail = [&](TEmailForm& email) {
    shown.push_back(email.subject->text().toStdString() + " to " + email.recipient->text().toStdString());
    email.Cancel();
  };
  Ask(2, MsgButton::OK, "(after display)");
  NoOwnerMail();
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Complete);
  EXPECT_EQ(shown, std::vector<std::string>{"Monthly Accounts for November 2026. Birch to tom@ashdown.test"});
  EXPECT_EQ(form.LogLines(), (std::vector<std::string>{"Analysing data for November 2026",
                                                       "Sending email: Monthly Accounts for November 2026. Birch",
                                                       "User cancelled email to tom@ashdown.test",
                                                       "Run complete. Processed 2 properties"}));

  // Cancel at the question ends the run before anything is sent.
  Ask(2, MsgButton::Cancel, "(after display)");
  EXPECT_EQ(form.RunButClick(), AccountsEnd::Stopped);
  EXPECT_TRUE(shown.size() == 1);
}

}  // namespace
}  // namespace tb::test
