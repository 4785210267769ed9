#include "reports/ReportPrinter.h"

#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "reports/PrintPicture.h"
#include "reports/RecordingCanvas.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

struct Printer {
  explicit Printer(int dpi = 600) : canvas(dpi), printer(ts.session, canvas) {}
  // A job begun, with what it recorded so far forgotten.
  void Begin(char orientation = 'P') {
    ASSERT_TRUE(printer.BeginPrintJob(orientation, "Job"));
    canvas.ops.clear();
  }
  TestSession ts;
  RecordingCanvas canvas;
  ReportPrinter printer;
};

struct HeaderCase {
  int dpi;
  int rowHeight;     // dpi / 5, truncated
  int pageX, pageY;  // 10 mm and 1 mm, truncated
  int rightMargin;   // 10 mm, nearest
};
void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.dpi << " dpi"; }

class PageHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(PageHeader, BeginSetsStateAndPrintsTheHeaderAtTheGivenPlaces) {
  const HeaderCase c = GetParam();
  Printer p(c.dpi);
  p.canvas.dpiX = 2 * c.dpi;  // the vertical resolution is the one that counts
  ASSERT_TRUE(p.printer.BeginPrintJob('P', "Overdue Payments List"));
  EXPECT_DOUBLE_EQ(p.printer.ppmm, c.dpi / 25.4);
  EXPECT_EQ(p.printer.rowHeight, c.rowHeight);
  EXPECT_EQ(p.printer.PageNumber(), 1);
  EXPECT_EQ(p.canvas.ops.at(0).text, "Overdue Payments List");
  EXPECT_FALSE(p.canvas.landscape);

  const auto texts = p.canvas.Of("text");
  ASSERT_EQ(texts.size(), 2u);
  const PrintFont header{"Times New Roman", 8, false};
  EXPECT_EQ(texts[0].text, "Page 1");
  EXPECT_EQ(texts[0].at, (PixelPoint{c.pageX, c.pageY}));
  EXPECT_EQ(texts[0].font, header);
  const std::string printed = "Printed " + ShortDateText(p.ts.clock.Now()) + " 10:30:00";
  EXPECT_EQ(texts[1].text, printed);
  const int width = static_cast<int>(printed.size()) * 8 * 5;
  EXPECT_EQ(texts[1].at, (PixelPoint{4800 - c.rightMargin - width, c.pageY}));
  EXPECT_EQ(texts[1].font, header);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, PageHeader,
                         ::testing::Values(HeaderCase{600, 120, 236, 23, 236}, HeaderCase{300, 60, 118, 11, 118},
                                           HeaderCase{203, 40, 79, 7, 80}),
                         [](const auto& param) { return std::to_string(param.param.dpi) + "dpi"; });

TEST(ReportPrinter, NewPageCountsPagesAndRepeatsTheHeader) {
  Printer p;
  p.Begin();
  p.printer.NewPage();
  p.printer.EndPrintJob();
  ASSERT_EQ(p.canvas.ops.size(), 4u);
  EXPECT_EQ(p.canvas.ops[0].kind, "page");
  EXPECT_EQ(p.canvas.ops[1].text, "Page 2");
  EXPECT_EQ(p.canvas.ops[3].kind, "end");
  EXPECT_EQ(p.printer.PageNumber(), 2);
}

TEST(ReportPrinter, OrientationCancelAndBusyPrinter) {
  {
    Printer p;
    ASSERT_TRUE(p.printer.BeginPrintJob('L', "Wide"));
    EXPECT_TRUE(p.canvas.landscape);
  }
  {
    Printer p;
    p.canvas.cancel = true;
    EXPECT_FALSE(p.printer.BeginPrintJob('P', "Job"));
    EXPECT_TRUE(p.canvas.Of("text").empty());
  }
  {
    Printer p;
    p.canvas.busy = true;
    p.ts.dialogs.Expect("Printer in use. Close it.", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
    EXPECT_FALSE(p.printer.BeginPrintJob('P', "Job"));
    EXPECT_TRUE(p.canvas.ops.empty());  // the job was never begun
  }
}

TEST(ReportPrinter, TitleShrinksTwoPointsAtATimeUntilItFitsAndIsCentredOnTwoPointOne) {
  // A4 at 600 dpi here: 4800 wide, room 4800 - 472; text is 5 px per point per character.
  struct Case {
    size_t length;
    int points;
    int x;
  };
  const Case cases[] = {
      {5, 14, 2119},     // (4800 - 350) / 2.1 = 2119.05
      {61, 14, 252},     // 4270 just fits at 14
      {62, 12, 514},     // 4340 just too wide at 14
      {70, 12, 285},     // 4900 too wide, 4200 fits
      {100, 8, 380},     // 7000, 6000, 5000, 4000
      {1000, 4, -7238},  // never fits: stops at 4 pt, centred off the page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    Printer p;
    p.Begin();
    p.printer.PrintTitle(std::string(c.length, 'x'));
    const auto texts = p.canvas.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font, (PrintFont{"Times New Roman", c.points, true}));
    const int width = static_cast<int>(c.length) * c.points * 5;
    EXPECT_EQ(texts[0].at, (PixelPoint{c.x, 189})) << "width " << width;  // 8 mm = 188.98
  }
}

TEST(ReportPrinter, CellIsFilledFramedAndItsTextClippedToTheCell) {
  Printer p;
  p.Begin();
  p.canvas.SetFont({"Arial", 10, false});
  const Rgb grey{224, 224, 224};
  p.printer.PrintCell(1000, 2000, 500, "Rec", grey, 'C');
  const auto fill = p.canvas.Of("fill");
  const auto frame = p.canvas.Of("frame");
  const auto text = p.canvas.Of("text");
  ASSERT_EQ(fill.size(), 1u);
  ASSERT_EQ(frame.size(), 1u);
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(fill[0].rect, (PixelRect{1000, 500, 2001, 621}));
  EXPECT_EQ(fill[0].colour, grey);
  EXPECT_EQ(frame[0].rect, fill[0].rect);
  EXPECT_EQ(frame[0].pen, 2);  // 0.1 mm
  EXPECT_EQ(frame[0].colour, kBlack);
  EXPECT_EQ(text[0].clip, (PixelRect{1000, 500, 2000, 620}));
  EXPECT_EQ(text[0].at.y, 507);  // 0.3 mm below the top
  EXPECT_EQ(text[0].colour, kBlack);
}

TEST(ReportPrinter, CellTextOffsetByAlignmentAndSpareRoom) {
  // 10 pt: 50 px a character; 1 mm = 23.6 px; the cell starts at 1000.
  struct Case {
    int x2;
    const char* text;
    char align;
    int offset;
  };
  const std::string twenty(20, 'w');  // 1000 px
  const Case cases[] = {
      {2000, "abc", 'L', 23},              // 1 mm, truncated
      {2000, "abc", 'X', 23},              // unknown alignment reads as left
      {2000, "abc", 'C', 425},             // spare 850
      {2001, "abc", 'C', 426},             // spare 851: 425.5 to even
      {1999, "abc", 'C', 424},             // spare 849: 424.5 to even
      {2003, twenty.c_str(), 'C', 2},      // spare 3: 1.5 to even
      {2002, twenty.c_str(), 'C', 7},      // spare 2: a third of a millimetre
      {1900, twenty.c_str(), 'C', 7},      // wider than the cell
      {2000, "abc", 'R', 827},             // spare 850 less 1 mm
      {2030, twenty.c_str(), 'R', 7},      // spare 30
      {2003, twenty.c_str(), 'R', 0},      // spare 3: never left of the cell
      {2002, twenty.c_str(), 'R', 3},      // spare 2: 3 pixels
      {1900, twenty.c_str(), 'R', 3},      // wider than the cell
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.align) + " x2=" + std::to_string(c.x2));
    Printer p;
    p.Begin();
    p.canvas.SetFont({"Arial", 10, false});
    p.printer.PrintCell(1000, c.x2, 500, c.text, kWhite, c.align);
    const auto text = p.canvas.Of("text");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].at.x, 1000 + c.offset);
  }
}

TEST(ReportPrinter, RuleIsAThirdOfAMillimetreAndMovesDownHalfItsWidth) {
  struct Case {
    int dpi;
    int pen;
    int advance;
  };
  const Case cases[] = {
      {600, 8, 4},  // 7.80 px
      {300, 4, 2},  // 3.90 px
      {96, 1, 0},   // 1.25 px; half a pixel to even
      {231, 3, 2},  // 3.00 px; 1.5 to even
      {385, 5, 2},  // 5.00 px; 2.5 to even
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    Printer p(c.dpi);
    p.Begin();
    int y = 900;
    p.printer.PrintRule(100, 700, y);
    const auto lines = p.canvas.Of("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at, (PixelPoint{100, 900}));
    EXPECT_EQ(lines[0].to, (PixelPoint{700, 900}));
    EXPECT_EQ(lines[0].pen, c.pen);
    EXPECT_EQ(lines[0].colour, kBlack);
    EXPECT_EQ(y, 900 + c.advance);
  }
}

TEST(PrintPicture, OrientationScaleFitAndFrame) {
  // 600 dpi, A4-like page 4800 x 6800; margins 236, title 120 high (12 pt) and 47 above
  // the picture, so the picture's area starts at 403 from the top.
  struct Case {
    int width, height;
    bool landscape;
    PixelRect target;
  };
  const Case cases[] = {
      // 6.25 times the screen size, fits: 1250 x 625, centred in 6328 x 4161.
      {200, 100, true, {2775, 2171, 4025, 2796}},
      // 6250 x 7500 reduced to the page's 4328 wide: 5193.6 high.
      {1000, 1200, false, {236, 886, 4564, 6080}},
      // Square counts as wide; 6250 x 6250 reduced to the 4161 high area.
      {1000, 1000, true, {1319, 403, 5480, 4564}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    Printer p;
    Picture picture{c.width, c.height, std::vector<std::uint32_t>(static_cast<size_t>(c.width * c.height))};
    ASSERT_TRUE(PrintPicture(p.printer, picture, "Shot"));
    EXPECT_EQ(p.canvas.landscape, c.landscape);
    EXPECT_EQ(p.canvas.ops.front().text, "Shot");  // the job's title
    EXPECT_EQ(p.canvas.ops.back().kind, "end");

    const auto pictures = p.canvas.Of("picture");
    ASSERT_EQ(pictures.size(), 1u);
    const PixelRect t = pictures[0].rect;
    EXPECT_EQ(t, c.target);
    const auto frames = p.canvas.Of("frame");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (PixelRect{t.left - 2, t.top - 2, t.right + 2, t.bottom + 2}));
    EXPECT_EQ(frames[0].pen, 2);

    const auto title = p.canvas.Of("text").back();
    EXPECT_EQ(title.text, "Shot");
    EXPECT_EQ(title.font.pointSize, 12);
    EXPECT_EQ(title.at, (PixelPoint{(p.canvas.PageWidth() - 240) / 2, t.top - 47 - 120}));
  }
}

TEST(PrintPicture, EmptyPictureOrCancelledJobPrintsNothing) {
  Printer p;
  EXPECT_FALSE(PrintPicture(p.printer, Picture{}, "Shot"));
  EXPECT_FALSE(PrintPicture(p.printer, Picture{10, 10, {}}, "Shot"));  // pixels missing
  EXPECT_TRUE(p.canvas.ops.empty());
  p.canvas.cancel = true;
  EXPECT_FALSE(PrintPicture(p.printer, Picture{1, 1, {0}}, "Shot"));
  EXPECT_TRUE(p.canvas.Of("picture").empty());
}

}  // namespace
}  // namespace tb::test
