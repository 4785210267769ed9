#include "app/forms/ChartArea.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>
#include <utility>

#include "platform/forms/QtText.h"
#include "store/Session.h"

namespace tb {

namespace {

constexpr int kHintMs = 8000;

// A strip beside the canvas painted by a function, following one scroll bar.
class Margin : public QWidget {
 public:
  Margin(QWidget* parent, std::function<void(QPainter&, const QRect&)> paint)
      : QWidget(parent), paint_(std::move(paint)) {}
  std::function<void(QMouseEvent*)> onPress;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    paint_(p, e->rect());
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (onPress) onPress(e);
  }

 private:
  std::function<void(QPainter&, const QRect&)> paint_;
};

}  // namespace

ChartArea::ChartArea(Session& s, QWidget* parent) : QAbstractScrollArea(parent), s_(s), painter_(s) {
  setObjectName(QStringLiteral("chartArea"));
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(AllProperties() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(AllProperties() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);

  if (AllProperties()) {
    auto* strip = new Margin(this, [this](QPainter& p, const QRect& r) {
      const int dx = horizontalScrollBar()->value();
      p.fillRect(r, palette().window());
      p.translate(-dx, 0);
      painter_.PaintHeaderStrip(p, calendar_, r.translated(dx, 0));
    });
    headerStrip = strip;
    auto* column = new Margin(this, [this](QPainter& p, const QRect& r) {
      const int dy = verticalScrollBar()->value();
      p.fillRect(r, palette().window());
      p.translate(0, -dy);
      painter_.PaintPropertyColumn(p, r.translated(0, dy));
    });
    column->setToolTip(QString::fromLatin1(kPropertyColumnHint));
    column->onPress = [this](QMouseEvent* e) {
      const int y = e->position().toPoint().y() + verticalScrollBar()->value();
      const int n = y / chart::kPropertyHeight + 1;
      if (n < 1 || n > s_.NumProps()) return;
      const int yIn = y - chart::kPropertyHeight * (n - 1);
      if (e->button() == Qt::RightButton) {
        if (onPropertyMenu) onPropertyMenu(n, e->globalPosition().toPoint());
      } else if (e->button() == Qt::LeftButton && e->position().x() > chart::kPropertyColumn / 2 &&
                 yIn >= chart::kPropertyHeight - 14 && s_.Prop(n).Owner != 0) {
        if (onOwnerClicked) onOwnerClicked(n);
      }
    };
    propertyColumn = column;
    corner = new Margin(this, [this](QPainter& p, const QRect&) { painter_.PaintColumnHeading(p); });
  } else {
    const Prop_Rec& prop = s_.Prop(s_.CurrentProperty);
    headerLine = new QLabel(QString::fromLatin1(chart::kHeaderC) +
                                (prop.FuelChg ? QString::fromLatin1(chart::kHeaderCFuel) : QString()),
                            this);
    headerLine->setObjectName(QStringLiteral("chartHeader"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(chart::kFontSmall - 1);
    headerLine->setFont(small);
  }
  LayoutMargins();
}

bool ChartArea::AllProperties() const { return s_.common.AllPropertiesView(); }

void ChartArea::LayoutMargins() {
  if (AllProperties()) {
    setViewportMargins(chart::kPropertyColumn, chart::kHeaderHeight, 0, 0);
    const QRect vp = viewport()->geometry();
    headerStrip->setGeometry(vp.left(), vp.top() - chart::kHeaderHeight, vp.width(), chart::kHeaderHeight);
    propertyColumn->setGeometry(vp.left() - chart::kPropertyColumn, vp.top(), chart::kPropertyColumn, vp.height());
    corner->setGeometry(vp.left() - chart::kPropertyColumn, vp.top() - chart::kHeaderHeight, chart::kPropertyColumn,
                        chart::kHeaderHeight);
  } else {
    const int h = headerLine->sizeHint().height();
    setViewportMargins(0, h, 0, 0);
    const QRect vp = viewport()->geometry();
    headerLine->setGeometry(vp.left(), vp.top() - h, vp.width(), h);
  }
}

void ChartArea::RebuildCalendar() {
  calendar_ = BuildWeekCalendar(s_);
  canvas_ = ChartCanvasSize(s_, calendar_);
  UpdateScrollBars();
  viewport()->update();
  if (headerStrip) headerStrip->update();
  if (propertyColumn) propertyColumn->update();
}

void ChartArea::UpdateScrollBars() {
  const QSize vp = viewport()->size();
  verticalScrollBar()->setRange(0, std::max(0, canvas_.height - vp.height()));
  verticalScrollBar()->setPageStep(vp.height());
  verticalScrollBar()->setSingleStep(chart::kRowHeight);
  horizontalScrollBar()->setRange(0, std::max(0, canvas_.width - vp.width()));
  horizontalScrollBar()->setPageStep(vp.width());
  horizontalScrollBar()->setSingleStep(chart::kWeekWidth);
}

void ChartArea::ScrollToToday() {
  const int pos = TodayScrollPosition(s_, calendar_);
  if (AllProperties()) horizontalScrollBar()->setValue(pos);
  else verticalScrollBar()->setValue(pos);
}

void ChartArea::ScrollToStart() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

QPoint ChartArea::CanvasPoint(const QPoint& viewportPoint) const {
  return viewportPoint + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QImage ChartArea::Render(const QRect& canvasArea) const {
  QImage image(canvasArea.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.translate(-canvasArea.topLeft());
  if (AllProperties()) painter_.PaintAllProperties(p, canvasArea);
  else painter_.PaintPropertyRows(p, s_.CurrentProperty, canvasArea);
  return image;
}

void ChartArea::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  p.fillRect(event->rect(), Qt::white);
  const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
  p.translate(-offset);
  const QRect area = event->rect().translated(offset);
  if (AllProperties()) painter_.PaintAllProperties(p, area);
  else if (s_.CurrentProperty >= 1) painter_.PaintPropertyRows(p, s_.CurrentProperty, area);
  if (onFirstPaint) std::exchange(onFirstPaint, nullptr)();
}

void ChartArea::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  LayoutMargins();
  UpdateScrollBars();
}

void ChartArea::scrollContentsBy(int dx, int dy) {
  viewport()->scroll(dx, dy);
  if (headerStrip && dx) headerStrip->scroll(dx, 0);
  if (propertyColumn && dy) propertyColumn->scroll(0, dy);
}

void ChartArea::ClickAt(const QPoint& viewportPoint) {
  const QPoint c = CanvasPoint(viewportPoint);
  if (c.x() >= canvas_.width || c.y() >= canvas_.height) return;
  const OpenBookingRequest request = ChartClick(s_, c.x(), c.y());
  if (request.open && onBookingRequested) onBookingRequested(request);
}

void ChartArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  QToolTip::hideText();
  ClickAt(event->position().toPoint());
}

QString ChartArea::HintAt(const QPoint& viewportPoint) const {
  const QPoint c = CanvasPoint(viewportPoint);
  const ChartPlace place = LocatePoint(s_, c.x(), c.y());
  return place.property ? MessageToQ(ChartHint(s_, place, c.x())) : QString();
}

// The hint is cleared when the date under the pointer changes and shown when the
// pointer moves again on the same date.
void ChartArea::ShowHintAt(const QPoint& viewportPoint, const QPoint& globalPoint) {
  const QPoint c = CanvasPoint(viewportPoint);
  const ChartPlace place = LocatePoint(s_, c.x(), c.y());
  const HintKey key = place.property ? HintKeyAt(s_, place) : HintKey{};
  if (!(key == hintKey_)) {
    hintKey_ = key;
    hintShown_ = false;
    QToolTip::hideText();
    return;
  }
  if (hintShown_ || !place.property) return;
  const QString text = MessageToQ(ChartHint(s_, place, c.x()));
  hintShown_ = true;
  if (!text.isEmpty()) QToolTip::showText(globalPoint, text, viewport(), QRect(), kHintMs);
}

void ChartArea::mouseMoveEvent(QMouseEvent* event) {
  ShowHintAt(event->position().toPoint(), event->globalPosition().toPoint());
}

void ChartArea::keyPressEvent(QKeyEvent* event) {
  QScrollBar* v = verticalScrollBar();
  QScrollBar* h = horizontalScrollBar();
  const int page = viewport()->height() / chart::kPropertyHeight * chart::kPropertyHeight;
  switch (event->key()) {
    case Qt::Key_PageUp: v->setValue(v->value() - page); break;
    case Qt::Key_PageDown: v->setValue(v->value() + page); break;
    case Qt::Key_Up: v->setValue(v->value() - chart::kRowHeight); break;
    case Qt::Key_Down: v->setValue(v->value() + chart::kRowHeight); break;
    case Qt::Key_Left:
      if (AllProperties()) h->setValue(h->value() - chart::kWeekWidth);
      break;
    case Qt::Key_Right:
      if (AllProperties()) h->setValue(h->value() + chart::kWeekWidth);
      break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

void ChartArea::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  const int lines = QApplication::wheelScrollLines() * notches;
  if (event->modifiers() & Qt::ShiftModifier) {
    QScrollBar* h = horizontalScrollBar();
    h->setValue(h->value() - lines * h->singleStep());
  } else {
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() - lines * v->singleStep());
  }
  event->accept();
}

}  // namespace tb
