#include "platform/forms/QtPrintCanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageSize>
#include <QPolygon>
#include <QPrintDialog>
#include <cstring>

#include "platform/forms/QtText.h"

namespace tb {

namespace {

QColor ToColour(Rgb c) { return QColor(c.r, c.g, c.b); }

QRect ToRect(const PixelRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

}  // namespace

QString PrintFontFamily(const std::string& family) {
  // Liberation has the widths of the fonts the printed layouts were measured with, so
  // a date fills its cell as it should; without it, DejaVu.
  static const bool liberation = QFontDatabase::families().contains(QStringLiteral("Liberation Sans"));
  if (family == "Arial" || family == "MS Sans Serif")
    return liberation ? QStringLiteral("Liberation Sans") : QStringLiteral("DejaVu Sans");
  if (family == "Times New Roman") return liberation ? QStringLiteral("Liberation Serif") : QStringLiteral("DejaVu Serif");
  return ToQ(family);
}

Picture PictureFromImage(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  Picture picture;
  if (argb.isNull()) return picture;
  picture.width = argb.width();
  picture.height = argb.height();
  picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
  for (int row = 0; row < picture.height; ++row) {
    std::memcpy(picture.pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(picture.width),
                argb.constScanLine(row), static_cast<size_t>(picture.width) * sizeof(std::uint32_t));
  }
  return picture;
}

QtPrintCanvas::QtPrintCanvas(QWidget* dialogParent, std::shared_ptr<QPrinter> printer)
    : printer_(std::move(printer)), dialogParent_(dialogParent) {
  SetFont(font_);
}

QtPrintCanvas::QtPrintCanvas(const std::string& pdfPath)
    : printer_(std::make_shared<QPrinter>(QPrinter::HighResolution)), toFile_(true) {
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setOutputFileName(QString::fromStdString(pdfPath));
  printer_->setPageSize(QPageSize(QPageSize::A4));
  SetFont(font_);
}

QtPrintCanvas::~QtPrintCanvas() {
  if (painter_.isActive()) painter_.end();
}

// The printer set-up is shared by the windows of a run: a job another canvas has
// running on it makes it busy too.
bool QtPrintCanvas::Busy() const { return painter_.isActive() || printer_->printerState() == QPrinter::Active; }

bool QtPrintCanvas::Begin(const std::string& title, bool landscape) {
  if (painter_.isActive()) return false;
  printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (!toFile_) {
    QPrintDialog dialog(printer_.get(), dialogParent_);
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  printer_->setDocName(ToQ(title));
  if (!painter_.begin(printer_.get())) return false;
  painter_.setFont(qfont_);
  return true;
}

void QtPrintCanvas::NewPage() {
  if (painter_.isActive()) printer_->newPage();
}

void QtPrintCanvas::End() {
  if (painter_.isActive()) painter_.end();
}

void QtPrintCanvas::Abort() {
  if (!painter_.isActive()) return;
  printer_->abort();
  painter_.end();
}

int QtPrintCanvas::PageWidth() const { return printer_->width(); }
int QtPrintCanvas::PageHeight() const { return printer_->height(); }
int QtPrintCanvas::DpiX() const { return printer_->logicalDpiX(); }
int QtPrintCanvas::DpiY() const { return printer_->logicalDpiY(); }

void QtPrintCanvas::SetFont(const PrintFont& font) {
  font_ = font;
  qfont_ = QFont(PrintFontFamily(font.family));
  qfont_.setPointSize(std::max(1, font.pointSize));
  qfont_.setBold(font.bold);
  if (painter_.isActive()) painter_.setFont(qfont_);
}

int QtPrintCanvas::TextWidth(const std::string& text) const {
  return QFontMetrics(qfont_, printer_.get()).horizontalAdvance(ToQ(text));
}

int QtPrintCanvas::TextHeight(const std::string&) const { return QFontMetrics(qfont_, printer_.get()).height(); }

void QtPrintCanvas::DrawText(int x, int y, const std::string& text, std::optional<PixelRect> clip, Rgb colour) {
  if (!painter_.isActive()) return;
  painter_.save();
  if (clip) painter_.setClipRect(ToRect(*clip));
  painter_.setPen(ToColour(colour));
  painter_.drawText(x, y + QFontMetrics(qfont_, printer_.get()).ascent(), ToQ(text));
  painter_.restore();
}

void QtPrintCanvas::FillRect(const PixelRect& rect, Rgb colour) {
  if (painter_.isActive() && rect.Width() > 0 && rect.Height() > 0) painter_.fillRect(ToRect(rect), ToColour(colour));
}

void QtPrintCanvas::FrameRect(const PixelRect& rect, int penWidth, Rgb colour) {
  const int w = std::min({std::max(penWidth, 1), rect.Width(), rect.Height()});
  if (w <= 0) return;
  // Four bands inside the rectangle, so the frame's outer edge is exactly rect.
  FillRect({rect.left, rect.top, rect.right, rect.top + w}, colour);
  FillRect({rect.left, rect.bottom - w, rect.right, rect.bottom}, colour);
  FillRect({rect.left, rect.top + w, rect.left + w, rect.bottom - w}, colour);
  FillRect({rect.right - w, rect.top + w, rect.right, rect.bottom - w}, colour);
}

void QtPrintCanvas::Line(PixelPoint from, PixelPoint to, int penWidth, Rgb colour) {
  if (!painter_.isActive()) return;
  painter_.save();
  painter_.setPen(QPen(ToColour(colour), std::max(penWidth, 1), Qt::SolidLine, Qt::FlatCap));
  painter_.drawLine(from.x, from.y, to.x, to.y);
  painter_.restore();
}

void QtPrintCanvas::FillPolygon(const std::vector<PixelPoint>& points, Rgb colour) {
  if (!painter_.isActive() || points.size() < 3) return;
  QPolygon polygon;
  for (const PixelPoint& p : points) polygon << QPoint(p.x, p.y);
  painter_.save();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToColour(colour));
  painter_.drawPolygon(polygon);
  painter_.restore();
}

void QtPrintCanvas::FillEllipse(const PixelRect& bounds, Rgb colour) {
  if (!painter_.isActive()) return;
  painter_.save();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToColour(colour));
  painter_.drawEllipse(ToRect(bounds));
  painter_.restore();
}

void QtPrintCanvas::DrawPicture(const Picture& picture, const PixelRect& target) {
  if (!painter_.isActive() || !picture.Valid() || target.Width() <= 0 || target.Height() <= 0) return;
  // Borrows the pixels: the image lives only for this call.
  const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                     picture.width * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_ARGB32);
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform);
  painter_.drawImage(ToRect(target), image);
  painter_.restore();
}

}  // namespace tb
