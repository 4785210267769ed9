#include "platform/forms/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "platform/forms/QtText.h"

namespace tb {

namespace {

QMessageBox::Icon QtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Confirmation: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QString Caption(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Error: return QStringLiteral("Error");
    case MsgIcon::Warning: return QStringLiteral("Warning");
    case MsgIcon::Information: return QStringLiteral("Information");
    case MsgIcon::Confirmation: return QStringLiteral("Confirm");
    case MsgIcon::None: break;
  }
  return QApplication::applicationDisplayName();
}

QMessageBox::ButtonRole Role(MsgButton b) {
  switch (b) {
    case MsgButton::OK:
    case MsgButton::Yes:
    case MsgButton::All:
    case MsgButton::YesToAll: return QMessageBox::AcceptRole;
    case MsgButton::No:
    case MsgButton::NoToAll: return QMessageBox::NoRole;
    case MsgButton::Cancel:
    case MsgButton::Abort: return QMessageBox::RejectRole;
    case MsgButton::Help: return QMessageBox::HelpRole;
    default: return QMessageBox::ActionRole;
  }
}

}  // namespace

QtDialogs::QtDialogs(std::function<void(int)> openHelp) : openHelp_(std::move(openHelp)) {}

MsgButton QtDialogs::ShowMessage(const MessageBoxSpec& box) {
  QMessageBox mb(QtIcon(box.icon), Caption(box.icon), MessageToQ(box.text), QMessageBox::NoButton,
                 QApplication::activeWindow());
  std::map<QAbstractButton*, MsgButton> buttons;
  for (MsgButton b : box.buttons.List()) {
    QPushButton* pb = mb.addButton(QString::fromLatin1(ButtonName(b)), Role(b));
    buttons[pb] = b;
  }
  if (buttons.empty()) buttons[mb.addButton(QMessageBox::Ok)] = MsgButton::OK;
  // Help shows the page and leaves the question open.
  for (;;) {
    mb.exec();
    auto it = buttons.find(mb.clickedButton());
    MsgButton chosen = it == buttons.end() ? MsgButton::None : it->second;
    if (chosen == MsgButton::Help) {
      if (openHelp_) openHelp_(box.helpContext);
      continue;
    }
    if (chosen == MsgButton::None) {
      // Closed with Escape or the window's close box: the cancelling button.
      for (MsgButton b : {MsgButton::Cancel, MsgButton::Abort, MsgButton::No, MsgButton::OK})
        if (box.buttons.Has(b)) return b;
      return box.buttons.List().empty() ? MsgButton::OK : box.buttons.List().front();
    }
    return chosen;
  }
}

bool QtDialogs::ShowInput(const std::string& caption, const std::string& prompt, std::string& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), ToQ(caption), MessageToQ(prompt),
                                             QLineEdit::Normal, ToQ(value), &ok);
  if (ok) value = FromQ(text);
  return ok;
}

bool QtDialogs::ShowSaveFile(const SaveFileSpec& spec, std::string& path) {
  // "CSV Files|*.csv" as Qt writes a filter: "CSV Files (*.csv)".
  QString filter = ToQ(spec.filter);
  if (const qsizetype bar = filter.indexOf(QLatin1Char('|')); bar >= 0)
    filter = filter.left(bar) + QStringLiteral(" (") + filter.mid(bar + 1) + QLatin1Char(')');
  QFileDialog dialog(QApplication::activeWindow(), QString(), QString::fromStdString(spec.folder), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ToQ(spec.defaultExt).remove(0, spec.defaultExt.starts_with('.') ? 1 : 0));
  dialog.selectFile(ToQ(spec.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = dialog.selectedFiles().front().toStdString();
  return true;
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace tb
