#include "owners/forms/TArchiveViewForm.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/PathText.h"
#include "platform/forms/ListWindow.h"
#include "platform/forms/QtText.h"

namespace tb {

TArchiveViewForm::TArchiveViewForm(OwnerArchiveView view, QWidget* parent)
    : QWidget(parent), view_(std::move(view)) {
  setWindowTitle(QStringLiteral("Owner Archive"));
  auto* layout = new QVBoxLayout(this);
  lPath = new QLabel(ToQ(std::to_string(view_.owners.size()) + " archived owners in " + PathText(view_.path)), this);
  lPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(lPath);
  list = FlatList(this,
                  {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Phone"), QStringLiteral("eMail"),
                   QStringLiteral("Address"), QStringLiteral("Created"), QStringLiteral("Updated"),
                   QStringLiteral("Notes")},
                  {50, 180, 110, 190, 260, 80, 80, 260});
  list->setContextMenuPolicy(Qt::NoContextMenu);
  list->setMinimumSize(600, 300);
  QList<QTreeWidgetItem*> items;
  for (const Owner_Rec& o : view_.owners) {
    auto* item = new QTreeWidgetItem;
    const std::vector<std::string> texts = ArchiveViewTexts(o);
    for (size_t c = 1; c < texts.size(); ++c) item->setText(static_cast<int>(c), ToQ(texts[c]));
    // A number, so that sorting by it puts 2 before 10.
    item->setData(0, Qt::DisplayRole, static_cast<int>(o.OwnerID));
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    items.append(item);
  }
  list->addTopLevelItems(items);
  // In archive order until a heading is clicked.
  list->header()->setSortIndicator(-1, Qt::AscendingOrder);
  list->setSortingEnabled(true);
  layout->addWidget(list, 1);
  resize(1240, 480);  // every column in view
}

}  // namespace tb
