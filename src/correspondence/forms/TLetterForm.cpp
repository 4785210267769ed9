#include "correspondence/forms/TLetterForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>

#include "bookings/BookingEditor.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

TLetterForm::TLetterForm(Session& s, BookingEditor& editor, LetterDelivery& delivery, QWidget* parent)
    : QDialog(parent), s_(s), editor_(editor), delivery_(delivery) {
  setWindowTitle(QStringLiteral("Letter Processing  (Create or View letters)"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("Click a letter to open it, or to create it if it does not exist yet. Right-click for more."), this));
  list = FlatList(this,
                  {QStringLiteral("No"), QStringLiteral("Description"), QStringLiteral("Default"),
                   QStringLiteral("Status"), QStringLiteral("Modified")},
                  {40, 230, 70, 90, 90});
  list->setMinimumSize(540, 260);
  list->installEventFilter(this);
  layout->addWidget(list);

  menu = new QMenu(this);
  acCreatePost = menu->addAction(QStringLiteral("Create postal letter"));
  acCreateEmail = menu->addAction(QStringLiteral("Create EMail"));
  menu->addSeparator();
  acRecreatePost = menu->addAction(QStringLiteral("Recreate letter (Post)"));
  acRecreateEmail = menu->addAction(QStringLiteral("Recreate letter (EMail)"));
  menu->addSeparator();
  acDelete = menu->addAction(QStringLiteral("Delete Existing Letter"));

  layout->addLayout(CloseAndHelp(this, [this]() { OpenHelp(s_, kLetterWindowHelp); }));

  Fill();
  const int first = FirstRowToSelect(rows_);
  if (first >= 0) list->setCurrentItem(list->topLevelItem(first));
  else list->setCurrentItem(nullptr);
  UpdateMenu();

  connect(list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Activate(list->indexOfTopLevelItem(item)); });
  connect(list, &QTreeWidget::itemSelectionChanged, this, &TLetterForm::UpdateMenu);
  connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    UpdateMenu();
    menu->popup(list->viewport()->mapToGlobal(at));
  });
  connect(acCreatePost, &QAction::triggered, this, [this]() { Create(false); });
  connect(acCreateEmail, &QAction::triggered, this, [this]() { Create(true); });
  connect(acRecreatePost, &QAction::triggered, this, [this]() { Recreate(false); });
  connect(acRecreateEmail, &QAction::triggered, this, [this]() { Recreate(true); });
  connect(acDelete, &QAction::triggered, this, &TLetterForm::DeleteExisting);
}

void TLetterForm::Fill() {
  const BookingFields& f = editor_.fields;
  rows_ = LetterRows(s_, editor_.Property(), f.form.startD, f.form.surname, f.email);
  list->clear();
  for (size_t i = 0; i < rows_.size(); ++i) {
    list->addTopLevelItem(new QTreeWidgetItem);
    ShowRow(static_cast<int>(i));
  }
}

void TLetterForm::ShowRow(int row) {
  const LetterRow& r = rows_[static_cast<size_t>(row)];
  QTreeWidgetItem* item = list->topLevelItem(row);
  const std::string texts[] = {r.no, r.description, r.defaultDelivery, r.status, r.modified};
  for (int c = 0; c < 5; ++c) item->setText(c, ToQ(texts[c]));
}

void TLetterForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // After the window is on screen, so the message stands over it.
  if (!told_) QTimer::singleShot(0, this, &TLetterForm::TellIfOnlyPost);
}

void TLetterForm::TellIfOnlyPost() {
  if (told_) return;
  told_ = true;
  if (OnlyPostPossible(s_, rows_, editor_.fields.email))
    s_.dialogs.Message("No email exists for this booking - can only post.", MsgIcon::Information,
                       MsgButton::OK | MsgButton::Help, kLetterWindowHelp);
}

bool TLetterForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Activate(Selected());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

int TLetterForm::Selected() const {
  QTreeWidgetItem* item = list->currentItem();
  return item && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
}

void TLetterForm::UpdateMenu() {
  const int row = Selected();
  const LetterMenu m = LetterMenuFor(row >= 0 ? &rows_[static_cast<size_t>(row)] : nullptr, editor_.fields.email);
  acCreatePost->setEnabled(m.createPost);
  acCreateEmail->setEnabled(m.createEmail);
  acRecreatePost->setEnabled(m.recreatePost);
  acRecreateEmail->setEnabled(m.recreateEmail);
  acDelete->setEnabled(m.deleteLetter);
}

void TLetterForm::Activate(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  list->setCurrentItem(list->topLevelItem(row));
  const LetterRow& r = rows_[static_cast<size_t>(row)];
  const BookingFields& f = editor_.fields;
  if (r.Exists()) {
    const std::string path = ExistingLetter(s_, editor_.Property(), f.form.startD, f.form.surname, r.type);
    if (!path.empty()) OpenLetter(s_, path);
    return;
  }
  Make(r.type, r.defaultDelivery == "EMail", false);
}

void TLetterForm::Create(bool email) {
  const int row = Selected();
  if (row < 0) return;
  const LetterMenu m = LetterMenuFor(&rows_[static_cast<size_t>(row)], editor_.fields.email);
  if (!(email ? m.createEmail : m.createPost)) return;
  Make(rows_[static_cast<size_t>(row)].type, email, false);
}

void TLetterForm::Recreate(bool email) {
  const int row = Selected();
  if (row < 0) return;
  const LetterRow& r = rows_[static_cast<size_t>(row)];
  const LetterMenu m = LetterMenuFor(&r, editor_.fields.email);
  if (!(email ? m.recreateEmail : m.recreatePost) || !AskRecreate(s_, r.type, email)) return;
  Make(r.type, email, true);
}

void TLetterForm::Make(int type, bool email, bool recreate) {
  // The window closes once the letter is made; otherwise it stays for another try.
  if (CreateLetter(s_, editor_, type, email, recreate, delivery_) == LetterOutcome::Created) accept();
}

void TLetterForm::DeleteExisting() {
  const int row = Selected();
  if (row < 0 || !rows_[static_cast<size_t>(row)].Exists()) return;
  LetterRow& r = rows_[static_cast<size_t>(row)];
  const BookingFields& f = editor_.fields;
  if (!DeleteLetter(s_, editor_.Property(), f.form.startD, f.form.surname, r.type)) return;
  r.status = "None";
  r.modified.clear();
  ShowRow(row);
  UpdateMenu();
}

}  // namespace tb
