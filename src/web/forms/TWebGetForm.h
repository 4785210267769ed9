#pragma once
// "Locate Booking Form": shown when a booking has no stored form and the web site keeps
// booking forms. The user browses for a file, has the program try to download the form
// from the site, or closes the window.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tb {

class Session;

enum class LocateChoice { Closed, Browse, Download };

class TWebGetForm : public QDialog {
  Q_OBJECT
 public:
  explicit TWebGetForm(Session& s, QWidget* parent = nullptr);

  // What the user clicked; Closed when the window was closed.
  LocateChoice Choice() const { return choice_; }
  // Shows the window until a choice is made or it is closed.
  LocateChoice Ask();

  QLabel* lText = nullptr;
  QPushButton* bBrowse = nullptr;
  QPushButton* bDownload = nullptr;
  QPushButton* bHelp = nullptr;

 private:
  void Choose(LocateChoice choice);

  Session& s_;
  LocateChoice choice_ = LocateChoice::Closed;
};

}  // namespace tb
