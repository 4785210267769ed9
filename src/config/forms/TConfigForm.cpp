#include "config/forms/TConfigForm.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "config/ConfigModel.h"
#include "platform/Dialogs.h"
#include "platform/PathText.h"
#include "platform/forms/QtText.h"
#include "store/Settings.h"

namespace tb {

namespace {

// What a password's cell shows: that there is one, never what it is.
const QString kMask = QStringLiteral("\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF");

// Password cells are typed into with the characters hidden, starting empty.
class SecretDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && IsSecret(index)) line->setEchoMode(QLineEdit::Password);
    return editor;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && IsSecret(index)) {
      line->clear();
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }
  static bool IsSecret(const QModelIndex& index) { return index.data(Qt::UserRole).toBool(); }
};

QTableWidget* NewTable(QWidget* parent) {
  auto* table = new QTableWidget(0, 4, parent);
  table->setHorizontalHeaderLabels(
      {QStringLiteral("Key"), QStringLiteral("Meaning"), QStringLiteral("Value"), QStringLiteral("Default")});
  table->verticalHeader()->hide();
  table->horizontalHeader()->setSectionResizeMode(TConfigForm::CaptionColumn, QHeaderView::Stretch);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setItemDelegateForColumn(TConfigForm::ValueColumn, new SecretDelegate(table));
  return table;
}

void SetCell(QTableWidget& table, int row, int column, const QString& text, bool editable) {
  QTableWidgetItem* item = table.item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    table.setItem(row, column, item);
  }
  if (item->text() != text) item->setText(text);
  const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
  if (item->flags() != flags) item->setFlags(flags);
}

// Rows are updated in place rather than rebuilt: the cell whose edit asked for the
// update must stay alive.
void FillTable(QTableWidget& table, const std::vector<ConfigRow>& rows) {
  const QSignalBlocker block(table);
  table.setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const ConfigRow& row = rows[static_cast<size_t>(r)];
    SetCell(table, r, TConfigForm::KeyColumn, ToQ(row.info.key), false);
    SetCell(table, r, TConfigForm::CaptionColumn, ToQ(row.info.caption), false);
    const bool secret = row.info.type == KeyType::Secret;
    SetCell(table, r, TConfigForm::ValueColumn, secret ? (row.value.empty() ? QString() : kMask) : ToQ(row.value),
            !row.info.readOnly);
    table.item(r, TConfigForm::ValueColumn)->setData(Qt::UserRole, secret);
    SetCell(table, r, TConfigForm::DefaultColumn, ToQ(row.info.def), false);
  }
}

}  // namespace

TConfigForm::TConfigForm(ConfigModel& model, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), model_(model), dialogs_(dialogs) {
  setWindowTitle(ToQ(model_.Caption()));
  auto* tabs = new QTabWidget(this);
  commonTable = NewTable(tabs);
  tabs->addTab(commonTable, QStringLiteral("Common"));

  auto* properties = new QWidget(tabs);
  propertyList = new QListWidget(properties);
  addButton = new QPushButton(QStringLiteral("Add property..."), properties);
  propertyTable = NewTable(properties);
  auto* left = new QVBoxLayout;
  left->addWidget(propertyList);
  left->addWidget(addButton);
  auto* propertiesLayout = new QHBoxLayout(properties);
  propertiesLayout->addLayout(left, 1);
  propertiesLayout->addWidget(propertyTable, 4);
  tabs->addTab(properties, QStringLiteral("Properties"));

  status = new QLabel(this);
  saveButton = new QPushButton(QStringLiteral("Save"), this);
  closeButton = new QPushButton(QStringLiteral("Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(status, 1);
  buttons->addWidget(saveButton);
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addLayout(buttons);
  resize(900, 600);

  connect(commonTable, &QTableWidget::itemChanged, this,
          [this](QTableWidgetItem* item) { Edited(*commonTable, *item, "Common"); });
  connect(propertyTable, &QTableWidget::itemChanged, this,
          [this](QTableWidgetItem* item) { Edited(*propertyTable, *item, CurrentSection()); });
  connect(propertyList, &QListWidget::currentRowChanged, this, [this]() { Refresh(); });
  connect(addButton, &QPushButton::clicked, this, [this]() { AddProperty(); });
  connect(saveButton, &QPushButton::clicked, this, [this]() { Save(); });
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
  FillList();
  if (propertyList->count() > 0) propertyList->setCurrentRow(0);
  Refresh();
}

std::string TConfigForm::CurrentSection() const {
  const int row = propertyList->currentRow();
  return row < 0 ? std::string() : PropertySection(row + 1);
}

void TConfigForm::Edited(const QTableWidget& table, const QTableWidgetItem& item, const std::string& section) {
  const QTableWidgetItem* key = table.item(item.row(), KeyColumn);
  if (item.column() != ValueColumn || !key || section.empty()) return;
  if (item.data(Qt::UserRole).toBool()) {
    // The cell opens empty: leaving it without typing keeps the stored password.
    if (item.text() != kMask && !item.text().isEmpty()) model_.SetSecret(section, FromQ(key->text()), FromQ(item.text()));
  } else {
    model_.SetValue(section, FromQ(key->text()), FromQ(item.text()));
  }
  status->clear();
  Refresh();
}

void TConfigForm::Refresh() {
  FillTable(*commonTable, model_.Rows("Common"));
  const std::string section = CurrentSection();
  FillTable(*propertyTable, section.empty() ? std::vector<ConfigRow>{} : model_.Rows(section));
  // A name may have been edited.
  for (int i = 0; i < propertyList->count(); ++i) {
    const QString text = ToQ(model_.PropertyListText(i + 1));
    if (propertyList->item(i)->text() != text) propertyList->item(i)->setText(text);
  }
}

void TConfigForm::FillList() {
  const QSignalBlocker block(propertyList);
  propertyList->clear();
  for (int n = 1; n <= model_.NumProps(); ++n) propertyList->addItem(ToQ(model_.PropertyListText(n)));
}

void TConfigForm::AddProperty() {
  std::string name;
  if (!dialogs_.InputQuery("Add property", "Name of the new property:", name)) return;
  const std::string refusal = model_.CheckNewProperty(name);
  if (!refusal.empty()) {
    dialogs_.Message(refusal, MsgIcon::Error, MsgButton::OK);
    return;
  }
  const std::string question = model_.ReuseQuestion(name);
  if (!question.empty() &&
      dialogs_.Message(question, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel) != MsgButton::Yes)
    return;
  const int n = model_.AddProperty(name);
  FillList();
  propertyList->setCurrentRow(n - 1);
  status->setText(QStringLiteral("Property %1 added: Save writes it and makes its folders").arg(n));
}

bool TConfigForm::Save() {
  const std::string failure = model_.Save();
  if (!failure.empty()) {
    status->clear();
    dialogs_.Message(failure, MsgIcon::Error, MsgButton::OK);
    return false;
  }
  Refresh();
  status->setText(QStringLiteral("Saved"));
  return true;
}

void TConfigForm::closeEvent(QCloseEvent* event) {
  if (model_.Modified()) {
    const MsgButton answer = dialogs_.Message("Save the changes to " + PathText(model_.Path()) + "?",
                                              MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No | MsgButton::Cancel);
    if (!(answer == MsgButton::No || (answer == MsgButton::Yes && Save()))) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

}  // namespace tb
