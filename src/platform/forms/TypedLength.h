#pragma once
// A limit on what is typed into a line edit, not on what it holds: a longer text put in
// by the program (read from a file) stays whole and can be shortened, but typing never
// makes a text longer than the limit, or than it already is. (A maximum length, or a
// validator, would cut or refuse the text the program puts in.)

#include <QLineEdit>
#include <QObject>
#include <algorithm>

namespace tb {

class TypedLength : public QObject {
 public:
  TypedLength(int limit, QLineEdit* edit) : QObject(edit), limit_(limit), previous_(edit->text()) {
    // A user's edit is announced before the change itself, so `previous_` still holds
    // the text as it was. The change's own signal may carry a text already put back:
    // what the field holds counts.
    connect(edit, &QLineEdit::textChanged, this, [this, edit]() { previous_ = edit->text(); });
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
      if (text.size() <= std::max<qsizetype>(limit_, previous_.size())) return;
      const qsizetype cursor = edit->cursorPosition() - (text.size() - previous_.size());
      edit->setText(previous_);
      edit->setCursorPosition(static_cast<int>(std::max<qsizetype>(0, cursor)));
    });
  }

 private:
  int limit_;
  QString previous_;
};

}  // namespace tb
