// The chart drawn from a small root folder, probed pixel by pixel.

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "app/ChartActions.h"
#include "bookings/ChartStyle.h"
#include "app/forms/ChartArea.h"
#include "bookings/Rates.h"
#include "bookings/WeekTable.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);

class ChartPaint : public ::testing::Test {
 protected:
  void Make(const std::string& viewMode) {
    t.Load("[Common]\nViewMode=" + viewMode +
           "\nNumProps=2\n"
           "[Prop01]\nPropName=Bramble\nChangeDay=7\nExtChg1=Fuel\n"
           "[Prop02]\nPropName=Heron\nChangeDay=6\n");
    for (const char* name : {"Bramble", "Heron"}) ForceDirectories(t.Root() + name + "/Data");
    for (int year : {2026, 2027}) {
      Rate_Rec r;
      r.BandCost = {300, 400, 500, 600, 700, 800};
      r.FuelCost = {10, 20, 30};
      for (WeekRate& w : r.WeekRates) {
        w.CostOrBand = 3;
        w.FuelBand = 'M';
      }
      r.WeekRates[30].CostOrBand = 0;  // closed by the rates file
      r.WeekRates[31].CostOrBand = 650;  // priced directly
      r.WeekRates[31].FuelBand = 'H';
      r.WeekRates[31].WeekComment = "Show week";
      WriteWholeFile(RatesFilePath(t.session.Prop(1), year), RatesImage(r));
    }
    const TDateTime sat = EncodeDate(2027, 6, 5);  // a Saturday
    Book_Rec whole = MakeBooking(sat, 7, "Brown", DepositPaid);
    Book_Rec wedSat = MakeBooking(sat + 11, 3, "Green", Hold);  // Wednesday to Saturday
    Book_Rec smith = MakeBooking(sat + 14, 3, "Smith", Paid);
    smith.Set(FlagSp, true);
    Book_Rec jones = MakeBooking(sat + 18, 3, "Jones", Hold);
    WriteWholeFile(BookingFilePath(t.session, 1), BookingFileImage({whole, wedSat, smith, jones}));
    WriteWholeFile(BookingFilePath(t.session, 2), BookingFileImage({MakeBooking(EncodeDate(2027, 6, 4), 7, "Gray", Paid)}));
    t.session.CurrentProperty = viewMode == "M" ? 0 : 1;
    t.session.ComputeSeasonYear();
    LoadShownProperties(t.session);
    area = std::make_unique<ChartArea>(t.session);
    area->resize(800, 600);
    area->RebuildCalendar();
  }
  int Week(int n, TDateTime date) const { return WeekIndex(t.session.Prop(n).Weeks, date); }
  // The colour at a point of the canvas.
  Rgb At(int x, int y) const {
    const QColor c = area->Render(QRect(x, y, 1, 1)).pixelColor(0, 0);
    return Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())};
  }
  // Whether anything other than the fill is drawn in a box (text, a mark).
  bool Inked(const QRect& box, Rgb fill) const {
    const QImage img = area->Render(box);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        if (c.red() < fill.r - 60 || c.green() < fill.g - 60 || c.blue() < fill.b - 60) return true;
      }
    return false;
  }

  TestSession t{kToday + 0.4};
  std::unique_ptr<ChartArea> area;
};

TEST_F(ChartPaint, PropertyRows) {
  Make("C");
  const Prop_Rec& p = t.session.Prop(1);
  const TDateTime sat = EncodeDate(2027, 6, 5);

  // A whole-week let: "LET" on the status colour, the names cell red, the mark "D".
  const int k = Week(1, sat);
  const int y = 20 * k;
  EXPECT_EQ(p.Weeks[k].DayMask, kWholeWeek);
  EXPECT_STREQ(WholeWeekText(p.Weeks[k]), "LET");
  EXPECT_EQ(At(183, y + 3), StatusFill(DepositPaid));
  EXPECT_TRUE(Inked(QRect(200, y + 3, 30, 14), StatusFill(DepositPaid)));
  EXPECT_EQ(At(480, y + 3), chart::kFullComment);
  EXPECT_EQ(At(490, y + 3), StatusFill(DepositPaid));
  EXPECT_EQ(At(3, y + 3), chart::kWeekNoFill);
  EXPECT_EQ(At(100, y + 3), chart::kDateFill);
  // Band 3 on its colour with the blue band box; fuel band M.
  EXPECT_EQ(At(125, y + 3), BandFill(3));
  EXPECT_EQ(At(166, y + 10), chart::kBandBox);
  EXPECT_EQ(At(170, y + 16), BandFill(0));
  EXPECT_EQ(At(530, y + 3), FuelFill('M'));

  // Wednesday to Saturday: days 4 to 6 let, a changeover triangle on day 4.
  const int k2 = k + 1;
  const int y2 = 20 * k2;
  EXPECT_EQ(p.Weeks[k2].DayMask, 0x70);
  for (int i = 0; i < 7; ++i) {
    const Rgb lowerRight = At(180 + 10 * i + 8, y2 + 17);  // below the triangle
    EXPECT_EQ(lowerRight, i >= 4 ? StatusFill(Hold) : chart::kFree) << "day " << i;
  }
  EXPECT_EQ(At(180 + 40 + 2, y2 + 2), chart::kFree);  // the triangle: the day before was free
  EXPECT_EQ(At(300, y2 + 3), chart::kPartLet);
  EXPECT_EQ(At(490, y2 + 3), StatusFill(Hold));  // the mark of the let days

  // Two short lets in one week: names, the special-instructions dot, the mark rule.
  const int k3 = k + 2;
  const int y3 = 20 * k3;
  EXPECT_EQ(p.Weeks[k3].WeekNames, "Smith + Jones ");
  EXPECT_EQ(At(253, y3 + 10), chart::kDot);
  EXPECT_EQ(PartWeekStatus(p.Weeks[k3]), Hold);  // the lowest status of 2 or more
  EXPECT_EQ(At(490, y3 + 3), StatusFill(Hold));
  EXPECT_EQ(At(180 + 10 * 3 + 8, y3 + 17), chart::kFree);  // day 3 between them

  // A week closed by the rates file, and one priced directly.
  const int closed = 30, direct = 31;
  EXPECT_EQ(p.Weeks[closed].WeekNames, "- Reserved -");
  EXPECT_EQ(At(183, 20 * closed + 3), StatusFill(Reserved));
  EXPECT_EQ(At(125, 20 * direct + 3), BandFill(0));
  EXPECT_EQ(At(530, 20 * direct + 3), FuelFill('H'));
  EXPECT_EQ(At(183, 20 * direct + 3), chart::kFree);
}

TEST_F(ChartPaint, AllPropertiesRows) {
  Make("M");
  const TDateTime sat = EncodeDate(2027, 6, 5);
  const int k = Week(1, sat);
  const int x = 71 * k;
  // Property 1: the whole week on the status colour in both rows.
  EXPECT_EQ(At(x + 3, 3), StatusFill(DepositPaid));
  EXPECT_EQ(At(x + 3, 23), StatusFill(DepositPaid));
  EXPECT_EQ(At(x + 59, 10), chart::kBandBox);
  // The Wednesday-to-Saturday week: the partly-let colour above, day cells below.
  EXPECT_EQ(At(x + 71 + 3, 3), chart::kPartLet);
  EXPECT_EQ(At(x + 71 + 10 * 5 + 8, 37), StatusFill(Hold));
  EXPECT_EQ(At(x + 71 + 10 * 1 + 8, 37), chart::kFree);
  // Property 2 in its own rows at y 40..79, with a Friday changeover.
  const int k2 = Week(2, EncodeDate(2027, 6, 4));
  EXPECT_EQ(At(71 * k2 + 3, 43), StatusFill(Paid));
  // The lines between properties: blue above an odd property, black below it.
  EXPECT_EQ(At(x + 30, 0), chart::kBlue);
  EXPECT_EQ(At(x + 30, 39), kBlack);
  EXPECT_EQ(At(x + 30, 40), kBlack);
  EXPECT_EQ(At(x + 30, 79), chart::kBlue);
}

TEST_F(ChartPaint, ScrollsToTodayAndOnlyPaintsWhatIsAsked) {
  Make("C");
  area->ScrollToToday();
  // 9 Dec 2026 is in week 49 of the 2026 rate year (week 1 starts 3 Jan).
  EXPECT_EQ(area->verticalScrollBar()->value(), std::min(20 * 48, area->verticalScrollBar()->maximum()));
  EXPECT_EQ(area->Canvas().width, chart::kWidthCFuel);
  EXPECT_EQ(area->Canvas().height, 20 * (53 + 52));
}

TEST_F(ChartPaint, KeysWheelAndHintsOnTheWidget) {
  Make("C");
  area->resize(560, 410);
  area->RebuildCalendar();
  QScrollBar* v = area->verticalScrollBar();
  v->setValue(0);
  const int page = area->viewport()->height() / 40 * 40;
  QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QApplication::sendEvent(area.get(), &down);
  EXPECT_EQ(v->value(), page);
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(area.get(), &up);
  EXPECT_EQ(v->value(), page - 20);

  // The hint over the whole-week let names its guest; over a free week there is none.
  const int k = Week(1, EncodeDate(2027, 6, 5));
  v->setValue(20 * k);
  const QPoint onLet(200, 20 * k - v->value() + 5);
  EXPECT_TRUE(area->HintAt(onLet).startsWith(QStringLiteral("Property: Bramble\nBooked by ")));
  EXPECT_TRUE(area->HintAt(QPoint(200, 20 * (k + 5) - v->value() + 5)).isEmpty());
}

TEST_F(ChartPaint, AClickLogsTheBookingAndLetsTheFileGo) {
  Make("C");
  const int k = Week(1, EncodeDate(2027, 6, 5));
  area->verticalScrollBar()->setValue(20 * k);
  bool asked = false;
  area->onBookingRequested = [&](const OpenBookingRequest& r) {
    asked = true;
    EXPECT_FALSE(r.isNew);
    EXPECT_EQ(r.node->Rec.Surname, "Brown");
    ReleaseBookingFile(t.session);
  };
  area->ClickAt(QPoint(200, 20 * k - area->verticalScrollBar()->value() + 5));
  EXPECT_TRUE(asked);
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("OPENBOOKING P=1 SD=270605"), std::string::npos);
  EXPECT_FALSE(t.session.BookFile.IsOpen());
}

}  // namespace
}  // namespace tb::test
