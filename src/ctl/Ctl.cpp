#include "ctl/Ctl.h"

#include <charconv>

#include "ctl/CtlOptions.h"

namespace tb {

namespace {

const char* const kUsage = "usage: cotlynctl COMMAND [ARGS]   (cotlynctl --help lists the commands)";

const char* const kHelp =
    "cotlynctl: headless jobs on a Tenbrook root folder\n"
    "\n"
    "Commands:\n"
    "  demo DIR [--properties N] [--seed S] [--years N]\n"
    "      make a ready-to-use root folder in DIR (4 cottages by default, 200 for an\n"
    "      agency), with rates and bookings; --years spreads bookings over N past years\n"
    "  check ROOT\n"
    "      read every booking and rates file with the program's own checks\n"
    "  bookings ROOT PROP [--today YYYY-MM-DD]\n"
    "      a property's bookings as JSON, as the program reads them\n"
    "  weeks ROOT PROP YEAR [--today YYYY-MM-DD]\n"
    "      the week table of rate years YEAR and YEAR+1 as JSON\n"
    "  history ROOT PROP YEAR [--today YYYY-MM-DD]\n"
    "      the bookings history window's view from YEAR back: the five year headings\n"
    "      and, for each of the 53 weeks, its caption and who booked it each year\n"
    "  quote ROOT PROP START END [--today YYYY-MM-DD]\n"
    "      what a new booking from START to END would charge, as JSON\n"
    "  book ROOT PROP START END --surname S [--status hold|deposit|paid|reserved]\n"
    "       [--source T] [--today YYYY-MM-DD]\n"
    "      a new booking, saved as the booking window saves it; JSON out\n"
    "  cancel ROOT PROP START [--charge N] [--today YYYY-MM-DD]\n"
    "      cancels the booking starting on START: keeps what was paid, or with\n"
    "      --charge keeps N and pays back the rest today\n"
    "  delete ROOT PROP START [--today YYYY-MM-DD]\n"
    "      deletes the booking starting on START (logged as the window logs it)\n"
    "  rates ROOT PROP YEAR [--change PERCENT] [--today YYYY-MM-DD]\n"
    "      saves a rates year (made from the most recent year when missing), with\n"
    "      every price changed by PERCENT (negative lowers them)\n"
    "  letter ROOT PROP START TYPE --post|--email [--today YYYY-MM-DD]\n"
    "      the letter of TYPE for the booking starting on START, merged from its\n"
    "      proforma as the letter window merges it, printed (nothing written or sent)\n"
    "  sendmail ROOT --to ADDR --subject S --html FILE [--cc A] [--bcc A]\n"
    "       [--attach FILE]...\n"
    "      sends FILE (Windows-1252 HTML) as the e-mail window sends it, with the\n"
    "      settings' SMTP server: a check of the mail settings; exit 0 when sent\n"
    "  owners ROOT [--archive | --check | --csv] [--today YYYY-MM-DD]\n"
    "      the owner database as JSON (with each owner's number of properties), or\n"
    "      the owner archive, or the owner statistics text, or writes Owners.csv in\n"
    "      ROOT as the owner editor exports it\n"
    "  report ROOT status|availability|replist|booklist --from YYYY/WW --to YYYY/WW\n"
    "       [--props 1,3] [--pdf FILE] [--today YYYY-MM-DD]\n"
    "      the report window's reports for the weeks from the start of --from to the\n"
    "      start of --to: availability and booklist write \"Availability Report.txt\"\n"
    "      and \"Booking List.txt\" in ROOT; status and replist print the status\n"
    "      report and the representative's list to the PDF file --pdf names\n"
    "  expenses ROOT PROP [--export | --import YEAR FILE] [--today YYYY-MM-DD]\n"
    "      a property's expenses ledger as JSON, or writes Expenses.csv in ROOT as the\n"
    "      expenses window exports it, or replaces YEAR with the 12 amounts per\n"
    "      category line of FILE and saves; exit 0 only when saved\n"
    "  payments ROOT [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--props 1,3] [--omit-future]\n"
    "       [--omit-complete] [--today YYYY-MM-DD]\n"
    "      the payments list of the payments window (this year and every property\n"
    "      unless given), written as Payments.csv in ROOT; exit 0 only when written\n"
    "  income ROOT --tax-year YYYY [--props 1,3] [--pdf FILE] [--today YYYY-MM-DD]\n"
    "      the income statement for the tax year ending in YYYY: \"Cotlyn Income to\n"
    "      <date>.csv\" in ROOT as the report window writes it, or with --pdf its\n"
    "      printed pages in the PDF file FILE\n"
    "  stats ROOT [--props 1,3] [--year-start DD/MM] [--today YYYY-MM-DD]\n"
    "      the statistics window's three tables as text (year start: the tax day)\n"
    "  accounts ROOT --month YYYY-MM [--props 1,3] [--email] [--agent [--summary-only]\n"
    "       [--csv FILE]] [--pdf FILE] [--json] [--today YYYY-MM-DD]\n"
    "      the monthly accounts window's run: the owners' accounts printed to --pdf or\n"
    "      e-mailed to them, with --agent the agent summary (printed beside --pdf as\n"
    "      NAME-summary.pdf, or to --pdf with --summary-only, or as CSV to --csv); the\n"
    "      log on stdout or as JSON; exit 0 only when the run completed\n"
    "  upload ROOT webdata|rates|calendar [PROP] [--today YYYY-MM-DD]\n"
    "      builds propinfo.php, ratequery.php or PROP's agency calendar in HS_LDIR and\n"
    "      sends it to the helper script (HS_URL) as the Web commands and the\n"
    "      auto-upload timer do; exit 0 only when the server took it\n"
    "  publish ROOT PROP... --from YYYY-Wnn --to YYYY-Wnn [--today YYYY-MM-DD]\n"
    "      makes the availability pages of the properties again over the weeks given,\n"
    "      as the publishing window's \"Update selected\" with the settings' options;\n"
    "      JSON out (the messages and each page); exit 0 only when every page was\n"
    "      written\n"
    "  webfiles ROOT [--today YYYY-MM-DD]\n"
    "      writes propinfo.php, ratequery.php and the agency calendars of the\n"
    "      properties with AS set into the HS_LDIR folder, as the upload commands make\n"
    "      them, and sends nothing; JSON out; exit 0 only when every file was written\n"
    "  webform ROOT PROP START [--merge] [--today YYYY-MM-DD]\n"
    "      \"Try to download\" for the booking starting on START: its form page from\n"
    "      the web site (FormData) stored in the property's \"Booking Forms\" folder;\n"
    "      with --merge also the site's form data, merged into the booking's texts as\n"
    "      the booking window merges them and shown, not saved; JSON out (form name,\n"
    "      URL, stored path, outcome); exit 0 only when the form was downloaded\n"
    "  overdue ROOT [--csv] [--pdf FILE] [--today YYYY-MM-DD]\n"
    "      the overdue list of every property (late payments, expired waiting-list\n"
    "      places, deposits to repay, refunds, acknowledgements) as JSON, for a daily\n"
    "      mail; --csv also writes Overdue-Items.csv in ROOT as the window exports it,\n"
    "      --pdf prints the list to FILE\n"
    "  search ROOT (--name TEXT|--text TEXT|--all) [--prop PROP] [--today YYYY-MM-DD]\n"
    "      the search window's searches over every property, or PROP: surnames\n"
    "      (TEXT* for those beginning with TEXT), any text of the customer's details,\n"
    "      or all bookings; case ignored; JSON out, newest first\n"
    "  export ROOT (--template NAME|--all|--rates) [--props 1,3] [--from YYYY-MM-DD\n"
    "       --to YYYY-MM-DD] [--header] [--today YYYY-MM-DD]\n"
    "      the export window's exports: Bookings.csv in ROOT with the columns of the\n"
    "      template NAME (Templates/NAME.xtf; --header puts each property's title\n"
    "      first) or with every field (--all), or the rates of last year to three\n"
    "      years ahead as Import-charges.sql (--rates); the bookings departing from\n"
    "      --from and arriving up to --to (else the window's stored dates); JSON out;\n"
    "      exit 0 only when written\n"
    "  recover ROOT PROP [--backup FILE] [--today YYYY-MM-DD]\n"
    "      the recovery window's run on PROP's change log (Archive/Changed.bks),\n"
    "      merged with the backup booking file FILE when given: Recovered.bks\n"
    "      written in ROOT, the run's lines on stdout; exit 0 only when written\n"
    "  import ROOT PROP FILE [--check] [--today YYYY-MM-DD]\n"
    "      adds the bookings of the CSV file FILE to PROP as the import window does\n"
    "      (every line checked first, the question answered from COTLYN_ANSWERS);\n"
    "      --check only checks; exit 0 only when saved (with --check: when valid)\n"
    "  --help\n"
    "      this list\n"
    "\n"
    "PROP is a property's number or its exact name. Message boxes are written to stderr\n"
    "and answered from COTLYN_ANSWERS (comma-separated button names), else with their\n"
    "first button. book, cancel, delete and rates exit with 0 only when they saved;\n"
    "letter exits with 2 for an unknown property, booking or letter type and 1 when\n"
    "there is no proforma.\n";

}  // namespace

CtlOptions ParseCtlOptions(const std::vector<std::string>& args, const std::vector<std::string>& allowed) {
  CtlOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      o.positional.push_back(a);
      continue;
    }
    bool known = false;
    for (const std::string& name : allowed) known = known || name == a;
    if (!known || i + 1 >= args.size()) {
      o.ok = false;
      return o;
    }
    o.named[a] = args[++i];
  }
  return o;
}

bool ParseCtlInt(const std::string& text, long long lo, long long hi, long long& out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && p == end && out >= lo && out <= hi;
}

int CtlUsage(std::ostream& err, const std::string& line) {
  err << line << "\n";
  return 2;
}

int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const PdfCanvasMaker& pdf) {
  if (args.empty()) return CtlUsage(err, kUsage);
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    out << kHelp;
    return 0;
  }
  const struct {
    const char* name;
    CtlCommand run;
  } commands[] = {{"demo", CtlDemo},     {"check", CtlCheck},   {"bookings", CtlBookings}, {"weeks", CtlWeeks},
                  {"history", CtlHistory},
                  {"quote", CtlQuote},   {"book", CtlBook},     {"cancel", CtlCancel},     {"delete", CtlDelete},
                  {"rates", CtlRates},   {"letter", CtlLetter},
                  {"sendmail", CtlSendmail}, {"owners", CtlOwners},
                  {"expenses", CtlExpenses}, {"payments", CtlPayments},
                  {"upload", CtlUpload}, {"webfiles", CtlWebFiles}, {"publish", CtlPublish},
                  {"webform", CtlWebForm}, {"recover", CtlRecover}, {"import", CtlImport},
                  {"search", CtlSearch}, {"export", CtlExport}};
  if (command == "report") return CtlReport(rest, out, err, pdf);
  if (command == "income") return CtlIncome(rest, out, err, pdf);
  if (command == "stats") return CtlStats(rest, out, err);
  if (command == "accounts") return CtlAccounts(rest, out, err, pdf);
  if (command == "overdue") return CtlOverdue(rest, out, err, pdf);
  for (const auto& c : commands)
    if (command == c.name) return c.run(rest, out, err);
  return CtlUsage(err, kUsage);
}

}  // namespace tb
