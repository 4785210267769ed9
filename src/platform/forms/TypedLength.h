#pragma once
// A limit on what is typed into a line edit, not on what it holds: a longer text put in
// by the program (read from a file) stays whole and can be shortened, but typing never
// makes a text longer than the limit, or than it already is.

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace tb {

class TypedLength : public QValidator {
 public:
  TypedLength(int limit, QLineEdit* edit) : QValidator(edit), limit_(limit) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { length_ = text.size(); });
  }
  State validate(QString& input, int&) const override {
    return input.size() <= std::max<qsizetype>(limit_, length_) ? Acceptable : Invalid;
  }

 private:
  int limit_;
  qsizetype length_ = 0;
};

}  // namespace tb
