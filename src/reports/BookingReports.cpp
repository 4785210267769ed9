#include "reports/BookingReports.h"

#include <cmath>
#include <optional>

#include "bookings/Rates.h"
#include "platform/Format.h"
#include "reports/ReportPrinter.h"
#include "store/BookingFile.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

TDateTime RangeFrom(const Session& s, const WeekRange& r, int n) {
  return WeekStart(r.startYear, r.startWeek, s.Prop(n));
}

TDateTime RangeUntil(const Session& s, const WeekRange& r, int n) { return WeekStart(r.endYear, r.endWeek, s.Prop(n)); }

int RangeWeekCount(const Session& s, const WeekRange& r, int n) {
  return static_cast<int>(std::floor((RangeUntil(s, r, n) - RangeFrom(s, r, n)) / 7));
}

bool ReadReportBookings(Session& s, const std::vector<int>& properties) {
  if (s.common.AllPropertiesView()) return true;  // every list is held and kept current
  const size_t shown = s.dialogs.MessagesShown();
  for (const int n : properties)
    if (n != s.CurrentProperty) ReadBookings(s, n, false, false);
  return s.dialogs.MessagesShown() == shown;
}

namespace {

const char* const kCrLf = "\r\n";

bool Counts(const Book_Rec& b) { return b.Status != Cancelled; }

// The bookings of property n, not cancelled, arriving from `from` to `until`, both
// inclusive, in list (arrival) order.
std::vector<const Book_Rec*> BookingsArriving(const Session& s, int n, TDateTime from, TDateTime until) {
  std::vector<const Book_Rec*> found;
  for (const Book_Buffer* b = s.Prop(n).Bookings.First(); b; b = b->Next)
    if (Counts(b->Rec) && b->Rec.StartD >= from && b->Rec.StartD <= until) found.push_back(&b->Rec);
  return found;
}

int Nights(const Book_Rec& b) { return static_cast<int>(std::lround(b.EndD - b.StartD)); }

std::string GuestName(const Book_Rec& b) {
  return b.Fnames.empty() ? b.Surname.str() : b.Surname + ", " + b.Fnames;
}

std::string PadRight(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(const std::string& text, size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// The free periods of property n from `from` to `until`, as lines.
void AppendFreePeriods(std::string& out, const Session& s, int n, TDateTime from, TDateTime until) {
  const auto period = [&out](TDateTime start, TDateTime end) {
    out += "Available " + FormatDateTime("ddd dd mmm yyyy", start) + " until " + FormatDateTime("ddd dd mmm yyyy", end) +
           kCrLf;
  };
  const auto next = [](const Book_Buffer* b) {
    while (b && !Counts(b->Rec)) b = b->Next;
    return b;
  };
  const Book_Buffer* cur = next(s.Prop(n).Bookings.First());
  while (cur && cur->Rec.EndD < from) cur = next(cur->Next);
  if (!cur) {
    period(from, until);
    return;
  }
  if (from < cur->Rec.StartD) period(from, cur->Rec.StartD);
  for (;;) {
    const TDateTime start = cur->Rec.EndD;
    cur = next(cur->Next);
    const TDateTime end = cur ? cur->Rec.StartD : until;
    // A period starting on or after the end of the range is not in it.
    if (end - start > 0 && start < until) period(start, end);
    if (end >= until || !cur) return;
  }
}

}  // namespace

std::string AvailabilityText(const Session& s, const WeekRange& r, const std::vector<int>& properties) {
  std::string out = "     AVAILABILITY REPORT    " + FormatDateTime("dd mmm yyyy", s.clock.Today()) + kCrLf;
  for (const int n : properties) {
    const TDateTime from = RangeFrom(s, r, n), until = RangeUntil(s, r, n);
    out += std::string(kCrLf) + "Property: " + s.Prop(n).PropName + kCrLf + "Period: " +
           FormatDateTime("dd mmm yyyy", from) + " - " + FormatDateTime("dd mmm yyyy", until) + kCrLf + kCrLf;
    AppendFreePeriods(out, s, n, from, until);
  }
  return out;
}

std::string BookingListText(const Session& s, const WeekRange& r, const std::vector<int>& properties) {
  std::string out;
  for (const int n : properties) {
    const std::vector<const Book_Rec*> bookings = BookingsArriving(s, n, RangeFrom(s, r, n), RangeUntil(s, r, n));
    if (bookings.empty()) continue;
    out += "        " + s.Prop(n).PropName + ".    Bookings list." + kCrLf + kCrLf;
    out += "---From---------To--------Nights-------Name--------------Comments-----";
    out += kCrLf;
    for (const Book_Rec* b : bookings) {
      out += FormatDateTime("ddd dd mmm", b->StartD) + " - " + FormatDateTime("ddd dd mmm yy", b->EndD) +
             PadLeft(std::to_string(Nights(*b)), 3) + "  " + PadRight(GuestName(*b), 25) + " " + b->Special.str();
      if (b->Flag & NoClean) out += " NO CLEAN";
      out += kCrLf;
    }
    out += std::string(70, '-') + kCrLf + kCrLf + kCrLf;
  }
  return out;
}

namespace {

// The printed list's columns, in millimetres from the left edge.
constexpr double kListLeft = 10;
constexpr double kListWidths[] = {43, 43, 12, 10, 82};
constexpr const char* kListHeadings[] = {"From - To", "Name", "Nights", "Clean", "Comments"};
constexpr int kListColumns = 5;
// A property's list starts no further row once this many lines are on its page.
constexpr int kListLinesPerPage = 47;
constexpr Rgb kHeadingGrey{224, 224, 224};

class ListPrinter {
 public:
  ListPrinter(ReportPrinter& p, const Session& s) : p_(p), s_(s) {
    int x = p_.Mm(kListLeft);
    edges_[0] = x;
    for (int c = 0; c < kListColumns; ++c) edges_[c + 1] = x += p_.Mm(kListWidths[c]);
  }

  // Title, heading row and rows of one property, continued on new pages.
  void Property(int n, const std::vector<const Book_Rec*>& bookings) {
    p_.PrintTitle("Bookings List for " + PropertyTitle(s_, n) + ".");
    Heads();
    int lines = 0;
    for (const Book_Rec* b : bookings) {
      if (lines >= kListLinesPerPage) {
        Close();
        p_.NewPage();
        Heads();
        lines = 0;
      }
      lines += Row(*b);
    }
    Close();
  }

 private:
  void Heads() {
    p_.y = p_.Mm(20);
    p_.canvas.SetFont({"Arial", 10, true});
    p_.PrintRule(edges_[0], edges_[kListColumns], p_.y);
    for (int c = 0; c < kListColumns; ++c) p_.PrintCell(edges_[c], edges_[c + 1], p_.y, kListHeadings[c], kHeadingGrey, 'C');
    p_.y += p_.rowHeight;
    p_.PrintRule(edges_[0], edges_[kListColumns], p_.y);
    p_.canvas.SetFont({"Arial", 10, false});
  }

  // One booking; the lines it took (a long comment takes two).
  int Row(const Book_Rec& b) {
    const int top = p_.y;
    p_.PrintCell(edges_[0], edges_[1], top,
                 FormatDateTime("ddd d mmm", b.StartD) + " - " + FormatDateTime("ddd d mmm yy", b.EndD), kWhite, 'L');
    p_.PrintCell(edges_[1], edges_[2], top, GuestName(b), kWhite, 'L');
    p_.PrintCell(edges_[2], edges_[3], top, std::to_string(Nights(b)), kWhite, 'C');
    p_.PrintCell(edges_[3], edges_[4], top, b.Flag & NoClean ? "No" : "Yes", kWhite, 'C');
    std::string comment = b.Special.str();
    for (size_t at = comment.find("\r\n"); at != std::string::npos; at = comment.find("\r\n", at + 1))
      comment.replace(at, 2, " ");
    const int room = p_.Mm(kListWidths[4]);
    if (p_.canvas.TextWidth(comment) <= room - 2) {
      p_.PrintCell(edges_[4], edges_[5], top, comment, kWhite, 'L');
      p_.y += p_.rowHeight;
      return 1;
    }
    // Two lines: up to the last space that leaves a first line that fits.
    size_t cut = std::string::npos;
    for (size_t sp = comment.rfind(' '); sp != std::string::npos && sp > 0; sp = comment.rfind(' ', sp - 1))
      if (p_.canvas.TextWidth(comment.substr(0, sp)) < room - 1) {
        cut = sp;
        break;
      }
    const std::string first = cut == std::string::npos ? comment.substr(0, 50) : comment.substr(0, cut);
    const std::string rest = cut == std::string::npos ? comment.substr(first.size()) : comment.substr(cut + 1);
    p_.PrintCell(edges_[4], edges_[5], top, first, kWhite, 'L');
    p_.canvas.DrawText(edges_[4] + p_.MmTrunc(1), top + p_.rowHeight + p_.Mm(0.3), rest);
    p_.y += 2 * p_.rowHeight;
    return 2;
  }

  void Close() { p_.PrintRule(edges_[0], edges_[4], p_.y); }

  ReportPrinter& p_;
  const Session& s_;
  int edges_[kListColumns + 1] = {};
};

}  // namespace

bool PrintBookingList(ReportPrinter& printer, Session& s, const WeekRange& r, const std::vector<int>& properties) {
  bool begun = false;
  std::optional<ListPrinter> list;
  for (const int n : properties) {
    const std::vector<const Book_Rec*> bookings = BookingsArriving(s, n, RangeFrom(s, r, n), RangeUntil(s, r, n));
    if (bookings.empty()) continue;
    if (!begun) {
      if (!printer.BeginPrintJob('P', "Bookings")) return false;
      begun = true;
      list.emplace(printer, s);
    } else {
      printer.NewPage();
    }
    list->Property(n, bookings);
  }
  s.dialogs.Beep();
  if (begun) {
    printer.EndPrintJob();
    return true;
  }
  s.dialogs.Message("No bookings found", MsgIcon::Error, MsgButton::Abort);
  return false;
}

}  // namespace tb
