// "List Overdue Items" from the main window: its two messages, the daily check, the
// list window's sort and size, a line opening its booking modally, the refresh after a
// save, and the list closing when another user's rewrite took the booking away.

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "app/TwoCottagesFixture.h"
#include "app/forms/TMainForm.h"
#include "app/forms/TOverdueForm.h"
#include "bookings/forms/TBookForm.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kStart = EncodeDate(2027, 1, 16);

class OverdueForm : public TwoCottagesFixture {
 protected:
  // Bookings that are all listed: paid, balance not acknowledged.
  void Overdue() {
    Put(1, {Paid("Baker", 0), Paid("adams", 7), MakeBooking(kStart + 14, 7, "Done", Complete)});
    Put(2, {Paid("O\"Neil", 0), Paid("Cole", 21)});
  }
  static Book_Rec Paid(const std::string& surname, int days) {
    Book_Rec b = MakeBooking(kStart + days, 7, surname, tb::Paid);
    b.Fnames = "Jo";
    return b;
  }
  QStringList Column(const TOverdueForm& f, OverdueColumn c) {
    QStringList texts;
    for (int i = 0; i < f.LV->topLevelItemCount(); ++i) texts << f.LV->topLevelItem(i)->text(static_cast<int>(c));
    return texts;
  }
};

TEST_F(OverdueForm, TheCommandSaysWhenThereIsNothingAndTheDailyCheckSaysNothing) {
  Put(1, {MakeBooking(kStart, 7, "Done", Complete)});
  TMainForm form(s, env);
  form.FirstShow();
  form.OnActivate();  // never checked before: today's check runs, quietly
  EXPECT_FALSE(form.overdueForm);
  EXPECT_GE(s.prefs.LastOverdueCheck(), s.clock.Today());
  t.dialogs.Expect("No overdue items", MsgIcon::None, kOK, 0, MsgButton::OK);
  form.Command(QStringLiteral("List Overdue Items"))->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(form.overdueForm);
}

TEST_F(OverdueForm, TheDailyCheckShowsTheListOnceAndTheCommandBringsItForward) {
  Overdue();
  s.prefs.SetLastOverdueCheck(s.clock.Today() - 0.5);  // yesterday afternoon
  TMainForm form(s, env);
  form.FirstShow();
  form.OnActivate();
  ASSERT_TRUE(form.overdueForm);
  TOverdueForm* list = form.overdueForm;
  EXPECT_EQ(list->windowTitle(), QStringLiteral("List of Overdue Items"));
  EXPECT_EQ(Column(*list, OverdueColumn::Surname),
            (QStringList{QStringLiteral("Baker"), QStringLiteral("adams"), QStringLiteral("O\"Neil"),
                         QStringLiteral("Cole")}));
  EXPECT_EQ(list->LV->headerItem()->text(0), QStringLiteral(" "));
  EXPECT_EQ(list->bCsv->toolTip(), QStringLiteral("Export the currently displayed list to a CSV file,"));
  EXPECT_GE(list->LV->minimumWidth(), 436);
  form.Command(QStringLiteral("List Overdue Items"))->trigger();
  EXPECT_EQ(form.overdueForm, list);

  // Headings sort by their text ignoring case; a second click reverses.
  list->LV->header()->sectionClicked(static_cast<int>(OverdueColumn::Surname));
  EXPECT_EQ(Column(*list, OverdueColumn::Surname).first(), QStringLiteral("adams"));
  list->LV->header()->sectionClicked(static_cast<int>(OverdueColumn::Surname));
  EXPECT_EQ(Column(*list, OverdueColumn::Surname).first(), QStringLiteral("O\"Neil"));

  // The look of it, for the record.
  list->resize(list->sizeHint());
  const QImage shot = list->grab().toImage();
  EXPECT_GE(shot.width(), 436);
  if (const char* where = std::getenv("TENBROOK_SCREENSHOT")) shot.save(QString::fromLocal8Bit(where));

  // The list as shown goes to the CSV file, which opens in the user's program.
  list->bCsv->click();
  EXPECT_NE(t.dir.Read("root/Overdue-Items.csv").find("\"adams\""), std::string::npos);
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{t.Root() + "Overdue-Items.csv"}));

  // Esc closes it, and the next command builds it afresh.
  list->reject();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.overdueForm);
}

TEST_F(OverdueForm, ALineOpensItsBookingModallyAndItsSaveRefreshesTheList) {
  Overdue();
  TMainForm form(s, env);
  form.FirstShow();
  form.ListOverdueItems();
  ASSERT_TRUE(form.overdueForm);
  TOverdueForm* list = form.overdueForm;
  t.dialogs.Expect("You can only edit bookings for Ash Cottage", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  list->OpenLine(2);  // Elm's, from Ash Cottage's window
  EXPECT_FALSE(form.bookForm);

  list->OpenLine(0);
  ASSERT_TRUE(form.bookForm);
  EXPECT_EQ(form.bookForm->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(form.bookForm->fSurName->text(), QStringLiteral("Baker"));
  t.dialogs.Expect("Close open booking", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  list->OpenLine(1);
  t.dialogs.Expect("Cannot list overdue items - booking form is open", MsgIcon::None, kOK, 0, MsgButton::OK);
  form.ListOverdueItems();
  t.dialogs.VerifyAllShown();

  // Acknowledging the balance and saving takes Baker off the list at once.
  form.bookForm->fBalAck->click();
  form.bookForm->Save();
  EXPECT_EQ(Column(*list, OverdueColumn::Surname),
            (QStringList{QStringLiteral("adams"), QStringLiteral("O\"Neil"), QStringLiteral("Cole")}));
  form.bookForm->acQuit->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(OverdueForm, ABookingAnotherUserTookAwayClosesTheList) {
  Overdue();
  TMainForm form(s, env);
  form.FirstShow();
  form.ListOverdueItems();
  ASSERT_TRUE(form.overdueForm);
  // A second user on the same root deletes Baker after the list was built.
  OtherUserDeletesFirst(1);

  t.dialogs.Expect("Bookings changed by another user and\rcannot be found. Please repeat.", MsgIcon::Warning, kOK,
                   0, MsgButton::OK);
  form.overdueForm->OpenLine(0);
  t.dialogs.VerifyAllShown();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.overdueForm);
  EXPECT_FALSE(form.bookForm);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(OverdueForm, ARefreshTickThatReReadsAnotherUsersSaveRefreshesTheListInItsSort) {
  Overdue();
  // Read an hour after the file was written, so that the second user's save cannot share its time.
  const struct timespec hourAgo = {std::time(nullptr) - 3600, 0};
  const struct timespec times[2] = {hourAgo, hourAgo};
  ASSERT_EQ(::utimensat(AT_FDCWD, BookingFilePath(s, 1).c_str(), times, 0), 0);
  TMainForm form(s, env);
  form.FirstShow();
  form.ListOverdueItems();
  ASSERT_TRUE(form.overdueForm);
  form.overdueForm->SortBy(static_cast<int>(OverdueColumn::Surname));

  TestSession other;
  other.JoinRoot(t);
  Session& b = other.session;
  ReadBookings(b, 1, true, false);
  b.Prop(1).Bookings.Append(Paid("Abbot", 35));
  b.Prop(1).ListModified = 1;
  ASSERT_TRUE(WriteBookings(b, 1));
  ReleaseBookingFile(b);

  form.RefreshTick();
  EXPECT_EQ(Column(*form.overdueForm, OverdueColumn::Surname),
            (QStringList{QStringLiteral("Abbot"), QStringLiteral("adams"), QStringLiteral("Baker"),
                         QStringLiteral("Cole"), QStringLiteral("O\"Neil")}));
}

}  // namespace
}  // namespace tb::test
