#pragma once
// The booking window's "Source" drop-down: its list is rebuilt from the property's
// bookings each time it drops down, so it follows every save.

#include <QComboBox>
#include <functional>

namespace tb {

class SourceBox : public QComboBox {
 public:
  explicit SourceBox(QWidget* parent) : QComboBox(parent) {}
  // Called before the list drops down, with the list still showing the old items.
  std::function<void()> beforePopup;

  void showPopup() override {
    if (beforePopup) beforePopup();
    QComboBox::showPopup();
  }
};

}  // namespace tb
