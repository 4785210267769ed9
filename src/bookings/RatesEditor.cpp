#include "bookings/RatesEditor.h"

#include <cctype>
#include <climits>

#include "bookings/Charges.h"
#include "bookings/Rates.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/PathText.h"
#include "store/BookingFile.h"
#include "store/DiagnosticLog.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kRatesHelp = 410;

// A whole number 0 or more that fits the file's 32 bits; false otherwise.
bool WholeNumber(const std::string& text, int32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > INT32_MAX) return false;
  value = static_cast<int32_t>(v);
  return true;
}

int32_t NumberOr0(const std::string& text) {
  int32_t v = 0;
  return WholeNumber(text, v) ? v : 0;
}

std::string Number(int32_t v) { return std::to_string(v); }

// A price changed by factor percent, to a whole number (halves to even).
std::string Changed(int32_t value, double factor) {
  return Number(static_cast<int32_t>(RoundHalfEven(static_cast<double>(value) * factor / 100.0)));
}

}  // namespace

RatesEditor::RatesEditor(Session& s) : s_(s) {}

RatesEditor::~RatesEditor() { Finish(); }

bool RatesEditor::HasFuel() const { return s_.Prop(n_).FuelChg != 0; }
bool RatesEditor::HasLinen() const { return s_.Prop(n_).LinenChg != 0; }

std::string RatesEditor::Path() const { return RatesFilePath(s_.Prop(n_), year_); }

std::string RatesEditor::Caption() const {
  return "Rates Window:  " + s_.Prop(n_).PropName + " - " + std::to_string(year_);
}

std::string RatesEditor::Heading() const {
  return HasFuel() ? "Week/Starts--------Cost/Band------Comments----------------Fuel--"
                   : "Week/Starts--------Cost/Band------Comments--------------";
}

std::string RatesEditor::WeekLabel(int row) const {
  const std::string week = (row + 1 < 10 ? "0" : "") + std::to_string(row + 1);
  return week + "   " + FormatDateTime("d mmm yyyy", WeekStart(year_, row + 1, s_.Prop(n_)));
}

// ---- Loading ------------------------------------------------------------------------

bool RatesEditor::Load(int n, int year) {
  Release();
  n_ = n;
  year_ = year;
  const std::string path = Path();
  Rate_Rec record;
  bool created = false;
  readOnly_ = s_.ReadOnly;
  if (FileExists(path)) {
    // Another user editing this year holds the file: this window only looks.
    if (!readOnly_ && file_.OpenReadWriteDenyWriters(path) != SharedFile::Result::Ok) {
      file_.Close();
      readOnly_ = true;
    }
    std::string data;
    const bool read = readOnly_ ? ReadWholeFile(path, data) : file_.ReadAll(data);
    bool complete = false;
    if (read) record = ParseRates(data, &complete);
    // A damaged file shown as zeros would become zeros at the next save.
    if (!complete) {
      Release();
      s_.dialogs.Message("Error opening rates file " + PathText(path), MsgIcon::Error, MsgButton::OK, kRatesHelp);
      return false;
    }
    updated_ = "Updated: " + FormatDateTime("yyyy/m/d hh:mm", FileTimeAsDateTime(path));
  } else {
    if (readOnly_) {
      s_.dialogs.Message("No file exists for specified year. (Readonly so can't create)", MsgIcon::Warning,
                         MsgButton::OK, kRatesHelp);
      return false;
    }
    if (s_.dialogs.Message("No file exists for specified year. Create it?\r"
                           "Note: Data will be copied from the most recent rates file (if present)\r"
                           "You can then edit this. (Hit F1 for Help)",
                           MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, kRatesHelp) != MsgButton::Yes)
      return false;
    updated_.clear();
    // The most recent prices the property has, counting from this calendar year.
    const int current = DecodeDate(s_.clock.Today()).year;
    // A damaged file is passed over: its zeros are no prices to start from.
    for (int y = current + 1; y >= current - 4; --y) {
      bool complete = false;
      if (ReadRatesFile(RatesFilePath(s_.Prop(n), y), record, &complete) && complete) break;
      record = Rate_Rec{};
    }
    created = true;
  }
  weeks_ = WeeksInYear(year, s_.Prop(n));
  Fill(record);
  modified_ = created;  // a new year is written by Save/Exit
  open_ = true;
  s_.RatesFormOpen = true;
  return true;
}

void RatesEditor::Fill(const Rate_Rec& r) {
  const std::string percent = fields.percent;
  const bool increase = fields.increase;
  fields = RatesFields{};
  fields.percent = percent;
  fields.increase = increase;
  for (size_t i = 0; i < 6; ++i) fields.band[i] = Number(r.BandCost[i]);
  fields.minCost = Number(r.MinCost);
  fields.linen = Number(r.LinenCharge);
  for (size_t i = 0; i < 3; ++i) fields.fuelCost[i] = Number(r.FuelCost[i]);
  for (size_t w = 0; w < 53; ++w) {
    const WeekRate& in = r.WeekRates[w];
    RateWeekFields& out = fields.weeks[w];
    out.cost = Number(in.CostOrBand);
    out.comment = in.WeekComment;
    out.fuel = in.FuelBand ? std::string(1, in.FuelBand) : "L";
  }
}

void RatesEditor::Release() { file_.Close(); }

void RatesEditor::Finish() {
  Release();
  if (open_) s_.RatesFormOpen = false;
  open_ = false;
}

// ---- Fields -------------------------------------------------------------------------

std::string RatesEditor::FieldError(RateFieldKind kind, const std::string& text) {
  switch (kind) {
    case RateFieldKind::Number: {
      int32_t v = 0;
      if (!WholeNumber(text, v)) return "Invalid input. Must be positive integer";
      return v <= kMaxRatePrice ? std::string() : "Invalid input. Must be " + Number(kMaxRatePrice) + " or less";
    }
    case RateFieldKind::Fuel:
      // Typed in either case, stored in upper case.
      return text.size() == 1 && std::string("HMLhml").find(text[0]) != std::string::npos
                 ? std::string()
                 : "Invalid fuel. 1 char only, H,M or L";
    case RateFieldKind::Percent: {
      double v = 0;
      return ParseAmount(text, v) && v > 0 ? std::string() : "Invalid change percentage. Must be positive number";
    }
  }
  return {};
}

void RatesEditor::ShowFieldError(const std::string& error) {
  s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
}

void RatesEditor::FieldChanged() {
  if (!readOnly_) modified_ = true;
}

bool RatesEditor::GlobalChange() {
  if (readOnly_) return false;
  const std::string error = FieldError(RateFieldKind::Percent, fields.percent);
  if (!error.empty()) {
    ShowFieldError(error);
    return false;
  }
  if (s_.dialogs.Message("You've asked for all rates to be " +
                             std::string(fields.increase ? "increased" : "decreased") + " by " + fields.percent +
                             " percent" + "\r" + "Proceed?",
                         MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  double pct = 0;
  ParseAmount(fields.percent, pct);
  const double factor = fields.increase ? 100 + pct : 100 - pct;
  int32_t v = 0;
  for (std::string& band : fields.band) {
    if (WholeNumber(band, v)) band = Changed(v, factor);
  }
  // 1..6 name a band; only prices change.
  for (RateWeekFields& w : fields.weeks) {
    if (WholeNumber(w.cost, v) && v > 6) w.cost = Changed(v, factor);
  }
  modified_ = true;
  s_.dialogs.Message("Rates changed", MsgIcon::Information, MsgButton::OK);
  return true;
}

// ---- Line commands --------------------------------------------------------------------

void RatesEditor::CopyLine(int row) {
  s_.dialogs.Beep();
  if (row < 0 || row >= weeks_) return;
  line_ = fields.weeks[static_cast<size_t>(row)];
  lineCopied_ = true;
}

void RatesEditor::PasteLine(int row) {
  s_.dialogs.Beep();
  if (readOnly_ || !lineCopied_ || row < 0 || row >= weeks_) return;
  RateWeekFields& to = fields.weeks[static_cast<size_t>(row)];
  to.cost = line_.cost;
  to.comment = line_.comment;
  if (HasFuel()) to.fuel = line_.fuel;
  modified_ = true;
}

bool RatesEditor::DuplicateLine(int row) {
  s_.dialogs.Beep();
  if (readOnly_ || row < 0 || row + 1 >= weeks_) return false;
  const RateWeekFields& from = fields.weeks[static_cast<size_t>(row)];
  RateWeekFields& to = fields.weeks[static_cast<size_t>(row + 1)];
  to.cost = from.cost;
  to.comment = from.comment;
  if (HasFuel()) to.fuel = from.fuel;
  modified_ = true;
  return true;
}

bool RatesEditor::DuplicateField(int row, RateColumn column) {
  s_.dialogs.Beep();
  if (readOnly_ || row < 0 || row + 1 >= weeks_) return false;
  if (column == RateColumn::Fuel && !HasFuel()) return false;
  const RateWeekFields& from = fields.weeks[static_cast<size_t>(row)];
  RateWeekFields& to = fields.weeks[static_cast<size_t>(row + 1)];
  switch (column) {
    case RateColumn::Cost: to.cost = from.cost; break;
    case RateColumn::Comment: to.comment = from.comment; break;
    case RateColumn::Fuel: to.fuel = from.fuel; break;
  }
  modified_ = true;
  return true;
}

// ---- Saving and closing ------------------------------------------------------------------

Rate_Rec RatesEditor::Record() const {
  Rate_Rec r;
  for (size_t i = 0; i < 6; ++i) r.BandCost[i] = NumberOr0(fields.band[i]);
  r.MinCost = NumberOr0(fields.minCost);
  if (HasLinen()) r.LinenCharge = NumberOr0(fields.linen);
  if (HasFuel()) {
    for (size_t i = 0; i < 3; ++i) r.FuelCost[i] = NumberOr0(fields.fuelCost[i]);
  }
  // Rows beyond the year's weeks stay zero, whatever they still show.
  for (size_t w = 0; w < static_cast<size_t>(weeks_); ++w) {
    const RateWeekFields& in = fields.weeks[w];
    WeekRate& out = r.WeekRates[w];
    out.CostOrBand = NumberOr0(in.cost);
    out.WeekComment = in.comment;
    if (HasFuel() && !in.fuel.empty()) out.FuelBand = static_cast<char>(std::toupper(static_cast<unsigned char>(in.fuel[0])));
  }
  return r;
}

RateFieldRef RatesEditor::FirstInvalidField(std::string& error) const {
  auto bad = [&error](RateFieldKind kind, const std::string& text) {
    error = FieldError(kind, text);
    return !error.empty();
  };
  for (int i = 0; i < 6; ++i)
    if (bad(RateFieldKind::Number, fields.band[static_cast<size_t>(i)])) return {RateFieldRef::Band, i};
  if (bad(RateFieldKind::Number, fields.minCost)) return {RateFieldRef::MinCost, 0};
  if (HasLinen() && bad(RateFieldKind::Number, fields.linen)) return {RateFieldRef::Linen, 0};
  for (int i = 0; HasFuel() && i < 3; ++i)
    if (bad(RateFieldKind::Number, fields.fuelCost[static_cast<size_t>(i)])) return {RateFieldRef::FuelCost, i};
  for (int w = 0; w < weeks_; ++w) {
    const RateWeekFields& row = fields.weeks[static_cast<size_t>(w)];
    if (bad(RateFieldKind::Number, row.cost)) return {RateFieldRef::WeekCost, w};
    if (HasFuel() && bad(RateFieldKind::Fuel, row.fuel)) return {RateFieldRef::WeekFuel, w};
  }
  error.clear();
  return {};
}

bool RatesEditor::Save() {
  invalidField = {};
  if (!modified_) {
    Finish();
    return true;
  }
  if (readOnly_) return false;
  // A field the global change took past the largest price, or one never left, would
  // otherwise be saved as something else than it shows.
  std::string error;
  invalidField = FirstInvalidField(error);
  if (invalidField.which != RateFieldRef::None) {
    ShowFieldError(error);
    return false;
  }
  const std::string path = Path();
  const std::string image = RatesImage(Record());
  if (FileExists(path)) SafetyCopy(s_, n_, path);
  // A new year's file is made whole, held; another user making it meanwhile keeps it.
  const bool held = file_.IsOpen();
  if (!held && file_.CreateDenyWriters(path, image) != SharedFile::Result::Ok) {
    file_.Close();
    s_.dialogs.Message("Error creating rates file" + PathText(path) + "\r" + "It may be in use?", MsgIcon::Error,
                       MsgButton::OK, kRatesHelp);
    return false;
  }
  // Whole or not at all: a failed write leaves the year as it was.
  size_t written = 0;
  if (held && !file_.Replace(image, written)) {
    s_.dialogs.Message("Error writing rates file " + PathText(path) + "\r" + "It may be in use?", MsgIcon::Error,
                       MsgButton::OK, kRatesHelp);
    return false;
  }
  modified_ = false;
  updated_ = "Updated: " + FormatDateTime("yyyy/m/d hh:mm", FileTimeAsDateTime(path));
  s_.RatesSavedProperty = n_;
  // Also a year the chart does not show: the online rates run five years ahead.
  s_.RatesDue = true;
  WriteLog(s_, Format("RATE UPDATE. Prop=%d File=%s", {n_, PathText(path)}));
  Finish();
  return true;
}

bool RatesEditor::Close() {
  if (modified_ && !readOnly_) {
    const MsgButton answer =
        s_.dialogs.Message("Save changes before closing?\r(Cancel returns to editing. No discards changes)",
                           MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    if (answer == MsgButton::Cancel) return false;
    if (answer == MsgButton::Yes && !Save()) return false;
  }
  modified_ = false;
  Finish();
  return true;
}

bool RatesEditor::StepYear(int delta) {
  if (modified_) return false;
  const int year = year_;
  if (Load(n_, year + delta)) return true;
  Load(n_, year);  // the year on show stays
  return false;
}

bool RatesEditor::DiscardChanges() {
  return !modified_ || s_.dialogs.Message("Existing data changed. Discard changes?", MsgIcon::Confirmation,
                                          MsgButton::Yes | MsgButton::Cancel) == MsgButton::Yes;
}

bool RatesEditor::ReadWhole(const std::string& path, Rate_Rec& r) {
  bool complete = false;
  if (ReadRatesFile(path, r, &complete) && complete) return true;
  s_.dialogs.Message("Error opening rates file " + PathText(path), MsgIcon::Error, MsgButton::OK, kRatesHelp);
  return false;
}

bool RatesEditor::Import(const std::string& path) {
  if (readOnly_) return false;
  Rate_Rec r;
  if (!ReadWhole(path, r)) return false;
  Fill(r);
  modified_ = true;
  return true;
}

bool RatesEditor::CopyFrom(int q, bool linesOnly) {
  if (readOnly_) return false;
  if (q == n_) {
    s_.dialogs.Message("Cannot copy from current property", MsgIcon::Warning, MsgButton::OK, kRatesHelp);
    return false;
  }
  Rate_Rec from;
  const std::string source = RatesFilePath(s_.Prop(q), year_);
  if (!FileExists(source)) {
    s_.dialogs.Message("No " + std::to_string(year_) + " rates file found for property: " + s_.Prop(q).PropName,
                       MsgIcon::Warning, MsgButton::OK, 447);
    return false;
  }
  if (!ReadWhole(source, from)) return false;
  Rate_Rec r = Record();
  if (linesOnly) {
    // The week lines only: this property keeps its own bands and charges.
    for (size_t w = 0; w < 53; ++w) r.WeekRates[w] = from.WeekRates[w];
  } else {
    r = from;
  }
  Fill(r);
  modified_ = true;
  s_.dialogs.Message("Rates copied", MsgIcon::Information, MsgButton::OK);
  return true;
}

bool RatesEditor::DeleteFile() {
  if (readOnly_) return false;
  const std::string path = Path();
  if (!FileExists(path)) return false;
  if (s_.dialogs.Message("Delete current rates file = " + PathText(path) + "\r" + "Proceed?" + "\r" + "\r" +
                             "All data will be lost (Any Backup file is not deleted)" + "\r" + "The form will close",
                         MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  // Deleted while still held: a failure leaves the file, and this window's hold on it,
  // as they were.
  if (!DeleteFileAt(path)) {
    s_.dialogs.Message("Cannot delete file " + PathText(path), MsgIcon::Error, MsgButton::OK);
    return false;
  }
  Release();
  s_.dialogs.Beep();
  modified_ = false;
  // The chart drops the deleted year's prices.
  s_.RatesSavedProperty = n_;
  s_.RatesDue = true;
  Finish();
  return true;
}

}  // namespace tb
