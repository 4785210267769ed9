#pragma once
// A print canvas that records what is drawn. Text is 5 pixels per point per
// character wide and 10 pixels per point high, so widths are easy to work out.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PrintCanvas.h"

namespace tb::test {

class RecordingCanvas : public PrintCanvas {
 public:
  struct Op {
    // Every member has its default below; a constructor of our own spares the list
    // from zeroing each new operation's bytes first.
    Op() {}
    // "begin", "page", "end", "abort", "text", "fill", "frame", "line", "picture", ...:
    // always a literal, so a view of it is enough.
    std::string_view kind;
    std::string text;
    PixelPoint at, to;
    PixelRect rect;
    std::optional<PixelRect> clip;
    int pen = 0;
    Rgb colour;
    PrintFont font;
  };

  RecordingCanvas(int dpi = 600, int portraitWidth = 4800, int portraitHeight = 6800)
      : dpiX(dpi), dpiY(dpi), width_(portraitWidth), height_(portraitHeight) {}
  // A canvas the code under test owns shows the test what it recorded as it goes.
  ~RecordingCanvas() override {
    if (onDestroy) onDestroy(*this);
  }
  std::function<void(const RecordingCanvas&)> onDestroy;

  bool Busy() const override { return busy; }
  bool Begin(const std::string& title, bool isLandscape) override {
    landscape = isLandscape;
    Record("begin").text = title;
    return !cancel;
  }
  void NewPage() override { Record("page"); }
  void End() override { Record("end"); }
  void Abort() override { Record("abort"); }

  int PageWidth() const override { return landscape ? height_ : width_; }
  int PageHeight() const override { return landscape ? width_ : height_; }
  int DpiX() const override { return dpiX; }
  int DpiY() const override { return dpiY; }

  void SetFont(const PrintFont& f) override { font_ = f; }
  const PrintFont& Font() const override { return font_; }
  int TextWidth(const std::string& text) const override {
    return static_cast<int>(text.size()) * font_.pointSize * 5;
  }
  int TextHeight(const std::string&) const override { return font_.pointSize * 10; }

  void DrawText(int x, int y, const std::string& text, std::optional<PixelRect> clip, Rgb colour) override {
    Op& op = Record("text");
    op.text = text;
    op.at = {x, y};
    op.clip = clip;
    op.colour = colour;
  }
  void FillRect(const PixelRect& rect, Rgb colour) override { Shape("fill", rect, 0, colour); }
  void FrameRect(const PixelRect& rect, int pen, Rgb colour) override { Shape("frame", rect, pen, colour); }
  void Line(PixelPoint from, PixelPoint to, int pen, Rgb colour) override {
    Op& op = Record("line");
    op.at = from;
    op.to = to;
    op.pen = pen;
    op.colour = colour;
  }
  void FillPolygon(const std::vector<PixelPoint>&, Rgb colour) override { Shape("polygon", {}, 0, colour); }
  void FillEllipse(const PixelRect& bounds, Rgb colour) override { Shape("ellipse", bounds, 0, colour); }
  void DrawPicture(const Picture& picture, const PixelRect& target) override {
    Op& op = Record("picture");
    op.text = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    op.rect = target;
  }

  // The recorded operations of one kind, in order.
  std::vector<Op> Of(std::string_view kind) const {
    std::vector<Op> out;
    for (const Op& op : ops)
      if (op.kind == kind) out.push_back(op);
    return out;
  }

  std::vector<Op> ops;
  int dpiX, dpiY;
  bool busy = false;
  bool cancel = false;
  bool landscape = false;

 private:
  // Made in place, never copied or moved: a report records tens of thousands of them.
  Op& Record(const char* kind) {
    Op& op = ops.emplace_back();
    op.kind = kind;
    op.font = font_;
    return op;
  }
  void Shape(const char* kind, const PixelRect& rect, int pen, Rgb colour) {
    Op& op = Record(kind);
    op.rect = rect;
    op.pen = pen;
    op.colour = colour;
  }
  int width_, height_;
  PrintFont font_;
};

}  // namespace tb::test
