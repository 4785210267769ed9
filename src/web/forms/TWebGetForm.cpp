#include "web/forms/TWebGetForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/forms/HelpKey.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr int kBrowseHelp = 284;
constexpr int kDownloadHelp = 570;

}  // namespace

TWebGetForm::TWebGetForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setObjectName(QStringLiteral("WebGetForm"));
  setWindowTitle(QStringLiteral("Locate Booking Form"));
  auto* layout = new QVBoxLayout(this);
  lText = new QLabel(QStringLiteral("Booking form does not exist.  "), this);
  layout->addWidget(lText);
  auto* buttons = new QHBoxLayout;
  bBrowse = new QPushButton(QStringLiteral("Browse for form"), this);
  bDownload = new QPushButton(QStringLiteral("Try to download"), this);
  bHelp = new QPushButton(QStringLiteral("Help"), this);
  // Each button's own topic for F1 while it has the focus.
  bBrowse->setProperty("helpContext", kBrowseHelp);
  bDownload->setProperty("helpContext", kDownloadHelp);
  bHelp->setProperty("helpContext", kDownloadHelp);
  for (QPushButton* b : {bBrowse, bDownload, bHelp}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  bDownload->setDefault(true);
  layout->addLayout(buttons);

  connect(bBrowse, &QPushButton::clicked, this, [this]() { Choose(LocateChoice::Browse); });
  connect(bDownload, &QPushButton::clicked, this, [this]() { Choose(LocateChoice::Download); });
  connect(bHelp, &QPushButton::clicked, this, [this]() { OpenHelp(s_, kDownloadHelp); });
  AddHelpKey(this, [this]() {
    const QWidget* focused = focusWidget();
    const QVariant context = focused ? focused->property("helpContext") : QVariant();
    OpenHelp(s_, context.isValid() ? context.toInt() : kDownloadHelp);
  });
}

void TWebGetForm::Choose(LocateChoice choice) {
  choice_ = choice;
  accept();
}

LocateChoice TWebGetForm::Ask() {
  choice_ = LocateChoice::Closed;
  exec();
  return choice_;
}

}  // namespace tb
