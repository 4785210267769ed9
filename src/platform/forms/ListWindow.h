#pragma once
// The parts the list windows share: a flat list with its columns, and the row of
// "Close" and "Help" under it (Help and F1 open the window's topic).

#include <QAbstractItemModel>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QTreeWidget>
#include <functional>
#include <initializer_list>

#include "platform/forms/HelpKey.h"

namespace tb {

// A list of rows without a tree, one column per heading with its width, whose context
// menu the window shows itself.
inline QTreeWidget* FlatList(QWidget* parent, const QStringList& headings, std::initializer_list<int> widths) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setAllColumnsShowFocus(true);
  list->setHeaderLabels(headings);
  int column = 0;
  for (const int w : widths) list->setColumnWidth(column++, w);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  return list;
}

// A read-only table over a model, a whole row selected at a time, its headings clickable
// to sort, with the given column widths and the last column taking the rest.
inline QTableView* RowTable(QWidget* parent, QAbstractItemModel* model, std::initializer_list<int> widths) {
  auto* view = new QTableView(parent);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->setWordWrap(false);
  view->horizontalHeader()->setSectionsClickable(true);
  view->horizontalHeader()->setHighlightSections(false);
  int column = 0;
  for (const int w : widths) view->setColumnWidth(column++, w);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

// "Close" (the dialog rejected) and "Help", at the right; neither is the default, so
// Enter stays with the list.
inline QHBoxLayout* CloseAndHelp(QDialog* dialog, const std::function<void()>& help) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* close = new QPushButton(QStringLiteral("Close"), dialog);
  auto* helpButton = new QPushButton(QStringLiteral("Help"), dialog);
  for (QPushButton* b : {close, helpButton}) {
    b->setAutoDefault(false);
    row->addWidget(b);
  }
  QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::reject);
  QObject::connect(helpButton, &QPushButton::clicked, dialog, help);
  AddHelpKey(dialog, help);
  return row;
}

}  // namespace tb
