#pragma once
// A print canvas that records what is drawn. Text is 5 pixels per point per
// character wide and 10 pixels per point high, so widths are easy to work out.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/PrintCanvas.h"

namespace tb::test {

class RecordingCanvas : public PrintCanvas {
 public:
  struct Op {
    std::string kind;  // "begin", "page", "end", "abort", "text", "fill", "frame", "line", "picture", ...
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
    Record({"begin", title});
    return !cancel;
  }
  void NewPage() override { Record({"page"}); }
  void End() override { Record({"end"}); }
  void Abort() override { Record({"abort"}); }

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
    Op op{"text", text, {x, y}};
    op.clip = clip;
    op.colour = colour;
    Record(op);
  }
  void FillRect(const PixelRect& rect, Rgb colour) override { Record({"fill", "", {}, {}, rect, {}, 0, colour}); }
  void FrameRect(const PixelRect& rect, int pen, Rgb colour) override {
    Record({"frame", "", {}, {}, rect, {}, pen, colour});
  }
  void Line(PixelPoint from, PixelPoint to, int pen, Rgb colour) override {
    Record({"line", "", from, to, {}, {}, pen, colour});
  }
  void FillPolygon(const std::vector<PixelPoint>&, Rgb colour) override {
    Record({"polygon", "", {}, {}, {}, {}, 0, colour});
  }
  void FillEllipse(const PixelRect& bounds, Rgb colour) override {
    Record({"ellipse", "", {}, {}, bounds, {}, 0, colour});
  }
  void DrawPicture(const Picture& picture, const PixelRect& target) override {
    Record({"picture", std::to_string(picture.width) + "x" + std::to_string(picture.height), {}, {}, target});
  }

  // The recorded operations of one kind, in order.
  std::vector<Op> Of(const std::string& kind) const {
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
  void Record(Op op) {
    op.font = font_;
    ops.push_back(std::move(op));
  }
  int width_, height_;
  PrintFont font_;
};

}  // namespace tb::test
