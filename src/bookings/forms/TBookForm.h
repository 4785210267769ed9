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
#include <memory>

namespace tb {

class Session;

class TBookForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TBookForm(Session& s, QWidget* parent = nullptr);
  ~TBookForm() override;

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

 private:
  void BuildControls();
  void BuildCommands();
  QLineEdit* Amount();
  Session& s_;
};

}  // namespace tb
