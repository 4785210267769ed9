#pragma once
// Argument handling shared by the cotlynctl commands.

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/Ctl.h"

namespace tb {

struct CtlOptions {
  std::vector<std::string> positional;
  std::map<std::string, std::string> named;  // "--name" -> value
  bool ok = true;
  std::string Get(const std::string& name) const {
    auto it = named.find(name);
    return it == named.end() ? std::string() : it->second;
  }
};

// Positional arguments and "--name value" options; an unknown option fails.
CtlOptions ParseCtlOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed);
bool ParseCtlInt(const std::string& text, long long lo, long long hi, long long& out);
// Writes the usage line and returns the usage exit code, 2.
int CtlUsage(std::ostream& err, const std::string& line);

using CtlCommand = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlBookings(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlWeeks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlHistory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlQuote(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlBook(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlCancel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlDelete(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlRecover(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlRates(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlLetter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlSendmail(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlOwners(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf);
int CtlExpenses(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlPayments(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlIncome(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf);
int CtlPublish(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlWebFiles(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlWebForm(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlUpload(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CtlAccounts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf);
int CtlOverdue(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf);

}  // namespace tb
