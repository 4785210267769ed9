#pragma once
// The printer as the engine sees it: one print job of pages drawn in device pixels.
// The reports lay their pages out through this; the program's implementation draws
// on a real printer or into a PDF file, tests record what was drawn.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Rgb.h"

namespace tb {

// Left and top inside, right and bottom just outside (as a window rectangle).
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
  int x = 0, y = 0;
  constexpr bool operator==(const PixelPoint&) const = default;
};

// A captured window: rows top to bottom, each pixel 0xAARRGGBB.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  bool Valid() const {
    return width > 0 && height > 0 && pixels.size() >= static_cast<size_t>(width) * static_cast<size_t>(height);
  }
};

// Family names as the reports name them ("Arial", "Times New Roman"); the canvas
// maps them to the fonts it has.
struct PrintFont {
  std::string family = "Arial";
  int pointSize = 10;
  bool bold = false;
  bool operator==(const PrintFont&) const = default;
};

class PrintCanvas {
 public:
  virtual ~PrintCanvas() = default;

  // A job is running on this printer (ours or an earlier one not yet ended).
  virtual bool Busy() const = 0;
  // Sets the orientation, lets the user choose the printer where there is one, and
  // starts the document on its first page. False when the user cancelled or the
  // printer cannot be opened; nothing is printed then.
  virtual bool Begin(const std::string& title, bool landscape) = 0;
  virtual void NewPage() = 0;
  virtual void End() = 0;    // finishes the document and sends it
  virtual void Abort() = 0;  // throws the document away

  // The printable area of a page, in device pixels, and the device resolution.
  // Valid between Begin and End.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;

  virtual void SetFont(const PrintFont& font) = 0;
  virtual const PrintFont& Font() const = 0;
  virtual int TextWidth(const std::string& text) const = 0;
  virtual int TextHeight(const std::string& text) const = 0;

  // Text in the current font with its top-left at (x, y), transparent background,
  // cut off outside clip when given.
  virtual void DrawText(int x, int y, const std::string& text, std::optional<PixelRect> clip = std::nullopt,
                        Rgb colour = kBlack) = 0;
  virtual void FillRect(const PixelRect& rect, Rgb colour) = 0;
  // A border penWidth pixels thick just inside rect; 0 or less draws one pixel.
  virtual void FrameRect(const PixelRect& rect, int penWidth, Rgb colour) = 0;
  // A line penWidth pixels thick centred on the points; 0 or less draws one pixel.
  virtual void Line(PixelPoint from, PixelPoint to, int penWidth, Rgb colour) = 0;
  // Shapes the status report marks its weeks with: a changeover triangle, a disc.
  virtual void FillPolygon(const std::vector<PixelPoint>& points, Rgb colour) = 0;
  virtual void FillEllipse(const PixelRect& bounds, Rgb colour) = 0;
  // The picture stretched to fill target; an invalid picture draws nothing.
  virtual void DrawPicture(const Picture& picture, const PixelRect& target) = 0;
};

}  // namespace tb
