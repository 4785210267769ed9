#pragma once
// The main window: the chart of one property ("C") or of all properties ("M"), with
// the menus from which the other windows are opened.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

#include "app/Startup.h"

class QAction;
class QMenu;

namespace tb {

class ChartArea;
class TBookForm;
class TERForm;
class Session;
struct OpenBookingRequest;

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
  // The first display: bookings and rates read, the chart drawn at the current week.
  void FirstShow();
  // Every activation: commands enabled, rates saved by the editor reloaded; the first
  // one also marks the day's overdue check.
  void OnActivate();
  // Enables or disables the file and navigation commands (not while an editing
  // window is open).
  void EnableFileCommands(bool on);
  void YearForward();
  void YearBack();
  // A click on the chart asked for a booking.
  void OpenBooking(const OpenBookingRequest& request);
  // "Edit Rates" (offset 0), "- next year" (+1), "- previous year" (-1): the rates
  // window for this calendar year + offset, of `property` when given, else the current
  // one ("C") or the one picked ("M").
  void EditRates(int offset, int property = 0);
  // "M": the property whose rates are edited for `year`; 0 when cancelled.
  std::function<int(int year)> pickRatesProperty;
  // "M": the pop-up menu of the property column for property n, picked by a right click.
  QMenu* PropertyMenu(int n);
  // "Open " + name: brings that property's window forward, or starts a copy for it.
  void OpenProperty(int n);
  void BringToFront();

  QMenu* fileMenu = nullptr;
  QMenu* viewMenu = nullptr;
  QMenu* helpMenu = nullptr;
  QMenu* propertyMenu = nullptr;
  QList<QAction*> openActions;  // one per property ("C" with several properties)
  QAction* acExit = nullptr;
  QAction* acForwardYear = nullptr;
  QAction* acBackYear = nullptr;
  QAction* acAbout = nullptr;
  ChartArea* chartArea = nullptr;
  QPointer<TBookForm> bookForm;  // the booking window while it is open
  QPointer<TERForm> ratesForm;   // the rates window while it is open
  std::array<QAction*, 3> acEditRates{};  // this year, next year, previous year
  // The commands of the categories "FileActions" and "Navigate".
  QList<QAction*> fileActions;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenus();
  void ChangeYear(int delta);
  Session& s_;
  StartupEnvironment env_;
  bool shown_ = false;
  bool activated_ = false;
};

}  // namespace tb
