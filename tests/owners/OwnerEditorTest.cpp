// The owner editor and the main window's owner commands: what the window shows, how a
// save, a delete, a find and the number field behave, what it refuses read-only, and
// the menus that follow the owner database.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include "app/Startup.h"
#include "app/forms/TMainForm.h"
#include "owners/OwnerHooks.h"
#include "owners/forms/TOwnerForm.h"
#include "owners/forms/TOwnerListForm.h"
#include "owners/OwnerFixture.h"
#include "platform/forms/QtPrintCanvas.h"
#include "support/ChildProcess.h"

namespace tb::test {
namespace {

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;
const MsgButtons kYesNo = MsgButton::Yes | MsgButton::No;

class OwnerEditor : public OwnerFixture, public ::testing::Test {
 protected:
  OwnerEditor() {
    Owner_Rec a = MakeOwner(1, "Adams", "Ann", "ann@example.com");
    a.OwnerAddress = "1 High St\r\nTruro";
    a.OwnerURL = "www.adams.example";
    a.OwnerNotes = "Keys next door";
    WriteOwners({a, MakeOwner(2, "Brown", "Bob"), MakeOwner(3, "Clark", "Cy")});
    Open();
  }
  // An editor on the owner at 1-based position, as the list opens it (the list holds the lock).
  std::unique_ptr<TOwnerForm> FromList(int position) {
    Open(true);
    auto form = std::make_unique<TOwnerForm>(s, OwnerFormMode::EditFromList, position);
    EXPECT_TRUE(form->Start());
    return form;
  }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->textEdited(text);
  }
};

TEST_F(OwnerEditor, ShowsTheOwnerWithItsPropertiesAndStatus) {
  auto form = FromList(1);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Owner Details"));
  EXPECT_EQ(form->surname->text(), QStringLiteral("Adams"));
  EXPECT_EQ(form->address->toPlainText(), QStringLiteral("1 High St\nTruro"));
  EXPECT_EQ(form->ownerId->text(), QStringLiteral("01"));
  ASSERT_EQ(form->properties->count(), 1);
  EXPECT_EQ(form->properties->item(0)->text(), QStringLiteral("1  Bramble"));
  EXPECT_EQ(form->StatusRecord(), QStringLiteral("Rec 1 of 3"));
  EXPECT_TRUE(form->StatusDates().startsWith(QStringLiteral("Updated: ")));
  EXPECT_FALSE(form->acSave->isEnabled());
  EXPECT_TRUE(form->acNext->isEnabled());
  EXPECT_EQ(form->address->toolTip(), QStringLiteral("Address: 4 lines, max 160 chars."));
  EXPECT_EQ(form->bWebSite->toolTip(), QStringLiteral("Open browser with URL=Web ID"));

  form->Next();
  EXPECT_EQ(form->surname->text(), QStringLiteral("Brown"));
  ASSERT_EQ(form->properties->count(), 2);  // properties 2 and 3
  form->Bottom();
  form->Next();
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Bottom of File"));
  EXPECT_EQ(form->surname->text(), QStringLiteral("Clark"));
  EXPECT_EQ(form->properties->item(0)->text(), QStringLiteral("- none assigned -"));

  // A change holds navigation until it is saved.
  Type(form->phone, QStringLiteral("01872"));
  EXPECT_TRUE(form->acSave->isEnabled());
  EXPECT_FALSE(form->acNext->isEnabled());
  EXPECT_FALSE(form->acDelete->isEnabled());
}

TEST_F(OwnerEditor, ASaveThatMovesTheOwnerKeepsShowingIt) {
  auto form = FromList(1);
  Type(form->surname, QStringLiteral("Zeta"));
  form->Save();
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Data saved"));
  EXPECT_EQ(form->surname->text(), QStringLiteral("Zeta"));
  EXPECT_EQ(form->StatusRecord(), QStringLiteral("Rec 3 of 3"));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (std::vector<std::string>{"Brown", "Clark", "Zeta"}));
  EXPECT_NE(Log().find("Updated Owner ID=1 SName=Zeta Tot Owners=3"), std::string::npos) << Log();
  EXPECT_TRUE(form->SavedAny());

  // A new owner is offered the next number and saved in its place.
  form->AddOwner();
  EXPECT_EQ(form->ownerId->text(), QStringLiteral("04"));
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("New record"));
  Type(form->surname, QStringLiteral("Baker"));
  // A number in use is refused at the save too, the field never left; the shown
  // owner's own number included.
  for (const char* taken : {"3", "1"}) {
    form->ownerId->setText(QString::fromLatin1(taken));
    t.dialogs.Expect("Error - number in use", MsgIcon::Error, MsgButton::Cancel, 0, MsgButton::Cancel);
    form->Save();
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(FileOwners(File()).size(), 3u) << taken;
  }
  form->ownerId->setText(QStringLiteral("04"));
  form->Save();
  EXPECT_EQ(form->StatusRecord(), QStringLiteral("Rec 1 of 4"));
  EXPECT_NE(Log().find("Added Owner ID=4 SName=Baker Tot Owners=4"), std::string::npos) << Log();
}

TEST_F(OwnerEditor, TheNumberFieldRefusesWhatIsNotAFreeNumber) {
  auto form = FromList(1);
  struct Case {
    const char* typed;
    std::vector<std::pair<std::string, MsgButton>> boxes;  // text, answer
    const char* after;
    bool changed;
  } cases[] = {
      {"x", {{"Error - must be positive integer", MsgButton::OK}}, "x", false},
      {"0", {{"Error - must be positive integer", MsgButton::OK}}, "0", false},
      {"01", {}, "01", false},
      {"2",
       {{"Are you sure you want to change owner number?\rIf so you must change Property configuration", MsgButton::Yes},
        {"Error - number in use", MsgButton::Cancel}},
       "01", false},
      {"7",
       {{"Are you sure you want to change owner number?\rIf so you must change Property configuration",
         MsgButton::Cancel}},
       "01", false},
      {"9",
       {{"Are you sure you want to change owner number?\rIf so you must change Property configuration", MsgButton::Yes}},
       "09", true},
  };
  for (const Case& c : cases) {
    for (const auto& [text, answer] : c.boxes) {
      const MsgButtons buttons = answer == MsgButton::OK       ? MsgButtons(MsgButton::OK)
                                 : text == "Error - number in use" ? MsgButtons(MsgButton::Cancel)
                                                                    : MsgButton::Yes | MsgButton::Cancel;
      t.dialogs.Expect(text, MsgIcon::Error, buttons, 0, answer);
    }
    form->ownerId->setText(QString::fromLatin1(c.typed));
    form->NumberLeft();
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(form->ownerId->text(), QString::fromLatin1(c.after)) << c.typed;
    EXPECT_EQ(form->Changed(), c.changed) << c.typed;
  }
  form->Save();
  EXPECT_EQ(FileOwners(File())[0].OwnerID, 9);
}

TEST_F(OwnerEditor, DeleteArchivesAndTheFinalOwnerTakesTheDatabase) {
  auto form = FromList(2);
  t.dialogs.Expect("Delete owner = Brown\rProceed?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  form->DeleteRecord();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Owner deleted"));
  EXPECT_EQ(form->surname->text(), QStringLiteral("Clark"));
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (std::vector<std::string>{"Adams", "Clark"}));
  EXPECT_EQ(OwnerSurnames(FileOwners(Archive())), std::vector<std::string>{"Brown"});

  // Down to the last: it goes to the archive too, and the file with it.
  t.dialogs.Expect("Delete owner = Clark\rProceed?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  form->DeleteRecord();
  bool gone = false;
  form->onDatabaseGone = [&]() { gone = true; };
  t.dialogs.Expect("Delete final owner in file. Proceed?", MsgIcon::Confirmation, kYesNo, 0, MsgButton::Yes);
  form->DeleteRecord();
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(gone);
  EXPECT_FALSE(FileExists(File()));
  EXPECT_EQ(OwnerSurnames(FileOwners(Archive())), (std::vector<std::string>{"Brown", "Clark", "Adams"}));
  EXPECT_TRUE(OwnerList(s).empty());

  // A new database can be started in the same run.
  TOwnerForm create(s, OwnerFormMode::CreateDatabase);
  ASSERT_TRUE(create.Start());
  EXPECT_TRUE(create.readOnlyLabel->isHidden());
  Type(create.surname, QStringLiteral("Dyer"));
  create.SaveAndExit();
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), std::vector<std::string>{"Dyer"});
}

TEST_F(OwnerEditor, FindSearchesEveryTextIgnoringCase) {
  auto form = FromList(1);
  t.dialogs.Expect("No search to repeat", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  form->SearchAgain();
  form->Find(QStringLiteral("KEYS"), true);  // in Adams's notes
  EXPECT_EQ(form->surname->text(), QStringLiteral("Adams"));
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Found"));
  form->Next();
  form->Find(QStringLiteral("c"), true);  // a new text starts at the first owner again
  EXPECT_EQ(form->surname->text(), QStringLiteral("Adams"));
  form->SearchAgain();  // and the same text goes on from there
  EXPECT_EQ(form->surname->text(), QStringLiteral("Clark"));
  t.dialogs.Expect("String c not found", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  form->SearchAgain();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Bottom of File"));
}

TEST_F(OwnerEditor, LinksClipboardAndExport) {
  auto form = FromList(1);
  form->WriteEmail();
  form->OpenWebSite();
  ASSERT_EQ(t.runner.opened.size(), 2u);
  EXPECT_EQ(t.runner.opened[0], "mailto:ann%40example.com?Subject= &Body=");
  EXPECT_EQ(t.runner.opened[1], "http://www.adams.example");
  form->CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("Ann Adams\r\n1 High St\r\nTruro\r\nEMail: ann@example.com\r\nURL: www.adams.example\r\n"
                           "Notes: Keys next door"));
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Copied details to clipboard"));

  t.dialogs.Expect("Exported 3 records to " + t.Root() + "Owners.csv\rFile will open in registered application",
                   MsgIcon::Information, MsgButton::OK | MsgButton::Help, 635, MsgButton::OK);
  form->ExportCsv();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.runner.opened.back(), t.Root() + "Owners.csv");
  t.dialogs.Expect("File " + t.Root() + "Owners.csv already exists. Overwrite?", MsgIcon::Warning,
                   MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
  form->ExportCsv();
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Cancelled"));

  Type(form->email, QString());
  t.dialogs.Expect("No email address", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form->WriteEmail();
}

// Both printouts as PDF files, read back as a viewer shows them.
TEST_F(OwnerEditor, BothPrintoutsPrintTheirTexts) {
  auto form = FromList(1);
  std::string pdf;
  form->printCanvas = [&]() { return std::make_unique<QtPrintCanvas>(pdf); };
  // pdftotext lays text out in columns: runs of blanks say nothing.
  const auto squeezed = [](const std::string& text) {
    std::string out;
    for (const char c : text)
      if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
  };
  pdf = t.dir.Path() + "details.pdf";
  t.dialogs.Expect("Print Current Owner details?", MsgIcon::Information, MsgButton::OK | MsgButton::Cancel, 0,
                   MsgButton::OK);
  form->PrintDetails();
  std::string text = squeezed(PdfText(pdf));
  for (const char* want : {"Owner Details", "Owner No=01", "Properties Managed. Total=1", "1 Bramble", "Surname:",
                           "Adams", "Truro", "Web Site:", "Keys next door"})
    EXPECT_NE(text.find(want), std::string::npos) << want << " not in:\n" << text;
  pdf = t.dir.Path() + "list.pdf";
  t.dialogs.Expect("Print list of owners?", MsgIcon::Information, MsgButton::OK | MsgButton::Cancel, 0, MsgButton::OK);
  form->PrintList();
  text = squeezed(PdfText(pdf));
  for (const char* want : {"Owner Summary", "Page 1", "[No] Name", "[01] Adams, Ann", "[03] Clark, Cy",
                           "1 High St,Truro"})
    EXPECT_NE(text.find(want), std::string::npos) << want << " not in:\n" << text;
  EXPECT_EQ(form->StatusMessage(), QStringLiteral("Printed owner list"));
}

TEST_F(OwnerEditor, ReadOnlyRunsShowButNeverSave) {
  s.ReadOnly = true;
  TOwnerForm form(s, OwnerFormMode::PropertyOwner, 1);
  ASSERT_TRUE(form.Start());
  EXPECT_FALSE(form.readOnlyLabel->isHidden());
  EXPECT_TRUE(form.surname->isReadOnly());
  EXPECT_FALSE(form.acAdd->isEnabled());
  EXPECT_FALSE(form.acDelete->isEnabled());
  Type(form.surname, QStringLiteral("Changed"));
  EXPECT_FALSE(form.acSave->isEnabled());
  form.Save();
  EXPECT_EQ(OwnerSurnames(FileOwners(File()))[0], "Adams");
}

// Whether another program holds a write lock on the file, asked without taking one:
// a probe that took the lock could itself make the other program read-only.
bool HeldByAnotherProgram(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock query {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
  const bool held = fcntl(fd, F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

// Two programs on one root: Cotlyn's owner editor holds the database, this program's
// editor shows it read-only with no Save, and finds Cotlyn's save at its next open.
TEST_F(OwnerEditor, ASecondProgramIsReadOnlyWhileTheEditorIsOpenAndSeesItsSave) {
  t.Load("[Common]\nver=V4.4\nSplash=0\nNumProps=2\n[Prop01]\nPropName=Bramble\nOwner=1\n"
         "[Prop02]\nPropName=Heron\nOwner=2\n");
  for (const char* name : {"Bramble", "Heron"}) ForceDirectories(t.Root() + name + "/Data");
  ForceDirectories(t.dir.Path() + "config");
  ForceDirectories(t.dir.Path() + "other-tmp");
  // F7 opens the first property's owner with the surname in focus; the editor stays
  // open some seconds, then the surname loses its last letter and is saved (the editor
  // stays open after a save).
  std::string keys = "F7";
  for (int i = 0; i < 16; ++i) keys += ",End";
  keys += ",Backspace,Ctrl+S";
  ChildProcess cotlyn(ProgramPath("Cotlyn"), {"Bramble", t.Root()},
                      {"COTLYN_NONINTERACTIVE=1", "COTLYN_ANSWERS=", "COTLYN_KEYS=" + keys,
                       "XDG_CONFIG_HOME=" + t.dir.Path() + "config", "TMPDIR=" + t.dir.Path() + "other-tmp",
                       "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR="});
  ASSERT_TRUE(cotlyn.Start());
  ASSERT_TRUE(WaitUntil([&]() { return HeldByAnotherProgram(File()); })) << cotlyn.Errors();
  const auto openHere = [&](const QString& surname) {
    TOwnerForm form(s, OwnerFormMode::PropertyOwner, 1);
    ASSERT_TRUE(form.Start());
    EXPECT_FALSE(form.readOnlyLabel->isHidden());
    EXPECT_EQ(form.surname->text(), surname);
    Type(form.surname, QStringLiteral("Mine"));
    EXPECT_FALSE(form.acSave->isEnabled());
    form.Save();
  };
  openHere(QStringLiteral("Adams"));
  EXPECT_TRUE(WaitUntil([&]() { return Log().find("Updated Owner ID=1 SName=Adam ") != std::string::npos; }))
      << Log();
  EXPECT_TRUE(HeldByAnotherProgram(File()));
  openHere(QStringLiteral("Adam"));
  cotlyn.Kill(SIGKILL);
  cotlyn.Wait();
  EXPECT_EQ(OwnerSurnames(FileOwners(File())), (std::vector<std::string>{"Adam", "Brown", "Clark"}));
}

// The main window: the owner command's caption follows the database, refusals for a
// property without a valid owner, and the archive viewer.
TEST_F(OwnerEditor, TheMainWindowsOwnerCommands) {
  LoadOwnerDatabase(s);
  StartupEnvironment env;
  TMainForm main(s, env);
  EXPECT_EQ(main.acOwner->text(), QStringLiteral("View Owner"));
  EXPECT_TRUE(main.ownersMenu->menuAction()->isVisible());
  EXPECT_FALSE(main.acOwnerArchive->isVisible());

  int shown = 0;
  main.showOwner = [&](TOwnerForm& form) {
    ++shown;
    EXPECT_EQ(form.surname->text(), QStringLiteral("Brown"));
  };
  main.ViewOwner(3);
  EXPECT_EQ(shown, 1);
  t.dialogs.Expect("No owner assigned for Kestrel\rConfigure Owner", MsgIcon::Error, kAbortHelp, 900, MsgButton::Abort);
  main.ViewOwner(4);
  s.Prop(4).Owner = 12;
  t.dialogs.Expect("Owner 12 assigned to Kestrel does not exist\rRe-configure Property", MsgIcon::Error, kAbortHelp,
                   900, MsgButton::Abort);
  main.ViewOwner(4);
  t.dialogs.VerifyAllShown();

  s.OwnerFormOpen = true;
  t.dialogs.Expect("You may be editing Owner data - close all forms and retry", MsgIcon::None, MsgButton::OK, 0,
                   MsgButton::OK);
  main.ViewOwnerArchive();
  s.OwnerFormOpen = false;
  main.ViewOwnerArchive();
  ASSERT_FALSE(t.runner.calls.empty());
  EXPECT_EQ(t.runner.calls.back().program, "Ravelt");
  EXPECT_FALSE(t.runner.calls.back().wait);
}

TEST_F(OwnerEditor, WithoutADatabaseTheCommandCreatesOne) {
  DeleteFileAt(File());
  TestSession fresh{kOwnerToday + 0.5};
  fresh.Load("[Common]\nver=V4.4\nNumProps=1\n[Prop01]\nPropName=Bramble\nOwner=1\n");
  Session& f = fresh.session;
  LoadOwnerDatabase(f);
  StartupEnvironment env;
  TMainForm main(f, env);
  EXPECT_EQ(main.acOwner->text(), QStringLiteral("Create Owner DataBase"));
  EXPECT_EQ(main.acOwner->toolTip(), QStringLiteral("Create Owner Database"));
  EXPECT_FALSE(main.ownersMenu->menuAction()->isVisible());
  // Left without a save: no file, no lock to let go of, nothing to report.
  main.showOwner = [&](TOwnerForm& form) { form.Exit(); };
  fresh.dialogs.Expect("Do you want to create an Owner Data Base?", MsgIcon::Confirmation,
                       MsgButton::Yes | MsgButton::Cancel | MsgButton::Help, 900, MsgButton::Yes);
  main.OwnerCommand();
  fresh.dialogs.VerifyAllShown();
  EXPECT_EQ(main.acOwner->text(), QStringLiteral("Create Owner DataBase"));
  main.showOwner = [&](TOwnerForm& form) {
    EXPECT_EQ(form.ownerId->text(), QStringLiteral("01"));
    Type(form.surname, QStringLiteral("First"));
    form.SaveAndExit();
  };
  fresh.dialogs.Expect("Do you want to create an Owner Data Base?", MsgIcon::Confirmation,
                       MsgButton::Yes | MsgButton::Cancel | MsgButton::Help, 900, MsgButton::Yes);
  main.OwnerCommand();
  fresh.dialogs.VerifyAllShown();
  EXPECT_EQ(main.acOwner->text(), QStringLiteral("View Owner"));
  EXPECT_TRUE(main.ownersMenu->menuAction()->isVisible());
  EXPECT_NE(fresh.dir.Read("root/Cotlyn.log").find("Created Owner DB. Owner ID=1 SName=First Tot Owners=1"),
            std::string::npos);
}

}  // namespace
}  // namespace tb::test
