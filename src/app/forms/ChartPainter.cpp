#include "app/forms/ChartPainter.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "platform/forms/QtText.h"
#include "store/Session.h"

namespace tb {

namespace {

QFont ChartFont(int pixels, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

bool Occupied(const Status_Rec& w, int day) { return (w.DayMask >> day) & 1; }

}  // namespace

ChartPainter::ChartPainter(const Session& s)
    : s_(s),
      normal_(ChartFont(chart::kFontNormal)),
      small_(ChartFont(chart::kFontSmall)),
      fuel_(ChartFont(chart::kFontFuel)),
      bold_(ChartFont(chart::kFontNormal, true)),
      heading_(ChartFont(chart::kFontHeading, true)) {}

QColor ChartPainter::Colour(Rgb c) { return QColor(c.r, c.g, c.b); }

void ChartPainter::Cell(QPainter& p, int x1, int y1, int x2, int y2, Rgb fill) const {
  p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), Colour(fill));
  p.setPen(Colour(chart::kBorder));
  p.setBrush(Qt::NoBrush);
  // A 1-pixel outline on x1..x2, y1..y2: neighbouring cells share their border.
  p.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

const QStaticText& ChartPainter::Laid(const QPainter& p, const QString& text) const {
  const QFont& f = p.font();
  const QString key = QString::number(f.pixelSize()) + (f.bold() ? QLatin1Char('b') : QLatin1Char('n')) + text;
  auto it = laid_.find(key);
  if (it != laid_.end()) return *it;
  if (laid_.size() > 4000) laid_.clear();
  QStaticText st(text);
  st.setTextFormat(Qt::PlainText);
  st.prepare(QTransform(), f);
  return *laid_.insert(key, st);
}

void ChartPainter::Text(QPainter& p, const QRect& r, const QString& text, int offset, int top) const {
  if (text.isEmpty()) return;
  const QStaticText& st = Laid(p, text);
  const QSizeF size = st.size();
  const double x = offset < 0 ? r.left() + (r.width() - size.width()) / 2 : r.left() + offset;
  const double y = top < 0 ? r.top() + (r.height() - size.height()) / 2 : r.top() + top;
  p.drawStaticText(QPointF(x, y), st);
}

QString ChartPainter::Money(const Prop_Rec& prop, int amount) const {
  return ToQ(prop.CurrencySymbol()) + QString::number(amount);
}

void ChartPainter::BandBox(QPainter& p, int x1, int y1, int band) const {
  const int x2 = x1 + (chart::kBandBoxX2 - chart::kBandBoxX1);
  const QRect box(QPoint(x1, y1 + 2), QPoint(x2, y1 + 18));
  p.fillRect(box, Colour(BandFill(0)));
  p.setPen(Colour(chart::kBandBox));
  p.drawRect(QRect(QPoint(x1, y1 + 2), QPoint(x2 - 1, y1 + 17)));
  p.setFont(small_);
  p.drawText(box, Qt::AlignCenter, QString::number(band));
}

void ChartPainter::Dot(QPainter& p, int x1, int y1) const {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::black);
  p.setBrush(Colour(chart::kDot));
  p.drawEllipse(QRect(QPoint(x1, y1), QPoint(x1 + 9, y1 + 9)));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setBrush(Qt::NoBrush);
}

// The seven day cells of a partly let week from x: fill, changeover triangle, letter.
void ChartPainter::PaintDayCells(QPainter& p, const Prop_Rec& prop, int k, int x, int y) const {
  const TStArray& weeks = prop.Weeks;
  const Status_Rec& w = weeks[static_cast<size_t>(k)];
  p.setFont(small_);
  for (int i = 0; i < 7; ++i) {
    const int x1 = x + chart::kDayWidth * i;
    const int x2 = x1 + chart::kDayWidth;
    Cell(p, x1, y, x2, y + chart::kRowHeight, Occupied(w, i) ? StatusFill(w.DayEffStatus[i]) : chart::kFree);
    if ((w.DayStatus[i] & kChangeoverBit) && !(i == 0 && k == 0)) {
      int before = 0;
      if (i > 0) {
        before = w.DayEffStatus[i - 1];
      } else {
        const Status_Rec& prev = weeks[static_cast<size_t>(k - 1)];
        before = prev.DayEffStatus[6] ? prev.DayEffStatus[6] : prev.DayEffStatus[0];
      }
      const QPolygon triangle({QPoint(x1, y), QPoint(x2, y), QPoint(x1, y + chart::kRowHeight)});
      p.setPen(Qt::NoPen);
      p.setBrush(Colour(StatusFill(before)));
      p.drawPolygon(triangle);
      p.setBrush(Qt::NoBrush);
    }
    p.setPen(Qt::black);
    Text(p, QRect(x1, y, chart::kDayWidth + 1, chart::kRowHeight), QString(QLatin1Char(DayLetter(prop.ChangeDay, i))),
         -1, 3);
  }
}

void ChartPainter::PaintWeekC(QPainter& p, const Prop_Rec& prop, int k) const {
  using namespace chart;
  const Status_Rec& w = prop.Weeks[static_cast<size_t>(k)];
  const int y = kRowHeight * k;
  const int y2 = y + kRowHeight;
  const bool free = w.DayMask == 0;
  const bool whole = w.DayMask == kWholeWeek;

  p.setFont(normal_);
  Cell(p, kWeekNoX1, y, kWeekNoX2, y2, kWeekNoFill);
  p.setPen(Qt::black);
  Text(p, QRect(QPoint(kWeekNoX1, y), QPoint(kWeekNoX2, y2)), QString::number(w.WeekNo));
  Cell(p, kDateX1, y, kDateX2, y2, kDateFill);
  p.setPen(Qt::black);
  Text(p, QRect(QPoint(kDateX1, y), QPoint(kDateX2, y2)), ToQ(FormatDateTime("dd mmm yyyy", w.WeekDate)), 10);
  Cell(p, kCostX1, y, kCostX2, y2, BandFill(w.RateBand));
  p.setPen(Qt::black);
  if (w.WeekCost) Text(p, QRect(QPoint(kCostX1, y), QPoint(kBandBoxX1, y2)), Money(prop, w.WeekCost), 5);
  if (w.RateBand) BandBox(p, kBandBoxX1, y, w.RateBand);

  p.setFont(normal_);
  if (free) {
    Cell(p, kOccX1, y, kOccX2, y2, kFree);
  } else if (whole) {
    Cell(p, kOccX1, y, kOccX2, y2, StatusFill(w.DayEffStatus[0]));
    p.setPen(Qt::black);
    Text(p, QRect(QPoint(kOccX1, y), QPoint(kOccX2, y2)), QString::fromLatin1(WholeWeekText(w)));
  } else {
    Cell(p, kOccX1, y, kOccX2, y2, kFree);
    PaintDayCells(p, prop, k, kOccX1, y);
  }

  const Rgb namesFill = free ? kFree : (whole || w.DayMask == 127) ? kFullComment : kPartLet;
  Cell(p, kNamesX1, y, kNamesX2, y2, namesFill);
  p.setFont(normal_);
  p.setPen(Qt::black);
  const std::string names = w.WeekNames + "  " + w.RateComment;
  Text(p, QRect(QPoint(kNamesX1, y), QPoint(kNamesX2, y2)), ToQ(names), 8);

  if (free) {
    Cell(p, kMarkX1, y, kMarkX2, y2, kFree);
  } else {
    const int markStatus = whole ? (w.DayStatus[0] & 0x7F) : PartWeekStatus(w);
    Cell(p, kMarkX1, y, kMarkX2, y2, StatusFill(whole ? w.DayEffStatus[0] : markStatus));
    p.setPen(Qt::black);
    Text(p, QRect(QPoint(kMarkX1, y), QPoint(kMarkX2, y2)), QString(QLatin1Char(StatusMark(markStatus))));
  }

  if (prop.FuelChg) {
    Cell(p, kFuelX1, y, kFuelX2, y2, FuelFill(w.FuelBand));
    p.setFont(fuel_);
    p.setPen(Qt::black);
    if (w.WeekFuel) Text(p, QRect(QPoint(kFuelX1, y), QPoint(kFuelX2, y2)), Money(prop, w.WeekFuel));
  }
  if (w.SpecialMark) Dot(p, kDotX1, y + 5);
}

void ChartPainter::PaintPropertyRows(QPainter& p, int n, const QRect& area) const {
  const Prop_Rec& prop = s_.Prop(n);
  const int count = static_cast<int>(prop.Weeks.size());
  const int first = std::max(0, area.top() / chart::kRowHeight);
  const int last = std::min(count - 1, area.bottom() / chart::kRowHeight);
  for (int k = first; k <= last; ++k) PaintWeekC(p, prop, k);
}

void ChartPainter::PaintWeekM(QPainter& p, const Prop_Rec& prop, int n, int k) const {
  using namespace chart;
  const Status_Rec& w = prop.Weeks[static_cast<size_t>(k)];
  const int x = kWeekWidth * k;
  const int y = kPropertyHeight * (n - 1);
  const bool free = w.DayMask == 0;
  const bool whole = w.DayMask == kWholeWeek;

  p.setFont(normal_);
  Cell(p, x, y, x + kWeekWidth, y + kRowHeight, free ? kFree : whole ? StatusFill(w.DayEffStatus[0]) : kPartLet);
  p.setPen(Qt::black);
  if (w.WeekCost) Text(p, QRect(x, y, kBandBoxOffsetM, kRowHeight), Money(prop, w.WeekCost), 7);
  if (w.RateBand) BandBox(p, x + kBandBoxOffsetM, y, w.RateBand);

  const int yl = y + kRowHeight;
  p.setFont(normal_);
  if (free) {
    Cell(p, x, yl, x + kWeekWidth, yl + kRowHeight, kFree);
    p.setPen(Qt::black);
    Text(p, QRect(x, yl, kWeekWidth, kRowHeight), ToQ(w.RateComment));
  } else if (whole) {
    Cell(p, x, yl, x + kWeekWidth, yl + kRowHeight, StatusFill(w.DayEffStatus[0]));
    p.setPen(Qt::black);
    Text(p, QRect(x, yl, kWeekWidth, kRowHeight), ToQ(w.WeekNames));
  } else {
    Cell(p, x, yl, x + kWeekWidth, yl + kRowHeight, kFree);
    PaintDayCells(p, prop, k, x, yl);
  }
  if (w.SpecialMark) Dot(p, x, kPropertyHeight * n - 15);
}

void ChartPainter::PaintAllProperties(QPainter& p, const QRect& area) const {
  using namespace chart;
  const int firstN = std::max(1, area.top() / kPropertyHeight + 1);
  const int lastN = std::min(s_.NumProps(), area.bottom() / kPropertyHeight + 1);
  for (int n = firstN; n <= lastN; ++n) {
    const Prop_Rec& prop = s_.Prop(n);
    const int count = static_cast<int>(prop.Weeks.size());
    const int firstK = std::max(0, area.left() / kWeekWidth);
    const int lastK = std::min(count - 1, area.right() / kWeekWidth);
    for (int k = firstK; k <= lastK; ++k) PaintWeekM(p, prop, n, k);
    // The lines that tell one property's pair of rows from the next.
    const int top = kPropertyHeight * n - kPropertyHeight;
    const int bottom = kPropertyHeight * n - 1;
    const bool odd = n % 2 == 1;
    p.setPen(Colour(odd ? kBlue : kBlack));
    p.drawLine(area.left(), top, area.right(), top);
    p.setPen(Colour(odd ? kBlack : kBlue));
    p.drawLine(area.left(), bottom, area.right(), bottom);
  }
}

void ChartPainter::PaintHeaderStrip(QPainter& p, const ChartCalendar& cal, const QRect& area) const {
  using namespace chart;
  if (s_.NumProps() < 1) return;
  const TStArray& weeks = s_.Prop(1).Weeks;
  const int firstK = std::max(0, area.left() / kWeekWidth);
  const int lastK = std::min(static_cast<int>(weeks.size()) - 1, area.right() / kWeekWidth);
  p.setFont(bold_);
  for (int k = firstK; k <= lastK; ++k) {
    const int x = kWeekWidth * k;
    const TDateTime date = weeks[static_cast<size_t>(k)].WeekDate;
    const bool second = k >= cal.W0;
    const QString number = QString::number(second ? k + 1 - cal.W0 : k + 1) + QStringLiteral("  ") +
                           QString::number(s_.SeasonYear[second ? 1 : 0]);
    const QString texts[3] = {number, ToQ(FormatDateTime("ddd", date)), ToQ(FormatDateTime("dd mmm", date))};
    for (int row = 0; row < 3; ++row) {
      const int y = (kHeaderCell - 1) * row;
      Cell(p, x, y, x + kWeekWidth, y + kHeaderCell, kHeaderFill);
      p.setPen(Qt::black);
      Text(p, QRect(x, y, kWeekWidth, kHeaderCell), texts[row]);
    }
  }
}

void ChartPainter::PaintPropertyColumn(QPainter& p, const QRect& area) const {
  using namespace chart;
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const int firstN = std::max(1, area.top() / kPropertyHeight + 1);
  const int lastN = std::min(s_.NumProps(), area.bottom() / kPropertyHeight + 1);
  const int day1 = s_.NumProps() >= 1 ? s_.Prop(1).ChangeDay : 7;
  for (int n = firstN; n <= lastN; ++n) {
    const Prop_Rec& prop = s_.Prop(n);
    const int y = kPropertyHeight * (n - 1);
    const bool otherDay = prop.ChangeDay != day1;
    Cell(p, 0, y, kPropertyColumn, y + kPropertyHeight, otherDay ? kPropertyCellOtherDay : kPropertyCell);

    p.setFont(normal_);
    p.setPen(Colour(kPropertyName));
    const QFontMetrics fm(normal_);
    const auto [line1, line2] = SplitPropertyName(
        prop.PropName, [&fm](const std::string& t) { return fm.horizontalAdvance(ToQ(t)); }, kPropertyColumn);
    if (line2.empty()) {
      Text(p, QRect(0, y, kPropertyColumn, kPropertyHeight), ToQ(line1), -1, 10);
    } else {
      Text(p, QRect(0, y, kPropertyColumn, kPropertyHeight), ToQ(line1), -1, 3);
      Text(p, QRect(0, y, kPropertyColumn, kPropertyHeight), ToQ(line2), -1, 17);
    }
    p.setFont(small_);
    p.setPen(Qt::black);
    p.drawText(QRect(2, y + 1, 30, 12), Qt::AlignLeft | Qt::AlignTop, QString::number(n));
    if (n > 1 && otherDay && prop.ChangeDay >= 1 && prop.ChangeDay <= 7)
      p.drawText(QRect(2, y + kPropertyHeight - 13, 30, 12), Qt::AlignLeft | Qt::AlignBottom,
                 QString::fromLatin1(kDays[prop.ChangeDay - 1]));
    if (prop.Owner && s_.ownerSurname) {
      p.setPen(Colour(kOwnerName));
      p.drawText(QRect(kPropertyColumn / 2, y + kPropertyHeight - 14, kPropertyColumn / 2 - 2, 13),
                 Qt::AlignRight | Qt::AlignBottom, ToQ(s_.ownerSurname(prop.Owner)));
    }
    p.setPen(Colour(kBlue));
    const int line = n % 2 == 1 ? y : y + kPropertyHeight - 1;
    p.drawLine(0, line, kPropertyColumn, line);
  }
}

void ChartPainter::PaintColumnHeading(QPainter& p) const {
  p.fillRect(QRect(0, 0, chart::kPropertyColumn, chart::kHeaderHeight), Colour(chart::kHeaderFill));
  p.setFont(heading_);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, chart::kPropertyColumn, chart::kHeaderHeight), Qt::AlignCenter, QStringLiteral("Property"));
}

}  // namespace tb
