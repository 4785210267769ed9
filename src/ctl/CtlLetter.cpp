// cotlynctl letter: a booking's letter merged as the letter window merges it, printed
// rather than written or sent, to try a proforma out or to feed another program.

#include <algorithm>

#include "correspondence/Letters.h"
#include "ctl/CtlOptions.h"
#include "ctl/CtlSession.h"
#include "platform/PathText.h"
#include "store/Session.h"

namespace tb {

namespace {

// A message as a line of text: its line breaks as the console breaks lines.
std::string Lines(std::string text) {
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

}  // namespace

int CtlLetter(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const char* usage = "usage: cotlynctl letter ROOT PROP START TYPE --post|--email [--today YYYY-MM-DD]";
  // --post and --email take no value.
  std::vector<std::string> rest;
  int post = 0, email = 0;
  for (const std::string& a : args) {
    if (a == "--post") ++post;
    else if (a == "--email") ++email;
    else rest.push_back(a);
  }
  const CtlOptions o = ParseCtlOptions(rest, {"--today"});
  TDateTime start = 0;
  long long type = 0;
  if (!o.ok || o.positional.size() != 4 || post + email != 1 || !ParseIsoDate(o.positional[2], start) ||
      !ParseCtlInt(o.positional[3], 1, 9999, type))
    return CtlUsage(err, usage);
  CtlProperty c = OpenCtlProperty(o.positional[0], o.positional[1], o.Get("--today"), usage, err);
  if (!c.ctl) return c.unknownProperty ? 2 : c.exitCode;
  Session& s = c.ctl->session();
  const int n = c.n;
  if (type > s.common.NLetters) {
    err << "no letter type " << type << " (the settings have " << s.common.NLetters << ")\n";
    return 2;
  }
  c.ctl->ShowPropertyAt(n, start);
  const Book_Buffer* found = BookingStartingOn(s, n, start);
  if (!found) {
    err << "no booking starts on " << IsoDate(start) << "\n";
    return 2;
  }
  const int t = static_cast<int>(type);
  const ProformaFound proforma = FindProforma(s, n, t, email == 1);
  if (proforma.path.empty()) {
    err << Lines(ProformaNotFoundText(t, email == 1)) << "\n";
    return 1;
  }
  LetterText letter;
  switch (MergeProforma(s, n, found->Rec, proforma, email == 1, letter)) {
    case LetterTextResult::Ok: break;
    case LetterTextResult::Unreadable: err << "Cannot read " << PathText(proforma.path) << "\n"; return 1;
    case LetterTextResult::InvalidOwner: err << Lines(kInvalidOwnerText) << "\n"; return 1;
  }
  out << letter.text;
  return 0;
}

}  // namespace tb
