// The main window's owner commands: the owner editor, the owner list, the statistics
// and the archive viewer, and the menus that follow the owner database.

#include <QAction>
#include <QMenu>

#include "app/forms/ChartArea.h"
#include "app/forms/TMainForm.h"
#include "owners/OwnerDB.h"
#include "owners/OwnerOrder.h"
#include "owners/forms/TOwnerForm.h"
#include "owners/forms/TOwnerListForm.h"
#include "owners/forms/TOwnerStatsForm.h"
#include "platform/FileSystem.h"
#include "store/Session.h"
#include "store/Settings.h"

namespace tb {

namespace {
constexpr int kOwnerHelp = 900;
}  // namespace

void TMainForm::UpdateOwnerCommands() {
  const bool have = !OwnerList(s_).empty();
  const bool all = s_.common.AllPropertiesView();
  const char* caption = !have ? "Create Owner DataBase" : all ? "List Owners" : "View Owner";
  const char* hint = !have ? "Create Owner Database" : all ? "List Owners" : "View owner";
  acOwner->setText(QString::fromLatin1(caption));
  acOwner->setToolTip(QString::fromLatin1(hint));
  acOwner->setStatusTip(acOwner->toolTip());
  ownersMenu->menuAction()->setVisible(have);
  acOwnerStats->setVisible(have);
  acOwnerArchive->setVisible(FileExists(OwnerArchivePath(s_)));
  // The property column shows owners' surnames.
  if (s_.chartChanged) s_.chartChanged(0);
}

void TMainForm::RunOwnerForm(TOwnerForm& form) {
  form.printer = printer;
  form.printCanvas = printCanvas;
  form.onDatabaseGone = [this]() { UpdateOwnerCommands(); };
  if (!form.Start()) return;
  if (showOwner) showOwner(form);
  else form.exec();
}

void TMainForm::OwnerCommand() {
  if (s_.OwnerFormOpen) return;
  if (OwnerList(s_).empty()) {
    if (s_.dialogs.Message("Do you want to create an Owner Data Base?", MsgIcon::Confirmation,
                           MsgButton::Yes | MsgButton::Cancel | MsgButton::Help, kOwnerHelp) != MsgButton::Yes)
      return;
    TOwnerForm form(s_, OwnerFormMode::CreateDatabase, 0, this);
    RunOwnerForm(form);
    UpdateOwnerCommands();
    return;
  }
  if (s_.common.AllPropertiesView()) ListOwners(false);
  else ViewOwner(s_.CurrentProperty);
}

void TMainForm::ViewOwner(int n) {
  if (s_.OwnerFormOpen || n < 1 || n > s_.NumProps()) return;
  OpenOwnerDB(s_, false);
  const Prop_Rec& p = s_.Prop(n);
  if (p.Owner == 0) {
    s_.dialogs.Beep();
    s_.dialogs.Message("No owner assigned for " + p.PropName + "\rConfigure Owner", MsgIcon::Error,
                       MsgButton::Abort | MsgButton::Help, kOwnerHelp);
    return;
  }
  const int at = FindOwner(s_, p.Owner);
  if (at < 0) {
    s_.dialogs.Beep();
    s_.dialogs.Message("Owner " + std::to_string(p.Owner) + " assigned to " + p.PropName +
                           " does not exist\rRe-configure Property",
                       MsgIcon::Error, MsgButton::Abort | MsgButton::Help, kOwnerHelp);
    return;
  }
  TOwnerForm form(s_, OwnerFormMode::PropertyOwner, at + 1, this);
  RunOwnerForm(form);
  UpdateOwnerCommands();
}

void TMainForm::ListOwners(bool email) {
  if (s_.OwnerFormOpen) return;
  TOwnerListForm list(s_, email ? TOwnerListForm::Mode::Email : TOwnerListForm::Mode::List, this);
  list.editOwner = [this](OwnerFormMode mode, int position) {
    TOwnerForm form(s_, mode, position, this);
    RunOwnerForm(form);
    return form.SavedAny();
  };
  list.onDatabaseGone = [this]() { UpdateOwnerCommands(); };
  if (showOwnerList) showOwnerList(list);
  else list.exec();
  UpdateOwnerCommands();
}

void TMainForm::OwnerStatistics() {
  OpenOwnerDB(s_, false);
  if (!ownerStats) {
    ownerStats = new TOwnerStatsForm(s_, this);
    ownerStats->setAttribute(Qt::WA_DeleteOnClose);
  }
  ownerStats->show();
  ownerStats->raise();
}

void TMainForm::ViewOwnerArchive() {
  if (s_.OwnerFormOpen) {
    s_.dialogs.Beep();
    s_.dialogs.Message("You may be editing Owner data - close all forms and retry", MsgIcon::None, MsgButton::OK);
    return;
  }
  // Beside the program first, as an installation puts it; else wherever PATH finds it.
  const std::string beside = s_.common.ProgramFolder + "Ravelt";
  const std::string program = FileExists(beside) ? beside : "Ravelt";
  if (s_.processes.Run(program, {s_.common.RootFolder}, false) < 0)
    s_.dialogs.Message("Cannot start the owner archive viewer (Ravelt)", MsgIcon::Error, MsgButton::OK);
}

}  // namespace tb
