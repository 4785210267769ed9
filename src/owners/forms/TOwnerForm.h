#pragma once
// "Owner Details": one owner of the owner database at a time, to read, change, add,
// delete, find, print, export and write to.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "owners/OwnerDB.h"
#include "owners/forms/OwnerFormMode.h"
#include "reports/forms/PrintWindow.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace tb {

class FindDialog;
class Session;

class TOwnerForm : public QDialog {
  Q_OBJECT
 public:
  // position: the 1-based database position to show first (0: the database's current).
  TOwnerForm(Session& s, OwnerFormMode mode, int position = 0, QWidget* parent = nullptr);
  ~TOwnerForm() override;

  // Prepares the window as showing it does (the lock in the property-owner mode, the
  // first owner or a blank new one); false when it must not be shown.
  bool Start();
  // True once anything was saved or deleted.
  bool SavedAny() const { return savedAny_; }
  bool Changed() const { return changed_; }

  void Save();
  void SaveAndExit();
  void Exit();
  void AddOwner();
  void DeleteRecord();
  void Next();
  void Prev();
  void Top();
  void Bottom();
  void Find(const QString& text, bool down);
  void SearchAgain();
  void CopyToClipboard();
  void ExportCsv();
  void PrintDetails();
  void PrintList();
  void PrinterSetup();
  void WriteEmail();
  void OpenWebSite();
  // Leaving the owner number field.
  void NumberLeft();

  // Panels of the status bar.
  QString StatusRecord() const;
  QString StatusMessage() const;
  QString StatusDates() const;

  QLineEdit* surname = nullptr;
  QLineEdit* firstNames = nullptr;
  QPlainTextEdit* address = nullptr;
  QLineEdit* phone = nullptr;
  QLineEdit* email = nullptr;
  QPlainTextEdit* notes = nullptr;
  QLineEdit* webSite = nullptr;
  QLineEdit* ownerId = nullptr;
  QListWidget* properties = nullptr;
  QLabel* readOnlyLabel = nullptr;
  QAction* acSave = nullptr;
  QAction* acSaveExit = nullptr;
  QAction* acAdd = nullptr;
  QAction* acDelete = nullptr;
  QAction* acFind = nullptr;
  QAction* acSearchAgain = nullptr;
  QAction* acNext = nullptr;
  QAction* acPrev = nullptr;
  QAction* acTop = nullptr;
  QAction* acBottom = nullptr;
  QAction* acPaste = nullptr;
  QAction* acCut = nullptr;
  QPushButton* bWriteEmail = nullptr;
  QPushButton* bWebSite = nullptr;

  // The printer set-up of the run (the main window's) and where jobs print (tests give
  // a PDF or a recording one); the find dialog's start; the main window's switch to
  // "no owner database" when the last owner goes.
  std::shared_ptr<QPrinter> printer;
  PrintCanvasFactory printCanvas;
  std::function<void()> onDatabaseGone;
  std::function<void(FindDialog&, const QString& lastText)> showFind;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void BuildMenus();
  void Show(int position);     // 1-based; fills the fields from the owner
  void ShowNew();              // a blank new owner
  void Fill(const Owner_Rec& o);
  void FieldChanged();
  void UpdateCommands();
  void SetMessage(const QString& text);
  void Move(int position, const char* endMessage);
  bool SaveIfChanged();        // a changed owner is saved before another is shown
  bool Closing();              // the close rules; false keeps the window
  void LimitText(QPlainTextEdit* edit, int maxChars, int maxLines, QString& lastGood);
  OwnerFields Fields() const;
  // Another owner has the number (a new owner: any owner).
  bool NumberTaken(uint16_t id) const;
  const Owner_Rec* Shown() const;

  Session& s_;
  OwnerFormMode mode_;
  int startPosition_;
  bool isNew_ = false;
  bool changed_ = false;
  bool filling_ = false;
  bool savedAny_ = false;
  bool closed_ = false;
  uint16_t shownId_ = 0;  // the number the field held when the owner was shown
  QString lastSearch_;
  QString addressGood_, notesGood_;
  QLabel* record_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* dates_ = nullptr;
  FindDialog* find_ = nullptr;
};

}  // namespace tb
