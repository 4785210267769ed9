#pragma once
// "Cotlyn: Search Window": bookings found by surname (wildcard allowed), by any text,
// or all of them, newest first, sortable by any heading. A chosen line opens its
// booking, or, for the booking window's history search, hands the booking back.

#include <QDialog>
#include <functional>
#include <string>

#include "bookings/SearchBookings.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace tb {

class Session;
class SearchModel;
struct OpenBookingRequest;

inline constexpr int kSearchHelp = 300;

class TSearchForm : public QDialog {
  Q_OBJECT
 public:
  TSearchForm(Session& s, SearchPurpose purpose, QWidget* parent = nullptr);
  ~TSearchForm() override;

  // Puts text in the box and searches at once (history search, list-all).
  void Start(const std::string& text);
  // "SEARCH" or Enter: the box's text, newest first.
  void Search();
  // The last search again, keeping the user's sort and the line at the top.
  void Rerun();
  // A click on a column heading.
  void SortBy(int column);
  // A click on line i (in display order), and the pop-up menu's "Copy data".
  void ChooseLine(int i);
  void CopyLine(int i);

  const SearchList& List() const { return list_; }
  // The line at the top of the visible part of the list (-1 when empty).
  int TopLine() const;

  // History search: the booking chosen and accepted, with its property.
  Book_Buffer* chosen = nullptr;
  int chosenProp = 0;

  // Opens the booking window on a held booking; `closed` runs when it closes (set by the
  // main window).
  std::function<void(const OpenBookingRequest&, std::function<void()> closed)> openBooking;

  QLabel* lSearch = nullptr;
  QLabel* lWildcard = nullptr;
  QLineEdit* eSearch = nullptr;
  QPushButton* bSearch = nullptr;
  QCheckBox* cbAll = nullptr;
  QLabel* lStatus = nullptr;
  QTableView* LV = nullptr;
  QMenu* popup = nullptr;
  QAction* acEdit = nullptr;
  QAction* acCopy = nullptr;

 private:
  // A line known by its booking, to scroll back to after a re-search.
  struct LineKey {
    int prop = 0;
    TDateTime start = 0;
    std::string surname;
  };
  LineKey KeyOf(int i);
  void Run(bool userStarted, const LineKey& top);
  void LetGo();
  SearchHit* Line(int i);
  Session& s_;
  SearchPurpose purpose_;
  bool wasOpen_;
  bool fileListing_ = false;
  SearchList list_;
  SearchModel* model_ = nullptr;
  std::string text_;  // what the last search looked for
  LineKey heldTop_;   // the top line when a booking was opened from the list
};

}  // namespace tb
