#pragma once
// Typing into a window's field as the keyboard would, for window tests.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace tb::test {

// The old text selected and replaced by `text`, one key at a time, through every
// key filter of the field.
inline void Type(QWidget* w, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) e->selectAll();
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(w, &del);
  for (QChar c : text) {
    QKeyEvent key(QEvent::KeyPress, c == QLatin1Char('\n') ? int(Qt::Key_Return) : 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &key);
  }
}

inline void PressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

}  // namespace tb::test
