// "Show Booking Form" with web booking forms set up: the "Locate Booking Form" window's
// choices run from the booking window against a local web site, and the window's Web
// commands.

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <unistd.h>

#include "bookings/BrambleFixture.h"
#include "bookings/forms/TBookForm.h"
#include "support/WebFormServer.h"
#include "web/forms/TWebGetForm.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;

class WebBookingForm : public BrambleFixture {
 protected:
  WebBookingForm() : BrambleFixture("") {
    s.common.FormData = server.Url("/forms/");
    form.locateBookingForm = [this]() {
      ++located;
      return choice;
    };
    form.OpenEdit(1, At(2));  // Brown, 14 January 2027
    form.show();
  }
  std::string Stored() const { return t.Root() + "Bramble/Booking Forms/270114Brown.htm"; }

  WebFormServer server;
  TBookForm form{s};
  LocateChoice choice = LocateChoice::Closed;
  int located = 0;
};

TEST_F(WebBookingForm, DownloadedFormIsOpenedAndItsDataMergedUnsaved) {
  s.common.Merge = true;
  server.Serve("/forms/P1-270114brown.htm", 200, "<html>Brown's form</html>");
  server.Serve("/forms/P1-270114brown.txt", 200, "[BOOKFORM]\r\nFnames=Mrs Ann\r\nComments=Cot please\r\n");
  const std::string bookings = t.dir.Read("root/Bramble/Data/Bookings.bks");
  choice = LocateChoice::Download;
  t.dialogs.Expect("Form downloaded: " + Stored() + "\rForm data found - will merge into record\r" +
                       "Form will now be opened",
                   MsgIcon::Information, kOK, 0, MsgButton::OK);
  form.acBookingForm->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{Stored()});
  EXPECT_EQ(form.fFNames->text(), QStringLiteral("Mrs Ann"));
  EXPECT_EQ(form.fComments->toPlainText(), QStringLiteral("Cot please"));
  EXPECT_TRUE(form.Editor().Changed());
  EXPECT_EQ(t.dir.Read("root/Bramble/Data/Bookings.bks"), bookings);  // the user saves

  form.acBookingForm->trigger();  // stored now: opened without asking
  EXPECT_EQ(located, 1);
  EXPECT_EQ(t.runner.opened.size(), 2u);
}

TEST_F(WebBookingForm, AFormTheSiteDoesNotHaveChangesNothing) {
  choice = LocateChoice::Download;
  t.dialogs.Expect("File not found on server at " + server.Url("/forms/P1-270114brown.htm"), MsgIcon::Error,
                   MsgButton::Abort | MsgButton::Help, 1230, MsgButton::Abort);
  form.acBookingForm->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(t.runner.opened.empty());
  EXPECT_FALSE(form.Editor().Changed());
  EXPECT_FALSE(FileExists(Stored()));
}

TEST_F(WebBookingForm, BrowseOrCloseInsteadOfDownloading) {
  // A stored picture starting with the same 14 characters is found: no window, no download.
  t.dir.Write("root/Bramble/Booking Forms/270114Brown-scan.JPG", "jpg");
  form.acBookingForm->trigger();
  EXPECT_EQ(located, 0);
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{t.Root() + "Bramble/Booking Forms/270114Brown-scan.JPG"});
  DeleteFileAt(t.Root() + "Bramble/Booking Forms/270114Brown-scan.JPG");

  form.acBookingForm->trigger();  // closed: nothing more
  EXPECT_EQ(located, 1);
  EXPECT_EQ(t.runner.opened.size(), 1u);

  // Browsed for on another file system (a memory stick; here /dev/shm): moved all the same.
  choice = LocateChoice::Browse;
  const std::string chosen = "/dev/shm/tb-scan-" + std::to_string(getpid()) + ".pdf";
  ASSERT_TRUE(WriteWholeFile(chosen, "%PDF"));
  form.chooseBookingForm = [&]() { return QString::fromStdString(chosen); };
  const std::string stored = t.Root() + "Bramble/Booking Forms/270114Brown.pdf";
  t.dialogs.Expect("File " + chosen + " renamed to " + stored, MsgIcon::Information, kOK, 0, MsgButton::OK);
  form.acBookingForm->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.runner.opened.back(), stored);
  EXPECT_EQ(t.dir.Read("root/Bramble/Booking Forms/270114Brown.pdf"), "%PDF");
  EXPECT_FALSE(FileExists(chosen));
  DeleteFileAt(chosen);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(WebBookingForm, WebCommandsOpenTheSiteOrSayWhatIsMissing) {
  for (QAction* a : {form.acLocalWebsite, form.acRemoteWebsite, form.acWebForms}) EXPECT_TRUE(a->isEnabled());
  form.acWebForms->trigger();
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{server.Url("/forms/xlistforms.php")});
  t.dialogs.Expect("Cannot open web site - URL not configured", MsgIcon::Error, MsgButton::Abort | MsgButton::Help,
                   715, MsgButton::Abort);
  form.acRemoteWebsite->trigger();
  t.dialogs.VerifyAllShown();
}

TEST(LocateBookingForm, EachButtonGivesItsChoiceAndHelpItsTopic) {
  TestSession t;
  TWebGetForm dialog(t.session);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Locate Booking Form"));
  EXPECT_EQ(dialog.lText->text(), QStringLiteral("Booking form does not exist.  "));
  const std::pair<QPushButton*, LocateChoice> buttons[] = {{dialog.bBrowse, LocateChoice::Browse},
                                                           {dialog.bDownload, LocateChoice::Download}};
  for (const auto& [button, expected] : buttons) {
    dialog.open();
    button->click();
    EXPECT_EQ(dialog.Choice(), expected);
    EXPECT_FALSE(dialog.isVisible());
  }
  dialog.bHelp->click();
  // F1 gives the topic of the button with the focus.
  dialog.show();
  dialog.bBrowse->setFocus();
  for (QAction* a : dialog.actions())
    if (a->shortcut() == QKeySequence(Qt::Key_F1)) a->trigger();
  const std::string& help = t.session.common.HelpFolder;
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{help + "570.html", help + "284.html"}));
}

}  // namespace
}  // namespace tb::test
