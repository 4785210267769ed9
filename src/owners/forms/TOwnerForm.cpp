#include "owners/forms/TOwnerForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "bookings/forms/FindDialog.h"
#include "owners/OwnerExport.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerOrder.h"
#include "owners/OwnerPrint.h"
#include "owners/OwnerText.h"
#include "platform/Cp1252.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/PrintCanvas.h"
#include "platform/Text.h"
#include "platform/forms/HelpKey.h"
#include "platform/forms/QtText.h"
#include "platform/forms/WindowAction.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {

constexpr int kOwnerHelp = 900;
constexpr int kCsvHelp = 635;

QLineEdit* Line(QWidget* parent, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(maxLength);
  return edit;
}

}  // namespace

TOwnerForm::TOwnerForm(Session& s, OwnerFormMode mode, int position, QWidget* parent)
    : QDialog(parent), s_(s), mode_(mode), startPosition_(position) {
  setWindowTitle(QStringLiteral("Owner Details"));
  auto* layout = new QVBoxLayout(this);
  auto* menus = new QMenuBar(this);
  layout->setMenuBar(menus);

  auto* form = new QFormLayout;
  surname = Line(this, 40);
  firstNames = Line(this, 40);
  address = new QPlainTextEdit(this);
  address->setToolTip(QStringLiteral("Address: 4 lines, max 160 chars."));
  address->setTabChangesFocus(true);
  address->setFixedHeight(4 * fontMetrics().lineSpacing() + 12);
  phone = Line(this, 50);
  email = Line(this, 90);
  notes = new QPlainTextEdit(this);
  notes->setToolTip(QStringLiteral("Comments: Max 6 lines & 400 chars."));
  notes->setTabChangesFocus(true);
  notes->setFixedHeight(6 * fontMetrics().lineSpacing() + 12);
  webSite = Line(this, 255);
  webSite->setToolTip(QStringLiteral("URL: Click \"Open Web Site\" to go to web page. NB no need to prefix with http://"));
  ownerId = Line(this, 6);
  ownerId->setMaximumWidth(80);
  properties = new QListWidget(this);
  properties->setToolTip(QStringLiteral("List of properties for this owner"));
  properties->setMaximumHeight(6 * fontMetrics().lineSpacing() + 8);
  form->addRow(QStringLiteral("Surname"), surname);
  form->addRow(QStringLiteral("First names"), firstNames);
  form->addRow(QStringLiteral("Address"), address);
  form->addRow(QStringLiteral("Telephone"), phone);
  form->addRow(QStringLiteral("E-Mail"), email);
  form->addRow(QStringLiteral("Notes"), notes);
  form->addRow(QStringLiteral("Web Site"), webSite);
  auto* idRow = new QHBoxLayout;
  idRow->addWidget(ownerId);
  readOnlyLabel = new QLabel(QStringLiteral("Read Only"), this);
  readOnlyLabel->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
  readOnlyLabel->hide();
  // Only as tall as its text: the spare height belongs to the address and notes.
  readOnlyLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  idRow->addStretch(1);
  idRow->addWidget(readOnlyLabel);
  form->addRow(QStringLiteral("Owner ID"), idRow);
  form->addRow(QStringLiteral("Properties"), properties);
  layout->addLayout(form);

  auto* buttons = new QHBoxLayout;
  bWriteEmail = new QPushButton(QStringLiteral("Write email"), this);
  bWebSite = new QPushButton(QStringLiteral("Open Web site"), this);
  bWebSite->setToolTip(QStringLiteral("Open browser with URL=Web ID"));
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  for (QPushButton* b : {bWriteEmail, bWebSite, help}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  layout->addLayout(buttons);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  record_ = new QLabel(this);
  message_ = new QLabel(this);
  dates_ = new QLabel(this);
  record_->setMinimumWidth(90);
  status->addWidget(record_);
  status->addWidget(message_, 1);
  status->addPermanentWidget(dates_);
  layout->addWidget(status);

  BuildMenus();
  connect(bWriteEmail, &QPushButton::clicked, this, &TOwnerForm::WriteEmail);
  connect(bWebSite, &QPushButton::clicked, this, &TOwnerForm::OpenWebSite);
  connect(help, &QPushButton::clicked, this, [this]() { OpenHelp(s_, kOwnerHelp); });
  AddHelpKey(this, [this]() { OpenHelp(s_, kOwnerHelp); });
  for (QLineEdit* e : {surname, firstNames, phone, email, webSite, ownerId})
    connect(e, &QLineEdit::textEdited, this, &TOwnerForm::FieldChanged);
  connect(address, &QPlainTextEdit::textChanged, this, [this]() {
    LimitText(address, 160, 4, addressGood_);
    FieldChanged();
  });
  connect(notes, &QPlainTextEdit::textChanged, this, [this]() {
    LimitText(notes, 400, 6, notesGood_);
    FieldChanged();
  });
  connect(ownerId, &QLineEdit::editingFinished, this, &TOwnerForm::NumberLeft);
  for (QWidget* w : std::initializer_list<QWidget*>{surname, firstNames, address, phone, email, notes, webSite, ownerId})
    w->installEventFilter(this);
  printer = std::make_shared<QPrinter>();
  printCanvas = PrinterCanvas(this, printer);
  resize(520, 640);
  s_.OwnerFormOpen = true;
}

TOwnerForm::~TOwnerForm() {
  // A window that went without its closing steps still lets go of the lock it took.
  if (!closed_ && (mode_ == OwnerFormMode::PropertyOwner || mode_ == OwnerFormMode::CreateDatabase) &&
      s_.owners && s_.owners->file.IsOpen())
    ReleaseOwnerDB(s_);
  s_.OwnerFormOpen = false;
}

void TOwnerForm::BuildMenus() {
  auto* menus = qobject_cast<QMenuBar*>(layout()->menuBar());
  auto add = [this](QMenu* menu, const char* caption, const char* key, auto run) {
    return AddWindowAction(this, menu, caption, key, run);
  };
  QMenu* file = menus->addMenu(QStringLiteral("&File"));
  acSave = add(file, "Save", "Ctrl+S", &TOwnerForm::Save);
  acSaveExit = add(file, "Save File and Exit", "F4", &TOwnerForm::SaveAndExit);
  add(file, "Exit", nullptr, &TOwnerForm::Exit);
  file->addSeparator();
  add(file, "Export to CSV file", nullptr, &TOwnerForm::ExportCsv);
  file->addSeparator();
  add(file, "Printer setup", nullptr, &TOwnerForm::PrinterSetup);
  add(file, "Print owner details", nullptr, &TOwnerForm::PrintDetails);
  // The address window comes with mailshots; until then these two stay off.
  file->addAction(QStringLiteral("Print Labels or Envelopes"))->setEnabled(false);
  add(file, "Print Owner List", nullptr, &TOwnerForm::PrintList);
  file->addAction(QStringLiteral("Print Spooled Labels"))->setEnabled(false);

  QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
  add(edit, "Copy", "Ctrl+C", [this]() {
    if (auto* l = qobject_cast<QLineEdit*>(focusWidget())) l->copy();
    else if (auto* t = qobject_cast<QPlainTextEdit*>(focusWidget())) t->copy();
  });
  acCut = add(edit, "Cut", "Ctrl+X", [this]() {
    if (auto* l = qobject_cast<QLineEdit*>(focusWidget())) l->cut();
    else if (auto* t = qobject_cast<QPlainTextEdit*>(focusWidget())) t->cut();
  });
  acPaste = add(edit, "Paste", "Ctrl+V", [this]() {
    if (auto* l = qobject_cast<QLineEdit*>(focusWidget())) l->paste();
    else if (auto* t = qobject_cast<QPlainTextEdit*>(focusWidget())) t->paste();
  });
  add(edit, "Copy to Clipboard", nullptr, &TOwnerForm::CopyToClipboard);
  edit->addSeparator();
  acAdd = add(edit, "Add owner", "Ctrl+A", &TOwnerForm::AddOwner);
  acDelete = add(edit, "Delete record", "Ctrl+D", &TOwnerForm::DeleteRecord);
  edit->addSeparator();
  acFind = add(edit, "Find", "Ctrl+F", [this]() {
    if (!find_) {
      find_ = new FindDialog(this);
      find_->onFind = [this](const QString& text, bool down) { Find(text, down); };
    }
    if (showFind) showFind(*find_, lastSearch_);
    else find_->Start(lastSearch_);
  });
  acSearchAgain = add(edit, "Search again", "F3", &TOwnerForm::SearchAgain);

  QMenu* navigate = menus->addMenu(QStringLiteral("&Navigate"));
  acNext = add(navigate, "Next Record", "F10", &TOwnerForm::Next);
  acPrev = add(navigate, "Prev Record", "F9", &TOwnerForm::Prev);
  acTop = add(navigate, "Top", "Ctrl+T", &TOwnerForm::Top);
  acBottom = add(navigate, "Bottom", "Ctrl+B", &TOwnerForm::Bottom);
  // The page keys move only while nothing is changed.
  auto* pageDown = new QAction(this);
  pageDown->setShortcut(QKeySequence(Qt::Key_PageDown));
  connect(pageDown, &QAction::triggered, this, [this]() {
    if (!changed_) Next();
  });
  addAction(pageDown);
  auto* pageUp = new QAction(this);
  pageUp->setShortcut(QKeySequence(Qt::Key_PageUp));
  connect(pageUp, &QAction::triggered, this, [this]() {
    if (!changed_) Prev();
  });
  addAction(pageUp);

  QMenu* help = menus->addMenu(QStringLiteral("&Help"));
  add(help, "Help", nullptr, [this]() { OpenHelp(s_, kOwnerHelp); });
}

bool TOwnerForm::Start() {
  OwnerDB& db = Owners(s_);
  lastSearch_.clear();
  if (mode_ == OwnerFormMode::AddFromList && !db.file.IsOpen()) {
    s_.dialogs.Message("In Ownerform Formactivate - closing form - should not occur", MsgIcon::Error, MsgButton::OK);
    return false;
  }
  if (mode_ == OwnerFormMode::PropertyOwner || mode_ == OwnerFormMode::CreateDatabase) OpenOwnerDB(s_, true);
  // A new database has no file anybody else could hold (one deleted earlier in this run
  // left the mark behind).
  if (mode_ == OwnerFormMode::CreateDatabase && !FileExists(OwnerFilePath(s_))) db.readOnly = false;
  const bool readOnly = db.readOnly || s_.ReadOnly;
  readOnlyLabel->setVisible(readOnly);
  for (QLineEdit* e : {surname, firstNames, phone, email, webSite, ownerId}) e->setReadOnly(readOnly);
  for (QPlainTextEdit* e : {address, notes}) e->setReadOnly(readOnly);
  if (mode_ != OwnerFormMode::AddFromList && db.Count() > 0) {
    Show(startPosition_ > 0 ? startPosition_ : std::max(1, db.current));
  } else {
    ShowNew();
  }
  return true;
}

const Owner_Rec* TOwnerForm::Shown() const {
  const OwnerDB& db = *s_.owners;
  if (isNew_ || db.current < 1 || db.current > db.Count()) return nullptr;
  return &db.owners[static_cast<size_t>(db.current - 1)];
}

void TOwnerForm::Fill(const Owner_Rec& o) {
  filling_ = true;
  surname->setText(ToQ(o.OwnerSurname));
  firstNames->setText(ToQ(o.OwnerFName));
  address->setPlainText(MemoToQ(o.OwnerAddress));
  addressGood_ = address->toPlainText();
  phone->setText(ToQ(o.OwnerPhone));
  email->setText(ToQ(o.OwnerEmail));
  notes->setPlainText(MemoToQ(o.OwnerNotes));
  notesGood_ = notes->toPlainText();
  webSite->setText(ToQ(o.OwnerURL));
  ownerId->setText(ToQ(OwnerNumberText(o.OwnerID)));
  shownId_ = o.OwnerID;
  properties->clear();
  for (const std::string& line : OwnerPropertyLines(s_, o.OwnerID)) properties->addItem(ToQ(line));
  if (properties->count() == 0) properties->addItem(QStringLiteral("- none assigned -"));
  filling_ = false;
  changed_ = false;
  UpdateCommands();
}

void TOwnerForm::Show(int position) {
  OwnerDB& db = Owners(s_);
  db.current = std::clamp(position, 1, db.Count());
  isNew_ = false;
  const Owner_Rec& o = db.owners[static_cast<size_t>(db.current - 1)];
  Fill(o);
  record_->setText(StatusRecord());
  dates_->setText(ToQ("Updated: " + ShortDateText(o.OwnerUpdated) + " Created: " + ShortDateText(o.OwnerCreated)));
}

void TOwnerForm::ShowNew() {
  isNew_ = true;
  Owner_Rec blank;
  blank.OwnerID = NextOwnerID(s_.owners->owners);
  Fill(blank);
  record_->clear();
  dates_->clear();
  SetMessage(QStringLiteral("New record"));
}

QString TOwnerForm::StatusRecord() const {
  const OwnerDB& db = *s_.owners;
  return isNew_ ? QString() : QString::asprintf("Rec %d of %d", db.current, db.Count());
}
QString TOwnerForm::StatusMessage() const { return message_->text(); }
QString TOwnerForm::StatusDates() const { return dates_->text(); }

void TOwnerForm::SetMessage(const QString& text) { message_->setText(text); }

void TOwnerForm::LimitText(QPlainTextEdit* edit, int maxChars, int maxLines, QString& lastGood) {
  if (filling_) return;
  const QString text = edit->toPlainText();
  if (text.size() <= maxChars && text.count(QLatin1Char('\n')) < maxLines) {
    lastGood = text;
    return;
  }
  // Over its limit: what was typed last does not go in.
  s_.dialogs.Beep();
  const QSignalBlocker quiet(edit);
  const int cursor = std::min(static_cast<int>(lastGood.size()), edit->textCursor().position() - 1);
  edit->setPlainText(lastGood);
  QTextCursor c = edit->textCursor();
  c.setPosition(std::max(0, cursor));
  edit->setTextCursor(c);
}

void TOwnerForm::FieldChanged() {
  if (filling_) return;
  changed_ = true;
  UpdateCommands();
}

void TOwnerForm::UpdateCommands() {
  const OwnerDB& db = *s_.owners;
  const bool readOnly = db.readOnly || s_.ReadOnly;
  acSave->setEnabled(changed_ && !readOnly);
  acSaveExit->setEnabled(changed_ && !readOnly);
  for (QAction* a : {acNext, acPrev, acTop, acBottom, acFind, acSearchAgain}) a->setEnabled(!changed_);
  acAdd->setEnabled(!changed_ && !readOnly);
  acDelete->setEnabled(!changed_ && !readOnly && !isNew_);
  acPaste->setEnabled(!readOnly);
  acCut->setEnabled(!readOnly);
}

OwnerFields TOwnerForm::Fields() const {
  OwnerFields f;
  std::string error;
  f.id = ParseOwnerNumber(FromQ(ownerId->text()), error).value_or(shownId_);
  f.surname = FromQ(surname->text());
  f.firstNames = FromQ(firstNames->text());
  f.address = MemoFromQ(address->toPlainText());
  f.phone = FromQ(phone->text());
  f.email = FromQ(email->text());
  f.url = FromQ(webSite->text());
  f.notes = MemoFromQ(notes->toPlainText());
  return f;
}

bool TOwnerForm::NumberTaken(uint16_t id) const {
  const OwnerDB& db = *s_.owners;
  const Owner_Rec* shown = Shown();
  // The owner's own number stays its own, even where an old duplicate shares it.
  if (shown && shown->OwnerID == id) return false;
  for (int i = 0; i < db.Count(); ++i)
    if (db.owners[static_cast<size_t>(i)].OwnerID == id && (isNew_ || i != db.current - 1)) return true;
  return false;
}

void TOwnerForm::Save() {
  OwnerDB& db = Owners(s_);
  if (!changed_ || db.readOnly || s_.ReadOnly) return;
  // The number as it stands in the field, checked even when the field was not left.
  std::string error;
  const std::optional<uint16_t> number = ParseOwnerNumber(Trim(FromQ(ownerId->text())), error);
  if (!number) {
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
    ownerId->setFocus();
    return;
  }
  if (NumberTaken(*number)) {
    s_.dialogs.Message("Error - number in use", MsgIcon::Error, MsgButton::Cancel);
    ownerId->setFocus();
    return;
  }
  const char* verb = mode_ == OwnerFormMode::PropertyOwner || mode_ == OwnerFormMode::EditFromList ? "Updated" : "";
  // Not written: the owner stays as typed and marked changed, the database as it was.
  if (!SaveOwner(s_, Fields(), isNew_, isNew_ ? "Added" : verb)) return;
  savedAny_ = true;
  Show(db.current);
  SetMessage(QStringLiteral("Data saved"));
}

bool TOwnerForm::SaveIfChanged() {
  if (!changed_) return true;
  Save();
  return !changed_;
}

void TOwnerForm::SaveAndExit() {
  Save();
  if (!changed_ && Closing()) done(QDialog::Accepted);
}

void TOwnerForm::Exit() {
  if (changed_ && s_.dialogs.Message("Exit and lose changes?", MsgIcon::Confirmation,
                                     MsgButton::Yes | MsgButton::No) != MsgButton::Yes)
    return;
  changed_ = false;
  if (Closing()) done(QDialog::Accepted);
}

void TOwnerForm::AddOwner() {
  if (isNew_ && !changed_) return;
  if (!SaveIfChanged()) return;
  ShowNew();
}

void TOwnerForm::Move(int position, const char* endMessage) {
  if (!SaveIfChanged()) return;
  const OwnerDB& db = *s_.owners;
  if (db.Count() == 0) return;
  if (position < 1 || position > db.Count()) {
    s_.dialogs.Beep();
    SetMessage(QString::fromLatin1(endMessage));
    return;
  }
  Show(position);
  SetMessage(QString());
}

void TOwnerForm::Next() { Move(isNew_ ? s_.owners->Count() + 1 : s_.owners->current + 1, "Bottom of File"); }
void TOwnerForm::Prev() { Move(isNew_ ? s_.owners->Count() : s_.owners->current - 1, "Top of File"); }
void TOwnerForm::Top() {
  Move(1, "Top of File");
  SetMessage(QStringLiteral("Top of File"));
}
void TOwnerForm::Bottom() {
  Move(s_.owners->Count(), "Bottom of File");
  SetMessage(QStringLiteral("Bottom of File"));
}

void TOwnerForm::Find(const QString& text, bool down) {
  if (!SaveIfChanged()) return;
  const OwnerDB& db = *s_.owners;
  const std::string wanted = UpperCase1252(FromQ(text));
  // A new text starts at the first owner; the same one again goes on from the shown one.
  int at = text == lastSearch_ ? db.current + (down ? 1 : -1) : 1;
  lastSearch_ = text;
  for (; at >= 1 && at <= db.Count(); at += down ? 1 : -1) {
    if (UpperCase1252(OwnerSearchText(db.owners[static_cast<size_t>(at - 1)])).find(wanted) != std::string::npos) {
      Show(at);
      s_.dialogs.Beep();
      SetMessage(QStringLiteral("Found"));
      return;
    }
  }
  s_.dialogs.Beep();
  SetMessage(down ? QStringLiteral("Bottom of File") : QStringLiteral("Top of File"));
  s_.dialogs.Message("String " + FromQ(text) + " not found", MsgIcon::Warning, MsgButton::OK);
}

void TOwnerForm::SearchAgain() {
  if (lastSearch_.isEmpty()) {
    s_.dialogs.Beep();
    s_.dialogs.Message("No search to repeat", MsgIcon::Warning, MsgButton::OK);
    return;
  }
  Find(lastSearch_, !find_ || find_->down->isChecked());
}

void TOwnerForm::NumberLeft() {
  if (filling_ || ownerId->isReadOnly()) return;
  const std::string typed = Trim(FromQ(ownerId->text()));
  const auto back = [this]() {
    filling_ = true;
    ownerId->setText(ToQ(OwnerNumberText(shownId_)));
    filling_ = false;
  };
  std::string error;
  const std::optional<uint16_t> number = ParseOwnerNumber(typed, error);
  if (!number) {
    s_.dialogs.Message(error, MsgIcon::Error, MsgButton::OK);
    ownerId->setFocus();
    return;
  }
  if (*number == shownId_) return;
  if (s_.dialogs.Message("Are you sure you want to change owner number?\rIf so you must change Property configuration",
                         MsgIcon::Error, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes) {
    back();
    return;
  }
  if (NumberTaken(*number)) {
    s_.dialogs.Message("Error - number in use", MsgIcon::Error, MsgButton::Cancel);
    back();
    return;
  }
  shownId_ = *number;
  filling_ = true;
  ownerId->setText(ToQ(OwnerNumberText(*number)));
  filling_ = false;
  FieldChanged();
}

void TOwnerForm::DeleteRecord() {
  OwnerDB& db = Owners(s_);
  const Owner_Rec* o = Shown();
  if (!o || db.readOnly || s_.ReadOnly) return;
  const Owner_Rec owner = *o;
  if (db.Count() == 1) {
    s_.dialogs.Beep();
    if (s_.dialogs.Message("Delete final owner in file. Proceed?", MsgIcon::Confirmation,
                           MsgButton::Yes | MsgButton::No) != MsgButton::Yes)
      return;
  } else if (s_.dialogs.Message("Delete owner = " + owner.OwnerSurname + "\rProceed?", MsgIcon::Confirmation,
                                MsgButton::Yes | MsgButton::No) != MsgButton::Yes) {
    return;
  }
  const int position = db.current;
  const OwnerDeletion deletion = DeleteOwners(s_, {position - 1}, OwnerDeleter::Editor);
  if (deletion.deleted == 0) {
    if (!deletion.archiveFailed)
      s_.dialogs.Message("Cannot delete " + PathText(OwnerFilePath(s_)) + "\rIs file in use?", MsgIcon::Error,
                         MsgButton::Abort);
    return;
  }
  savedAny_ = true;
  if (deletion.databaseGone) {
    // The file has gone with the lock: nothing is left to release.
    if (onDatabaseGone) onDatabaseGone();
    closed_ = true;
    QDialog::done(QDialog::Accepted);
    return;
  }
  Show(std::min(position, db.Count()));
  if (deletion.saved) SetMessage(QStringLiteral("Owner deleted"));
}

void TOwnerForm::CopyToClipboard() {
  QApplication::clipboard()->setText(ToQ(OwnerClipboardText(Fields())));
  s_.dialogs.Beep();
  SetMessage(QStringLiteral("Copied details to clipboard"));
}

void TOwnerForm::ExportCsv() {
  OwnerDB& db = Owners(s_);
  // Only what is saved goes out.
  if (changed_) Save();
  if (changed_ || (db.changed && !SaveOwnerFile(s_))) return;
  const std::string path = OwnersCsvPath(s_);
  if (FileExists(path) && s_.dialogs.Message("File " + PathText(path) + " already exists. Overwrite?",
                                             MsgIcon::Warning, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes) {
    SetMessage(QStringLiteral("Cancelled"));
    return;
  }
  if (!WriteOwnersCsv(s_)) {
    s_.dialogs.Message("Cannot write " + PathText(path), MsgIcon::Error, MsgButton::Abort);
    return;
  }
  s_.dialogs.Message(
      "Exported " + std::to_string(db.Count()) + " records to " + PathText(path) + "\rFile will open in registered application",
      MsgIcon::Information, MsgButton::OK | MsgButton::Help, kCsvHelp);
  s_.processes.ShellOpen(path);
}

void TOwnerForm::PrinterSetup() {
  std::unique_ptr<PrintCanvas> canvas = printCanvas();
  if (canvas && canvas->Busy()) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Printing in progress", MsgIcon::Error, MsgButton::OK);
    return;
  }
  QPageSetupDialog dialog(printer.get(), this);
  dialog.exec();
}

void TOwnerForm::PrintDetails() {
  const Owner_Rec* o = Shown();
  if (!o) return;
  std::unique_ptr<PrintCanvas> canvas = printCanvas();
  if (!canvas) return;
  if (canvas->Busy()) {
    s_.dialogs.Message("Printer in use", MsgIcon::Warning, MsgButton::Abort);
    return;
  }
  if (s_.dialogs.Message("Print Current Owner details?", MsgIcon::Information, MsgButton::OK | MsgButton::Cancel) !=
      MsgButton::OK)
    return;
  if (!canvas->Begin("Owner", false)) return;
  PrintOwnerDetails(*canvas, s_, *o);
  canvas->End();
  s_.dialogs.Beep();
}

void TOwnerForm::PrintList() {
  if (s_.dialogs.Message("Print list of owners?", MsgIcon::Information, MsgButton::OK | MsgButton::Cancel) !=
      MsgButton::OK)
    return;
  std::unique_ptr<PrintCanvas> canvas = printCanvas();
  if (!canvas) return;
  if (canvas->Busy()) {
    s_.dialogs.Message("Printer in use", MsgIcon::Warning, MsgButton::Abort);
    return;
  }
  if (!canvas->Begin("Owners", true)) return;
  PrintOwnerList(*canvas, s_);
  canvas->End();
  SetMessage(QStringLiteral("Printed owner list"));
  s_.dialogs.Beep();
}

void TOwnerForm::WriteEmail() {
  const std::string to = Trim(FromQ(email->text()));
  if (to.empty()) {
    s_.dialogs.Message("No email address", MsgIcon::Error, MsgButton::OK);
    return;
  }
  s_.processes.ShellOpen(OwnerMailtoLink(to));
}

void TOwnerForm::OpenWebSite() {
  const std::string link = OwnerWebLink(FromQ(webSite->text()));
  if (!link.empty()) s_.processes.ShellOpen(link);
}

bool TOwnerForm::eventFilter(QObject* watched, QEvent* event) {
  // The fields would take Ctrl+A as "select all"; here it adds an owner.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier) return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TOwnerForm::Closing() {
  if (closed_) return true;
  if (changed_ && !(s_.owners->readOnly || s_.ReadOnly)) {
    const MsgButton answer = s_.dialogs.Message("Save changes?", MsgIcon::Confirmation,
                                                MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    if (answer == MsgButton::Cancel) return false;
    if (answer == MsgButton::Yes) {
      Save();
      if (changed_) return false;  // not saved: the work stays in the window
    }
  }
  changed_ = false;
  closed_ = true;
  // The list holds the lock for the editors it opens.
  // A database never saved has no file to let go of.
  const bool ownLock = mode_ == OwnerFormMode::PropertyOwner ||
                       (mode_ == OwnerFormMode::CreateDatabase && FileExists(OwnerFilePath(s_)));
  if (ownLock && !(s_.owners->readOnly || s_.ReadOnly) && !ReleaseOwnerDB(s_))
    s_.dialogs.Message("OU-Close. Should not occur - file not locked", MsgIcon::Error, MsgButton::OK);
  return true;
}

void TOwnerForm::closeEvent(QCloseEvent* event) {
  if (Closing()) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

void TOwnerForm::reject() {
  if (Closing()) QDialog::reject();
}

}  // namespace tb
