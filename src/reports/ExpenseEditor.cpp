#include "reports/ExpenseEditor.h"

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "reports/ExpensesCsv.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {
constexpr int kNotConfiguredHelp = 999;
}  // namespace

ExpenseEditor::ExpenseEditor(Session& s) : s_(s) {}

ExpenseEditor::~ExpenseEditor() = default;

bool ExpenseEditor::Start(int n, int year) {
  if (s_.common.NExpCats <= 0 || s_.NumProps() < 1) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Expenses recording not configured", MsgIcon::Information, MsgButton::OK | MsgButton::Help,
                       kNotConfiguredHelp);
    return false;
  }
  Load(n < 1 || n > s_.NumProps() ? 1 : n, year);
  return true;
}

void ExpenseEditor::Load(int n, int year) {
  ExpenseLoad load = ReadExpenses(s_, n, &file_);
  property_ = n;
  ledger_ = std::move(load.ledger);
  heldElsewhere_ = load.heldElsewhere;
  readOnly_ = load.failed || load.heldElsewhere || s_.ReadOnly;
  // Years or categories the reader added are saved with the next save; a ledger that
  // cannot be saved has nothing to save.
  changed_ = load.changed && !readOnly_;
  if (year < ledger_.FirstYear || year > ledger_.LastYear()) year = DecodeDate(s_.clock.Today()).year;
  if (year < ledger_.FirstYear) year = ledger_.FirstYear;
  if (year > ledger_.LastYear()) year = ledger_.LastYear();
  ShowYear(year);
}

void ExpenseEditor::Release() { file_.Close(); }

std::vector<int> ExpenseEditor::Years() const {
  std::vector<int> years;
  for (int y = ledger_.FirstYear; y <= ledger_.LastYear(); ++y) years.push_back(y);
  return years;
}

std::vector<std::string> ExpenseEditor::CategoryNames() const { return ExpenseCategoryNames(s_); }

void ExpenseEditor::ShowYear(int year) {
  shownYear_ = year;
  const int y = year - ledger_.FirstYear;
  cells.assign(static_cast<size_t>(ledger_.NCats), {});
  for (int c = 0; c < ledger_.NCats; ++c)
    for (int m = 0; m < 12; ++m)
      cells[static_cast<size_t>(c)][static_cast<size_t>(m)] = ExpenseAmountText(ledger_.At(y, c, m));
}

bool ExpenseEditor::CellTyped(int cat, int month, const std::string& text) {
  if (cat < 0 || cat >= static_cast<int>(cells.size()) || month < 0 || month >= 12) return false;
  cells[static_cast<size_t>(cat)][static_cast<size_t>(month)] = text;
  double v = 0;
  if (!ParseExpenseAmount(text, v)) {
    s_.dialogs.Beep();
    s_.dialogs.Message(Format("Invalid amount. Month=%d Row=%d", {month + 1, cat + 1}), MsgIcon::Error, MsgButton::OK);
    return false;
  }
  if (!readOnly_) changed_ = true;
  return true;
}

bool ExpenseEditor::Store() {
  if (!changed_) return true;
  // All cells or none: a cell that cannot be read leaves the ledger as it was.
  std::vector<double> values(cells.size() * 12);
  for (size_t c = 0; c < cells.size(); ++c)
    for (size_t m = 0; m < 12; ++m) {
      if (ParseExpenseAmount(cells[c][m], values[c * 12 + m])) continue;
      s_.dialogs.Beep();
      s_.dialogs.Message(Format("Invalid data. Month= %d  Row= %d", {static_cast<int>(m) + 1, static_cast<int>(c) + 1}),
                         MsgIcon::Error, MsgButton::Abort);
      return false;
    }
  const int y = shownYear_ - ledger_.FirstYear;
  for (size_t c = 0; c < cells.size(); ++c)
    for (size_t m = 0; m < 12; ++m) ledger_.At(y, static_cast<int>(c), static_cast<int>(m)) = values[c * 12 + m];
  return true;
}

bool ExpenseEditor::SelectYear(int year) {
  if (year == shownYear_) return true;
  if (year < ledger_.FirstYear || year > ledger_.LastYear() || !Store()) return false;
  ShowYear(year);
  return true;
}

bool ExpenseEditor::StepYear(int delta) {
  const int year = shownYear_ + delta;
  if (year < ledger_.FirstYear || year > ledger_.LastYear()) {
    s_.dialogs.Beep();
    return false;
  }
  return SelectYear(year);
}

bool ExpenseEditor::SelectProperty(int n) {
  if (n == property_) return true;
  if (n < 1 || n > s_.NumProps()) return false;
  // What was typed stays on show when it cannot be saved.
  if (changed_ && !Save()) return false;
  Load(n);
  return true;
}

bool ExpenseEditor::StepProperty(int delta) {
  const int n = property_ + delta;
  if (n < 1 || n > s_.NumProps()) {
    s_.dialogs.Beep();
    return false;
  }
  return SelectProperty(n);
}

void ExpenseEditor::Clear() {
  if (s_.dialogs.Message("Clear displayed data?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) !=
      MsgButton::Yes)
    return;
  s_.dialogs.Beep();
  for (auto& row : cells) row.fill("0");
  if (!readOnly_) changed_ = true;
}

bool ExpenseEditor::Save() {
  if (readOnly_ || !Store()) return false;
  if (!WriteExpenses(s_, property_, ledger_, file_)) return false;
  changed_ = false;
  return true;
}

bool ExpenseEditor::CanClose() {
  if (!changed_ || readOnly_) return true;
  switch (s_.dialogs.Message("Save changes before closing?\r(Cancel returns to editing, No discards changes)",
                             MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel)) {
    case MsgButton::Yes:
      return Save();
    case MsgButton::No:
      changed_ = false;
      return true;
    default:
      return false;
  }
}

bool ExpenseEditor::Export() {
  if (!Store()) return false;
  const std::string path = ExpensesCsvPath(s_);
  if (FileExists(path)) {
    if (s_.dialogs.Message("File " + PathText(path) + " already exists. Overwrite?", MsgIcon::Warning,
                           MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes) {
      s_.dialogs.Message("Cancelled - no file written", MsgIcon::Information, MsgButton::OK);
      return false;
    }
    s_.dialogs.Beep();
  }
  std::string reason;
  if (!WriteExpensesCsv(s_, property_, ledger_, reason)) {
    s_.dialogs.Message("Cannot write " + PathText(path) + "\r" + reason, MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  s_.processes.ShellOpen(path);
  return true;
}

bool ExpenseEditor::Import(const std::function<std::string()>& chooseFile) {
  if (readOnly_) return false;
  if (changed_ && s_.dialogs.Message("Data changed - replace without saving?", MsgIcon::Warning,
                                     MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  if (s_.dialogs.Message("Replace current year's data from a CSV file?\rNext - browse for the file.",
                         MsgIcon::Information, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  const std::string path = chooseFile ? chooseFile() : std::string();
  if (path.empty()) return false;
  std::string text;
  SharedFile f;
  if (f.OpenReadShareAll(path) != SharedFile::Result::Ok || !f.ReadAll(text)) {
    s_.dialogs.Message("Cannot read " + PathText(path) + "\r" + f.ErrorText(), MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  ExpenseYear year;
  std::string error;
  const int cats = static_cast<int>(cells.size());
  if (!ParseExpenseYearCsv(text, PathText(path), cats, year, error)) {
    // A wrong number of lines beeps; a line that cannot be read only says so.
    if (error.rfind("Error - Input file", 0) == 0) s_.dialogs.Beep();
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::Abort);
    return false;
  }
  if (s_.dialogs.Message("CSV File is valid\rContinue?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) !=
      MsgButton::Yes)
    return false;
  for (size_t c = 0; c < year.size(); ++c)
    for (size_t m = 0; m < 12; ++m) cells[c][m] = ExpenseAmountText(year[c][m]);
  changed_ = true;
  return true;
}

}  // namespace tb
