#include "reports/Expenses.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/SharedFile.h"
#include "platform/Text.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kMonths = 12;
constexpr int64_t kYearCatBytes = kMonths * 8;

int32_t GetInt32(const std::string& data, size_t at) {
  int32_t v = 0;
  std::memcpy(&v, data.data() + at, sizeof v);
  return v;
}

void PutInt32(std::string& out, int32_t v) {
  char b[sizeof v];
  std::memcpy(b, &v, sizeof v);
  out.append(b, sizeof v);
}

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;
constexpr int kExpenseFileHelp = 1015;

}  // namespace

void Expense::Resize(int32_t firstYear, int32_t years, int32_t cats) {
  FirstYear = firstYear;
  NYears = years;
  NCats = cats;
  amount.assign(static_cast<size_t>(years) * static_cast<size_t>(cats) * kMonths, 0.0);
}

std::string ExpensesPath(const Session& s, int n) { return s.Prop(n).Folder + "Data/Expenses.bkx"; }

std::vector<std::string> ExpenseCategoryNames(const Session& s) {
  std::vector<std::string> names;
  for (int c = 1; c <= s.common.NExpCats; ++c)
    names.push_back(c < static_cast<int>(s.common.ExpDesc.size()) ? s.common.ExpDesc[static_cast<size_t>(c)] : "");
  return names;
}

std::string ExpenseImage(const Expense& e) {
  std::string out;
  out.reserve(kExpenseHeaderSize + e.amount.size() * 8);
  for (const int32_t v : {e.FirstYear, e.NYears, e.NCats, e.Reserved}) PutInt32(out, v);
  const size_t at = out.size();
  out.resize(at + e.amount.size() * 8);
  if (!e.amount.empty()) std::memcpy(out.data() + at, e.amount.data(), e.amount.size() * 8);
  return out;
}

Expense NewExpenseLedger(int cats, int currentYear) {
  Expense e;
  e.Resize(currentYear - 1, 2, cats);
  return e;
}

ExpenseParse ParseExpenses(const std::string& image, int cats, int currentYear, Expense& out) {
  out = NewExpenseLedger(cats, currentYear);
  if (image.size() < kExpenseHeaderSize) return ExpenseParse::Damaged;
  const int32_t first = GetInt32(image, 0), years = GetInt32(image, 4), stored = GetInt32(image, 8);
  // A header that cannot be a ledger's: nothing of it is trusted, not even to size
  // the table.
  if (years < 0 || stored < 0 || first < kFirstExpenseYear || first > kLastExpenseYear ||
      years > kLastExpenseYear - first + 1)
    return ExpenseParse::Damaged;
  const int64_t payload = static_cast<int64_t>(image.size()) - kExpenseHeaderSize;
  // years * stored * 96 may not fit in 64 bits: compared by division.
  const int64_t perYear = static_cast<int64_t>(stored) * kYearCatBytes;
  const bool whole = perYear == 0 ? payload == 0 : payload % perYear == 0 && payload / perYear == years;

  // The years from the first to this one, and any stored past it; at least one. A
  // header unlike the size counts only the years the file reaches into.
  const int32_t held =
      whole || perYear == 0 ? years : static_cast<int32_t>(std::min<int64_t>(years, (payload + perYear - 1) / perYear));
  const int32_t span = std::max({held, currentYear - first + 1, 1});
  out.Resize(first, span, cats);
  out.Reserved = GetInt32(image, 12);
  // Values in file order, as far as the header and the image both go.
  const int64_t values = std::min<int64_t>(static_cast<int64_t>(years) * stored * kMonths, payload / 8);
  const char* p = image.data() + kExpenseHeaderSize;
  for (int64_t i = 0; i < values; ++i) {
    const int64_t month = i % kMonths, cat = (i / kMonths) % stored, year = i / (kMonths * int64_t{stored});
    if (cat >= cats) continue;
    double v = 0;
    std::memcpy(&v, p + i * 8, 8);
    out.At(static_cast<int>(year), static_cast<int>(cat), static_cast<int>(month)) = v;
  }
  if (!whole) return ExpenseParse::Damaged;
  return span != years || stored != cats ? ExpenseParse::Changed : ExpenseParse::Same;
}

ExpenseLoad ReadExpenses(Session& s, int n, SharedFile* holder) {
  ExpenseLoad load;
  const int cats = s.common.NExpCats;
  const int year = DecodeDate(s.clock.Today()).year;
  const std::string path = ExpensesPath(s, n);
  if (holder) holder->Close();
  if (!FileExists(path)) {
    load.missing = true;
    load.ledger = NewExpenseLedger(cats, year);
    return load;
  }
  // Held, writers denied, when asked for; read without the lock when another user
  // holds it or only reading was asked for.
  SharedFile reader;
  const bool lock = holder && !s.ReadOnly;
  SharedFile& f = lock && holder->OpenReadWriteDenyWriters(path) == SharedFile::Result::Ok ? *holder : reader;
  load.heldElsewhere = lock && !holder->IsOpen();
  std::string image;
  ExpenseParse parsed = ExpenseParse::Damaged;
  if ((f.IsOpen() || f.OpenReadShareAll(path) == SharedFile::Result::Ok) && f.ReadAll(image))
    parsed = ParseExpenses(image, cats, year, load.ledger);
  else
    load.ledger = NewExpenseLedger(cats, year);
  load.changed = parsed == ExpenseParse::Changed;
  if (parsed == ExpenseParse::Damaged) {
    load.failed = true;
    // Never written back: what could not be read would be saved as zeros.
    if (holder) holder->Close();
    WriteLog(s, "E2100 Error reading " + PathText(path));
    s.dialogs.Beep();
    s.dialogs.Message("E2100 Error reading " + PathText(path), MsgIcon::Error, kAbortHelp, kExpenseFileHelp);
  }
  return load;
}

bool WriteExpenses(Session& s, int n, const Expense& e, SharedFile& holder) {
  const std::string path = ExpensesPath(s, n);
  const std::string image = ExpenseImage(e);
  bool ok = false;
  std::string reason;
  if (FileExists(path)) {
    if (holder.IsOpen() && !holder.IsReadOnly() && holder.Path() == path) {
      // One safety copy, whichever property it came from.
      const std::string copy = s.common.TempFolder + "Expenses.bkx";
      if (s.common.TempFolder.empty() || !CopyFileOverwrite(path, copy, FileAccess::Private))
        WriteLog(s, "QZ1015 Cannot write safety copy " + PathText(copy) + " of " + PathText(path));
      size_t written = 0;
      ok = holder.Replace(image, written);
      reason = holder.ErrorText();
    } else {
      reason = "file not held";
    }
  } else {
    holder.Close();
    ForceDirectories(ExtractFilePath(path));
    // Made whole and held in one step; a file another user made meanwhile is kept.
    ok = holder.CreateDenyWriters(path, image) == SharedFile::Result::Ok;
    reason = holder.ErrorText();
  }
  if (ok) return true;
  WriteLog(s, "E2100 Error writing " + PathText(path) + " " + reason);
  s.dialogs.Beep();
  s.dialogs.Message("E2100 Error writing " + PathText(path), MsgIcon::Error, kAbortHelp, kExpenseFileHelp);
  return false;
}

std::string ExpenseAmountText(double v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

bool ParseExpenseAmount(const std::string& text, double& out, std::string* why) {
  out = 0;
  const std::string t = Trim(text);
  if (t.empty()) return true;
  // Plain decimals only: from_chars alone would also take "inf", "nan" and hex.
  const bool plain = t.find_first_not_of("0123456789.eE+-") == std::string::npos;
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (!plain || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) {
    if (why) *why = "'" + t + "' is not a valid floating point value";
    return false;
  }
  if (v < 0) {
    if (why) *why = "'" + t + "' is below 0";
    return false;
  }
  out = v == 0 ? 0.0 : v;  // never a negative zero
  return true;
}

}  // namespace tb
