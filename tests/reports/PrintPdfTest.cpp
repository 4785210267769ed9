// Real PDF files through the Qt canvas, read back with poppler's tools as a user's
// viewer would see them.

#include <QImage>
#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "platform/forms/QtPrintCanvas.h"
#include "reports/PrintPicture.h"
#include "reports/ReportPrinter.h"
#include "support/ChildProcess.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

std::string Poppler(const std::string& tool, std::vector<std::string> args) {
  ChildProcess run = ChildProcess::Run("/usr/bin/" + tool, std::move(args));
  EXPECT_EQ(run.exitCode, 0) << tool << ": " << run.Errors();
  return run.Output();
}

// A field of pdfinfo's report, such as "Pages" or "Page size".
std::string PdfInfo(const std::string& pdf, const std::string& field) {
  const std::string info = Poppler("pdfinfo", {pdf});
  size_t at = info.find("\n" + field + ":");
  if (at == std::string::npos) return {};
  at = info.find_first_not_of(' ', at + field.size() + 2);
  return info.substr(at, info.find('\n', at) - at);
}

TEST(PrintPdf, ReportPagesCarryHeaderTitleAndCells) {
  TestSession ts;
  const std::string pdf = ts.dir / "report.pdf";
  QtPrintCanvas canvas(pdf);
  ReportPrinter printer(ts.session, canvas);
  ASSERT_TRUE(printer.BeginPrintJob('P', "Overdue Payments List"));
  EXPECT_GE(canvas.DpiY(), 300);

  // A second job on a printer still printing is refused.
  ReportPrinter second(ts.session, canvas);
  ts.dialogs.Expect("Printer in use. Close it.", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(second.BeginPrintJob('P', "Other"));

  printer.PrintTitle("Overdue Payments List");
  canvas.SetFont({"Arial", 10, false});
  int y = printer.Mm(20);
  printer.PrintRule(printer.Mm(10), printer.Mm(200), y);
  printer.PrintCell(printer.Mm(14), printer.Mm(52), y, "Property", {224, 224, 224}, 'C');
  printer.PrintCell(printer.Mm(52), printer.Mm(80), y, "\xA3" "450", kWhite, 'R');
  printer.NewPage();
  printer.PrintCell(printer.Mm(14), printer.Mm(52), printer.Mm(20), "Second sheet", kWhite, 'L');
  printer.EndPrintJob();
  EXPECT_FALSE(canvas.Busy());

  EXPECT_EQ(PdfInfo(pdf, "Pages"), "2");
  EXPECT_EQ(PdfInfo(pdf, "Page size"), "595 x 842 pts (A4)");
  const std::string text = PdfText(pdf);
  const std::string printed = "Printed " + ShortDateText(ts.clock.Now()) + " 10:30:00";
  const size_t page2 = text.find('\f');
  ASSERT_NE(page2, std::string::npos) << text;
  for (const std::string& want : {std::string("Page 1"), printed, std::string("Overdue Payments List"),
                                  std::string("Property"), std::string("\xC2\xA3" "450")}) {
    const size_t at = text.find(want);
    EXPECT_LT(at, page2) << "'" << want << "' not on page 1 of:\n" << text;
  }
  EXPECT_NE(text.find("Page 2", page2), std::string::npos) << text;
  EXPECT_NE(text.find("Second sheet", page2), std::string::npos) << text;
}

TEST(PrintPdf, WindowPictureOnOneLandscapePage) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(QColor(0x11, 0x22, 0x33));
  const Picture picture = PictureFromImage(image);
  ASSERT_EQ(picture.width, 300);
  ASSERT_EQ(picture.height, 200);
  ASSERT_EQ(picture.pixels.size(), 300u * 200u);
  EXPECT_EQ(picture.pixels[0], 0xFF112233u);

  TestSession ts;
  const std::string pdf = ts.dir / "window.pdf";
  QtPrintCanvas canvas(pdf);
  ReportPrinter printer(ts.session, canvas);
  ASSERT_TRUE(PrintPicture(printer, picture, "Cotlyn Status Window."));
  EXPECT_FALSE(canvas.Busy());

  EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
  EXPECT_EQ(PdfInfo(pdf, "Page size"), "842 x 595 pts (A4)");  // on its side
  const std::string text = PdfText(pdf);
  EXPECT_NE(text.find("Cotlyn Status Window."), std::string::npos) << text;
  EXPECT_NE(Poppler("pdfimages", {"-list", pdf}).find("300   200"), std::string::npos);
}

}  // namespace
}  // namespace tb::test
