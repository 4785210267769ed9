#include "bookings/forms/TBookForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "bookings/forms/KeyFilter.h"
#include "bookings/forms/SourceBox.h"
#include "correspondence/LetterDelivery.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/TypedLength.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

QLabel* Caption(const char* text, QWidget* parent) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), l->font().pointSize()));
  return l;
}

QDateEdit* DatePicker(QWidget* parent) {
  auto* d = new QDateEdit(parent);
  d->setCalendarPopup(true);
  d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  d->setMinimumDate(QDate(1899, 12, 30));  // "not paid" is 31 Dec 1899
  return d;
}

// A text field: typing stops at the limit, but a longer text from a file (an import, an
// older program) is shown and saved whole.
QLineEdit* Text(int limit, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  new TypedLength(limit, e);
  return e;
}

QLineEdit* ReadOnlyText(QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  return e;
}

}  // namespace

TBookForm::TBookForm(Session& s, QWidget* parent) : QMainWindow(parent), s_(s), editor_(s) {
  setObjectName(QStringLiteral("BookForm"));
  BuildControls();
  BuildCommands();
  ConnectFields();
  ConnectCommands();
}

// The focus moves while the children go: nothing of this window may look at it then.
TBookForm::~TBookForm() { disconnect(focusWatch_); }

QLineEdit* TBookForm::Amount() {
  auto* e = new QLineEdit(this);
  e->setAlignment(Qt::AlignRight);
  e->installEventFilter(new KeyFilter(KeyFilter::Kind::Amount, e));
  return e;
}

void TBookForm::BuildControls() {
  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);

  // The customer, on the left.
  auto* who = new QGroupBox(central);
  auto* g = new QGridLayout(who);
  int row = 0;
  fSurName = Text(30, who);
  g->addWidget(Caption("Surname-----", who), row, 0);
  g->addWidget(fSurName, row++, 1, 1, 2);
  fFNames = Text(kFnamesLimit, who);
  g->addWidget(Caption("(Title+) first names---", who), row, 0);
  g->addWidget(fFNames, row++, 1, 1, 2);
  fAddress = new QPlainTextEdit(who);
  fAddress->setFixedHeight(5 * fAddress->fontMetrics().lineSpacing() + 12);
  fAddress->setTabChangesFocus(true);
  g->addWidget(Caption("Address------", who), row, 0, Qt::AlignTop);
  g->addWidget(fAddress, row++, 1, 1, 2);
  fPhone = Text(kPhoneLimit, who);
  g->addWidget(Caption("Phone--------", who), row, 0);
  g->addWidget(fPhone, row++, 1, 1, 2);
  fEMail = Text(kEmailLimit, who);
  g->addWidget(Caption("EMail------------", who), row, 0);
  g->addWidget(fEMail, row++, 1, 1, 2);
  fSpecial = Text(100, who);
  fFlagSp = new QCheckBox(who);
  fFlagSp->setToolTip(QStringLiteral("Special instructions for the local agent"));
  g->addWidget(Caption("Special-------", who), row, 0);
  g->addWidget(fSpecial, row, 1);
  g->addWidget(fFlagSp, row++, 2);
  fComments = new QPlainTextEdit(who);
  fComments->setTabChangesFocus(true);
  g->addWidget(Caption("Comments----", who), row, 0, Qt::AlignTop);
  g->addWidget(fComments, row++, 1, 1, 2);
  fSource = new SourceBox(who);
  fSource->setEditable(true);
  new TypedLength(kSourceLimit, fSource->lineEdit());
  fSource->setInsertPolicy(QComboBox::NoInsert);
  g->addWidget(Caption("Source-------", who), row, 0);
  g->addWidget(fSource, row++, 1, 1, 2);
  fNVisits = Text(5, who);
  fNVisits->installEventFilter(new KeyFilter(KeyFilter::Kind::Digits, fNVisits));
  g->addWidget(Caption("Num visits------", who), row, 0);
  g->addWidget(fNVisits, row++, 1);
  auto* options = new QVBoxLayout;
  fReserved = new QCheckBox(QStringLiteral("Reserved Booking?"), who);
  fReserved->setToolTip(QStringLiteral(
      "Reserve period for \n   1 Personal use inc maintenance.\nor 2 To reserve for a customer (see Help)"));
  fOmitM = new QCheckBox(QStringLiteral("Omit from mailshots?"), who);
  fOmitSName = new QCheckBox(QStringLiteral("Omit Surname from salutation?"), who);
  fShowAsLet = new QCheckBox(QStringLiteral("Show as unavailable (web)"), who);
  fNoClean = new QCheckBox(QStringLiteral("No clean required"), who);
  for (QCheckBox* c : {fReserved, fOmitM, fOmitSName, fShowAsLet, fNoClean}) options->addWidget(c);
  g->addLayout(options, row++, 0, 1, 3);
  who->setMinimumWidth(430);  // the customer's texts stay readable beside a wide money column
  columns->addWidget(who, 3);

  // Dates and money, on the right.
  auto* money = new QGroupBox(central);
  auto* m = moneyGrid_ = new QGridLayout(money);
  row = 0;
  auto* statusRow = new QHBoxLayout;
  fStatus = ReadOnlyText(money);
  fStatus->setMinimumWidth(fStatus->fontMetrics().horizontalAdvance(QStringLiteral("New Booking - complete details")) + 16);
  lReadOnly = new QLabel(QStringLiteral("Read Only"), money);
  lReadOnly->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  lReadOnly->hide();
  statusRow->addWidget(fStatus, 1);
  statusRow->addWidget(lReadOnly);
  m->addWidget(Caption("STATUS:", money), row, 0);
  m->addLayout(statusRow, row++, 1, 1, 3);
  fStartDate = DatePicker(money);
  m->addWidget(Caption("Start date-----", money), row, 0);
  m->addWidget(fStartDate, row++, 1);
  fEndDate = DatePicker(money);
  m->addWidget(Caption("End date-----", money), row, 0);
  m->addWidget(fEndDate, row, 1);
  fNoDays = ReadOnlyText(money);
  fNoDays->setMaximumWidth(50);
  m->addWidget(Caption("No days=", money), row, 2);
  m->addWidget(fNoDays, row++, 3);
  fDateOfBooking = DatePicker(money);
  m->addWidget(Caption("Initial booking--", money), row, 0);
  m->addWidget(fDateOfBooking, row++, 1);
  fRent = Amount();
  m->addWidget(Caption("Rent------------", money), row, 0);
  m->addWidget(fRent, row++, 1);
  // Only as many extra charges as the property has; filled in when the window opens.
  for (size_t i = 1; i <= 3; ++i) {
    chargeRow_[i] = row;
    lCharge[i] = Caption("", money);
    fCharge[i] = Amount();
    m->addWidget(lCharge[i], row, 0);
    m->addWidget(fCharge[i], row++, 1);
  }
  bRepay = new QPushButton(QStringLiteral("Repay"), money);
  bRepay->setToolTip(QStringLiteral("Click when ready to repay the deposit"));
  bRepay->hide();
  bCalculate = new QPushButton(QStringLiteral("calculate"), money);
  bCalculate->hide();
  fTotal = Amount();
  lTotal = Caption("TOTAL------", money);
  m->addWidget(lTotal, row, 0);
  m->addWidget(fTotal, row++, 1);
  // An amount with its "Paid" tick, the paid date and (deposit and balance) "Ack".
  auto paidRow = [&](QLabel* caption, QLineEdit* amount, QCheckBox*& paid, QDateEdit*& date, QCheckBox** ack) {
    paid = new QCheckBox(QStringLiteral("Paid"), money);
    date = DatePicker(money);
    m->addWidget(caption, row, 0);
    m->addWidget(amount, row, 1);
    m->addWidget(paid, row, 2);
    m->addWidget(date, row, 3);
    if (ack) {
      *ack = new QCheckBox(QStringLiteral("Ack"), money);
      m->addWidget(*ack, row, 4);
    }
    ++row;
  };
  fDeposit = Amount();
  paidRow(Caption("Deposit--------", money), fDeposit, fDepPaid, fDatePaidDep, &fDepAck);
  fBalance = ReadOnlyText(money);
  fBalance->setAlignment(Qt::AlignRight);
  paidRow(Caption("Balance-------", money), fBalance, fBalPaid, fDatePaidBal, &fBalAck);
  fRefund = ReadOnlyText(money);
  fRefund->setAlignment(Qt::AlignRight);
  lRefund = Caption("Refund--------", money);
  paidRow(lRefund, fRefund, fRefPaid, fDatePaidRef, nullptr);
  m->setRowStretch(row, 1);
  columns->addWidget(money, 2);
  setCentralWidget(central);

  for (QLabel*& p : panel) {
    p = new QLabel(this);
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  statusBar()->addWidget(panel[0], 1);
  statusBar()->addWidget(panel[1], 2);
  statusBar()->addWidget(panel[2], 4);
}

void TBookForm::BuildCommands() {
  auto add = [this](QMenu* menu, const char* caption, const char* shortcut, QList<QAction*>* group) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    if (shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    if (group) group->append(a);
    return a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  acSave = add(file, "Save", "F2", &fileGroup);
  acSaveExit = add(file, "Save / Exit", "F4", &fileGroup);
  acQuit = add(file, "Quit - don't save", "Ctrl+Q", nullptr);
  file->addSeparator();
  acCopyToFile = add(file, "Copy booking to specified file", "Ctrl+R", &fileGroup);
  acPrintCopy = add(file, "Print copy of booking", "F12", &fileGroup);
  acPrintLabel = add(file, "Print Label/Envelope", "F6", &fileGroup);
  acPrintSpooled = add(file, "Print spooled labels", "F5", &fileGroup);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  acDelete = add(edit, "Delete booking", "Ctrl+D", &editGroup);
  acCancelBooking = add(edit, "Cancel booking", nullptr, &editGroup);
  edit->addSeparator();
  acCopyTemp = add(edit, "Copy booking to temp storage", nullptr, &editGroup);
  acPasteTemp = add(edit, "Paste booking from temp store", nullptr, &editGroup);
  acCopyNameAddress = add(edit, "Copy Name/Ad+ to clipboard", nullptr, &editGroup);
  acDiscount = add(edit, "Calculate discount", nullptr, &editGroup);

  QMenu* go = menuBar()->addMenu(QStringLiteral("&Navigate"));
  acNext = add(go, "Next Record", "PgDown", nullptr);
  acPrev = add(go, "Prev Record", "PgUp", nullptr);
  acTop = add(go, "Top", "Ctrl+T", nullptr);
  acBottom = add(go, "Bottom", "Ctrl+B", nullptr);
  go->addSeparator();
  acFind = add(go, "Find text", "Ctrl+F", nullptr);
  acFindNext = add(go, "Find next", "F3", nullptr);
  acSearchHistory = add(go, "Search History", nullptr, nullptr);

  QMenu* letters = menuBar()->addMenu(QStringLiteral("&Letters"));
  acLetters = add(letters, "Create or view letters", "F10", nullptr);
  acProformas = add(letters, "Manage letter proformas", nullptr, nullptr);
  acWriteEmail = add(letters, "Write email", nullptr, nullptr);
  acBookingForm = add(letters, "Show Booking Form", nullptr, nullptr);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  acCalculator = add(tools, "Show Calculator", "Ctrl+M", nullptr);
  acExtractChangeLog = add(tools, "Extract data from change log", nullptr, nullptr);
  acLocalWebsite = add(tools, "View Local Website", nullptr, nullptr);
  acRemoteWebsite = add(tools, "View Remote Website", nullptr, nullptr);
  acWebForms = add(tools, "List/view web forms", nullptr, nullptr);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  const std::pair<const char*, int> pages[] = {{"Contents", kHelpContents},
                                               {"Help Index", kHelpIndex},
                                               {"Topic Search", kHelpSearch},
                                               {"Help on Help", kHelpOnHelp},
                                               {"Help on the booking window", kBookingWindowHelp}};
  for (const auto& [caption, context] : pages) {
    connect(add(help, caption, nullptr, nullptr), &QAction::triggered, this,
            [this, context = context]() { OpenHelp(s_, context); });
  }
  AddHelpKey(this, [this]() { OpenHelp(s_, kBookingWindowHelp); });

  // The windows of these commands come later; they stay disabled until then. The
  // recovery window is enabled once its window is set.
  for (QAction* a : {acPrintLabel, acPrintSpooled, acExtractChangeLog})
    a->setEnabled(false);

  QToolBar* bar = addToolBar(QStringLiteral("Booking"));
  bar->setMovable(false);
  for (QAction* a : {acSave, acSaveExit, acQuit, acDelete, acPrev, acNext, acFind, acPrintCopy}) bar->addAction(a);
}

}  // namespace tb
