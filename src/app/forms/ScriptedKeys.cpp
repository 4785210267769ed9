#include "app/forms/ScriptedKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Exported by QtGui for QtTest's key clicks: offers a key to the shortcuts of the
// window it goes to, as a real key press is offered. True when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace tb {

namespace {

void Press(const QKeyCombination key) {
  // A dialog up takes the key in the control it gave the focus, active yet or not.
  QWidget* target = QApplication::activeModalWidget();
  if (target && target->focusWidget()) target = target->focusWidget();
  if (!target) target = QApplication::focusWidget();
  if (!target) target = QApplication::activeWindow();
  if (!target) return;
  if (qt_sendShortcutOverrideEvent(target, 0, key.key(), key.keyboardModifiers(), QString(), false, 1)) return;
  QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
  QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers());
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

}  // namespace

bool PressKeysLater(const QString& keys, int gapMs) {
  std::vector<QKeyCombination> combos;
  for (const QString& name : keys.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QKeySequence sequence = QKeySequence::fromString(name.trimmed());
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown) return false;
    combos.push_back(sequence[0]);
  }
  int delay = 0;
  for (const QKeyCombination key : combos) {
    delay += gapMs;
    QTimer::singleShot(delay, qApp, [key]() { Press(key); });
  }
  return true;
}

}  // namespace tb
