#pragma once
// A run of the monthly accounts window (and of `cotlynctl accounts`): the month
// checked, every selected property's figures gathered, then the owners' accounts
// printed or e-mailed and the agent summary printed or written as a CSV file, each
// step written to the run's log.

#include <functional>
#include <string>
#include <vector>

#include "reports/MonthlyAccounts.h"

namespace tb {

class LetterDelivery;
class ReportPrinter;
class Session;

inline constexpr const char* kAccountProforma = "ActProforma.htm";
inline constexpr int kAccountsHelp = 145;
inline constexpr int kProformaMissingHelp = 960;

struct AccountsRequest {
  std::vector<int> properties;  // in number order
  int year = 0;
  int month = 1;
  bool email = false;        // to the owners, instead of printing
  bool viewEdit = false;     // each e-mail shown in the e-mail window before it goes
  bool agentReport = false;  // the agent's lines on each account, and the summary
  bool summaryOnly = false;  // no owners' accounts
  bool csvSummary = false;   // the summary as a CSV file
};

// Where the run's results go.
struct AccountsOutput {
  std::function<void(const std::string&)> log;
  std::function<void()> clearLog;
  // Runs one print job on a printer of the caller's; false when there was none (the
  // user cancelled) or the job could not begin.
  std::function<bool(const std::function<bool(ReportPrinter&)>& job)> printJob;
  // The e-mail window for property n's account, for viewEdit (attachments are looked
  // for in that property's folder first).
  std::function<LetterDelivery&(int n)> delivery;
  // The agent summary's file; empty: asked for with the save dialog.
  std::string csvPath;
  // Open the agent summary's file once written (with the desktop's program for it).
  bool openCsv = true;
};

enum class AccountsEnd {
  Nothing,   // no property selected
  Complete,  // "Run complete"
  Stopped,   // ended early (refused, cancelled or failed); the log or a box says why
};

AccountsEnd RunMonthlyAccounts(Session& s, const AccountsRequest& request, AccountsOutput& out);

// "Agent-Summary-2026-3.csv": the name the save dialog proposes.
std::string AgentSummaryFileName(int year, int month);

}  // namespace tb
