#pragma once
// The chart inside its scroll area: a virtual canvas painted a visible piece at a time.
// In "M" the header strip follows the horizontal position and the property column the
// vertical one; in "C" the header line stays above the rows.

#include <QAbstractScrollArea>
#include <functional>

#include "app/ChartActions.h"
#include "app/ChartModel.h"
#include "app/forms/ChartPainter.h"

class QLabel;

namespace tb {

class Session;

class ChartArea : public QAbstractScrollArea {
  Q_OBJECT
 public:
  ChartArea(Session& s, QWidget* parent = nullptr);

  // After the years on show changed: the calendar, the canvas size, the scroll ranges.
  void RebuildCalendar();
  void ScrollToToday();
  void ScrollToStart();
  const ChartCalendar& Calendar() const { return calendar_; }
  CanvasSize Canvas() const { return canvas_; }
  bool AllProperties() const;
  // The canvas point under a point of the viewport.
  QPoint CanvasPoint(const QPoint& viewportPoint) const;
  // Paints part of the canvas into an image of that size (what the window would show there).
  QImage Render(const QRect& canvasArea) const;
  // The hint that resting the pointer at a viewport point shows ("" for none).
  QString HintAt(const QPoint& viewportPoint) const;

  // A left click asked for a booking (the handle is held when request.open).
  std::function<void(const OpenBookingRequest&)> onBookingRequested;
  // "M": the property column was right-clicked, or its owner corner left-clicked.
  std::function<void(int property, const QPoint& globalPos)> onPropertyMenu;
  std::function<void(int property)> onOwnerClicked;
  // Called once, at the end of the chart's first paint.
  std::function<void()> onFirstPaint;

  QLabel* headerLine = nullptr;  // "C"
  QWidget* headerStrip = nullptr;  // "M"
  QWidget* propertyColumn = nullptr;  // "M"
  QWidget* corner = nullptr;  // "M": the "Property" heading

  void ClickAt(const QPoint& viewportPoint);
  void ShowHintAt(const QPoint& viewportPoint, const QPoint& globalPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void UpdateScrollBars();
  void LayoutMargins();
  Session& s_;
  ChartPainter painter_;
  ChartCalendar calendar_;
  CanvasSize canvas_;
  HintKey hintKey_;
  bool hintShown_ = false;
};

}  // namespace tb
