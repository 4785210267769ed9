#pragma once
// F1 on a window: its own help topic, while the window or one of its controls has the
// focus.

#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <functional>

namespace tb {

inline QAction* AddHelpKey(QWidget* window, std::function<void()> open) {
  auto* f1 = new QAction(window);
  f1->setShortcut(QKeySequence(Qt::Key_F1));
  f1->setShortcutContext(Qt::WindowShortcut);
  window->addAction(f1);
  QObject::connect(f1, &QAction::triggered, window, std::move(open));
  return f1;
}

}  // namespace tb
