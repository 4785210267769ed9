#include "bookings/forms/FindDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tb {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Find"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Find what:"), this));
  text = new QLineEdit(this);
  row->addWidget(text, 1);
  layout->addLayout(row);
  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  auto* d = new QHBoxLayout(direction);
  up = new QRadioButton(QStringLiteral("&Up"), direction);
  down = new QRadioButton(QStringLiteral("&Down"), direction);
  down->setChecked(true);
  d->addWidget(up);
  d->addWidget(down);
  layout->addWidget(direction);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* find = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  find->setDefault(true);
  layout->addWidget(buttons);
  // Find Next searches and leaves the dialog open for the next one.
  connect(find, &QPushButton::clicked, this, [this]() {
    if (onFind && !text->text().isEmpty()) onFind(text->text(), down->isChecked());
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FindDialog::Start(const QString& lastText) {
  text->setText(lastText);
  text->selectAll();
  text->setFocus();
  show();
  raise();
  activateWindow();
}

}  // namespace tb
