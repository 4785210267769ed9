#include "app/forms/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "app/WindowPlacement.h"
#include "app/forms/SingleInstance.h"
#include "app/forms/TAboutForm.h"
#include "platform/FileSystem.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"

namespace tb {

namespace {

const char* const kChartHeaderC =
    "Week---------Starts------------Cost-[Band]--------Free?--------------------------------Comments"
    "----------------------------------Status";

}  // namespace

TMainForm::TMainForm(Session& session, const StartupEnvironment& env, QWidget* parent)
    : QMainWindow(parent), s_(session), env_(env) {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  chartArea = new QScrollArea(central);
  chartArea->setObjectName(QStringLiteral("chartArea"));
  if (s_.AppState != 'F' && !s_.common.AllPropertiesView()) {
    const Prop_Rec& p = s_.Prop(s_.CurrentProperty);
    chartHeader = new QLabel(QString::fromLatin1(kChartHeaderC) + (p.FuelChg ? QStringLiteral("--Fuel--") : QString()),
                             central);
    chartHeader->setObjectName(QStringLiteral("chartHeader"));
    // The line is as wide as the chart; a wider font must not widen the window.
    QFont small = chartHeader->font();
    small.setPixelSize(10);
    chartHeader->setFont(small);
    chartHeader->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(chartHeader);
  }
  layout->addWidget(chartArea, 1);
  setCentralWidget(central);

  if (s_.AppState == 'F') setWindowTitle(QStringLiteral("Cotlyn: File=") + QString::fromStdString(ExtractFileName(s_.DirectFile)));
  else if (s_.common.AllPropertiesView()) setWindowTitle(QStringLiteral("Tenbrook"));
  else setWindowTitle(ToQ("Cotlyn: Property=" + s_.Prop(s_.CurrentProperty).PropName));
  BuildMenus();
}

QString TMainForm::ApplicationTitle() const {
  if (s_.AppState == 'F') return QString::fromStdString(ExtractFileName(s_.DirectFile));
  if (s_.common.AllPropertiesView()) return QString::fromLatin1(kAllPropertiesTitle);
  return ToQ(s_.Prop(s_.CurrentProperty).PropName);
}

int TMainForm::ChartWidth() const {
  const int n = s_.CurrentProperty;
  return (n > 0 && s_.Prop(n).FuelChg) ? 539 : 507;
}

void TMainForm::BuildMenus() {
  fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  if (!s_.common.AllPropertiesView() && s_.AppState != 'F' && s_.NumProps() > 1) {
    for (int n = 1; n <= s_.NumProps(); ++n) {
      QAction* a = fileMenu->addAction(ToQ("Open " + s_.Prop(n).PropName));
      // Ctrl + the first digit of the number: properties 10 to 19 share Ctrl+1.
      const QChar digit = QString::number(n).at(0);
      a->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + digit));
      a->setEnabled(n != s_.CurrentProperty);
      connect(a, &QAction::triggered, this, [this, n]() { OpenProperty(n); });
      openActions.append(a);
    }
    fileMenu->addSeparator();
  }
  acExit = fileMenu->addAction(QStringLiteral("Exit"));
  acExit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
  acExit->setToolTip(QStringLiteral("Close Cotlyn and Quit"));
  connect(acExit, &QAction::triggered, this, &QWidget::close);

  helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  acAbout = helpMenu->addAction(QStringLiteral("About"));
  connect(acAbout, &QAction::triggered, this, &TMainForm::ShowAbout);
}

void TMainForm::ApplyPlacement() {
  const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
  Rect r;
  if (s_.common.AllPropertiesView()) {
    const int wanted = menuBar()->sizeHint().height() + 49 + 40 * s_.NumProps() + 8;
    r = AllPropertiesPlacement(s_.common.SaveSSP, s_.Prop(0).WinPos, work.right(), work.bottom(), wanted);
  } else {
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int maxWidth = ChartWidth() + scroll + 2 * chartArea->frameWidth();
    setMaximumWidth(maxWidth);
    r = PropertyWindowPlacement(s_.common.SaveSSP, s_.Prop(s_.CurrentProperty).WinPos, work.right(), work.bottom(),
                                maxWidth, s_.CurrentProperty, s_.NumProps());
  }
  setGeometry(r.left, r.top, r.width, r.height);
}

void TMainForm::ShowSplash() {
  auto* splash = new TAboutForm(s_, QString::fromStdString(env_.fullVersion), true, this);
  splash->show();
}

void TMainForm::ShowAbout() {
  TAboutForm about(s_, QString::fromStdString(env_.fullVersion), false, this);
  about.exec();
}

void TMainForm::OpenProperty(int n) {
  const QString name = ToQ(s_.Prop(n).PropName);
  if (SingleInstance::ActivateExisting(name)) return;
  std::vector<std::string> args{Cp1252ToUtf8(s_.Prop(n).PropName)};
  if (s_.RootFromCommandLine) args.push_back(s_.common.RootFolder);
  s_.processes.Run(env_.programPath, args, false);
}

void TMainForm::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

}  // namespace tb
