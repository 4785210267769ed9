#pragma once
// The parts the list windows share: a flat list with its columns, and the row of
// "Close" and "Help" under it (Help and F1 open the window's topic).

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringList>
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
