// The owner list window in its two modes, the statistics window and the archive
// viewer's window.

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>

#include "owners/OwnerFixture.h"
#include "owners/OwnerStats.h"
#include "owners/forms/TArchiveViewForm.h"
#include "owners/forms/TOwnerListForm.h"
#include "owners/forms/TOwnerStatsForm.h"
#include "platform/PathText.h"
#include "platform/forms/QtText.h"
#include "support/TypeKeys.h"

// Exported by QtGui for QtTest's key clicks: offers a key to the window's shortcuts.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace tb::test {
namespace {

using Strings = std::vector<std::string>;
using Mode = TOwnerListForm::Mode;

Strings Texts(QTreeWidget* list, int column) {
  Strings texts;
  for (int r = 0; r < list->topLevelItemCount(); ++r) texts.push_back(list->topLevelItem(r)->text(column).toStdString());
  return texts;
}

Strings RowTexts(QTreeWidget* list, int row) {
  Strings texts;
  for (int c = 0; c < list->columnCount(); ++c) texts.push_back(list->topLevelItem(row)->text(c).toStdString());
  return texts;
}

std::string Text(const QLabel* l) { return l->text().toStdString(); }

// A key as the keyboard gives it: to the window's shortcuts first.
bool PressShortcut(QWidget* w, QKeyCombination key) {
  return qt_sendShortcutOverrideEvent(w, 0, key.key(), key.keyboardModifiers(), QString(), false, 1);
}

void ClickHeading(TOwnerListForm& form, int column) { emit form.list->header()->sectionClicked(column); }

void Select(TOwnerListForm& form, std::initializer_list<int> rows) {
  form.list->clearSelection();
  for (const int r : rows) form.list->topLevelItem(r)->setSelected(true);
}

class OwnerForms : public OwnerFixture, public ::testing::Test {
 protected:
  // The window shown as the main window shows it, with the owner file locked.
  std::unique_ptr<TOwnerListForm> ShowList(Mode mode) {
    auto form = std::make_unique<TOwnerListForm>(s, mode);
    form->show();
    QApplication::setActiveWindow(form.get());
    return form;
  }
  // Adams (2, no address), Brown (10), Penrose (1): properties name 1 once and 2 twice.
  void ThreeOwners() {
    WriteOwners({MakeOwner(2, "Adams", "Al"), MakeOwner(10, "Brown", "Bo", "bo@example.com"),
                 MakeOwner(1, "Penrose", "Alice", "alice?cc=x@example.com")});
  }
  void FiveOwners() {
    WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown"), MakeOwner(3, "Clark"), MakeOwner(4, "Dunn"),
                 MakeOwner(5, "Evans")});
  }
  void ExpectDeleteQuestion(MsgButton answer) {
    t.dialogs.Expect("Delete all selected owners?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No, 0, answer);
  }
};

TEST_F(OwnerForms, TheListShowsEveryOwnerAndSortsByTheClickedHeading) {
  ThreeOwners();
  auto form = ShowList(Mode::List);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Owner List"));
  EXPECT_TRUE(form->isModal());
  EXPECT_EQ(Text(form->lTitle), "List of Owners");
  EXPECT_FALSE(form->lReadOnly->isVisible());
  EXPECT_TRUE(form->bAdd->isVisible());
  EXPECT_FALSE(form->bSend->isVisible());
  EXPECT_TRUE(Owners(s).file.IsOpen()) << "held while the window is open";
  Strings headings;
  for (int c = 0; c < form->list->columnCount(); ++c) headings.push_back(form->list->headerItem()->text(c).toStdString());
  EXPECT_EQ(headings, (Strings{"ID", "NP", "Name", "Phone", "eMail", "Address", "DateU", "Comment", "Index"}));
  EXPECT_EQ(RowTexts(form->list, 0), (Strings{"2", "2", "Adams\u00B7 Al", "", "", "", "2026/11/29", "", "0"}));
  EXPECT_EQ(Texts(form->list, 1), (Strings{"2", "0", "1"}));
  EXPECT_EQ(Text(form->panel[0]), "3 entries in list");
  EXPECT_EQ(Text(form->panel[1]), "1 owners have no properties");

  struct Click {
    int column;
    Strings ids;
  };
  const Click clicks[] = {
      {0, {"1", "2", "10"}},  // by number: 2 before 10
      {0, {"10", "2", "1"}},  // the same heading again reverses
      {2, {"2", "10", "1"}},  // another heading starts ascending
      {1, {"10", "1", "2"}},
  };
  for (const Click& c : clicks) {
    ClickHeading(*form, c.column);
    EXPECT_EQ(Texts(form->list, 0), c.ids) << c.column;
  }
  Select(*form, {0, 2});
  EXPECT_EQ(Text(form->panel[2]), "2 lines selected");
  form->list->clearSelection();
  EXPECT_EQ(Text(form->panel[2]), "");
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerForms, EmailModeTicksOwnersWithAnAddressAndSendsOneLink) {
  ThreeOwners();
  auto form = ShowList(Mode::Email);
  EXPECT_EQ(Text(form->lTitle), "Check names to be included.  Then click SEND");
  EXPECT_FALSE(form->bAdd->isVisible());
  EXPECT_TRUE(form->actions().isEmpty()) << "no menu, no keys";
  const auto ticks = [&form]() {
    std::vector<bool> on;
    for (int r = 0; r < form->list->topLevelItemCount(); ++r) {
      EXPECT_EQ(form->list->topLevelItem(r)->checkState(0) == Qt::Checked, form->Ticked(r)) << r;
      on.push_back(form->Ticked(r));
    }
    return on;
  };
  EXPECT_EQ(ticks(), (std::vector<bool>{false, true, true}));
  EXPECT_EQ(Text(form->panel[0]), "2 of 3 names checked");

  form->bUncheck->click();
  EXPECT_EQ(ticks(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Text(form->panel[0]), "0 of 3 names checked");
  t.dialogs.Expect("Must check at least one line", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form->bSend->click();
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(t.runner.opened.empty());

  form->bCheck->click();
  EXPECT_EQ(ticks(), (std::vector<bool>{false, true, true})) << "the owner without an address stays unticked";
  form->list->topLevelItem(0)->setCheckState(0, Qt::Checked);  // a click on a tick
  EXPECT_EQ(Text(form->panel[0]), "3 of 3 names checked");
  form->list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(Text(form->panel[0]), "2 of 3 names checked");

  // Ticks go with their owners when sorted; the link holds the addresses as shown,
  // each escaped so that "?" and "=" cannot start a header of the link.
  ClickHeading(*form, 2);
  ClickHeading(*form, 2);
  EXPECT_EQ(ticks(), (std::vector<bool>{true, true, false}));
  const int beeps = t.dialogs.beeps;
  form->bSend->click();
  EXPECT_EQ(t.runner.opened, Strings{"mailto:alice%3Fcc%3Dx%40example.com;bo%40example.com;?Subject= &Body="});
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);
}

TEST_F(OwnerForms, DeletingSelectedOwnersArchivesThemFromTheHighestPositionDown) {
  FiveOwners();
  auto form = ShowList(Mode::List);
  ClickHeading(*form, 0);
  ClickHeading(*form, 0);  // 5, 4, 3, 2, 1: shown positions differ from database positions
  Select(*form, {4, 2, 1});  // Adams, Clark, Dunn
  ExpectDeleteQuestion(MsgButton::No);
  EXPECT_TRUE(PressShortcut(form->list, Qt::Key_Delete));
  EXPECT_EQ(OwnerList(s).size(), 5u);

  ExpectDeleteQuestion(MsgButton::Yes);
  const int beeps = t.dialogs.beeps;
  EXPECT_TRUE(PressShortcut(form->list, QKeyCombination(Qt::ControlModifier, Qt::Key_D)));
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(OwnerSurnames(ReadOwnerArchive(s)), (Strings{"Dunn", "Clark", "Adams"}));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (Strings{"Brown", "Evans"}));
  EXPECT_NE(Log().find("LOU DELETED OWNER ID=4 RecNo=3 SName=Dunn Owners=4"), std::string::npos);
  // Refilled, in the sort chosen before.
  EXPECT_EQ(Texts(form->list, 0), (Strings{"5", "2"}));
  EXPECT_EQ(Texts(form->list, 8), (Strings{"1", "0"}));
  EXPECT_EQ(Text(form->panel[0]), "2 entries in list");
  EXPECT_EQ(Text(form->panel[2]), "Deleted 3 Owner(s)");
  EXPECT_EQ(t.dialogs.beeps, beeps + 2);  // the save's and the window's
}

// The archive takes the first owner and then refuses: the one it took is gone from the
// file too, and the list's lines point at the owners they show.
TEST_F(OwnerForms, ADeleteStoppedByTheArchiveKeepsWhatWentAndRefills) {
  Owner_Rec big = MakeOwner(1, "Adams", std::string(200, 'a'));
  WriteOwners({big, MakeOwner(2, "Brown"), MakeOwner(3, "Clark")});
  ASSERT_TRUE(WriteWholeFile(Archive(), OwnersImage(std::vector<Owner_Rec>(60, MakeOwner(9, "Filler", "f")))));
  const size_t before = FileBytes(Archive()).size();
  auto form = ShowList(Mode::List);
  Select(*form, {0, 2});
  ExpectDeleteQuestion(MsgButton::Yes);
  t.dialogs.Expect("QZ1080 Should not occur. Wrote 10 bytes v. req=" + std::to_string(OwnersImage({big}).size()) +
                       "\rTry again?",
                   MsgIcon::Error, MsgButton::Abort | MsgButton::Help, 1080, MsgButton::Abort);
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = old;
  limit.rlim_cur = before + OwnersImage({MakeOwner(3, "Clark")}).size() + 10;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  form->DeleteSelected();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (Strings{"Adams", "Brown"}));
  EXPECT_EQ(Texts(form->list, 2), (Strings{"Adams\u00B7 " + std::string(200, 'a'), "Brown\u00B7 "}));
  EXPECT_EQ(Texts(form->list, 8), (Strings{"0", "1"}));
  EXPECT_EQ(Text(form->panel[2]), "Deleted 1 Owner(s)");
}

TEST_F(OwnerForms, ReadOnlyListRefusesAddingAndDeleting) {
  ThreeOwners();
  TestSession other(kOwnerToday);
  other.JoinRoot(t);
  ASSERT_TRUE(OpenOwnerDB(other.session, true));  // the other user holds the file
  int edits = 0;
  auto form = ShowList(Mode::List);
  form->editOwner = [&edits](OwnerFormMode, int) { return ++edits > 0; };
  EXPECT_TRUE(form->lReadOnly->isVisible());
  EXPECT_FALSE(form->bAdd->isEnabled());
  EXPECT_FALSE(form->acDelete->isEnabled());
  form->AddOwner();
  EXPECT_EQ(edits, 0);

  Select(*form, {1});
  t.dialogs.Expect("Cannot delete - owner file is opened readonly\rTry later", MsgIcon::Warning, MsgButton::Abort, 0,
                   MsgButton::Abort);
  form->DeleteSelected();
  t.dialogs.VerifyAllShown();
  EXPECT_NE(Log().find("LOU: OwnerDB in use - cannot delete. Owners=3"), std::string::npos);
  EXPECT_EQ(OwnerList(s).size(), 3u);
  form->reject();  // nothing held, nothing to release: no message
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerForms, ClosingReleasesTheLock) {
  ThreeOwners();
  TestSession other(kOwnerToday);
  other.JoinRoot(t);
  auto form = ShowList(Mode::List);
  OpenOwnerDB(other.session, true);
  EXPECT_TRUE(Owners(other.session).readOnly);
  PressKey(form->list, Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(Owners(s).file.IsOpen());
  OpenOwnerDB(other.session, true);
  EXPECT_FALSE(Owners(other.session).readOnly) << "the other user may write now";
  ReleaseOwnerDB(other.session);

  // Shown again and the lock lost behind its back: said on closing.
  form->show();
  ASSERT_TRUE(Owners(s).file.IsOpen());
  ReleaseOwnerDB(s);
  t.dialogs.Expect("LOU: should not occur - file not locked", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form->reject();
  t.dialogs.VerifyAllShown();
}

TEST_F(OwnerForms, DeletingTheFinalOwnersEndsTheDatabase) {
  WriteOwners({MakeOwner(1, "Adams"), MakeOwner(2, "Brown")});
  auto form = ShowList(Mode::List);
  int gone = 0;
  form->onDatabaseGone = [&gone, this]() {
    ++gone;
    EXPECT_FALSE(FileExists(File()));
  };
  Select(*form, {0, 1});
  ExpectDeleteQuestion(MsgButton::Yes);
  t.dialogs.Expect("You deleted the final owner. There is no longer an Owner Database", MsgIcon::Information,
                   MsgButton::OK | MsgButton::Help, 900, MsgButton::OK);
  form->acDelete->trigger();
  t.dialogs.VerifyAllShown();  // and no "file not locked" on closing
  EXPECT_EQ(gone, 1);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(OwnerSurnames(ReadOwnerArchive(s)), (Strings{"Brown", "Adams"}));
  EXPECT_TRUE(OwnerList(s).empty());
}

// Owners 7 twice: the line's own owner opens, never the first with its number.
TEST_F(OwnerForms, EditOpensTheLinesOwnOwnerAndSelectsTheSameLineAgain) {
  WriteOwners({MakeOwner(7, "Adams"), MakeOwner(3, "Brown"), MakeOwner(7, "Clark")});
  auto form = ShowList(Mode::List);
  std::vector<std::pair<OwnerFormMode, int>> calls;
  bool saves = true;
  form->editOwner = [&](OwnerFormMode mode, int position) {
    calls.emplace_back(mode, position);
    if (position > 0) Owners(s).owners[static_cast<size_t>(position - 1)].OwnerPhone = "017687";
    return saves;
  };
  Select(*form, {2});
  EXPECT_TRUE(PressShortcut(form->list, QKeyCombination(Qt::ControlModifier, Qt::Key_E)));
  EXPECT_EQ(form->list->topLevelItem(2)->text(3), QStringLiteral("017687")) << "refilled";
  EXPECT_EQ(form->list->currentItem(), form->list->topLevelItem(2));
  EXPECT_TRUE(form->list->currentItem()->isSelected());

  saves = false;
  Select(*form, {1});
  emit form->list->itemDoubleClicked(form->list->topLevelItem(1), 0);
  EXPECT_EQ(form->list->topLevelItem(1)->text(3), QStringLiteral("")) << "nothing saved: not refilled";
  Select(*form, {0, 1});
  form->acEdit->trigger();  // one line only

  form->bAdd->click();
  EXPECT_EQ(calls, (std::vector<std::pair<OwnerFormMode, int>>{
                       {OwnerFormMode::EditFromList, 3}, {OwnerFormMode::EditFromList, 2}, {OwnerFormMode::AddFromList, 0}}));
}

TEST_F(OwnerForms, StatisticsShowTheDatabaseAsItIsEachTimeTheyOpen) {
  ThreeOwners();
  auto form = ShowList(Mode::List);
  form->bStats->click();
  TOwnerStatsForm* stats = form->Statistics();
  ASSERT_TRUE(stats);
  EXPECT_TRUE(stats->isVisible());
  EXPECT_FALSE(stats->isModal());
  EXPECT_TRUE(form->isVisible()) << "the list stays open";
  EXPECT_EQ(Text(stats->lCount), "Number of owners defined = 3");
  EXPECT_EQ(Text(stats->lDatabase), "Owner Database is " + PathText(t.Root()) + "Owners.bko");
  EXPECT_TRUE(stats->memo->isReadOnly());
  QString listing = ToQ(OwnerStatisticsText(s));
  EXPECT_EQ(stats->memo->toPlainText(), listing.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  EXPECT_TRUE(listing.contains(QStringLiteral("Owner (2) ID=10 Bo Brown - NOT ASSIGNED TO A PROPERTY\n")));

  Owners(s).owners.push_back(MakeOwner(3, "Zeta"));
  form->bStats->click();
  EXPECT_EQ(Text(stats->lCount), "Number of owners defined = 4");
}

TEST_F(OwnerForms, TheArchiveViewerShowsWhatTheArchiveHoldsAndSaysWhatItCannot) {
  Owner_Rec a = MakeOwner(12, "Adams", "Al", "al@example.com");
  a.OwnerAddress = "1 Mill Lane\r\nKendal";
  a.OwnerNotes = "Sold up\r\nMoved away";
  const std::string two = OwnersImage({a, MakeOwner(3, "Brown")});
  struct Case {
    const char* what;
    std::string bytes;  // none: no archive
    Strings surnames;
    std::string problem;
    MsgIcon icon;
  };
  const std::string path = PathText(Archive());
  const Case cases[] = {
      {"none", "", {}, "There is no owner archive " + path, MsgIcon::Information},
      {"whole", two, {"Adams", "Brown"}, "", MsgIcon::None},
      {"append cut short", two + two.substr(0, 20), {"Adams", "Brown"}, "", MsgIcon::None},
      {"damaged", two + std::string(5000, '\xFF'), {"Adams", "Brown"},
       "The owner archive " + path + " is damaged after 2 owners.\rOnly those are shown.", MsgIcon::Warning},
      {"no whole record", std::string(300, '\xFF'), {},
       "The owner archive " + path + " is damaged after 0 owners.\rOnly those are shown.", MsgIcon::Warning},
  };
  for (const Case& c : cases) {
    if (c.bytes.empty()) DeleteFileAt(Archive());
    else ASSERT_TRUE(WriteWholeFile(Archive(), c.bytes));
    const OwnerArchiveView view = ReadArchiveForView(t.Root());
    EXPECT_EQ(OwnerSurnames(view.owners), c.surnames) << c.what;
    EXPECT_EQ(view.problem, c.problem) << c.what;
    EXPECT_EQ(view.problemIcon, c.icon) << c.what;
  }

  ASSERT_TRUE(WriteWholeFile(Archive(), two));
  TArchiveViewForm form(ReadArchiveForView(t.Root()));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Owner Archive"));
  EXPECT_EQ(RowTexts(form.list, 0), (Strings{"12", "Adams\u00B7 Al", "", "al@example.com", "1 Mill Lane,Kendal",
                                             "2026/08/31", "2026/11/29", "Sold up,Moved away"}));
  EXPECT_EQ(Texts(form.list, 0), (Strings{"12", "3"})) << "archive order first";
  form.list->sortByColumn(0, Qt::AscendingOrder);
  EXPECT_EQ(Texts(form.list, 0), (Strings{"3", "12"}));
}

}  // namespace
}  // namespace tb::test
