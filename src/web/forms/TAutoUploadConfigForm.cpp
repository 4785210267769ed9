#include "web/forms/TAutoUploadConfigForm.h"

#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/PathText.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/AutoUploadFrequency.h"

namespace tb {

namespace {

constexpr int kHelp = 199;

}  // namespace

TAutoUploadConfigForm::TAutoUploadConfigForm(Session& s, std::function<void(int)> setPeriod, QWidget* parent)
    : QDialog(parent), s_(s), setPeriod_(std::move(setPeriod)) {
  setWindowTitle(QStringLiteral("Configure Auto-upload"));
  setMinimumWidth(320);  // room for the caption
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  Freq = new QLineEdit(QString::number(s_.AupFREQ / 60), this);
  Freq->setToolTip(QStringLiteral("Minimum frequency is once every 5 minutes"));
  Freq->setMaxLength(5);
  Freq->installEventFilter(this);
  form->addRow(QStringLiteral("Frequency (minutes)"), Freq);
  layout->addLayout(form);
  bSave = new QPushButton(QStringLiteral("Save/Exit"), this);
  bSave->setDefault(true);
  // Clicking it must not first take the focus from the field: a refused value would then
  // be refused twice.
  bSave->setFocusPolicy(Qt::NoFocus);
  layout->addWidget(bSave, 0, Qt::AlignRight);
  connect(bSave, &QPushButton::clicked, this, [this]() { SaveExit(); });
  AddHelpKey(this, [this]() { OpenHelp(s_, kHelp); });
}

bool TAutoUploadConfigForm::eventFilter(QObject* watched, QEvent* event) {
  // The box of a refused value takes the focus too; that is not the user leaving.
  if (watched == Freq && event->type() == QEvent::FocusOut && !refusing_) FieldLeft();
  return QDialog::eventFilter(watched, event);
}

bool TAutoUploadConfigForm::FieldLeft() {
  const std::optional<int> minutes = ParseUploadMinutes(FromQ(Freq->text()));
  if (!minutes) {
    refusing_ = true;
    s_.dialogs.Beep();
    s_.dialogs.Message("Frequency should be 5-1440 mins or 0 to switch off", MsgIcon::Error,
                       MsgButton::OK | MsgButton::Help, kHelp);
    Freq->setFocus();
    Freq->selectAll();
    refusing_ = false;
    return false;
  }
  if (*minutes == 0 && setPeriod_) setPeriod_(0);
  return true;
}

bool TAutoUploadConfigForm::SaveExit() {
  if (!FieldLeft()) return false;
  const int minutes = *ParseUploadMinutes(FromQ(Freq->text()));
  if (!SaveUploadMinutes(s_, minutes)) {
    s_.dialogs.Message("Cannot write to file " + PathText(s_.registry.FilePath()), MsgIcon::Error, MsgButton::OK);
    return false;
  }
  if (!s_.common.HS_URL.empty() && minutes > 0 && setPeriod_) setPeriod_(s_.AupFREQ);
  accept();
  return true;
}

}  // namespace tb
