#include "bookings/forms/TERForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "bookings/forms/KeyFilter.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "platform/forms/TypedLength.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "store/forms/TPropSelForm.h"

namespace tb {

namespace {

QFont Mono(const QWidget* w) { return QFont(QStringLiteral("DejaVu Sans Mono"), w->font().pointSize()); }

// A caption and its field on one row.
QWidget* Row(const QString& caption, QWidget* field, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(caption, row);
  label->setMinimumWidth(60);
  h->addWidget(label);
  h->addWidget(field);
  h->addStretch(1);
  return row;
}

}  // namespace

TERForm::TERForm(Session& s, QWidget* parent) : QMainWindow(parent), s_(s), editor_(s) {
  setObjectName(QStringLiteral("ERForm"));
  BuildControls();
  BuildCommands();
  chooseImportFile = [this]() {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Import Rates File"),
                                        QString::fromStdString(s_.common.RootFolder + "*.bkc"),
                                        QStringLiteral("Rates files (.bkc) (*.bkc)"));
  };
  pickTemplate = [this]() {
    TPropSelForm picker(s_, PickPurpose::CopyRates, editor_.Year(), this);
    const int q = picker.Pick();
    return std::pair<int, bool>(q, picker.linesOnly->isChecked());
  };
  printCanvas = PrinterCanvas(this);
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this](QWidget* from, QWidget* to) { FocusMoved(from, to); });
}

// The focus moves while the children go: nothing of this window may look at it then.
TERForm::~TERForm() { disconnect(focusWatch_); }

QLineEdit* TERForm::NumberEdit(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setFixedWidth(60);
  e->setAlignment(Qt::AlignRight);
  e->installEventFilter(new KeyFilter(KeyFilter::Kind::Digits, e));
  connect(e, &QLineEdit::textEdited, this, &TERForm::Edited);
  return e;
}

void TERForm::BuildControls() {
  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);

  // Left: bands, charges, global change and the buttons.
  auto* left = new QVBoxLayout;
  auto* bands = new QGroupBox(QStringLiteral("Rate Bands:"), central);
  auto* b = new QVBoxLayout(bands);
  for (size_t i = 0; i < band.size(); ++i) {
    band[i] = NumberEdit(bands);
    b->addWidget(Row(QStringLiteral("Band %1").arg(i + 1), band[i], bands));
  }
  left->addWidget(bands);
  fuelBox_ = new QGroupBox(QStringLiteral("Fuel Bands:"), central);
  auto* f = new QVBoxLayout(fuelBox_);
  const char* fuelNames[] = {"Low", "Medium", "High"};
  for (size_t i = 0; i < fuelCost.size(); ++i) {
    fuelCost[i] = NumberEdit(fuelBox_);
    f->addWidget(Row(QString::fromLatin1(fuelNames[i]), fuelCost[i], fuelBox_));
  }
  left->addWidget(fuelBox_);
  linen = NumberEdit(central);
  linenRow_ = Row(QStringLiteral("Linen"), linen, central);
  left->addWidget(linenRow_);
  minCost = NumberEdit(central);
  minCost->setToolTip(QStringLiteral("Enter the minimum charge for a short let "));
  left->addWidget(Row(QStringLiteral("Min chg"), minCost, central));

  auto* global = new QGroupBox(QStringLiteral("Global Change"), central);
  global->setToolTip(QStringLiteral("Change all rates by a specified percentage"));
  auto* g = new QGridLayout(global);
  increase = new QRadioButton(QStringLiteral("Increase all rates"), global);
  decrease = new QRadioButton(QStringLiteral("Decrease rates"), global);
  increase->setChecked(true);
  percent = new QLineEdit(QStringLiteral("5.0"), global);
  percent->setFixedWidth(50);
  percent->installEventFilter(new KeyFilter(KeyFilter::Kind::Amount, percent));
  bChange = new QPushButton(QStringLiteral("Change"), global);
  g->addWidget(increase, 0, 0, 1, 3);
  g->addWidget(decrease, 1, 0, 1, 3);
  g->addWidget(new QLabel(QStringLiteral("by"), global), 2, 0);
  g->addWidget(percent, 2, 1);
  g->addWidget(new QLabel(QStringLiteral("Percent"), global), 2, 2);
  g->addWidget(bChange, 3, 0, 1, 3);
  left->addWidget(global);

  bTemplate = new QPushButton(QStringLiteral("Copy Rates from template"), central);
  bTemplate->setToolTip(QStringLiteral("Copy data from a selected file for the current year"));
  left->addWidget(bTemplate);
  left->addWidget(new QLabel(QStringLiteral("Press F1 for Help"), central));
  auto* buttons = new QHBoxLayout;
  bSaveExit = new QPushButton(QStringLiteral("Save/Exit"), central);
  bClose = new QPushButton(QStringLiteral("Close"), central);
  bClose->setToolTip(QStringLiteral("Close form, cancel any changes"));
  buttons->addWidget(bSaveExit);
  buttons->addWidget(bClose);
  left->addLayout(buttons);
  lReadOnly = new QLabel(QStringLiteral("Read Only"), central);
  lReadOnly->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  lReadOnly->hide();
  left->addWidget(lReadOnly);
  left->addStretch(1);
  lUpdated = new QLabel(central);
  lUpdated->setStyleSheet(QStringLiteral("color: grey"));
  left->addWidget(lUpdated);
  columns->addLayout(left);

  // Right: the heading and the 53 week rows.
  auto* right = new QVBoxLayout;
  heading = new QLabel(central);
  heading->setFont(Mono(heading));
  right->addWidget(heading);
  auto* scroll = new QScrollArea(central);
  auto* rows = new QWidget(scroll);
  auto* grid = new QGridLayout(rows);
  grid->setVerticalSpacing(2);
  for (int r = 0; r < 53; ++r) {
    WeekRow& w = weeks[static_cast<size_t>(r)];
    w.label = new QLabel(rows);
    w.label->setFont(Mono(w.label));
    w.cost = NumberEdit(rows);
    w.comment = new QLineEdit(rows);
    // Longer comments from a file, an import or a copied year are kept whole.
    new TypedLength(kWeekCommentTyped, w.comment);
    w.comment->setMinimumWidth(170);
    connect(w.comment, &QLineEdit::textEdited, this, &TERForm::Edited);
    w.fuel = new QLineEdit(rows);
    w.fuel->setMaxLength(1);
    w.fuel->setFixedWidth(28);
    w.fuel->setAlignment(Qt::AlignCenter);
    w.fuel->installEventFilter(new KeyFilter(KeyFilter::Kind::Fuel, w.fuel));
    connect(w.fuel, &QLineEdit::textEdited, this, &TERForm::Edited);
    for (QLineEdit* e : {w.cost, w.comment, w.fuel}) {
      // Up and Down move between the rows; the line commands are on the pop-up menu.
      e->installEventFilter(this);
      e->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    grid->addWidget(w.label, r, 0);
    grid->addWidget(w.cost, r, 1);
    grid->addWidget(w.comment, r, 2);
    grid->addWidget(w.fuel, r, 3);
  }
  scroll->setWidget(rows);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setMinimumWidth(rows->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() + 4);
  right->addWidget(scroll, 1);
  columns->addLayout(right, 1);
  setCentralWidget(central);
  resize(760, 700);
}

void TERForm::BuildCommands() {
  auto add = [this](QMenu* menu, const char* caption, const char* shortcut) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    if (shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  acSaveExit = add(file, "Save/Exit", "F4");
  acClose = add(file, "Close", nullptr);
  acPrint = add(file, "Print Form", nullptr);
  acImport = add(file, "Import from file", nullptr);
  acTemplate = add(file, "Copy Rates from template", nullptr);
  acDelete = add(file, "Delete current file", nullptr);

  // Cut, copy, paste, undo and select all act on the field being edited.
  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  auto onField = [this](const std::function<void(QLineEdit*)>& op) {
    if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget()); e && isAncestorOf(e)) op(e);
  };
  connect(add(edit, "Cut", "Ctrl+X"), &QAction::triggered, this, [onField]() { onField(&QLineEdit::cut); });
  connect(add(edit, "Copy", "Ctrl+C"), &QAction::triggered, this, [onField]() { onField(&QLineEdit::copy); });
  connect(add(edit, "Paste", "Ctrl+V"), &QAction::triggered, this, [onField]() { onField(&QLineEdit::paste); });
  edit->addSeparator();
  acCopyLine = add(edit, "Copy Line", "F5");
  acPasteLine = add(edit, "Paste Line", "F6");
  acPasteLine->setEnabled(false);
  acDuplicateLine = add(edit, "Duplicate Line", "Ctrl+L");
  acDuplicateField = add(edit, "Duplicate Field", "Ctrl+F");
  edit->addSeparator();
  connect(add(edit, "Undo", "Ctrl+Z"), &QAction::triggered, this, [onField]() { onField(&QLineEdit::undo); });
  connect(add(edit, "Select All", "Ctrl+S"), &QAction::triggered, this,
          [onField]() { onField(&QLineEdit::selectAll); });

  acNextYear = menuBar()->addAction(QStringLiteral("+1 Year"));
  acPrevYear = menuBar()->addAction(QStringLiteral("-1 Year"));

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  const std::pair<const char*, int> pages[] = {{"Contents", kHelpContents},
                                               {"Topic search", kHelpSearch},
                                               {"Help on Help", kHelpOnHelp},
                                               {"Help on Rates Window", 400},
                                               {"Help on entering rates", 410},
                                               {"Short cuts", 470}};
  for (const auto& [caption, context] : pages) {
    connect(add(help, caption, nullptr), &QAction::triggered, this,
            [this, context = context]() { OpenHelp(s_, context); });
  }
  // F1 shows the topic of the field being edited.
  AddHelpKey(this, [this]() { OpenHelp(s_, HelpContext(QApplication::focusWidget())); });

  for (const WeekRow& w : weeks) {
    for (QLineEdit* e : {w.cost, w.comment, w.fuel})
      e->addActions({acCopyLine, acPasteLine, acDuplicateLine, acDuplicateField});
  }

  connect(acSaveExit, &QAction::triggered, this, &TERForm::SaveExit);
  connect(bSaveExit, &QPushButton::clicked, this, &TERForm::SaveExit);
  connect(acClose, &QAction::triggered, this, &QWidget::close);
  connect(bClose, &QPushButton::clicked, this, &QWidget::close);
  connect(acPrint, &QAction::triggered, this, &TERForm::PrintForm);
  connect(acImport, &QAction::triggered, this, &TERForm::Import);
  connect(acTemplate, &QAction::triggered, this, &TERForm::CopyFromTemplate);
  connect(bTemplate, &QPushButton::clicked, this, &TERForm::CopyFromTemplate);
  connect(acDelete, &QAction::triggered, this, &TERForm::DeleteCurrentFile);
  connect(acCopyLine, &QAction::triggered, this, &TERForm::CopyLine);
  connect(acPasteLine, &QAction::triggered, this, &TERForm::PasteLine);
  connect(acDuplicateLine, &QAction::triggered, this, &TERForm::DuplicateLine);
  connect(acDuplicateField, &QAction::triggered, this, &TERForm::DuplicateField);
  connect(acNextYear, &QAction::triggered, this, [this]() { StepYear(+1); });
  connect(acPrevYear, &QAction::triggered, this, [this]() { StepYear(-1); });
  connect(bChange, &QPushButton::clicked, this, &TERForm::GlobalChange);
}

}  // namespace tb
