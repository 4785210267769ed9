#include "store/forms/TPropSelForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/forms/HelpKey.h"
#include "store/Settings.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

namespace {

const char* RunCaption(PickPurpose purpose) {
  switch (purpose) {
    case PickPurpose::EditRates: return "Edit Selected Property";
    case PickPurpose::CopyRates: return "Copy from selected property";
    case PickPurpose::Synch: return "Synch selected Property";
    case PickPurpose::ViewOwner: return "View Owner for Property";
    case PickPurpose::ViewWebSite: return "View Property Web Site";
  }
  return "";
}

}  // namespace

TPropSelForm::TPropSelForm(const Session& s, PickPurpose purpose, int year, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Select Property"));
  auto* layout = new QVBoxLayout(this);
  list = new QListWidget(this);
  list->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), list->font().pointSize()));
  layout->addWidget(list);
  // Only the properties sharing the agency calendar can be synchronised.
  FillPropertyList(s, *list, 12, purpose == PickPurpose::Synch);
  if (purpose == PickPurpose::EditRates) {
    yearLabel = new QLabel(QStringLiteral("Year to edit = %1").arg(year), this);
    layout->addWidget(yearLabel);
  }
  if (purpose == PickPurpose::CopyRates) {
    linesOnly = new QCheckBox(QStringLiteral("Copy Rate Lines only"), this);
    layout->addWidget(linesOnly);
  }
  auto* buttons = new QDialogButtonBox(this);
  run = buttons->addButton(QString::fromLatin1(RunCaption(purpose)), QDialogButtonBox::AcceptRole);
  run->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  AddHelpKey(this, [&s]() { OpenHelp(s, kPropertyPickerHelp); });
}

int TPropSelForm::Chosen() const {
  const QListWidgetItem* item = list->currentItem();
  return item ? item->data(Qt::UserRole).toInt() : 0;
}

int TPropSelForm::Pick() { return exec() == QDialog::Accepted ? Chosen() : 0; }

}  // namespace tb
