#include "correspondence/forms/THTMLForm.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <tuple>

#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

THTMLForm::THTMLForm(Session& s, const std::string& html, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("HTML Edit Window"));
  auto* layout = new QVBoxLayout(this);
  auto* menus = new QMenuBar(this);
  layout->setMenuBar(menus);
  editor = new QPlainTextEdit(this);
  editor->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
  // The source with Windows line breaks, as the letter has them; Qt edits "\n".
  QString text = ToQ(html);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  editor->setPlainText(text);
  layout->addWidget(editor);

  QMenu* file = menus->addMenu(QStringLiteral("&File"));
  acSave = file->addAction(QStringLiteral("Save and return"));
  acSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  acQuit = file->addAction(QStringLiteral("Quit - don't save"));
  QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
  const std::tuple<const char*, const char*, void (QPlainTextEdit::*)()> edits[] = {
      {"Copy", "Ctrl+C", &QPlainTextEdit::copy},
      {"Cut", "Ctrl+X", &QPlainTextEdit::cut},
      {"Paste", "Ctrl+V", &QPlainTextEdit::paste},
      {"Undo", "Alt+Backspace", &QPlainTextEdit::undo}};
  for (const auto& [caption, key, slot] : edits) {
    QAction* a = edit->addAction(QString::fromLatin1(caption));
    a->setShortcut(QKeySequence(QString::fromLatin1(key)));
    connect(a, &QAction::triggered, editor, slot);
  }
  QMenu* view = menus->addMenu(QStringLiteral("&View"));
  acWordWrap = view->addAction(QStringLiteral("Word wrap"));
  acWordWrap->setCheckable(true);
  acWordWrap->setChecked(true);
  QAction* help = menus->addAction(QStringLiteral("Help"));

  SetWordWrap(true);
  resize(760, 560);
  connect(acSave, &QAction::triggered, this, &QDialog::accept);
  connect(acQuit, &QAction::triggered, this, &QDialog::reject);
  connect(acWordWrap, &QAction::toggled, this, &THTMLForm::SetWordWrap);
  connect(help, &QAction::triggered, this, [this]() { OpenHelp(s_, kHtmlEditHelp); });
  AddHelpKey(this, [this]() { OpenHelp(s_, kHtmlEditHelp); });
}

void THTMLForm::SetWordWrap(bool on) {
  // Wrapped lines need no horizontal scroll bar.
  editor->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  editor->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  if (acWordWrap->isChecked() != on) acWordWrap->setChecked(on);
}

std::string THTMLForm::Html() const {
  QString text = editor->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQ(text);
}

}  // namespace tb
