#pragma once
// A window's menu command: its caption, and its shortcut while the window is active
// (a dialog's menu bar is not the application's).

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

namespace tb {

// `run` is called with the window as the receiver (a member function or a lambda).
template <class Window, class Run>
QAction* AddWindowAction(Window* window, QMenu* menu, const char* caption, const char* key, Run run) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  if (key) a->setShortcut(QKeySequence(QString::fromLatin1(key)));
  a->setShortcutContext(Qt::WindowShortcut);
  window->addAction(a);
  QObject::connect(a, &QAction::triggered, window, run);
  return a;
}

}  // namespace tb
