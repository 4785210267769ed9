#include "reports/forms/TStatsForm.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPen>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cerrno>
#include <iterator>
#include <exception>

#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/forms/QtText.h"
#include "reports/BookingReports.h"
#include "reports/IncomeReport.h"
#include "reports/Statistics.h"
#include "store/Session.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

constexpr int kListRows = 10;
// Six years apart at a glance: the chart theme repeats its colours after five.
const QColor kCurveColours[] = {QColor(0, 90, 200), QColor(220, 120, 0), QColor(0, 150, 70),
                                QColor(200, 30, 40), QColor(130, 60, 170), QColor(120, 120, 120)};

QString TwoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

QChartView* NewChartView(QWidget* parent, const QString& title) {
  auto* chart = new QChart;
  chart->setTitle(title);
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* view = new QChartView(chart, parent);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumSize(460, 260);
  return view;
}

// Empties a chart of its series and axes, for a new analysis.
void ClearChart(QChart* chart) {
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
}

}  // namespace

TStatsForm::TStatsForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Booking statistics"));
  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FillPropertyList(s_, *LB, kListRows, false);
  TaxYearDay(s_, startDay_, startMonth_);
  YEday = new QLineEdit(TwoDigits(startDay_) + QLatin1Char('/') + TwoDigits(startMonth_), this);
  YEday->setMaxLength(5);
  YEday->setMaximumWidth(YEday->fontMetrics().horizontalAdvance(QStringLiteral("00/00")) + 24);
  AnalyseBut = new QPushButton(QStringLiteral("Analyse"), this);
  NoSourceBut = new QPushButton(QStringLiteral("S?"), this);
  NoSourceBut->setToolTip(QStringLiteral("View list of bookings with no source"));
  RichEdit1 = new QTextEdit(this);
  RichEdit1->setReadOnly(true);
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  // The tables' tab stops are set in points for a small type.
  QFont small = RichEdit1->font();
  small.setPointSize(8);
  RichEdit1->setFont(small);
  RichEdit1->document()->setDefaultFont(small);
  RichEdit1->setMinimumWidth(560);
  incomeChart = NewChartView(this, QStringLiteral("Income and nights by year"));
  forwardChart = NewChartView(this, QStringLiteral("Nights booked ahead on the 1st of each month"));

  connect(YEday, &QLineEdit::editingFinished, this, [this]() { YEdayExit(); });
  connect(AnalyseBut, &QPushButton::clicked, this, &TStatsForm::Analyse);
  connect(NoSourceBut, &QPushButton::clicked, this, &TStatsForm::ViewNoSource);

  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Initially all properties are selected (except Demo)"), this));
  left->addWidget(LB);
  auto* start = new QHBoxLayout;
  start->addWidget(new QLabel(QStringLiteral("Year start day - Report 1 (dd/mm)"), this));
  start->addWidget(YEday);
  start->addStretch(1);
  left->addLayout(start);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AnalyseBut);
  buttons->addWidget(NoSourceBut);
  buttons->addStretch(1);
  left->addLayout(buttons);
  left->addWidget(RichEdit1, 1);
  auto* charts = new QVBoxLayout;
  charts->addWidget(incomeChart, 1);
  charts->addWidget(forwardChart, 1);
  auto* all = new QHBoxLayout(this);
  all->addLayout(left, 3);
  all->addLayout(charts, 2);
}

void TStatsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Centred across, a fifth of the free height down.
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  move(free.left() + (free.width() - frameGeometry().width()) / 2,
       free.top() + std::max(0, free.height() - frameGeometry().height()) / 5);
}

std::vector<int> TStatsForm::SelectedProperties() const {
  std::vector<int> selected;
  for (int row = 0; row < LB->count(); ++row)
    if (LB->item(row)->isSelected()) selected.push_back(row + 1);
  return selected;
}

bool TStatsForm::YEdayExit() {
  int day = 0, month = 0;
  const std::string refused = CheckYearStartDay(FromQ(YEday->text()), day, month);
  if (!refused.empty()) {
    refused_ = YEday->text();
    s_.dialogs.Beep();
    s_.dialogs.Message(refused, MsgIcon::Error, MsgButton::OK);
    YEday->setFocus();
    return false;
  }
  refused_ = QString();
  startDay_ = day;
  startMonth_ = month;
  return true;
}

void TStatsForm::Analyse() {
  // Enter or a click on "Analyse" leaves a refused start day after its message: the
  // analysis waits for a valid day instead of using the last one.
  if (!refused_.isNull() && YEday->text() == refused_) return;
  if (!YEdayExit()) return;
  const std::vector<int> properties = SelectedProperties();
  ReadReportBookings(s_, properties);
  const StatsResult r = AnalyseBookings(s_, properties, startDay_, startMonth_);
  if (!r.noSource.empty()) {
    std::string text;
    for (const std::string& line : r.noSource) text += line + "\r\n";
    // Customers' names: kept where only this user can read them.
    const std::string path = NoSourcePath(s_);
    errno = 0;
    if (!WriteWholeFile(path, text, FileAccess::Private))
      s_.dialogs.Message(OpeningFileError(errno, PathText(path)), MsgIcon::Error,
                         MsgButton::Abort);
  } else {
    // A list from an earlier analysis would be taken for this one's.
    DeleteFileAt(NoSourcePath(s_));
  }
  if (r.analysed == 0) {
    s_.dialogs.Message("No data found for selected property(s)", MsgIcon::None, MsgButton::OK);
    return;
  }
  try {
    ShowResult(r);
    Plot(r);
  } catch (const std::exception& e) {
    s_.dialogs.Message(
        std::string("Error (Windows problem)\rClose and restart Cotlyn; run statistics again.\rException: ") + e.what(),
        MsgIcon::Error, MsgButton::OK);
  }
}

void TStatsForm::ShowResult(const StatsResult& r) {
  RichEdit1->clear();
  QTextCursor cursor(RichEdit1->document());
  const double pointsToPixels = RichEdit1->logicalDpiX() / 72.0;
  bool first = true;
  const std::vector<StatsLine> lines = StatsLines(r);
  for (const StatsLine& line : lines) {
    QTextBlockFormat block;
    QList<QTextOption::Tab> tabs;
    for (const int points : line.tabs) tabs.append(QTextOption::Tab(points * pointsToPixels, QTextOption::LeftTab));
    block.setTabPositions(tabs);
    QTextCharFormat chars;
    chars.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
    chars.setFontUnderline(line.underline);
    if (first) cursor.setBlockFormat(block);
    else cursor.insertBlock(block);
    first = false;
    cursor.insertText(ToQ(line.text), chars);
  }
  // As tall as its lines, within the screen; scrolled to the top.
  const int lineHeight = RichEdit1->fontMetrics().lineSpacing();
  const QScreen* screen = this->screen();
  const int room = screen ? screen->availableGeometry().height() * 2 / 3 : 600;
  RichEdit1->setMinimumHeight(std::min(room, static_cast<int>(lines.size() + 2) * lineHeight + 8));
  RichEdit1->moveCursor(QTextCursor::Start);
  RichEdit1->verticalScrollBar()->setValue(0);
  adjustSize();
}

void TStatsForm::Plot(const StatsResult& r) {
  QChart* chart = incomeChart->chart();
  ClearChart(chart);
  auto* income = new QBarSet(ToQ("Income(" + r.currency + ")"));
  auto* nights = new QLineSeries;
  nights->setName(QStringLiteral("Nights"));
  QStringList years;
  double most = 0;
  int mostNights = 0;
  for (auto y = r.years.rbegin(); y != r.years.rend(); ++y) {
    if (y->nights <= 0) continue;
    nights->append(years.size() + 0.0, y->nights);
    years << QString::number(DecodeDate(y->yearEnd).year);
    income->append(y->income);
    most = std::max(most, y->income);
    mostNights = std::max(mostNights, y->nights);
  }
  auto* bars = new QBarSeries;
  bars->append(income);
  chart->addSeries(bars);
  chart->addSeries(nights);
  auto* yearAxis = new QBarCategoryAxis;
  yearAxis->append(years);
  yearAxis->setLabelsAngle(-90);
  chart->addAxis(yearAxis, Qt::AlignBottom);
  auto* money = new QValueAxis;
  money->setRange(0, most > 0 ? most * 1.1 : 1);
  money->setLabelFormat(QStringLiteral("%.0f"));
  money->applyNiceNumbers();  // round steps a reader can take in at a glance
  chart->addAxis(money, Qt::AlignLeft);
  auto* nightAxis = new QValueAxis;
  nightAxis->setRange(0, mostNights > 0 ? mostNights * 1.1 : 1);
  nightAxis->setLabelFormat(QStringLiteral("%.0f"));
  nightAxis->applyNiceNumbers();
  chart->addAxis(nightAxis, Qt::AlignRight);
  bars->attachAxis(yearAxis);
  bars->attachAxis(money);
  nights->attachAxis(yearAxis);
  nights->attachAxis(nightAxis);

  chart = forwardChart->chart();
  ClearChart(chart);
  int mostAhead = 0;
  auto* months = new QBarCategoryAxis;
  for (int m = 1; m <= 12; ++m) months->append(ToQ(FormatDateTime("mmm", EncodeDate(2000, m, 1))));
  months->setLabelsAngle(-90);
  chart->addAxis(months, Qt::AlignBottom);
  auto* ahead = new QValueAxis;
  ahead->setLabelFormat(QStringLiteral("%.0f"));
  chart->addAxis(ahead, Qt::AlignLeft);
  for (size_t i = 0; i < r.forward.size(); ++i) {
    auto* curve = new QLineSeries;
    curve->setName(QString::number(r.forwardYear - static_cast<int>(i)));
    QPen pen(kCurveColours[i % std::size(kCurveColours)]);
    pen.setWidth(2);
    curve->setPen(pen);
    for (int m = 0; m < 12; ++m) {
      curve->append(m, r.forward[i][static_cast<size_t>(m)]);
      mostAhead = std::max(mostAhead, r.forward[i][static_cast<size_t>(m)]);
    }
    chart->addSeries(curve);
    curve->attachAxis(months);
    curve->attachAxis(ahead);
  }
  ahead->setRange(0, mostAhead > 0 ? mostAhead * 1.1 : 1);
  ahead->applyNiceNumbers();
}

void TStatsForm::ViewNoSource() {
  const std::string path = NoSourcePath(s_);
  if (FileExists(path) && s_.processes.ShellOpen(path)) return;
  s_.dialogs.Beep();
  s_.dialogs.Message("Cannot view list - run statistics first?", MsgIcon::None, MsgButton::OK);
}

}  // namespace tb
