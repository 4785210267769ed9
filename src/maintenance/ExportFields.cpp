#include "maintenance/ExportFields.h"

#include "platform/Format.h"
#include "platform/Text.h"

namespace tb {

namespace {

// Longer titles first, so that "Mrs" is not read as "Mr" and an "s".
const char* const kTitles[] = {"Revd and Mrs", "Dr and Mrs", "Mr and Mrs", "Mr and Ms", "Revd",
                               "Mrs",          "Miss",       "Ms",         "Dr",        "Mr"};

bool Blank(std::string_view line) { return TrimView(line).empty(); }

}  // namespace

NameParts SplitTitle(std::string_view fnames) {
  const std::string_view typed = TrimView(fnames);
  std::string undotted;
  undotted.reserve(typed.size());
  for (const char c : typed)
    if (c != '.') undotted += c;
  NameParts parts;
  for (const std::string_view title : kTitles) {
    if (std::string_view(undotted).substr(0, title.size()) != title) continue;
    // Where the title ends in the names as typed: after as many characters that are
    // not dots.
    size_t at = 0;
    for (size_t kept = 0; kept < title.size(); ++at)
      if (typed[at] != '.') ++kept;
    if (at < typed.size() && typed[at] != ' ' && typed[at] != '.') continue;
    parts.title = std::string(title);
    parts.names = Trim(std::string_view(undotted).substr(title.size()));
    return parts;
  }
  parts.names = Trim(undotted);
  return parts;
}

PostalAddress SplitPostcode(std::string_view address) {
  PostalAddress a;
  a.postcode = " - ";
  a.lines = TextFileLines(address);
  while (!a.lines.empty() && Blank(a.lines.back())) a.lines.pop_back();
  if (a.lines.empty()) {
    a.lines.push_back(" - ");
    return a;
  }
  const std::string lastLine = Trim(a.lines.back());
  const std::string_view last = lastLine;
  const size_t cut = last.find_last_of(' ');
  const std::string_view word = cut == std::string_view::npos ? last : last.substr(cut + 1);
  std::string_view rest = cut == std::string_view::npos ? std::string_view() : TrimView(last.substr(0, cut));
  const bool number = word.size() == 5 && word.find_first_not_of("0123456789") == std::string_view::npos;
  if (number) {
    a.postcode = std::string(word);
  } else {
    const size_t cut2 = rest.find_last_of(' ');
    const std::string_view before = cut2 == std::string_view::npos ? rest : rest.substr(cut2 + 1);
    if (word.size() != 3 || before.size() < 2 || before.size() > 4) return a;
    a.postcode = std::string(before) + " " + std::string(word);
    rest = cut2 == std::string_view::npos ? std::string_view() : TrimView(rest.substr(0, cut2));
  }
  if (rest.empty()) a.lines.pop_back();
  else a.lines.back() = std::string(rest);
  return a;
}

double VatHundredths(double total, double taxPercent) {
  if (taxPercent + 100 == 0) return 0;
  return RoundHalfEven(total * 100 * taxPercent / (taxPercent + 100));
}

}  // namespace tb
