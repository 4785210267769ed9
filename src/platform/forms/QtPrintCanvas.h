#pragma once
// The print canvas on a QPrinter: a real printer chosen in the print dialog, or a PDF
// file written without asking anything.

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <memory>
#include <string>

#include "platform/PrintCanvas.h"

class QWidget;

namespace tb {

class QtPrintCanvas : public PrintCanvas {
 public:
  // A real printer, with the set-up the run keeps; Begin shows the print dialog over
  // dialogParent, and what is chosen there stays for the next job.
  QtPrintCanvas(QWidget* dialogParent, std::shared_ptr<QPrinter> printer);
  // A PDF file at pdfPath (a native path), A4.
  explicit QtPrintCanvas(const std::string& pdfPath);
  ~QtPrintCanvas() override;
  QtPrintCanvas(const QtPrintCanvas&) = delete;
  QtPrintCanvas& operator=(const QtPrintCanvas&) = delete;

  bool Busy() const override;
  bool Begin(const std::string& title, bool landscape) override;
  void NewPage() override;
  void End() override;
  void Abort() override;

  int PageWidth() const override;
  int PageHeight() const override;
  int DpiX() const override;
  int DpiY() const override;

  void SetFont(const PrintFont& font) override;
  const PrintFont& Font() const override { return font_; }
  int TextWidth(const std::string& text) const override;
  int TextHeight(const std::string& text) const override;

  void DrawText(int x, int y, const std::string& text, std::optional<PixelRect> clip = std::nullopt,
                Rgb colour = kBlack) override;
  void FillRect(const PixelRect& rect, Rgb colour) override;
  void FrameRect(const PixelRect& rect, int penWidth, Rgb colour) override;
  void Line(PixelPoint from, PixelPoint to, int penWidth, Rgb colour) override;
  void FillPolygon(const std::vector<PixelPoint>& points, Rgb colour) override;
  void FillEllipse(const PixelRect& bounds, Rgb colour) override;
  void DrawPicture(const Picture& picture, const PixelRect& target) override;

 private:
  std::shared_ptr<QPrinter> printer_;
  QPainter painter_;
  QWidget* dialogParent_ = nullptr;
  bool toFile_ = false;
  PrintFont font_;
  QFont qfont_;
};

// The fonts the reports name, as this system has them.
QString PrintFontFamily(const std::string& family);

// A captured window as the engine prints it.
Picture PictureFromImage(const QImage& image);

}  // namespace tb
