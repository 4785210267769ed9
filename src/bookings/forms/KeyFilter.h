#pragma once
// Key filters of the booking window: amounts take digits, one point and backspace;
// the number of visits digits and backspace. Other keys are refused with a beep.

#include <QObject>

namespace tb {

class KeyFilter : public QObject {
  Q_OBJECT
 public:
  enum class Kind { Amount, Digits };
  KeyFilter(Kind kind, QObject* parent);
  // Whether the key typed into text is accepted.
  static bool Accepts(Kind kind, const QString& text, const QString& typed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Kind kind_;
};

}  // namespace tb
