#pragma once
// Paints the chart from the week tables: only the part asked for, straight onto the
// painter, so nothing held grows with the size of the whole chart.

#include <QFont>
#include <QHash>
#include <QRect>
#include <QStaticText>
#include <QString>

#include "app/ChartModel.h"
#include "bookings/ChartStyle.h"

class QPainter;

namespace tb {

class Session;
struct Prop_Rec;

class ChartPainter {
 public:
  explicit ChartPainter(const Session& s);

  // "C": the rows of property n within `area` (canvas coordinates).
  void PaintPropertyRows(QPainter& p, int n, const QRect& area) const;
  // "M": the rows of every property within `area` (canvas coordinates).
  void PaintAllProperties(QPainter& p, const QRect& area) const;
  // "M": the header strip (x in canvas coordinates, y 0..49).
  void PaintHeaderStrip(QPainter& p, const ChartCalendar& cal, const QRect& area) const;
  // "M": the property column (y in canvas coordinates, x 0..111), and the heading above it.
  void PaintPropertyColumn(QPainter& p, const QRect& area) const;
  void PaintColumnHeading(QPainter& p) const;

  static QColor Colour(Rgb c);

 private:
  void PaintWeekC(QPainter& p, const Prop_Rec& prop, int k) const;
  void PaintWeekM(QPainter& p, const Prop_Rec& prop, int n, int k) const;
  void PaintDayCells(QPainter& p, const Prop_Rec& prop, int k, int x, int y) const;
  void Cell(QPainter& p, int x1, int y1, int x2, int y2, Rgb fill) const;
  // Centred in r, or from its left edge + offset; vertically centred, or from its top + top.
  void Text(QPainter& p, const QRect& r, const QString& text, int offset = -1, int top = -1) const;
  void BandBox(QPainter& p, int x1, int y1, int band) const;
  void Dot(QPainter& p, int x1, int y1) const;
  QString Money(const Prop_Rec& prop, int amount) const;

  const QStaticText& Laid(const QPainter& p, const QString& text) const;

  const Session& s_;
  QFont normal_, small_, fuel_, bold_, heading_;
  // Laid-out texts by font and text: the chart repeats the same few hundred texts
  // (prices, dates, names), and laying them out is most of the painting. Bounded.
  mutable QHash<QString, QStaticText> laid_;
};

}  // namespace tb
