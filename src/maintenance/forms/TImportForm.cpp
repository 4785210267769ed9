#include "maintenance/forms/TImportForm.h"

#include <algorithm>

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "maintenance/ImportBookings.h"
#include "platform/forms/OpenFileDialog.h"
#include "platform/forms/QtText.h"
#include "store/Session.h"
#include "store/forms/FillPropertyList.h"

namespace tb {

TImportForm::TImportForm(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("Import"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select Property to process: (one at a time)"), this));
  LB = new QListWidget(this);
  LB->setSelectionMode(QAbstractItemView::SingleSelection);
  FillPropertyList(s_, *LB, 10, false);
  layout->addWidget(LB);
  layout->addWidget(new QLabel(QStringLiteral("Specify CSV file containing data to import"), this));
  auto* fileRow = new QHBoxLayout;
  // Paths are native bytes, not the texts of the data files.
  InFile = new QLineEdit(QString::fromStdString(s_.common.RootFolder + "Bookings.csv"), this);
  btBrowse = new QPushButton(QStringLiteral("Browse"), this);
  fileRow->addWidget(InFile, 1);
  fileRow->addWidget(btBrowse);
  layout->addLayout(fileRow);
  auto* buttons = new QHBoxLayout;
  btImport = new QPushButton(QStringLiteral("Import"), this);
  btClose = new QPushButton(QStringLiteral("Close"), this);
  buttons->addWidget(btImport);
  buttons->addWidget(btClose);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  layout->addWidget(Memo1, 1);
  resize(520, 440);

  chooseImportFile = [this]() {
    return ChooseExistingFile(this, QStringLiteral("Import"), QFileInfo(InFile->text()).path(),
                              QStringLiteral("CSV (*.CSV *.csv)"), QStringLiteral("CSV"));
  };
  connect(btBrowse, &QPushButton::clicked, this, &TImportForm::Browse);
  connect(btImport, &QPushButton::clicked, this, &TImportForm::Import);
  connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TImportForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  Memo1->clear();
  for (Prop_Rec& p : s_.props) p.ImportSel = 0;
  // A fifth of the free space from the left and from the top.
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  move(free.left() + std::max(0, free.width() - frameGeometry().width()) / 5,
       free.top() + std::max(0, free.height() - frameGeometry().height()) / 5);
}

int TImportForm::SelectedProperty() const {
  const QList<QListWidgetItem*> picked = LB->selectedItems();
  return picked.isEmpty() ? 0 : picked.first()->data(Qt::UserRole).toInt();
}

void TImportForm::Browse() {
  const QString path = chooseImportFile ? chooseImportFile() : QString();
  if (!path.isEmpty()) InFile->setText(path);
}

void TImportForm::Import() {
  ImportBookings(s_, SelectedProperty(), InFile->text().toStdString(), false,
                 [this](const std::string& line) { Memo1->appendPlainText(ToQ(line)); });
}

}  // namespace tb
