#include "owners/forms/TOwnerStatsForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "owners/OwnerStats.h"
#include "platform/forms/QtText.h"

namespace tb {

TOwnerStatsForm::TOwnerStatsForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Owner Statistics and Validation"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  lCount = new QLabel(this);
  lDatabase = new QLabel(this);
  lDatabase->setTextInteractionFlags(Qt::TextSelectableByMouse);
  memo = new QPlainTextEdit(this);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setMinimumSize(720, 320);
  layout->addWidget(lCount);
  layout->addWidget(lDatabase);
  layout->addWidget(memo, 1);
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setAutoDefault(false);
  row->addWidget(close);
  layout->addLayout(row);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void TOwnerStatsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) Refresh();
}

void TOwnerStatsForm::Refresh() {
  lCount->setText(ToQ(OwnerCountText(s_)));
  lDatabase->setText(ToQ(OwnerDatabaseText(s_)));
  memo->setPlainText(ToQ(OwnerStatisticsText(s_)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace tb
