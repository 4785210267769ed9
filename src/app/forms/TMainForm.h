#pragma once
// The main window: the chart of one property ("C") or of all properties ("M"), with
// the menus from which the other windows are opened.

#include <QList>
#include <QMainWindow>

#include "app/Startup.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;

namespace tb {

class Session;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  TMainForm(Session& session, const StartupEnvironment& env, QWidget* parent = nullptr);

  // The application title the single-instance check answers to.
  QString ApplicationTitle() const;
  // Width of the chart of the current property ("C"): 507, or 539 with a fuel column.
  int ChartWidth() const;
  // Places the window on the desktop's work area (saved place or default).
  void ApplyPlacement();
  void ShowSplash();
  void ShowAbout();
  // "Open " + name: brings that property's window forward, or starts a copy for it.
  void OpenProperty(int n);
  void BringToFront();

  QMenu* fileMenu = nullptr;
  QMenu* helpMenu = nullptr;
  QList<QAction*> openActions;  // one per property ("C" with several properties)
  QAction* acExit = nullptr;
  QAction* acAbout = nullptr;
  QLabel* chartHeader = nullptr;  // "C": the line above the chart
  QScrollArea* chartArea = nullptr;

 private:
  void BuildMenus();
  Session& s_;
  StartupEnvironment env_;
};

}  // namespace tb
