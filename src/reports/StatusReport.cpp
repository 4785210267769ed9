#include "reports/StatusReport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "bookings/ChartStyle.h"
#include "bookings/WeekTable.h"
#include "platform/Text.h"
#include "reports/ReportPrinter.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr Rgb kHeadingGrey{224, 224, 224};
constexpr double kWeekColumns = 26;  // week number 5 mm, start date 21 mm
constexpr double kCost = 17, kFree = 16, kSt = 4, kFuel = 7.5;
constexpr double kFixed = kCost + kFree + kSt;  // the comment takes what is left

struct Margins {
  double left, right;
};
Margins MarginsFor(size_t count) {
  switch (count) {
    case 1: return {32, 32};
    case 2: return {8, 3};
    case 3: return {5, 2};
    default: return {0, 0};
  }
}

bool ShowsFuel(const Session& s, int n, size_t count) { return s.Prop(n).FuelChg != 0 && count < 3; }

double BlockWidth(size_t count, double pageWidthMm) {
  const Margins m = MarginsFor(count);
  return (pageWidthMm - m.left - m.right - kWeekColumns) / static_cast<double>(count);
}

bool GroupFits(const Session& s, const std::vector<int>& group, double pageWidthMm) {
  const double w = BlockWidth(group.size(), pageWidthMm);
  return std::all_of(group.begin(), group.end(),
                     [&](int n) { return w >= kFixed + (ShowsFuel(s, n, group.size()) ? kFuel : 0); });
}

// One group of properties side by side, every week of the range.
class StatusPages {
 public:
  // dates: the weeks whose numbers and start dates head the rows (the first property's).
  // named: the properties' names head their blocks (every group of a report of several).
  StatusPages(ReportPrinter& p, const Session& s, const std::vector<int>& group,
              const std::vector<const TStArray*>& weeks, const TStArray& dates, bool named)
      : p_(p), s_(s), group_(group), weeks_(weeks), dates_(dates), named_(named) {
    const double pageMm = p_.canvas.PageWidth() / p_.ppmm;
    const Margins m = MarginsFor(group.size());
    left_ = m.left;
    w_ = BlockWidth(group.size(), pageMm);
  }

  void Print() {
    p_.canvas.SetFont({"Arial", 12, false});
    p_.y = p_.Mm(20);
    if (named_) {
      for (size_t i = 0; i < group_.size(); ++i)
        p_.PrintCell(X(BlockLeft(i)), X(BlockLeft(i) + w_), p_.y, s_.Prop(group_[i]).PropName, kHeadingGrey, 'C');
      p_.y += p_.rowHeight;
    }
    p_.canvas.SetFont({"Arial", 10, false});
    p_.rowHeight = static_cast<int>(std::trunc(p_.canvas.DpiY() / 5.5));
    Heads();
    const TStArray& first = dates_;
    const int bottom = static_cast<int>(std::trunc(p_.canvas.PageHeight() - 20 * p_.ppmm));
    for (size_t k = 0; k < first.size(); ++k) {
      Week(k);
      p_.y += p_.rowHeight;
      if (p_.y > bottom && k + 1 < first.size()) {
        p_.NewPage();
        p_.y = p_.Mm(22);
        p_.canvas.SetFont({"Arial", 10, false});
      }
    }
  }

 private:
  int X(double mm) const { return p_.Mm(mm); }
  double BlockLeft(size_t i) const { return left_ + kWeekColumns + static_cast<double>(i) * w_; }
  bool Fuel(size_t i) const { return ShowsFuel(s_, group_[i], group_.size()); }
  // Millimetre edges of block i: cost, free, comment, St, fuel, end.
  std::array<double, 6> Edges(size_t i) const {
    const double x = BlockLeft(i), end = x + w_, fuel = Fuel(i) ? end - kFuel : end;
    return {x, x + kCost, x + kCost + kFree, fuel - kSt, fuel, end};
  }

  void Heads() {
    p_.PrintCell(X(left_), X(left_ + kWeekColumns), p_.y, "Week - starts..", kHeadingGrey, 'C');
    for (size_t i = 0; i < group_.size(); ++i) {
      const auto e = Edges(i);
      p_.PrintCell(X(e[0]), X(e[1]), p_.y, "Cost", kHeadingGrey, 'C');
      p_.PrintCell(X(e[1]), X(e[2]), p_.y, "Free?", kHeadingGrey, 'C');
      p_.PrintCell(X(e[2]), X(e[3]), p_.y, "Comment", kHeadingGrey, 'C');
      p_.PrintCell(X(e[3]), X(e[4]), p_.y, "St", kHeadingGrey, 'C');
      if (Fuel(i)) p_.PrintCell(X(e[4]), X(e[5]), p_.y, "Fuel", kHeadingGrey, 'C');
    }
    p_.y += p_.rowHeight;
  }

  void Week(size_t k) {
    const Status_Rec& head = dates_[k];
    p_.PrintCell(X(left_), X(left_ + 5), p_.y, std::to_string(head.WeekNo), kHeadingGrey, 'C');
    p_.PrintCell(X(left_ + 5), X(left_ + kWeekColumns), p_.y, FormatDateTime("dd mmm yyyy", head.WeekDate), kWhite, 'C');
    for (size_t i = 0; i < group_.size(); ++i) Block(i, k);
  }

  void Block(size_t i, size_t k) {
    const TStArray& weeks = *weeks_[i];
    const Status_Rec& w = weeks[k];
    const Prop_Rec& p = s_.Prop(group_[i]);
    const auto e = Edges(i);
    const int top = p_.y;
    Cost(X(e[0]), X(e[1]), w, p);
    const std::string comment = Trim(w.WeekNames + "  " + w.RateComment);
    if (w.DayMask == kWholeWeek) {
      const Rgb fill = StatusFill(w.DayEffStatus[0]);
      p_.PrintCell(X(e[1]), X(e[2]), top, WholeWeekText(w), fill, 'C');
      p_.PrintCell(X(e[2]), X(e[3]), top, comment, chart::kFullComment, 'L');
      p_.PrintCell(X(e[3]), X(e[4]), top, std::string(1, StatusMark(w.DayStatus[0] & 0x7F)), fill, 'C');
    } else if (w.DayMask == 0) {
      p_.PrintCell(X(e[1]), X(e[2]), top, "", chart::kFree, 'C');
      p_.PrintCell(X(e[2]), X(e[3]), top, comment, chart::kFree, 'L');
      p_.PrintCell(X(e[3]), X(e[4]), top, "", chart::kFree, 'C');
    } else {
      Days(e[1], weeks, k, p);
      p_.PrintCell(X(e[2]), X(e[3]), top, comment, w.DayMask == 127 ? chart::kFullComment : chart::kPartLet, 'L');
      const int st = PartWeekStatus(w);
      p_.PrintCell(X(e[3]), X(e[4]), top, std::string(1, StatusMark(st)), StatusFill(st), 'C');
    }
    if (Fuel(i)) {
      p_.canvas.SetFont({"Arial", 8, false});
      p_.PrintCell(X(e[4]), X(e[5]), top, p.CurrencySymbol() + std::to_string(w.WeekFuel), FuelFill(w.FuelBand), 'C');
      p_.canvas.SetFont({"Arial", 10, false});
    }
    if (w.SpecialMark) {
      const int cx = X(e[2]), cy = top + p_.rowHeight / 2, r = p_.Mm(0.8);
      p_.canvas.FillEllipse({cx - r, cy - r, cx + r, cy + r}, chart::kDot);
    }
  }

  void Cost(int x1, int x2, const Status_Rec& w, const Prop_Rec& p) {
    const int top = p_.y;
    p_.PrintCell(x1, x2, top, "", BandFill(w.RateBand), 'L');
    const std::string price = p.CurrencySymbol() + std::to_string(w.WeekCost);
    const int room = p_.Mm(14);
    const int x = x1 + std::max(0, (room - p_.canvas.TextWidth(price)) / 2);
    p_.canvas.DrawText(x, top + p_.Mm(0.3), price, PixelRect{x1, top, x1 + p_.Mm(13), top + p_.rowHeight});
    if (w.RateBand == 0) return;
    const PixelRect box{x1 + p_.Mm(14), top + p_.Mm(0.4), x1 + p_.Mm(14 + 2.8), top + p_.Mm(0.4 + 3.5)};
    p_.canvas.FillRect(box, BandFill(0));
    p_.canvas.FrameRect(box, 0, chart::kBandBox);
    p_.canvas.SetFont({"Arial", 8, false});
    const std::string digit = std::to_string(w.RateBand);
    p_.canvas.DrawText(box.left + (box.Width() - p_.canvas.TextWidth(digit)) / 2,
                       box.top + (box.Height() - p_.canvas.TextHeight(digit)) / 2, digit, std::nullopt, chart::kBandBox);
    p_.canvas.SetFont({"Arial", 10, false});
  }

  // The "Free?" cell of a partly let week: a cell per day in the day's status colour,
  // a changeover day's upper-left half in the colour of the day before.
  void Days(double freeLeft, const TStArray& weeks, size_t k, const Prop_Rec& p) {
    const Status_Rec& w = weeks[k];
    const int top = p_.y;
    p_.canvas.SetFont({"Arial", 8, false});
    for (int d = 0; d < 7; ++d) {
      const int x1 = X(freeLeft + d * kFree / 7), x2 = X(freeLeft + (d + 1) * kFree / 7);
      const bool occupied = (w.DayMask >> d) & 1;
      const std::string letter(1, DayLetter(p.ChangeDay, d));
      p_.PrintCell(x1, x2, top, "", occupied ? StatusFill(w.DayEffStatus[static_cast<size_t>(d)]) : chart::kFree, 'C');
      const bool firstDayOfRange = k == 0 && d == 0;
      if ((w.DayStatus[static_cast<size_t>(d)] & kChangeoverBit) && !firstDayOfRange) {
        int before = 0;
        if (d > 0) {
          before = w.DayEffStatus[static_cast<size_t>(d - 1)];
        } else {
          const Status_Rec& prev = weeks[k - 1];
          before = prev.DayEffStatus[6] != 0 ? prev.DayEffStatus[6] : prev.DayEffStatus[0];
        }
        const int bottom = top + p_.rowHeight + 1;
        p_.canvas.FillPolygon({{x1, top}, {x2 + 1, top}, {x1, bottom}}, StatusFill(before));
        p_.canvas.FrameRect({x1, top, x2 + 1, bottom}, p_.Mm(0.1), kBlack);
      }
      p_.canvas.DrawText(x1 + (x2 - x1 - p_.canvas.TextWidth(letter)) / 2, top + p_.Mm(0.3), letter);
    }
    p_.canvas.SetFont({"Arial", 10, false});
  }

  ReportPrinter& p_;
  const Session& s_;
  const std::vector<int>& group_;
  const std::vector<const TStArray*>& weeks_;
  const TStArray& dates_;
  const bool named_;
  double left_ = 0, w_ = 0;
};

}  // namespace

int StatusReportGroupSize(const Session& s, const std::vector<int>& properties, double pageWidthMm) {
  for (size_t k = properties.size(); k > 1; --k) {
    bool fits = true;
    for (size_t from = 0; from < properties.size() && fits; from += k) {
      const std::vector<int> group(properties.begin() + static_cast<std::ptrdiff_t>(from),
                                   properties.begin() + static_cast<std::ptrdiff_t>(std::min(from + k, properties.size())));
      fits = GroupFits(s, group, pageWidthMm);
    }
    if (fits) return static_cast<int>(k);
  }
  return 1;
}

bool PrintStatusReport(ReportPrinter& printer, Session& s, const WeekRange& r, const std::vector<int>& properties) {
  if (properties.empty()) return false;
  const int changeDay = s.Prop(properties[0]).ChangeDay;
  const bool sameDay = std::all_of(properties.begin(), properties.end(),
                                   [&](int n) { return s.Prop(n).ChangeDay == changeDay; });
  if (!sameDay &&
      s.dialogs.Message("Properties selected have different changeover days\rWeek start dates printed will be for the "
                        "first selected property\rContinue?",
                        MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return false;
  const int count = RangeWeekCount(s, r, properties[0]);
  ReadReportBookings(s, properties);
  std::vector<TStArray> tables(properties.size(), TStArray(static_cast<size_t>(std::max(count, 0))));
  for (size_t i = 0; i < properties.size(); ++i)
    BuildWeekTable(s, properties[i], tables[i], r.startYear, r.startWeek, false);
  if (!printer.BeginPrintJob('P', "Cotlyn Status Report")) return false;
  const size_t size =
      static_cast<size_t>(StatusReportGroupSize(s, properties, printer.canvas.PageWidth() / printer.ppmm));
  const int rowHeight = printer.rowHeight;
  for (size_t from = 0; from < properties.size(); from += size) {
    if (from > 0) printer.NewPage();
    const size_t to = std::min(from + size, properties.size());
    const std::vector<int> group(properties.begin() + static_cast<std::ptrdiff_t>(from),
                                 properties.begin() + static_cast<std::ptrdiff_t>(to));
    std::vector<const TStArray*> weeks;
    for (size_t i = from; i < to; ++i) weeks.push_back(&tables[i]);
    printer.canvas.SetFont({"Arial", 10, false});
    printer.PrintTitle(group.size() == 1 && properties.size() == 1
                           ? s.Prop(group[0]).PropName + " - Bookings Status Report"
                           : "Bookings Status Report");
    printer.rowHeight = rowHeight;
    StatusPages(printer, s, group, weeks, tables[0], properties.size() > 1).Print();
  }
  s.dialogs.Beep();
  printer.EndPrintJob();
  return true;
}

}  // namespace tb
