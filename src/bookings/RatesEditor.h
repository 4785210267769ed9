#pragma once
// Everything the rates window decides, without the window: one rate year of one
// property loaded, edited as texts, checked, changed by a percentage, copied, saved or
// deleted. The window copies its controls into `fields`, calls an operation and copies
// `fields` back; messages and questions go through the session's Dialogs.

#include <array>
#include <string>

#include "platform/SharedFile.h"
#include "store/RateRec.h"

namespace tb {

class Session;

struct RateWeekFields {
  std::string cost, comment, fuel;
};

// The window's fields, as typed.
struct RatesFields {
  std::array<std::string, 6> band;
  std::string minCost, linen;
  std::array<std::string, 3> fuelCost;  // Low, Medium, High
  std::array<RateWeekFields, 53> weeks;
  std::string percent = "5.0";
  bool increase = true;
};

// What a field holds, for its check.
enum class RateFieldKind { Number, Fuel, Percent };
// The columns of a week row.
enum class RateColumn { Cost, Comment, Fuel };
// A field of the window, for the one a save found wrong.
struct RateFieldRef {
  enum Which { None, Band, MinCost, Linen, FuelCost, WeekCost, WeekFuel } which = None;
  int index = 0;  // band 0..5, fuel cost 0..2, week row 0..52
};

// The largest price a field takes: the chart, the uploads and the other programs that
// read rates files take a week's price to be 16 bits.
inline constexpr int32_t kMaxRatePrice = 65535;
// The most characters a week comment can be typed to (a longer one read from a file
// stays whole).
inline constexpr int kWeekCommentTyped = 20;

class RatesEditor {
 public:
  explicit RatesEditor(Session& s);
  ~RatesEditor();
  RatesEditor(const RatesEditor&) = delete;
  RatesEditor& operator=(const RatesEditor&) = delete;

  // Loads year `year` of property n (creating it from the most recent file when the
  // user agrees); false when the year is not loaded. The file is held while the year
  // is on show, unless the window is read-only.
  bool Load(int n, int year);

  RatesFields fields;

  int Property() const { return n_; }
  int Year() const { return year_; }
  int Weeks() const { return weeks_; }  // 52 or 53: the rows that can be edited
  bool ReadOnly() const { return readOnly_; }
  bool Modified() const { return modified_; }
  bool HasFuel() const;
  bool HasLinen() const;
  bool LineCopied() const { return lineCopied_; }
  std::string Caption() const;
  std::string UpdatedText() const { return updated_; }  // "" for a year not yet saved
  std::string Heading() const;
  std::string WeekLabel(int row) const;  // row 0..52
  std::string Path() const;

  // "" when the text is acceptable for its kind, else the message.
  static std::string FieldError(RateFieldKind kind, const std::string& text);
  // Shows a field's error (the window colours the field meanwhile).
  void ShowFieldError(const std::string& error);
  void FieldChanged();

  // "Change": every price by the percentage, after asking. True when changed.
  bool GlobalChange();
  // The line commands on week row `row` (0-based); each beeps. The duplicates return
  // false on the year's last week (nothing to copy into).
  void CopyLine(int row);
  void PasteLine(int row);
  bool DuplicateLine(int row);
  bool DuplicateField(int row, RateColumn column);

  // Writes the year (a safety copy of the old file first); true when the window may
  // close: saved, or nothing to save (the file is then let go). Every field is checked
  // first: a wrong one is reported and named in `invalidField`.
  bool Save();
  RateFieldRef invalidField;
  // Asks about unsaved changes and lets the file go; false: the window stays.
  bool Close();
  // "+1 Year" / "-1 Year": the next or previous year, or this one again when that one
  // is not loaded.
  bool StepYear(int delta);
  // Before a command replaces the fields: true when nothing changed or the user agrees.
  bool DiscardChanges();
  bool Import(const std::string& path);
  // Copies property q's rates of this year (only the week lines when linesOnly).
  bool CopyFrom(int q, bool linesOnly);
  // True when the file was deleted and the window must close (the file is let go).
  bool DeleteFile();
  // The working record built from the fields, as saving writes it.
  Rate_Rec Record() const;
  // Lets the file go and marks the window closed.
  void Finish();

 private:
  void Fill(const Rate_Rec& r);
  void Release();
  // The first field that would be saved wrong, with its message; None when all are fine.
  RateFieldRef FirstInvalidField(std::string& error) const;
  // A rates file read whole for the window; false, with the message, when it is damaged.
  bool ReadWhole(const std::string& path, Rate_Rec& r);

  Session& s_;
  int n_ = 0;
  int year_ = 0;
  int weeks_ = 53;
  bool readOnly_ = false;
  bool modified_ = false;
  bool open_ = false;
  bool lineCopied_ = false;
  RateWeekFields line_;
  std::string updated_;
  SharedFile file_;
};

}  // namespace tb
