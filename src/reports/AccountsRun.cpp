#include "reports/AccountsRun.h"

#include <cerrno>

#include "correspondence/LetterDelivery.h"
#include "correspondence/MailSend.h"
#include "owners/OwnerDB.h"
#include "owners/OwnerOrder.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "reports/BookingReports.h"
#include "reports/ReportPrinter.h"
#include "store/Session.h"

namespace tb {

std::string AgentSummaryFileName(int year, int month) {
  return "Agent-Summary-" + std::to_string(year) + "-" + std::to_string(month) + ".csv";
}

namespace {

class AccountsRun {
 public:
  AccountsRun(Session& s, const AccountsRequest& r, AccountsOutput& out) : s_(s), r_(r), out_(out) {
    period_.year = r.year;
    period_.month = r.month;
  }

  AccountsEnd Run() {
    if (r_.properties.empty()) return AccountsEnd::Nothing;
    if (out_.clearLog) out_.clearLog();
    const std::string month = AccountsMonthText(period_);
    if (MonthNotPast(period_, s_.clock.Today())) {
      s_.dialogs.Beep();
      if (!r_.summaryOnly) {
        s_.dialogs.Message("Report month not in the past\rChange and run again", MsgIcon::Error, MsgButton::Abort);
        return AccountsEnd::Stopped;
      }
      if (s_.dialogs.Message("Warning: Report month not in the past\rForecast may be inaccurate. Continue?",
                             MsgIcon::Warning, MsgButton::Yes | MsgButton::Abort) != MsgButton::Yes)
        return AccountsEnd::Stopped;
      period_.forecast = true;
    }
    Log("Analysing data for " + month);
    // An owner must never get an account of nothing because a file could not be read.
    if (!ReadReportBookings(s_, r_.properties)) return AccountsEnd::Stopped;
    bool unpaid = false;
    stats_.reserve(r_.properties.size());
    for (const int n : r_.properties) {
      std::vector<std::string> lines;
      stats_.push_back(PropertyStats(s_, n, period_, lines));
      for (const std::string& line : lines) Log(line);
      unpaid = unpaid || !lines.empty();
    }
    if (unpaid) {
      s_.dialogs.Beep();
      s_.dialogs.Message("Found bookings with overdue payments - see log\rCorrect and run again", MsgIcon::Error,
                         MsgButton::Abort);
      return AccountsEnd::Stopped;
    }
    if (r_.email) {
      for (size_t i = 0; i < r_.properties.size(); ++i)
        if (!Email(r_.properties[i], stats_[i])) return AccountsEnd::Stopped;
    } else {
      if (!r_.summaryOnly && !PrintAccounts()) return AccountsEnd::Stopped;
      if (r_.agentReport && !AgentSummary()) return AccountsEnd::Stopped;
    }
    s_.dialogs.Beep();
    Log("Run complete. Processed " + std::to_string(r_.properties.size()) + " properties");
    return AccountsEnd::Complete;
  }

 private:
  void Log(const std::string& line) {
    if (out_.log) out_.log(line);
  }

  bool PrintAccounts() {
    if (!out_.printJob) return false;
    return out_.printJob([this](ReportPrinter& printer) {
      for (size_t i = 0; i < r_.properties.size(); ++i) {
        if (i == 0) {
          if (!printer.BeginPrintJob('P', "Monthly Accounts")) return false;
        } else {
          printer.NewPage();
        }
        PrintAccount(printer, s_, r_.properties[i], period_, stats_[i], r_.agentReport);
      }
      printer.EndPrintJob();
      return true;
    });
  }

  bool AgentSummary() {
    if (!r_.csvSummary) {
      if (!out_.printJob) return false;
      return out_.printJob(
          [this](ReportPrinter& printer) { return PrintAgentSummary(printer, s_, period_, r_.properties, stats_); });
    }
    std::string path = out_.csvPath;
    if (path.empty() &&
        !s_.dialogs.SaveFileName({"CSV Files|*.csv", ".csv", AgentSummaryFileName(period_.year, period_.month),
                                  s_.common.RootFolder},
                                 path)) {
      s_.dialogs.Beep();
      Log("Run complete. User cancelled agent summary");
      return false;
    }
    if (!WriteWholeFile(path, AgentSummaryCsv(s_, period_, r_.properties, stats_))) {
      const std::string why = SystemErrorText(errno);
      s_.dialogs.Beep();
      s_.dialogs.Message("Cannot write " + PathText(path) + "\r" + why, MsgIcon::Error, MsgButton::Abort);
      return false;
    }
    if (out_.openCsv) s_.processes.ShellOpen(path);
    return true;
  }

  // False when the run ends here.
  bool Email(int n, const Stats_Rec& st) {
    const Prop_Rec& p = s_.Prop(n);
    const int at = p.Owner ? FindOwner(s_, p.Owner) : -1;
    const Owner_Rec* owner = at >= 0 ? &OwnerList(s_)[static_cast<size_t>(at)] : nullptr;
    if (!owner || owner->OwnerEmail.empty()) {
      s_.dialogs.Beep();
      s_.dialogs.Message("No owner details or email for Property " + p.PropName + "\r" + "Cannot send email",
                         MsgIcon::Error, MsgButton::OK);
      return true;
    }
    const std::string path = s_.common.RootFolder + kAccountProforma;
    std::string proforma;
    if (!FileExists(path) || !ReadWholeFile(path, proforma)) {
      s_.dialogs.Beep();
      s_.dialogs.Message("Proforma " + PathText(path) + " not found", MsgIcon::Error, MsgButton::Abort | MsgButton::Help,
                         kProformaMissingHelp);
      return false;
    }
    const std::string address = owner->OwnerEmail.str();
    std::string body =
        MergeAccount(proforma, AccountFields(s_, n, period_, st, owner->OwnerFName + " " + owner->OwnerSurname));
    if (!asked_) {
      asked_ = true;
      const std::string how = r_.viewEdit ? "(after display)" : "automatically";
      if (s_.dialogs.Message("EMails will now be sent " + how + " for " + std::to_string(r_.properties.size()) +
                                 " Properties.  Continue?",
                             MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel) != MsgButton::OK)
        return false;
    }
    const std::string subject = "Monthly Accounts for " + AccountsMonthText(period_) + ". " + p.PropName;
    if (r_.viewEdit && out_.delivery) {
      Log("Sending email: " + subject);
      switch (out_.delivery(n).SendHtml(address, subject, body)) {
        case HtmlSendResult::Sent: Log("EMail sent successfully to " + address); break;
        case HtmlSendResult::Failed:
          s_.dialogs.Beep();
          Log("Error sending to " + address + ". Retry?");
          break;
        case HtmlSendResult::Cancelled:
          s_.dialogs.Beep();
          Log("User cancelled email to " + address);
          break;
      }
      return true;
    }
    Log("Sending email: " + subject + ".  Wait");
    HtmlMail mail;
    mail.to = address;
    mail.bcc = s_.common.eBCC;
    mail.subject = subject;
    mail.body = std::move(body);
    if (!SendHTMLMail(s_, mail)) {
      s_.dialogs.Beep();
      Log("Error sending to " + address);
      Log("Aborting run - resolve problem and retry?");
      return false;
    }
    Log("EMail sent successfully to " + address);
    return true;
  }

  Session& s_;
  const AccountsRequest& r_;
  AccountsOutput& out_;
  AccountsPeriod period_;
  std::vector<Stats_Rec> stats_;
  bool asked_ = false;
};

}  // namespace

AccountsEnd RunMonthlyAccounts(Session& s, const AccountsRequest& request, AccountsOutput& out) {
  return AccountsRun(s, request, out).Run();
}

}  // namespace tb
