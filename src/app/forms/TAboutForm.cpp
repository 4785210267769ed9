#include "app/forms/TAboutForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/FileSystem.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Settings.h"
#include "store/Session.h"

namespace tb {

TAboutForm::TAboutForm(Session& s, const QString& fullVersion, bool splash, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Cotlyn"));
  AddHelpKey(this, [&s]() { OpenHelp(s, kHelpContents); });
  auto* layout = new QVBoxLayout(this);
  heading = new QLabel(QStringLiteral("Tenbrook (Cotlyn)"), this);
  QFont big = heading->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  heading->setFont(big);
  layout->addWidget(heading);

  text = new QLabel(QStringLiteral("See HELP / CONTENTS for full documentation\n\nVersion ") + fullVersion +
                        QStringLiteral("\nInstalled ") + ToQ(s.InstallDate),
                    this);
  layout->addWidget(text);
  rootLine = new QLabel(QStringLiteral("Root folder = ") + QString::fromStdString(s.common.RootFolder), this);
  layout->addWidget(rootLine);
  settingsLine =
      new QLabel(QStringLiteral("Settings file = ") + QString::fromStdString(ExtractFileName(s.common.SettingsPath)), this);
  layout->addWidget(settingsLine);
  readOnlyLabel = new QLabel(QStringLiteral("Read Only"), this);
  readOnlyLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  readOnlyLabel->setVisible(s.ReadOnly);
  layout->addWidget(readOnlyLabel);

  auto* buttons = new QHBoxLayout;
  visitButton = new QPushButton(QStringLiteral("Visit Web site"), this);
  closeButton = new QPushButton(QStringLiteral("Close"), this);
  buttons->addStretch();
  buttons->addWidget(visitButton);
  buttons->addWidget(closeButton);
  layout->addLayout(buttons);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(visitButton, &QPushButton::clicked, this, [&s]() { s.processes.ShellOpen(kWebSite); });

  if (splash) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    closeButton->hide();
    visitButton->hide();
    rootLine->hide();
    setFixedHeight(150);
    setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(kSplashMs, this, &QDialog::close);
  }
}

}  // namespace tb
