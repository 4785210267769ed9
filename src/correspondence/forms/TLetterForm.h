#pragma once
// "Letter Processing": the letters of the booking in the booking window, one row per
// letter type; a click opens the letter there is or makes the one there is not.

#include <QDialog>
#include <string>
#include <vector>

#include "correspondence/Letters.h"

class QAction;
class QMenu;
class QTreeWidget;

namespace tb {

class BookingEditor;
class LetterDelivery;
class Session;

class TLetterForm : public QDialog {
  Q_OBJECT
 public:
  // The booking as it stands in `editor`'s fields (start date, surname, e-mail).
  TLetterForm(Session& s, BookingEditor& editor, LetterDelivery& delivery, QWidget* parent = nullptr);

  // A click on a row, or Enter on the list: the letter opened, or made with the row's
  // default delivery.
  void Activate(int row);
  // The context menu's commands on the selected row.
  void Create(bool email);
  void Recreate(bool email);
  void DeleteExisting();
  // Shown once the window is up: when only post is possible, it says so.
  void TellIfOnlyPost();
  int Selected() const;
  const std::vector<LetterRow>& Rows() const { return rows_; }

  QTreeWidget* list = nullptr;
  QMenu* menu = nullptr;
  QAction* acCreatePost = nullptr;
  QAction* acCreateEmail = nullptr;
  QAction* acRecreatePost = nullptr;
  QAction* acRecreateEmail = nullptr;
  QAction* acDelete = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fill();
  void ShowRow(int row);
  void UpdateMenu();
  void Make(int type, bool email, bool recreate);

  Session& s_;
  BookingEditor& editor_;
  LetterDelivery& delivery_;
  std::vector<LetterRow> rows_;
  bool told_ = false;
};

}  // namespace tb
