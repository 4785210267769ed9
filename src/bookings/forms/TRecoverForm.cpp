#include "bookings/forms/TRecoverForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "bookings/Recovery.h"
#include "platform/PathText.h"
#include "platform/forms/OpenFileDialog.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {
constexpr int kRecoveryHelp = 870;
}

TRecoverForm::TRecoverForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(ToQ("Data recovery: File is " + PathText(s_.DirectFile)));
  AddHelpKey(this, [this]() { OpenHelp(s_, kRecoveryHelp); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Specify backup file if this is to be merged"), this));
  auto* row = new QHBoxLayout;
  backupFile = new QLineEdit(this);
  browse = new QPushButton(QStringLiteral("Browse "), this);
  row->addWidget(backupFile, 1);
  row->addWidget(browse);
  layout->addLayout(row);
  auto* buttons = new QHBoxLayout;
  run = new QPushButton(QStringLiteral("RUN"), this);
  help = new QPushButton(QStringLiteral("Help"), this);
  buttons->addWidget(run);
  buttons->addWidget(help);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  memo = new QPlainTextEdit(this);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(memo, 1);
  resize(720, 420);

  chooseBackupFile = [this]() {
    return ChooseExistingFile(this, QStringLiteral("Backup file to merge"),
                              QString::fromStdString(s_.common.RootFolder),
                              QStringLiteral("Booking files (*.bks);;All files (*)"), QStringLiteral("bks"));
  };
  connect(browse, &QPushButton::clicked, this, &TRecoverForm::Browse);
  connect(run, &QPushButton::clicked, this, &TRecoverForm::Run);
  connect(help, &QPushButton::clicked, this, [this]() { OpenHelp(s_, kRecoveryHelp); });
}

void TRecoverForm::showEvent(QShowEvent* event) {
  memo->clear();
  lines_ = 0;
  QDialog::showEvent(event);
}

void TRecoverForm::AddLine(const QString& line) {
  QTextCursor end(memo->document());
  end.movePosition(QTextCursor::End);
  if (lines_++ > 0) end.insertBlock();
  end.insertText(line);
  memo->setTextCursor(end);
  memo->ensureCursorVisible();
}

void TRecoverForm::Browse() {
  const QString path = chooseBackupFile ? chooseBackupFile() : QString();
  if (!path.isEmpty()) backupFile->setText(path);
}

void TRecoverForm::Run() {
  // Paths are native bytes, not the texts of the data files.
  RecoverFromChangeLog(s_, s_.Prop(0).Bookings, backupFile->text().toStdString(),
                       [this](const std::string& line) { AddLine(ToQ(line)); });
}

}  // namespace tb
