#pragma once
// The expenses ledger of a property: "Expenses.bkx" in its "Data" folder, amounts by
// year, expense category and month. The expenses window edits it; the monthly
// accounts read it.

#include <cstdint>
#include <string>
#include <vector>

namespace tb {

class Session;
class SharedFile;

// The file: four little-endian 32-bit values (first year, years, categories, a
// reserved value written back as read), then for each year and each category the 12
// monthly amounts January to December as 64-bit floats.
struct Expense {
  int32_t FirstYear = 0;
  int32_t NYears = 0;
  int32_t NCats = 0;
  int32_t Reserved = 0;
  std::vector<double> amount;  // [year index][category][month], NYears x NCats x 12

  int LastYear() const { return FirstYear + NYears - 1; }
  double& At(int yearIndex, int cat, int month) { return amount[Index(yearIndex, cat, month)]; }
  double At(int yearIndex, int cat, int month) const { return amount[Index(yearIndex, cat, month)]; }
  // A table of zeros for those years and categories.
  void Resize(int32_t firstYear, int32_t years, int32_t cats);

 private:
  size_t Index(int y, int c, int m) const {
    return (static_cast<size_t>(y) * static_cast<size_t>(NCats) + static_cast<size_t>(c)) * 12 + static_cast<size_t>(m);
  }
};

inline constexpr int kExpenseHeaderSize = 16;
// Years a ledger may hold: anything else in a header is damage.
inline constexpr int kFirstExpenseYear = 1900;
inline constexpr int kLastExpenseYear = 9999;

std::string ExpensesPath(const Session& s, int n);  // property folder + "Data/Expenses.bkx"
// The configured category names ("X<n>-Desc"), in order.
std::vector<std::string> ExpenseCategoryNames(const Session& s);

// The file image of a ledger, every year with its categories.
std::string ExpenseImage(const Expense& e);

enum class ExpenseParse { Same, Changed, Damaged };
// Reads a file image into a table for the years from its first year to the current
// one (years stored past the current one are kept) and `cats` categories: stored
// categories beyond `cats` are dropped, missing ones are zero. Changed when the years
// had to be extended or the stored category count differs. Damaged when the header is
// negative, out of range or disagrees with the image's size: the table then holds
// what could be read, in order.
ExpenseParse ParseExpenses(const std::string& image, int cats, int currentYear, Expense& out);
// The ledger of a property that has no file: last year and this year, all zero.
Expense NewExpenseLedger(int cats, int currentYear);

struct ExpenseLoad {
  Expense ledger;
  bool missing = false;        // no file yet
  bool changed = false;        // the reader changed years or categories
  bool failed = false;         // read with "E2100 Error reading": never to be written back
  bool heldElsewhere = false;  // another user holds the file: read only here
};
// Reads property n's ledger for this year and the configured categories. With a
// holder the file is kept open in it, writers denied; when another user holds the
// file (or the run is read-only) the holder stays closed and the file is read
// without the lock. A failure beeps
// and shows "E2100 Error reading " + path.
ExpenseLoad ReadExpenses(Session& s, int n, SharedFile* holder = nullptr);
// Writes property n's ledger whole: the old file becomes the copy "Expenses.bkx" in
// the temporary folder, then the image goes through the held handle (a missing file
// is made whole and held). A failure beeps and shows "E2100 Error writing " + path;
// the file then stays as it was.
bool WriteExpenses(Session& s, int n, const Expense& e, SharedFile& holder);

// An amount as the shortest decimal text that reads back as the same number.
std::string ExpenseAmountText(double v);
// A typed or imported amount: empty is 0; else a decimal number with "." that is
// finite and not below 0. On failure `why` says what is wrong with the text.
bool ParseExpenseAmount(const std::string& text, double& out, std::string* why = nullptr);

}  // namespace tb
