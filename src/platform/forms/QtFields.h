#pragma once
// Showing engine values in a window's controls. Each control is only set when its value
// differs: setting a text moves the cursor, and the user may be typing in it.

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <string>

#include "platform/forms/QtDate.h"
#include "platform/forms/QtText.h"

namespace tb {

inline void Put(QLineEdit* e, const std::string& ansi) {
  const QString text = ToQ(ansi);
  if (e->text() != text) e->setText(text);
}

inline void Put(QDateEdit* e, TDateTime dt) {
  const QDate d = ToQDate(dt);
  if (e->date() != d) e->setDate(d);
}

inline void Put(QCheckBox* c, bool on) {
  if (c->isChecked() != on) c->setChecked(on);
}

}  // namespace tb
