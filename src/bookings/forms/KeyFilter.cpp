#include "bookings/forms/KeyFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace tb {

KeyFilter::KeyFilter(Kind kind, QObject* parent) : QObject(parent), kind_(kind) {}

bool KeyFilter::Accepts(Kind kind, const QString& text, const QString& typed) {
  if (kind == Kind::Fuel) return typed.size() == 1 && QStringLiteral("HML").contains(typed.at(0).toUpper());
  for (const QChar c : typed) {
    if (c.isDigit()) continue;
    if (kind == Kind::Amount && c == QLatin1Char('.') && !text.contains(QLatin1Char('.'))) continue;
    return false;
  }
  return true;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const QString typed = key->text();
  // Editing and moving keys pass; only typed characters are checked.
  if (typed.isEmpty() || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab ||
      key->key() == Qt::Key_Backtab || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
      !typed.at(0).isPrint())
    return false;
  auto* edit = qobject_cast<QLineEdit*>(watched);
  QString rest = edit ? edit->text() : QString();
  if (edit && edit->hasSelectedText()) rest.remove(edit->selectionStart(), edit->selectedText().size());
  if (Accepts(kind_, rest, typed)) {
    if (kind_ != Kind::Fuel || typed == typed.toUpper()) return false;
    // The letter as it is stored, typed again.
    QKeyEvent upper(QEvent::KeyPress, key->key(), key->modifiers(), typed.toUpper());
    QApplication::sendEvent(watched, &upper);
    return true;
  }
  QApplication::beep();
  return true;
}

}  // namespace tb
