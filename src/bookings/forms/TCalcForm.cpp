#include "bookings/forms/TCalcForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "bookings/forms/KeyFilter.h"
#include "platform/Text.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

TCalcForm::TCalcForm(Session& s, const Prop_Rec& p, const BookingForm& f, std::function<bool(const DiscountLine&)> apply,
                     QWidget* parent)
    : QDialog(parent), s_(s), p_(p), f_(f), apply_(std::move(apply)) {
  setWindowTitle(QStringLiteral("Discount Calculator"));
  AddHelpKey(this, [this]() { OpenHelp(s_, kDiscountHelp); });
  auto* layout = new QVBoxLayout(this);
  lines = new QTreeWidget(this);
  lines->setRootIsDecorated(false);
  lines->setHeaderLabels({QStringLiteral("Discount"), QStringLiteral("Amount"), QStringLiteral("Net rent"),
                          QStringLiteral("plus extras"), QStringLiteral("Net Total")});
  lines->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lines->setMinimumSize(480, 230);
  layout->addWidget(lines);
  auto* options = new QHBoxLayout;
  rounded = new QCheckBox(QStringLiteral("Round discount to whole number?"), this);
  rounded->setChecked(!s_.prefs.CalcUnrounded());
  special_ = s_.prefs.CalcSpecial().empty() ? "17.5" : s_.prefs.CalcSpecial();
  special = new QLineEdit(ToQ(special_), this);
  special->setMaxLength(5);
  special->setFixedWidth(50);
  special->installEventFilter(new KeyFilter(KeyFilter::Kind::Amount, special));
  options->addWidget(rounded);
  options->addStretch(1);
  options->addWidget(new QLabel(QStringLiteral("Special (%)  "), this));
  options->addWidget(special);
  layout->addLayout(options);

  Recompute();
  connect(rounded, &QCheckBox::toggled, this, [this](bool on) {
    s_.prefs.SetCalcUnrounded(!on);
    Recompute();
  });
  connect(special, &QLineEdit::textEdited, this, [this](const QString& text) {
    const std::string value = Trim(FromQ(text)).substr(0, 5);
    // Anything else is ignored until it is a usable percentage.
    if (!ValidSpecialPercent(value)) return;
    special_ = value;
    s_.prefs.SetCalcSpecial(value);
    Recompute();
  });
  connect(lines, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { Choose(lines->indexOfTopLevelItem(item)); });
}

void TCalcForm::Recompute() {
  valid_ = DiscountLines(p_, f_, rounded->isChecked(), special_, shown_);
  lines->clear();
  for (const DiscountLine& l : shown_) {
    auto* item = new QTreeWidgetItem(
        lines, {ToQ(l.caption), ToQ(l.amountText), ToQ(l.netRent), ToQ(l.extras), ToQ(l.netTotal)});
    for (int c = 1; c < 5; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
  }
}

void TCalcForm::Choose(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.size())) return;
  if (apply_ && apply_(shown_[static_cast<size_t>(row)])) accept();
}

}  // namespace tb
