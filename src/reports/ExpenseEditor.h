#pragma once
// What the expenses window does, without the widgets: one property's ledger, the
// shown year's cells as texts, the changed mark, and every step the window offers.
// It reaches the user only through the session's Dialogs.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/SharedFile.h"
#include "reports/Expenses.h"

namespace tb {

class Session;

class ExpenseEditor {
 public:
  explicit ExpenseEditor(Session& s);
  ~ExpenseEditor();
  ExpenseEditor(const ExpenseEditor&) = delete;
  ExpenseEditor& operator=(const ExpenseEditor&) = delete;

  // On showing: "Expenses recording not configured" when there are no categories
  // (false); else property n's ledger with `year` shown (or the nearest stored year).
  bool Start(int n, int year);
  // Reads property n's ledger, holding its file; shows `year` when stored, else this
  // year, or the first when this year is before it.
  void Load(int n, int year = 0);
  // Lets the file go (the window closes).
  void Release();

  int Property() const { return property_; }
  int ShownYear() const { return shownYear_; }
  std::vector<int> Years() const;  // first year .. last
  const Expense& Ledger() const { return ledger_; }
  std::vector<std::string> CategoryNames() const;
  bool Changed() const { return changed_; }
  // The ledger cannot be saved: read with an error, held by another user, or a
  // read-only run.
  bool ReadOnly() const { return readOnly_; }
  bool HeldElsewhere() const { return heldElsewhere_; }

  // The shown year's cells, [category][month], as the grid shows them.
  std::vector<std::array<std::string, 12>> cells;

  // A cell typed into: a non-empty text must be an amount; else the box and false
  // (the grid keeps the focus).
  bool CellTyped(int cat, int month, const std::string& text);
  // The shown cells into the ledger (when changed); false with its box when a cell
  // cannot be read.
  bool Store();
  // Stores, then shows the year; false when the store failed (the shown year stays).
  bool SelectYear(int year);
  // The menu's next / previous year: beeps at either end.
  bool StepYear(int delta);
  // Another property: pending changes saved first; false (staying) when that fails.
  bool SelectProperty(int n);
  // PageDown / PageUp: beeps beyond the first or last property.
  bool StepProperty(int delta);
  // "Clear": asks, then every shown cell is "0".
  void Clear();
  // Stores and writes the file; the changed mark goes on success.
  bool Save();
  // Whether the window may close: asks about unsaved changes.
  bool CanClose();
  // "Export Expenses to CSV file": false when nothing was written.
  bool Export();
  // "Import year from CSV": chooseFile returns the chosen path ("" when cancelled).
  bool Import(const std::function<std::string()>& chooseFile);

 private:
  void ShowYear(int year);
  Session& s_;
  int property_ = 0;
  int shownYear_ = 0;
  Expense ledger_;
  SharedFile file_;
  bool changed_ = false;
  bool readOnly_ = false;
  bool heldElsewhere_ = false;
};

}  // namespace tb
