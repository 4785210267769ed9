// The booking window's flow: the controls copied to and from the booking editor, the
// change handlers, the commands and closing.

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QStatusBar>

#include "bookings/forms/FindDialog.h"
#include "bookings/forms/SourceBox.h"
#include "bookings/forms/TCalcForm.h"
#include "bookings/forms/TCancelForm.h"
#include "bookings/forms/TRecoverForm.h"
#include "bookings/forms/TSearchForm.h"
#include "bookings/forms/TSurChgForm.h"
#include "bookings/forms/TBookForm.h"
#include "correspondence/forms/EmailDelivery.h"
#include "correspondence/forms/TLetterForm.h"
#include "correspondence/forms/TProformaForm.h"
#include "platform/Calculator.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/forms/QtDate.h"
#include "platform/forms/QtFields.h"
#include "platform/forms/CloseHook.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "reports/forms/PrintWindow.h"
#include "store/Session.h"
#include "store/Settings.h"
#include "web/WebForms.h"
#include "web/WebSiteLinks.h"

namespace tb {

namespace {

void Put(QPlainTextEdit* e, const std::string& ansi) {
  const QString text = MemoToQ(ansi);
  if (e->toPlainText() != text) e->setPlainText(text);
}

}  // namespace

// ---- Opening ------------------------------------------------------------------------

void TBookForm::OpenNew(int n, TDateTime start) {
  editor_.OpenNew(n, start);
  Opened();
}

void TBookForm::OpenEdit(int n, Book_Buffer* node) {
  editor_.OpenEdit(n, node);
  Opened();
}

void TBookForm::OpenFile() {
  editor_.OpenFile();
  Opened();
}

void TBookForm::Opened() {
  closed_ = false;
  setWindowTitle(ToQ(editor_.Caption()));
  acBookingForm->setEnabled(editor_.Mode() != EditorMode::File);
  acExtractChangeLog->setEnabled(editor_.IsChangeLog() && showRecovery != nullptr);
  // A booking shown read-only cannot take another's details; a booking file's list is only viewed.
  acSearchHistory->setEnabled(editor_.Mode() == EditorMode::File || !editor_.ReadOnly());
  LayOutCharges();
  ApplyReadOnly();
  Refresh();
}

// As many extra-charge rows as the property has, each captioned with its charge's name;
// "Repay" beside the returnable deposit and "calculate" beside the surcharge.
void TBookForm::LayOutCharges() {
  const Prop_Rec& p = s_.Prop(editor_.Property());
  const int count = std::min<int>(p.ChargeCount, 3);
  for (size_t i = 1; i <= 3; ++i) {
    const bool shown = static_cast<int>(i) <= count;
    lCharge[i]->setText(ToQ(p.ExtChg[i] + "--------------"));
    lCharge[i]->setVisible(shown);
    fCharge[i]->setVisible(shown);
  }
  moneyGrid_->removeWidget(bRepay);
  moneyGrid_->removeWidget(bCalculate);
  bRepay->hide();
  bCalculate->hide();
  if (p.RetDepChg >= 1 && p.RetDepChg <= count) moneyGrid_->addWidget(bRepay, chargeRow_[p.RetDepChg], 2);
  if (p.SurchargeChg >= 1 && p.SurchargeChg <= count) {
    moneyGrid_->addWidget(bCalculate, chargeRow_[p.SurchargeChg], 2);
    bCalculate->show();
  }
}

void TBookForm::ApplyReadOnly() {
  const bool ro = editor_.ReadOnly();
  lReadOnly->setVisible(ro);
  if (!ro) return;
  for (QLineEdit* e : findChildren<QLineEdit*>()) e->setReadOnly(true);
  for (QPlainTextEdit* e : findChildren<QPlainTextEdit*>()) e->setReadOnly(true);
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
    if (qobject_cast<QCheckBox*>(b) || qobject_cast<QPushButton*>(b)) b->setEnabled(false);
  }
  for (QDateEdit* d : findChildren<QDateEdit*>()) d->setEnabled(false);
  fSource->setEnabled(false);
  for (QAction* a : editGroup + fileGroup) a->setEnabled(false);
}

// ---- Fields -------------------------------------------------------------------------

void TBookForm::ReadFields() {
  BookingFields& f = editor_.fields;
  BookingForm& form = f.form;
  form.surname = FromQ(fSurName->text());
  f.fnames = FromQ(fFNames->text());
  f.address = MemoFromQ(fAddress->toPlainText());
  f.phone = FromQ(fPhone->text());
  f.email = FromQ(fEMail->text());
  f.special = FromQ(fSpecial->text());
  f.comments = MemoFromQ(fComments->toPlainText());
  f.source = FromQ(fSource->currentText());
  f.visits = FromQ(fNVisits->text());
  form.startD = PickedDate(fStartDate->date(), form.startD);
  form.endD = PickedDate(fEndDate->date(), form.endD);
  f.dateB = PickedDate(fDateOfBooking->date(), f.dateB);
  form.rent = FromQ(fRent->text());
  for (size_t i = 1; i <= 3; ++i) form.charge[i] = FromQ(fCharge[i]->text());
  form.total = FromQ(fTotal->text());
  form.deposit = FromQ(fDeposit->text());
  form.reserved = fReserved->isChecked();
  form.depositPaid = fDepPaid->isChecked();
  form.balancePaid = fBalPaid->isChecked();
  form.noClean = fNoClean->isChecked();
  // A paid date is only there to change while its details are on show.
  if (fDatePaidDep->isVisible()) form.dateD = PickedDate(fDatePaidDep->date(), form.dateD);
  if (fDatePaidBal->isVisible()) form.dateP = PickedDate(fDatePaidBal->date(), form.dateP);
  if (fDatePaidRef->isVisible()) form.dateR = PickedDate(fDatePaidRef->date(), form.dateR);
  f.refundPaid = fRefPaid->isChecked();
  f.depAck = fDepAck->isChecked();
  f.balAck = fBalAck->isChecked();
  f.omitM = fOmitM->isChecked();
  f.omitSName = fOmitSName->isChecked();
  f.flagSp = fFlagSp->isChecked();
  f.showAsLet = fShowAsLet->isChecked();
}

void TBookForm::ShowFields() {
  ready_ = false;
  const BookingFields& f = editor_.fields;
  const BookingForm& form = f.form;
  const BookingView v = editor_.View();
  Put(fSurName, form.surname);
  Put(fFNames, f.fnames);
  Put(fAddress, f.address);
  address_ = f.address;
  Put(fPhone, f.phone);
  Put(fEMail, f.email);
  Put(fSpecial, f.special);
  Put(fComments, f.comments);
  comments_ = f.comments;
  if (fSource->currentText() != ToQ(f.source)) fSource->setEditText(ToQ(f.source));
  Put(fNVisits, f.visits);
  Put(fStartDate, form.startD);
  Put(fEndDate, form.endD);
  Put(fDateOfBooking, f.dateB);
  Put(fNoDays, v.noDays);
  Put(fRent, form.rent);
  for (size_t i = 1; i <= 3; ++i) Put(fCharge[i], form.charge[i]);
  Put(fTotal, form.total);
  Put(fDeposit, form.deposit);
  Put(fBalance, form.balance);
  Put(fRefund, f.refund);
  Put(fStatus, v.statusText);
  Put(fReserved, form.reserved);
  Put(fDepPaid, form.depositPaid);
  Put(fBalPaid, form.balancePaid);
  Put(fNoClean, form.noClean);
  Put(fDatePaidDep, form.dateD);
  Put(fDatePaidBal, form.dateP);
  Put(fDatePaidRef, form.dateR);
  Put(fRefPaid, f.refundPaid);
  Put(fDepAck, f.depAck);
  Put(fBalAck, f.balAck);
  Put(fOmitM, f.omitM);
  Put(fOmitSName, f.omitSName);
  Put(fFlagSp, f.flagSp);
  Put(fShowAsLet, f.showAsLet);

  fDatePaidDep->setVisible(v.depositDetailsShown);
  fDepAck->setVisible(v.depositDetailsShown);
  fDatePaidBal->setVisible(v.balanceDetailsShown);
  fBalAck->setVisible(v.balanceDetailsShown);
  for (QWidget* w : std::initializer_list<QWidget*>{lRefund, fRefund, fRefPaid}) w->setVisible(v.refundShown);
  fDatePaidRef->setVisible(v.refundDateShown);
  bRepay->setVisible(v.repayShown && moneyGrid_->indexOf(bRepay) >= 0);
  fShowAsLet->setVisible(v.showAsLetShown);
  fTotal->setReadOnly(!v.totalEditable);
  fTotal->setFocusPolicy(v.totalEditable ? Qt::StrongFocus : Qt::NoFocus);
  lTotal->setText(ToQ(v.totalCaption));
  for (QAction* a : {acNext, acPrev, acTop, acBottom}) a->setEnabled(v.navigationEnabled);
  acFind->setEnabled(v.findEnabled);
  acFindNext->setEnabled(v.findNextEnabled);
  for (size_t i = 0; i < panel.size(); ++i) panel[i]->setText(ToQ(editor_.panel[i]));
  ready_ = !closed_;
}

QWidget* TBookForm::FocusTarget(EditorFocus f) const {
  switch (f) {
    case EditorFocus::None: return nullptr;
    case EditorFocus::Surname: return fSurName;
    case EditorFocus::Address: return fAddress;
    case EditorFocus::StartDate: return fStartDate;
    case EditorFocus::EndDate: return fEndDate;
    case EditorFocus::Rent: return fRent;
    case EditorFocus::Charge1: return fCharge[1];
    case EditorFocus::Charge2: return fCharge[2];
    case EditorFocus::Charge3: return fCharge[3];
    case EditorFocus::Total: return fTotal;
    case EditorFocus::Deposit: return fDeposit;
  }
  return nullptr;
}

void TBookForm::Refresh() {
  ShowFields();
  if (QWidget* w = FocusTarget(editor_.focus); w && w->isEnabled()) {
    const bool wasLeaving = leaving_;
    leaving_ = true;  // moving the focus back is not the user leaving a field
    w->setFocus(Qt::OtherFocusReason);
    leaving_ = wasLeaving;
  }
  editor_.focus = EditorFocus::None;
}

void TBookForm::Run(const std::function<void()>& operation) {
  ReadFields();
  operation();
  Refresh();
}

// A change the user made: ignored while the window fills its own fields.
void TBookForm::Changed(const std::function<void()>& rule) {
  if (!ready_ || closed_ || editor_.ReadOnly()) return;
  Run(rule);
}

void TBookForm::AddressEdited() {
  if (!ready_ || closed_ || editor_.ReadOnly()) return;
  const std::string previous = address_;
  ReadFields();
  if (editor_.fields.address.size() > kAddressLimit) editor_.fields.address = previous;
  editor_.AddressChanged(previous);
  Refresh();
}

// Comments: at most `limit` bytes as stored; a longer text is refused as typed.
void TBookForm::MemoLimited(QPlainTextEdit* memo, size_t limit, std::string& previous) {
  if (!ready_ || closed_ || editor_.ReadOnly()) return;
  const std::string text = MemoFromQ(memo->toPlainText());
  if (text.size() > limit) {
    s_.dialogs.Beep();
    ready_ = false;
    memo->setPlainText(MemoToQ(previous));
    memo->moveCursor(QTextCursor::End);
    ready_ = true;
    return;
  }
  previous = text;
  Changed([this]() { editor_.FieldChanged(); });
}

std::array<std::pair<QLineEdit*, AmountField>, 6> TBookForm::AmountFields() const {
  return {{{fRent, AmountField::Rent},
           {fCharge[1], AmountField::Charge1},
           {fCharge[2], AmountField::Charge2},
           {fCharge[3], AmountField::Charge3},
           {fTotal, AmountField::Total},
           {fDeposit, AmountField::Deposit}}};
}

void TBookForm::ConnectFields() {
  auto field = [this]() { Changed([this]() { editor_.FieldChanged(); }); };
  connect(fSurName, &QLineEdit::textEdited, this, [this]() { Changed([this]() { editor_.SurnameChanged(); }); });
  for (QLineEdit* e : {fFNames, fPhone, fEMail, fSpecial, fNVisits}) connect(e, &QLineEdit::textEdited, this, field);
  connect(fSource, &QComboBox::editTextChanged, this, field);
  connect(fAddress, &QPlainTextEdit::textChanged, this, [this]() { AddressEdited(); });
  connect(fComments, &QPlainTextEdit::textChanged, this,
          [this]() { MemoLimited(fComments, kCommentsLimit, comments_); });
  for (const auto& [edit, which] : AmountFields()) {
    connect(edit, &QLineEdit::textEdited, this,
            [this, which = which]() { Changed([this, which]() { editor_.AmountChanged(which); }); });
  }
  for (QDateEdit* d : {fStartDate, fEndDate}) {
    connect(d, &QDateEdit::dateChanged, this, [this]() { Changed([this]() { editor_.DatesPicked(); }); });
  }
  for (QDateEdit* d : {fDateOfBooking, fDatePaidDep, fDatePaidBal, fDatePaidRef})
    connect(d, &QDateEdit::dateChanged, this, field);
  connect(fReserved, &QCheckBox::clicked, this, [this]() { Changed([this]() { editor_.ReservedTicked(); }); });
  connect(fDepPaid, &QCheckBox::clicked, this, [this]() { Changed([this]() { editor_.DepositTicked(); }); });
  connect(fBalPaid, &QCheckBox::clicked, this, [this]() { Changed([this]() { editor_.BalanceTicked(); }); });
  connect(fRefPaid, &QCheckBox::clicked, this, [this]() { Changed([this]() { editor_.RefundTicked(); }); });
  for (QCheckBox* c : {fDepAck, fBalAck, fOmitM, fOmitSName, fFlagSp, fShowAsLet, fNoClean})
    connect(c, &QCheckBox::clicked, this, field);
  static_cast<SourceBox*>(fSource)->beforePopup = [this]() {
    const bool wasReady = ready_;
    ready_ = false;
    const QString typed = fSource->currentText();
    fSource->clear();
    for (const std::string& source : editor_.SourceList()) fSource->addItem(ToQ(source));
    fSource->setEditText(typed);
    ready_ = wasReady;
  };
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* from, QWidget* to) { FocusMoved(from, to); });
}

void TBookForm::FocusMoved(QWidget* from, QWidget* to) {
  if (!ready_ || closed_ || leaving_ || editor_.ReadOnly() || !from || !to) return;
  if (!isAncestorOf(from) || !isAncestorOf(to)) return;
  auto within = [](QWidget* w, QWidget* picker) { return w == picker || picker->isAncestorOf(w); };
  leaving_ = true;
  for (const auto& [edit, which] : AmountFields()) {
    if (from != edit || edit->isReadOnly()) continue;
    Run([this, which = which]() { editor_.AmountLeft(which); });
  }
  for (auto [picker, which] : {std::pair{fStartDate, EditorFocus::StartDate}, {fEndDate, EditorFocus::EndDate}}) {
    // Moving between the two pickers checks nothing yet.
    if (!within(from, picker) || within(to, fStartDate) || within(to, fEndDate)) continue;
    Run([this, which = which]() { editor_.DateLeft(which); });
  }
  leaving_ = false;
}

// ---- Commands -----------------------------------------------------------------------

void TBookForm::ConnectCommands() {
  connect(acSave, &QAction::triggered, this, &TBookForm::Save);
  connect(acSaveExit, &QAction::triggered, this, &TBookForm::SaveExit);
  connect(acQuit, &QAction::triggered, this, &TBookForm::Quit);
  connect(acDelete, &QAction::triggered, this, &TBookForm::DeleteBooking);
  connect(acNext, &QAction::triggered, this, &TBookForm::Next);
  connect(acPrev, &QAction::triggered, this, &TBookForm::Prev);
  connect(acTop, &QAction::triggered, this, &TBookForm::Top);
  connect(acBottom, &QAction::triggered, this, &TBookForm::Bottom);
  connect(acFind, &QAction::triggered, this, &TBookForm::ShowFindDialog);
  connect(acFindNext, &QAction::triggered, this, &TBookForm::FindNext);
  connect(acCopyTemp, &QAction::triggered, this, &TBookForm::CopyToTemp);
  connect(acPasteTemp, &QAction::triggered, this, &TBookForm::PasteFromTemp);
  connect(acCopyNameAddress, &QAction::triggered, this, &TBookForm::CopyNameAddress);
  connect(acCopyToFile, &QAction::triggered, this, &TBookForm::CopyToFile);
  connect(acWriteEmail, &QAction::triggered, this, &TBookForm::WriteEmail);
  connect(acPrintCopy, &QAction::triggered, this, &TBookForm::PrintCopy);
  connect(acCalculator, &QAction::triggered, this, &TBookForm::ShowCalculator);
  connect(acCancelBooking, &QAction::triggered, this, &TBookForm::CancelBooking);
  connect(acBookingForm, &QAction::triggered, this, &TBookForm::ShowBookingForm);
  connect(acLocalWebsite, &QAction::triggered, this, [this]() { ViewLocalWebsite(s_, editor_.Property()); });
  connect(acRemoteWebsite, &QAction::triggered, this, [this]() { ViewRemoteWebsite(s_); });
  connect(acWebForms, &QAction::triggered, this, [this]() { ListWebForms(s_); });
  connect(acExtractChangeLog, &QAction::triggered, this, &TBookForm::ExtractFromChangeLog);
  connect(acSearchHistory, &QAction::triggered, this, &TBookForm::SearchHistory);
  connect(acDiscount, &QAction::triggered, this, &TBookForm::Discount);
  connect(acLetters, &QAction::triggered, this, &TBookForm::Letters);
  connect(acProformas, &QAction::triggered, this, &TBookForm::ManageProformas);
  connect(bRepay, &QPushButton::clicked, this, &TBookForm::RepayDeposit);
  connect(bCalculate, &QPushButton::clicked, this, &TBookForm::Surcharge);

  askCancellation = [this](CancelDialogModel& model) { return TCancelForm(s_, model, this).exec() == QDialog::Accepted; };
  askSurcharge = [this](SurchargeModel& model) { return TSurChgForm(s_, model, this).exec() == QDialog::Accepted; };
  showDiscount = [](TCalcForm& calculator) { calculator.exec(); };
  showRecovery = [this]() { TRecoverForm(s_, this).exec(); };

  chooseCopyFile = [this]() {
    return QFileDialog::getSaveFileName(this, QStringLiteral("Select file to which to copy booking"),
                                        QString::fromStdString(s_.common.RootFolder),
                                        QStringLiteral("Booking files (*.bks)"), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
  };
  printCanvas = PrinterCanvas(this);
  locateBookingForm = [this]() { return TWebGetForm(s_, this).Ask(); };
  chooseBookingForm = [this]() {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Locate booking form"), QString(),
                                        QStringLiteral("All files (*)"));
  };
}

void TBookForm::Save() {
  if (closed_ || editor_.ReadOnly()) return;
  Run([this]() { editor_.Save("SAVE"); });
}

void TBookForm::SaveExit() {
  if (closed_ || editor_.ReadOnly()) return;
  bool saved = false;
  Run([this, &saved]() { saved = editor_.SaveExit(); });
  if (saved) close();
}

void TBookForm::Quit() {
  if (closed_) return;
  bool quit = false;
  Run([this, &quit]() { quit = editor_.Quit(); });
  if (quit) close();
}

void TBookForm::DeleteBooking() {
  if (closed_ || editor_.ReadOnly()) return;
  bool gone = false;
  Run([this, &gone]() { gone = editor_.Delete(); });
  if (!gone) return;
  ClosedNow();
  close();
}

void TBookForm::Next() { Run([this]() { editor_.Next(); }); }
void TBookForm::Prev() { Run([this]() { editor_.Prev(); }); }
void TBookForm::Top() { Run([this]() { editor_.Top(); }); }
void TBookForm::Bottom() { Run([this]() { editor_.Bottom(); }); }

void TBookForm::ShowFindDialog() {
  if (!editor_.View().findEnabled) return;
  if (!findDialog_) {
    findDialog_ = new FindDialog(this);
    findDialog_->onFind = [this](const QString& text, bool down) { FindText(text, down); };
    AddHelpKey(findDialog_, [this]() { OpenHelp(s_, kBookingWindowHelp); });
  }
  findDialog_->Start(ToQ(editor_.FindText()));
}

void TBookForm::FindText(const QString& text, bool down) {
  Run([this, t = FromQ(text), down]() { editor_.Find(t, down); });
}

void TBookForm::FindNext() { Run([this]() { editor_.FindNext(); }); }

void TBookForm::CopyToTemp() { Run([this]() { editor_.CopyToTemp(); }); }

void TBookForm::PasteFromTemp() {
  if (editor_.ReadOnly()) return;
  Run([this]() { editor_.PasteFromTemp(); });
}

void TBookForm::CopyNameAddress() {
  Run([this]() {
    const std::string text = editor_.ClipboardText();
    if (!text.empty()) QGuiApplication::clipboard()->setText(ToQ(text));
  });
}

void TBookForm::CopyToFile() {
  if (!editor_.Node()) {
    Run([this]() { editor_.CopyToFile(""); });  // says the booking must be saved first
    return;
  }
  const QString path = chooseCopyFile ? chooseCopyFile() : QString();
  if (path.isEmpty()) return;
  Run([this, p = path.toStdString()]() { editor_.CopyToFile(p); });
}

void TBookForm::WriteEmail() { Run([this]() { editor_.WriteEmail(); }); }

void TBookForm::PrintCopy() { PrintWindowImage(s_, *this, printCanvas, editor_.Caption()); }

void TBookForm::ShowCalculator() { StartCalculator(s_.processes, s_.dialogs); }

void TBookForm::ShowBookingForm() {
  if (closed_) return;
  ReadFields();
  const BookingFormLookup found = editor_.FindBookingForm();
  std::string path = found.path;
  if (found.ok && path.empty()) path = LocateBookingForm(found.name);
  if (!path.empty()) OpenBookingForm(s_, path);
  Refresh();
}

// A booking without a stored form: downloaded from the web site or browsed for, either
// way stored in the property's folder (so not from a read-only window). The stored
// form's path, or "".
std::string TBookForm::LocateBookingForm(const std::string& name) {
  if (editor_.ReadOnly()) return {};
  bool browse = false;
  if (!s_.common.FormData.empty()) {
    const LocateChoice choice = locateBookingForm ? locateBookingForm() : LocateChoice::Closed;
    if (choice == LocateChoice::Download) return DownloadBookingForm();
    browse = choice == LocateChoice::Browse;
  } else {
    browse = AskToBrowseForForm(s_, name);
  }
  const QString chosen = browse && chooseBookingForm ? chooseBookingForm() : QString();
  if (chosen.isEmpty()) return {};
  return AdoptBookingForm(s_, editor_.Property(), chosen.toStdString(), name);
}

// The form from the web site, its data merged into the fields, which then count as
// changed until the user saves.
std::string TBookForm::DownloadBookingForm() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const WebFormDownload d = TryToDownloadForm(s_, editor_.Property(), editor_.fields);
  QApplication::restoreOverrideCursor();
  if (d.merged) editor_.FieldChanged();
  return d.outcome == WebFormOutcome::Downloaded ? d.place.localPath : std::string();
}

void TBookForm::Letters() {
  if (closed_) return;
  // The letter window works on the booking as it stands here, and saves it.
  Run([this]() {
    EmailDelivery email(s_, editor_.Property(), this);
    TLetterForm form(s_, editor_, letterDelivery ? *letterDelivery : email, this);
    if (showLetters) showLetters(form);
    else form.exec();
  });
}

void TBookForm::ManageProformas() {
  if (closed_) return;
  TProformaForm form(s_, editor_.Mode() == EditorMode::File ? 0 : editor_.Property(), this);
  if (showProformas) showProformas(form);
  else form.exec();
}

void TBookForm::SearchHistory() {
  if (closed_) return;
  ReadFields();
  const bool fileMode = editor_.Mode() == EditorMode::File;
  if (!fileMode && editor_.ReadOnly()) return;
  TSearchForm form(s_, fileMode ? SearchPurpose::ListAll : SearchPurpose::History, this);
  form.Start(fileMode ? std::string() : Trim(editor_.fields.form.surname));
  if (showSearch) showSearch(form);
  else form.exec();
  if (!form.chosen) return;
  Run([&]() { editor_.TakeFromHistory(*form.chosen, form.chosenProp == editor_.Property()); });
}

void TBookForm::ExtractFromChangeLog() {
  if (closed_) return;
  ReadFields();
  if (editor_.MayExtractFromChangeLog() && showRecovery) showRecovery();
  Refresh();
}

// ---- Money ----------------------------------------------------------------------------

void TBookForm::CancelBooking() {
  if (closed_ || editor_.ReadOnly()) return;
  ReadFields();
  if (!editor_.MayCancel()) return Refresh();
  CancelDialogModel model(editor_.AmountPaid(), editor_.Currency());
  if (!askCancellation || !askCancellation(model)) return;
  if (editor_.Cancel(model.option, model.Charge()) == BookingEditor::CancelResult::Deleted) {
    ClosedNow();
    close();
    return;
  }
  Refresh();
}

void TBookForm::RepayDeposit() {
  if (closed_ || editor_.ReadOnly()) return;
  Run([this]() { editor_.Repay(); });
}

void TBookForm::Surcharge() {
  if (closed_ || editor_.ReadOnly()) return;
  ReadFields();
  if (!editor_.MaySurcharge()) return Refresh();
  SurchargeModel model(editor_.fields.form, s_.prefs.SurchargeHundredths(), editor_.Currency());
  if (askSurcharge && askSurcharge(model)) editor_.ApplySurcharge(model);
  Refresh();
}

void TBookForm::Discount() {
  if (closed_ || editor_.ReadOnly()) return;
  ReadFields();
  const Prop_Rec& p = s_.Prop(editor_.Property());
  TCalcForm calculator(s_, p, editor_.fields.form, [this](const DiscountLine& line) { return editor_.ApplyDiscount(line); },
                       this);
  if (!calculator.Valid()) {
    s_.dialogs.Message("Rent and charges must be valid", MsgIcon::Error, MsgButton::OK);
    return;
  }
  if (showDiscount) showDiscount(calculator);
  Refresh();
}

// ---- Closing ------------------------------------------------------------------------

// The editor has let the booking file go: nothing more to ask on closing.
void TBookForm::ClosedNow() {
  if (closed_) return;
  closed_ = true;
  ready_ = false;
  if (findDialog_) findDialog_->close();
}

void TBookForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    ReadFields();
    const bool canClose = editor_.Close();
    Refresh();
    if (!canClose) {
      event->ignore();
      return;
    }
    ClosedNow();
  }
  event->accept();
  RunCloseHook(onClosed);
}

}  // namespace tb
