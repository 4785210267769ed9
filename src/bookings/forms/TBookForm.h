#pragma once
// The booking window: one booking of one property created, viewed, changed, saved,
// deleted, paged through, copied and pasted. The window holds the controls and their
// flow; what happens to the booking is decided by the booking editor engine.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "bookings/BookingEditor.h"
#include "reports/forms/PrintWindow.h"
#include "web/forms/TWebGetForm.h"

class QGridLayout;

namespace tb {

class FindDialog;
class LetterDelivery;
class TCalcForm;
class TLetterForm;
class TProformaForm;
class TSearchForm;
class Session;

class TBookForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TBookForm(Session& s, QWidget* parent = nullptr);
  ~TBookForm() override;

  // Opening: a new booking starting at `start`, an existing booking, or booking-file
  // mode on the first booking of the file. The caller holds the booking file (the
  // chart's click, or the read at the start of booking-file mode).
  void OpenNew(int n, TDateTime start);
  void OpenEdit(int n, Book_Buffer* node);
  void OpenFile();
  BookingEditor& Editor() { return editor_; }

  // The commands, as the menus run them.
  void Save();
  void SaveExit();
  void Quit();
  void DeleteBooking();
  void Next();
  void Prev();
  void Top();
  void Bottom();
  void ShowFindDialog();
  void FindText(const QString& text, bool down);
  void FindNext();
  void CopyToTemp();
  void PasteFromTemp();
  void CopyNameAddress();
  void CopyToFile();
  void WriteEmail();
  void PrintCopy();
  void ShowCalculator();
  void ShowBookingForm();
  // "Create or view letters" (F10) and "Manage letter proformas".
  void Letters();
  void ManageProformas();
  void ExtractFromChangeLog();
  // "Search History": the search window on this surname; a booking chosen there gives
  // this one its customer's details. In booking-file mode: the file's bookings as a list.
  void SearchHistory();
  void CancelBooking();
  void RepayDeposit();
  void Surcharge();
  void Discount();
  // The focus moved from `from` to `to` inside the window: leaving an amount or a date
  // checks it, and a refused value takes the focus back.
  void FocusMoved(QWidget* from, QWidget* to);

  // After the window closed and let the booking file go.
  std::function<void()> onClosed;
  // The file "Copy booking to specified file" appends to; "" when cancelled.
  std::function<QString()> chooseCopyFile;
  // Where "Print copy of booking" prints.
  PrintCanvasFactory printCanvas;
  // "Show Booking Form": the file the user browses for; "" when cancelled.
  std::function<QString()> chooseBookingForm;
  // "Show Booking Form" with web forms set up: the "Locate Booking Form" window's answer.
  std::function<LocateChoice()> locateBookingForm;
  // The recovery window (tests replace it), shown on a change log opened in booking-file
  // mode; while it is not set, "Extract data from change log" stays off.
  std::function<void()> showRecovery;
  // The search window of "Search History" (tests replace it; unset: shown modally).
  std::function<void(TSearchForm&)> showSearch;
  // The money dialogs (tests replace them): true when the user went on.
  std::function<bool(CancelDialogModel&)> askCancellation;
  std::function<bool(SurchargeModel&)> askSurcharge;
  std::function<void(TCalcForm&)> showDiscount;
  // The letter and proforma windows (tests replace them; unset: shown modally).
  std::function<void(TLetterForm&)> showLetters;
  std::function<void(TProformaForm&)> showProformas;
  // How e-mail letters leave (tests set it); unset, through the e-mail window and the
  // user's mail client.
  std::unique_ptr<LetterDelivery> letterDelivery;

  // Controls, named as the booking window names them.
  QLineEdit* fSurName = nullptr;
  QLineEdit* fFNames = nullptr;
  QPlainTextEdit* fAddress = nullptr;
  QLineEdit* fPhone = nullptr;
  QLineEdit* fEMail = nullptr;
  QLineEdit* fSpecial = nullptr;
  QPlainTextEdit* fComments = nullptr;
  QComboBox* fSource = nullptr;
  QLineEdit* fNVisits = nullptr;
  QDateEdit* fStartDate = nullptr;
  QDateEdit* fEndDate = nullptr;
  QLineEdit* fNoDays = nullptr;
  QDateEdit* fDateOfBooking = nullptr;
  QLineEdit* fRent = nullptr;
  std::array<QLineEdit*, 4> fCharge{};  // extra charges 1..3; [0] unused
  std::array<QLabel*, 4> lCharge{};
  QLineEdit* fTotal = nullptr;
  QLabel* lTotal = nullptr;
  QLineEdit* fDeposit = nullptr;
  QLineEdit* fBalance = nullptr;
  QLineEdit* fRefund = nullptr;
  QLabel* lRefund = nullptr;
  QCheckBox* fDepPaid = nullptr;
  QDateEdit* fDatePaidDep = nullptr;
  QCheckBox* fDepAck = nullptr;
  QCheckBox* fBalPaid = nullptr;
  QDateEdit* fDatePaidBal = nullptr;
  QCheckBox* fBalAck = nullptr;
  QCheckBox* fRefPaid = nullptr;
  QDateEdit* fDatePaidRef = nullptr;
  QCheckBox* fReserved = nullptr;
  QCheckBox* fOmitM = nullptr;
  QCheckBox* fOmitSName = nullptr;
  QCheckBox* fFlagSp = nullptr;
  QCheckBox* fShowAsLet = nullptr;
  QCheckBox* fNoClean = nullptr;
  QLineEdit* fStatus = nullptr;
  QPushButton* bRepay = nullptr;
  QPushButton* bCalculate = nullptr;
  QLabel* lReadOnly = nullptr;
  std::array<QLabel*, 3> panel{};  // status bar panels 1..3 at [0..2]

  // Commands.
  QAction* acSave = nullptr;
  QAction* acSaveExit = nullptr;
  QAction* acQuit = nullptr;
  QAction* acDelete = nullptr;
  QAction* acCancelBooking = nullptr;
  QAction* acNext = nullptr;
  QAction* acPrev = nullptr;
  QAction* acTop = nullptr;
  QAction* acBottom = nullptr;
  QAction* acFind = nullptr;
  QAction* acFindNext = nullptr;
  QAction* acSearchHistory = nullptr;
  QAction* acCopyTemp = nullptr;
  QAction* acPasteTemp = nullptr;
  QAction* acCopyNameAddress = nullptr;
  QAction* acCopyToFile = nullptr;
  QAction* acLetters = nullptr;
  QAction* acProformas = nullptr;
  QAction* acWriteEmail = nullptr;
  QAction* acPrintLabel = nullptr;
  QAction* acPrintSpooled = nullptr;
  QAction* acPrintCopy = nullptr;
  QAction* acBookingForm = nullptr;
  QAction* acCalculator = nullptr;
  QAction* acDiscount = nullptr;
  QAction* acLocalWebsite = nullptr;
  QAction* acRemoteWebsite = nullptr;
  QAction* acWebForms = nullptr;
  QAction* acExtractChangeLog = nullptr;
  // The Edit and File groups, disabled in a read-only window.
  QList<QAction*> editGroup, fileGroup;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildCommands();
  void ConnectFields();
  void ConnectCommands();
  QLineEdit* Amount();
  void Opened();
  void LayOutCharges();
  void ApplyReadOnly();
  // Widgets -> editor fields, and back with the view, panels and focus.
  void ReadFields();
  void ShowFields();
  void Refresh();
  // Runs an editor operation on the fields as typed and shows the outcome.
  void Run(const std::function<void()>& operation);
  void Changed(const std::function<void()>& rule);
  void AddressEdited();
  void MemoLimited(QPlainTextEdit* memo, size_t limit, std::string& previous);
  void ClosedNow();
  std::string LocateBookingForm(const std::string& name);
  std::string DownloadBookingForm();
  QWidget* FocusTarget(EditorFocus f) const;
  std::array<std::pair<QLineEdit*, AmountField>, 6> AmountFields() const;

  Session& s_;
  BookingEditor editor_;
  QGridLayout* moneyGrid_ = nullptr;
  std::array<int, 4> chargeRow_{};
  FindDialog* findDialog_ = nullptr;
  QMetaObject::Connection focusWatch_;
  bool ready_ = false;    // change handling is off while the window fills its fields
  bool leaving_ = false;  // a leave check is showing its message
  bool closed_ = false;   // the editor has let the booking go
  std::string address_, comments_;  // the memos' last accepted texts
};

}  // namespace tb
