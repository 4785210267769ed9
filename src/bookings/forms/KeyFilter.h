#pragma once
// Key filters of the editing windows: amounts take digits, one point and backspace;
// whole numbers digits and backspace; fuel letters H, M and L, typed in either case and
// entered in upper case. Other keys are refused with a beep.

#include <QObject>

namespace tb {

class KeyFilter : public QObject {
  Q_OBJECT
 public:
  enum class Kind { Amount, Digits, Fuel };
  KeyFilter(Kind kind, QObject* parent);
  // Whether the key typed into text is accepted.
  static bool Accepts(Kind kind, const QString& text, const QString& typed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Kind kind_;
};

}  // namespace tb
