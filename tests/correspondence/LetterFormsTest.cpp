// The letter window and the proforma manager, and the booking window opening them.

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "bookings/BrambleFixture.h"
#include "bookings/forms/TBookForm.h"
#include "correspondence/forms/TLetterForm.h"
#include "correspondence/forms/TProformaForm.h"
#include "platform/FileSystem.h"
#include "store/Settings.h"

namespace tb::test {
namespace {

class NoDelivery : public LetterDelivery {
 public:
  HtmlSendResult SendHtml(const std::string&, const std::string&, std::string&) override {
    return HtmlSendResult::Cancelled;
  }
  int HandOver(const std::string&, const std::string&, const std::string&) override { return 0; }
};

using Strings = std::vector<std::string>;

Strings RowTexts(QTreeWidget* list, int row) {
  Strings texts;
  for (int c = 0; c < list->columnCount(); ++c) texts.push_back(list->topLevelItem(row)->text(c).toStdString());
  return texts;
}

class LetterForms : public BrambleFixture {
 protected:
  LetterForms() : BrambleFixture("") {
    ForceDirectories(t.Root() + "Bramble/Letters");
    s.common.NLetters = 4;
    s.common.LetterDesc = {"", "Confirmation", "Balance due", "Arrival", "Thanks"};
    s.common.LetterEMail = {false, false, true, false, false};
  }
  std::string Letter(int type, const char* ext) const {
    return t.Root() + "Bramble/Letters/270102L" + std::to_string(type) + "Adams" + ext;
  }
  // The enabled entries of the letter window's menu.
  static Strings Enabled(const TLetterForm& form) {
    Strings on;
    for (QAction* a : form.menu->actions())
      if (!a->isSeparator() && a->isEnabled()) on.push_back(a->text().toStdString());
    return on;
  }
  BookingEditor ed{s};
  NoDelivery delivery;
};

TEST_F(LetterForms, TheLetterWindowShowsEachTypeAndOffersWhatTheRowAllows) {
  WriteWholeFile(Letter(1, ".rtf"), "{\\rtf1}");
  WriteWholeFile(Letter(3, ".htm"), "<p>");
  ed.OpenEdit(1, At(1));
  ed.fields.email = "adams@example.com";
  TLetterForm form(s, ed, delivery);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Letter Processing  (Create or View letters)"));
  ASSERT_EQ(form.list->topLevelItemCount(), 4);
  const std::string today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString();
  EXPECT_EQ(RowTexts(form.list, 0), (Strings{"L1", "Confirmation", "Post", "Exists", today}));
  EXPECT_EQ(RowTexts(form.list, 1), (Strings{"L2", "Balance due", "EMail", "None", ""}));
  EXPECT_EQ(RowTexts(form.list, 2), (Strings{"L3", "Arrival", "EMail", "Exists(htm)", today}));
  EXPECT_EQ(form.Selected(), 3);  // the first without a letter after the last with one
  EXPECT_EQ(Enabled(form), (Strings{"Create postal letter", "Create EMail"}));
  form.list->setCurrentItem(form.list->topLevelItem(0));
  EXPECT_EQ(Enabled(form), (Strings{"Recreate letter (Post)", "Recreate letter (EMail)", "Delete Existing Letter"}));
  form.TellIfOnlyPost();  // an address: nothing to say

  // A row with a letter opens it; delete empties the row.
  form.Activate(0);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{Letter(1, ".rtf")});
  t.dialogs.Expect("Delete Letter 1 (Confirmation)\rAre you sure?", MsgIcon::Confirmation,
                   MsgButton::Yes | MsgButton::Cancel, 270, MsgButton::Yes);
  form.acDelete->trigger();
  EXPECT_EQ(RowTexts(form.list, 0), (Strings{"L1", "Confirmation", "Post", "None", ""}));
  EXPECT_FALSE(FileExists(Letter(1, ".rtf")));
  EXPECT_EQ(Enabled(form), (Strings{"Create postal letter", "Create EMail"}));

  // Without an e-mail address nothing goes by e-mail.
  ed.fields.email = " ";
  form.list->setCurrentItem(form.list->topLevelItem(2));
  EXPECT_EQ(Enabled(form), (Strings{"Recreate letter (Post)", "Delete Existing Letter"}));
  ed.Close();
}

TEST_F(LetterForms, WithoutAnAddressItSaysOnlyPostIsPossible) {
  ed.OpenEdit(1, At(1));
  TLetterForm form(s, ed, delivery);
  EXPECT_EQ(form.list->topLevelItem(1)->text(2), QStringLiteral("Post"));
  t.dialogs.Expect("No email exists for this booking - can only post.", MsgIcon::Information,
                   MsgButton::OK | MsgButton::Help, 350, MsgButton::OK);
  form.show();
  QCoreApplication::processEvents();
  t.dialogs.VerifyAllShown();
  ed.Close();
}

TEST_F(LetterForms, ReadOnlyRefusesNewLettersButRecreates) {
  WriteWholeFile(t.Root() + "Prof-L1.rtf", "{\\rtf1 <!Names>}");
  WriteWholeFile(t.Root() + "Prof-L2.rtf", "{\\rtf1 again <!Names>}");
  WriteWholeFile(Letter(2, ".rtf"), "old");
  s.ReadOnly = true;
  ed.OpenEdit(1, At(1));
  TLetterForm form(s, ed, delivery);
  form.show();
  t.dialogs.Expect("Read-only mode: cannot create letter.", MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  form.Activate(0);
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(FileExists(Letter(1, ".rtf")));

  form.list->setCurrentItem(form.list->topLevelItem(1));
  t.dialogs.Expect("Recreate Letter 2 (Balance due) as Postal letter\rAre you sure? (Old letter will be deleted)",
                   MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 270, MsgButton::Cancel);
  form.acRecreatePost->trigger();
  EXPECT_EQ(t.dir.Read("root/Bramble/Letters/270102L2Adams.rtf"), "old");
  t.dialogs.Expect("Recreate Letter 2 (Balance due) as Postal letter\rAre you sure? (Old letter will be deleted)",
                   MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 270, MsgButton::Yes);
  form.acRecreatePost->trigger();
  EXPECT_EQ(t.dir.Read("root/Bramble/Letters/270102L2Adams.rtf"), "{\\rtf1 again Adams}");
  EXPECT_EQ(form.result(), QDialog::Accepted) << "the window closes once the letter is made";
  ed.Close();
}

TEST_F(LetterForms, TheBookingWindowOpensTheLetterAndProformaWindows) {
  TBookForm book(s);
  book.OpenEdit(1, At(1));
  EXPECT_TRUE(book.acLetters->isEnabled());
  EXPECT_EQ(book.acLetters->shortcut(), QKeySequence(Qt::Key_F10));
  book.fEMail->setText(QStringLiteral("adams@example.com"));
  int letters = 0;
  book.showLetters = [&](TLetterForm& form) {
    ++letters;
    EXPECT_EQ(form.list->topLevelItem(1)->text(2), QStringLiteral("EMail")) << "the address as typed";
  };
  book.acLetters->trigger();
  EXPECT_EQ(letters, 1);
  QString heading;
  book.showProformas = [&](TProformaForm& form) { heading = form.heading->text(); };
  book.acProformas->trigger();
  EXPECT_EQ(heading, QStringLiteral("Listed below are all proformas found that apply to property Bramble"));
  book.Quit();
}

// ---- The proforma manager -------------------------------------------------------------

TEST_F(LetterForms, ProformasAreListedBySectionTypeAndKindWithTheirWarning) {
  for (const char* name : {"Prof-L2.htm", "Prof-L2.txt", "Prof-L1.rtf", "Prof-L2.rtf", "Prof-L9.rtf", "Notes.rtf"})
    WriteWholeFile(t.Root() + name, "x");
  WriteWholeFile(t.Root() + "Bramble/Data/Prof-L3.txt", "x");
  TProformaForm form(s, 1);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Manage Letter Proformas"));
  EXPECT_TRUE(form.acCopyProperty->isEnabled());
  Strings files;
  for (int row = 0; row < form.list->topLevelItemCount(); ++row) {
    const Strings texts = RowTexts(form.list, row);
    files.push_back(texts[4].empty() ? texts[1] : texts[4] + " " + texts[2] + " " + texts[5]);
  }
  EXPECT_EQ(files, (Strings{"----Property specific----", "Prof-L3.txt EMail Property specific",
                                "----Shared Proformas----", "Prof-L1.rtf Post Shared", "Prof-L2.rtf Post Shared",
                                "Prof-L2.txt EMail Shared", "Prof-L2.htm HTML Shared"}));
  EXPECT_EQ(form.list->topLevelItem(3)->text(3), QString::fromStdString(t.Root()));

  const std::string root = t.Root();
  t.dialogs.Expect("Warning: Proforma Number 2: Both text and HTML Proformas exist.\rThe HTML proforma gets preference "
                   "when sending email, so proforma " + root + "Prof-L2.htm will be used\rTo avoid this message, "
                   "delete one of the two proformas. The text proforma is " + root + "Prof-L2.txt\rRead HELP",
                   MsgIcon::Error, MsgButton::OK | MsgButton::Help, 785, MsgButton::OK);
  const int beeps = t.dialogs.beeps;
  form.show();
  QCoreApplication::processEvents();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.dialogs.beeps, beeps + 1);

  // A heading does nothing; a postal proforma opens in the desktop's program here.
  form.Click(2);
  form.Click(3);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{root + "Prof-L1.rtf"});
}

TEST_F(LetterForms, RenameNeverReplacesAProformaAndTheWidthIsKept) {
  WriteWholeFile(t.Root() + "Prof-L1.rtf", "one");
  WriteWholeFile(t.Root() + "PROF-L2.RTF", "two");
  s.prefs.SetProformaWidth(700);
  TProformaForm form(s, 0);
  EXPECT_EQ(form.width(), 700);
  EXPECT_EQ(form.heading->text(), QStringLiteral("WARNING: Only shared Proformas are visible."));
  EXPECT_EQ(form.hint->text(),
            QStringLiteral("Open Manage Proforma Window by right clicking over the property name to see all proformas."));
  EXPECT_FALSE(form.acCopyProperty->isEnabled());
  form.list->setCurrentItem(form.list->topLevelItem(1));
  const std::string root = t.Root();
  t.dialogs.ExpectInput("Enter new proforma number: (1 to 4)", "x")
      .ExpectInput("Enter new proforma number: (1 to 4)", "5")
      .ExpectInput("Enter new proforma number: (1 to 4)", "2");
  t.dialogs.Expect("Rename proforma " + root + "Prof-L1.rtf to " + root + "Prof-L2.rtf?", MsgIcon::Confirmation,
                   MsgButton::Yes | MsgButton::Cancel, 785, MsgButton::Yes);
  t.dialogs.Expect("Rename failed\rTarget " + root + "Prof-L2.rtf exists?", MsgIcon::Error, MsgButton::Abort, 0,
                   MsgButton::Abort);
  form.acRename->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.dir.Read("root/Prof-L1.rtf"), "one");
  EXPECT_EQ(t.dir.Read("root/PROF-L2.RTF"), "two");

  // To a free number it is renamed and the list filled again.
  t.dialogs.ExpectInput("Enter new proforma number: (1 to 4)", "4");
  t.dialogs.Expect("Rename proforma " + root + "Prof-L1.rtf to " + root + "Prof-L4.rtf?", MsgIcon::Confirmation,
                   MsgButton::Yes | MsgButton::Cancel, 785, MsgButton::Yes);
  form.acRename->trigger();
  EXPECT_EQ(ListFiles(root, "Prof-L*"), (std::vector<std::string>{"PROF-L2.RTF", "Prof-L4.rtf"}));
  EXPECT_EQ(form.list->topLevelItem(2)->text(4), QStringLiteral("Prof-L4.rtf"));

  form.resize(820, form.height());
  form.reject();
  EXPECT_EQ(s.prefs.ProformaWidth(), 820);
}

}  // namespace
}  // namespace tb::test
