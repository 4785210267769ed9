#include "ctl/DemoProformas.h"

#include <cerrno>
#include <string_view>

#include "platform/FileSystem.h"

namespace tb {

namespace {

// Lines joined with CR LF, as the proformas of a Windows word processor or editor are.
std::string WindowsLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// A text written with LF line ends, with CR LF ones.
std::string WithCrLf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const char* const kConfirmation = R"(<html>
<head><meta http-equiv="Content-Type" content="text/html; charset=windows-1252"><title><-Subject-></title></head>
<body style="font-family: Arial, sans-serif; font-size: 11pt">
<!-- Attach Directions.txt -->
<p><-LetterDate-></p>
<p>Dear <-Salutation->,</p>
<p>Thank you for booking <b><-PropName-></b> from <-StartDate-> to <-EndDate->.
We are pleased to confirm your booking and have received your deposit of <-Deposit->.</p>
<table cellpadding="3">
<tr><td>Rent</td><td align="right"><-Rent-></td></tr>
<tr><td>Total</td><td align="right"><-Total-></td></tr>
<tr><td>Balance</td><td align="right"><-Balance-></td></tr>
<tr><td>Balance due by</td><td align="right"><-BalDue-></td></tr>
</table>
<p>Your special requests: <-Special-></p>
<p>Directions to the cottage are attached. We look forward to welcoming you.</p>
<p>Kind regards,<br />
The Bookings Office</p>
</body>
</html>
)";

// The owners' monthly accounts e-mail ("ActProforma.htm"): every field, one table row a
// line, so that a charge or expense the month does not have leaves out its row.
const char* const kAccountProforma = R"(<html>
<head><meta http-equiv="Content-Type" content="text/html; charset=windows-1252"></head>
<body style="font-family: Arial, sans-serif">
<p>Dear <-Owner->,</p>
<p>Here are the accounts of <-Prop-> for <-Month->.</p>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th colspan="2" align="left">Income for <-Month-></th></tr>
<tr><td>Rent</td><td align="right"><-Rent-></td></tr>
<tr><td><-ECN1-></td><td align="right"><-ECh1-></td></tr>
<tr><td><-ECN2-></td><td align="right"><-ECh2-></td></tr>
<tr><td><-ECN3-></td><td align="right"><-ECh3-></td></tr>
<tr><td><-ECN4-></td><td align="right"><-ECh4-></td></tr>
<tr><td>Plus retained damage deposits</td><td align="right"><-RetD-></td></tr>
<tr><td>Plus cancellation charges</td><td align="right"><-CanC-></td></tr>
<tr><td><b>Total income</b></td><td align="right"><b><-TotI-></b></td></tr>
<tr><th colspan="2" align="left">Expenditure for <-Month-></th></tr>
<tr><td>Management fee (net)</td><td align="right"><-MFee-></td></tr>
<tr><td>VAT on the management fee</td><td align="right"><-MVAT-></td></tr>
<tr><td><-ExN1-></td><td align="right"><-Exp1-></td></tr>
<tr><td><-ExN2-></td><td align="right"><-Exp2-></td></tr>
<tr><td><-ExN3-></td><td align="right"><-Exp3-></td></tr>
<tr><td><-ExN4-></td><td align="right"><-Exp4-></td></tr>
<tr><td><-ExN5-></td><td align="right"><-Exp5-></td></tr>
<tr><td><-ExN6-></td><td align="right"><-Exp6-></td></tr>
<tr><td><b>Total expenditure</b></td><td align="right"><b><-TotE-></b></td></tr>
<tr><td><b>Net income for <-Month-></b></td><td align="right"><b><-NetI-></b></td></tr>
<tr><th colspan="2" align="left">Year to date</th></tr>
<tr><td>Rent and charges received</td><td align="right"><-TotPdYTD-></td></tr>
<tr><td>Retained damage deposits</td><td align="right"><-RetYTD-></td></tr>
<tr><td>Less management fees (inc. VAT)</td><td align="right">(<-MFeesYTD->)</td></tr>
<tr><td>Less expenses</td><td align="right">(<-TotEYTD->)</td></tr>
<tr><td><b>Net income (year to date)</b></td><td align="right"><b><-NetIYTD-></b></td></tr>
<tr><th colspan="2" align="left">Bookings</th></tr>
<tr><td>Days booked this year</td><td align="right"><-TDay-></td></tr>
<tr><td>Days already complete</td><td align="right"><-TDCC-></td></tr>
<tr><td>Forecast gross income remaining</td><td align="right"><-FCIn-></td></tr>
<tr><td>Days booked next year</td><td align="right"><-TDNY-></td></tr>
<tr><td>Gross income booked next year</td><td align="right"><-FCNY-></td></tr>
</table>
<p><small>Income is credited in the month in which the let completes. <-FeeNote-></small></p>
<p>Kind regards,<br />
The Bookings Office, <-Yr->
</p>
</body>
</html>
)";

// A rich-text letter in the shape word processors write: a font table, a generator
// destination and paragraphs; the address takes one paragraph per line.
std::string ArrivalLetter(const char* instructions) {
  return std::string(
             "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
             "{\\*\\generator Tenbrook demo}\\viewkind4\\uc1\\pard\\f0\\fs22\r\n"
             "<!LetterDate>\\par\r\n\\par\r\n<!Addressee>\\par\r\n\\par\r\n"
             "Dear <!Salutation>,\\par\r\n\\par\r\n"
             "{\\b <!Subject>}\\par\r\n\\par\r\n") +
         instructions +
         "\\par\r\nThe balance of <!Balance> was due on <!BalDue>. Please telephone us on arrival if anything is "
         "not as you expect.\\par\r\n\\par\r\nWith best wishes for your stay,\\par\r\n\\par\r\n"
         "The Bookings Office\\par\r\n}\r\n";
}

}  // namespace

std::string WriteDemoProformas(const std::string& root, const std::string& firstPropertyFolder) {
  const std::string reminder = WindowsLines({
      "<!LetterDate>",
      "",
      "Dear <!Salutation>,",
      "",
      "<!Subject>",
      "",
      "This is a friendly reminder that the balance of <!Balance> for your stay at <!PropName>",
      "is due on <!BalDue>.",
      "",
      "Total <!Total>, deposit paid <!Deposit>.",
      "",
      "Kind regards,",
      "The Bookings Office",
  });
  const std::string directions = WindowsLines({
      "Directions",
      "",
      "From the A39 take the lane signed to the harbour; the cottage is the third on the left.",
      "Parking is in the yard behind the cottage.",
  });
  const struct {
    std::string path, text;
  } files[] = {
      {root + "Prof-L1.htm", WithCrLf(kConfirmation)},
      {root + "ActProforma.htm", WithCrLf(kAccountProforma)},
      {root + "Prof-L2.txt", reminder},
      {root + "Prof-L3.rtf",
       ArrivalLetter("The key is in the key safe by the front door; its code is sent the week before you "
                     "arrive. Arrival is from 4pm and departure by 10am.\\par\r\n")},
      {firstPropertyFolder + "Data/Prof-L3.rtf",
       ArrivalLetter("The owners live next door and will meet you with the key: please ring the bell of "
                     "the farmhouse. Arrival is from 3pm and departure by 10am.\\par\r\n")},
      {root + "Attachments/Directions.txt", directions},
      {firstPropertyFolder + "Attachments/Directions.txt", directions},
  };
  for (const auto& f : files) {
    if (!ForceDirectories(ExtractFilePath(f.path))) return "Cannot create folder " + ExtractFilePath(f.path);
    if (!WriteWholeFile(f.path, f.text)) return "Cannot write " + f.path + ": " + SystemErrorText(errno);
  }
  return {};
}

}  // namespace tb
