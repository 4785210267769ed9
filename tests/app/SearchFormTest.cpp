// The search window from the main window and the booking window: its searches, its
// messages, a line opening its booking modally and the re-search when that closes, the
// copy to temporary storage, the history search handing a booking back, and the window
// closing when another user's rewrite took the booking away.

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/BookingFileMode.h"
#include "app/ChartActions.h"
#include "app/TwoCottagesFixture.h"
#include "app/forms/TMainForm.h"
#include "bookings/forms/TBookForm.h"
#include "bookings/forms/TSearchForm.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"
#include "support/TypeKeys.h"

namespace tb::test {
namespace {

const TDateTime kStart = EncodeDate(2027, 3, 6);

class SearchForm : public TwoCottagesFixture {
 protected:
  SearchForm() {
    Book_Rec smith = MakeBooking(kStart, 7, "Smith", Paid);
    smith.Fnames = "Ann";
    smith.Address = "1 Mill Lane\r\nYork";
    smith.Phone = "01632 960123";
    Put(1, {smith, MakeBooking(kStart + 7, 7, "smart"), MakeBooking(kStart + 14, 7, "Jones")});
    Put(2, {MakeBooking(kStart, 7, "Smithson"), MakeBooking(kStart + 21, 7, "smith")});
  }
  static QStringList Column(const TSearchForm& f, int column) {
    QStringList texts;
    const QAbstractItemModel* m = f.LV->model();
    for (int i = 0; i < m->rowCount(); ++i) texts << m->index(i, column).data().toString();
    return texts;
  }
  static void Shoot(TSearchForm& f, const char* path) {
    const QImage shot = f.grab().toImage();
    EXPECT_GE(shot.width(), 700);
    if (std::getenv("TENBROOK_SCREENSHOT")) shot.save(QString::fromLatin1(path));
  }
  TSearchForm* Open(TMainForm& form, const char* command) {
    form.Command(QString::fromLatin1(command))->trigger();
    return form.searchForm;
  }
  static constexpr int kSurname = 2, kProp = 5;
};

TEST_F(SearchForm, ANameSearchFindsNewestFirstAndALineOpensItsBookingSearchingAgainWhenItCloses) {
  TMainForm form(s, env);
  form.FirstShow();
  TSearchForm* f = Open(form, "Search");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->windowTitle(), QStringLiteral("Cotlyn: Search Window"));
  EXPECT_TRUE(f->isModal());
  EXPECT_EQ(f->lSearch->text(), QStringLiteral("Search for name"));
  EXPECT_EQ(f->lWildcard->text(), QStringLiteral("(Wildcard allowed eg B*)"));
  EXPECT_EQ(f->width(), 790);  // 800, but the offscreen screen is only 800 wide
  EXPECT_TRUE(s.SearchFormOpen);
  ASSERT_TRUE(f->cbAll->isVisible());
  f->cbAll->setChecked(true);
  EXPECT_TRUE(s.prefs.HistoryAllProperties());

  f->eSearch->setText(QStringLiteral("sm*"));
  f->bSearch->click();
  EXPECT_EQ(Column(*f, kSurname), (QStringList{QStringLiteral("smith"), QStringLiteral("smart"),
                                              QStringLiteral("Smith"), QStringLiteral("Smithson")}));
  EXPECT_EQ(f->lStatus->text(), QStringLiteral("Found 4 records of 5 searched."));
  f->resize(f->width(), 300);
  Shoot(*f, "/tmp/search-name.png");

  t.dialogs.Expect("No records found matching criteria", MsgIcon::Information, kOK, 0, MsgButton::OK);
  Type(f->eSearch, QStringLiteral("smx*\n"));  // searched by Enter
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(f->lStatus->text(), QStringLiteral("Found 0 records of 5 searched."));

  f->Start("SM*");
  f->SortBy(kSurname);
  t.dialogs.Expect("Cannot edit record - not current property.", MsgIcon::Error, kOK, 0, MsgButton::OK);
  f->ChooseLine(1);  // smith, of Elm
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(form.bookForm);

  f->ChooseLine(2);  // Smith, of Ash Cottage
  ASSERT_TRUE(form.bookForm);
  EXPECT_EQ(form.bookForm->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(form.bookForm->fSurName->text(), QStringLiteral("Smith"));
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("OPENBOOKING P=1 SD=270306 Searchunit"), std::string::npos);
  t.dialogs.Expect("Close open booking", MsgIcon::Warning, kOK, 0, MsgButton::OK);
  f->ChooseLine(0);
  t.dialogs.VerifyAllShown();

  // Renamed and saved: the list is searched again in the user's sort.
  Type(form.bookForm->fSurName, QStringLiteral("Smithers"));
  form.bookForm->acSaveExit->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.bookForm);
  EXPECT_EQ(Column(*f, kSurname), (QStringList{QStringLiteral("smart"), QStringLiteral("smith"),
                                              QStringLiteral("Smithers"), QStringLiteral("Smithson")}));
  f->reject();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.searchForm);
  EXPECT_FALSE(s.SearchFormOpen);
}

TEST_F(SearchForm, TextSearchAndTheFullListAndCopyData) {
  s.prefs.SetHistoryAllProperties(true);
  TMainForm form(s, env);
  form.FirstShow();
  TSearchForm* f = Open(form, "Find Text");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->lSearch->text(), QStringLiteral("Search for text:"));
  EXPECT_FALSE(f->lWildcard->isVisible());
  f->Start(" 960 ");
  EXPECT_EQ(Column(*f, kSurname), QStringList{QStringLiteral("Smith")});
  EXPECT_EQ(Column(*f, 4), QStringList{QStringLiteral("1 Mill Lane·York")});

  t.dialogs.Expect("Booking copied to temporary file. You can now paste into a new booking.", MsgIcon::Information,
                   kOK, 0, MsgButton::OK);
  f->LV->selectRow(0);
  f->acCopy->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(Surnames(FileRecords(t.Root() + "~copy.bks")), std::vector<std::string>{"Smith"});
  f->reject();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  f = Open(form, "View all bookings as list");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->lStatus->text(), QStringLiteral("Found 5 records of 5 searched."));
  EXPECT_EQ(Column(*f, 0).first(), QStringLiteral("2027/03/27"));
  EXPECT_EQ(f->LV->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Special"));
  f->SortBy(kProp);
  f->resize(f->width(), 300);
  Shoot(*f, "/tmp/search-all.png");

  // Another window read property 2's list again: the rows show nothing, never freed
  // bookings, until the search runs again.
  FreeBookings(s, 2);
  s.Prop(2).BookFileAge = 0;
  ReadBookings(s, 2, false, false);
  EXPECT_EQ(Column(*f, kSurname), QStringList(5, QString()));
  f->SortBy(kSurname);
  f->Rerun();
  const QString one = QStringLiteral("1"), two = QStringLiteral("2");
  EXPECT_EQ(Column(*f, kProp), (QStringList{one, one, one, two, two}));
}

TEST_F(SearchForm, ABookingAnotherUserTookAwayClosesTheWindow) {
  TMainForm form(s, env);
  form.FirstShow();
  TSearchForm* f = Open(form, "Search");
  ASSERT_TRUE(f);
  f->Start("Smith");
  ASSERT_EQ(Column(*f, kSurname), QStringList{QStringLiteral("Smith")});
  // A second user on the same root deletes Smith after the search.
  OtherUserDeletesFirst(1);

  t.dialogs.Expect(
      "The bookings have been changed by another user.\rYour selection cannot be found.  Repeat the search.",
      MsgIcon::Warning, kOK, 0, MsgButton::OK);
  f->ChooseLine(0);
  t.dialogs.VerifyAllShown();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form.searchForm);
  EXPECT_FALSE(form.bookForm);
  EXPECT_FALSE(s.BookFile.IsOpen());
}

TEST_F(SearchForm, TheHistorySearchHandsTheChosenBookingToTheBookingWindow) {
  TMainForm form(s, env);
  form.FirstShow();
  form.OpenBooking(OpenBookingAt(s, 1, kStart + 28));
  ASSERT_TRUE(form.bookForm);
  TBookForm& book = *form.bookForm;
  Type(book.fSurName, QStringLiteral("smith"));
  int shown = 0;
  book.showSearch = [&](TSearchForm& f) {
    ++shown;
    EXPECT_EQ(f.eSearch->text(), QStringLiteral("smith"));
    ASSERT_EQ(Column(f, kSurname), QStringList{QStringLiteral("Smith")});  // this property's only
    t.dialogs.Expect("Selected line 1, name=Smith\rAdd data to booking?\r"
                     "Warning: You will overwrite existing text (but not charges)",
                     MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Cancel);
    f.ChooseLine(0);
    EXPECT_FALSE(f.chosen);
    t.dialogs.Expect("Selected line 1, name=Smith\rAdd data to booking?\r"
                     "Warning: You will overwrite existing text (but not charges)",
                     MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0, MsgButton::Yes);
    f.ChooseLine(0);
    t.dialogs.VerifyAllShown();
  };
  book.acSearchHistory->trigger();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(book.fSurName->text(), QStringLiteral("Smith"));
  EXPECT_EQ(book.fFNames->text(), QStringLiteral("Ann"));
  EXPECT_EQ(book.fAddress->toPlainText(), QStringLiteral("1 Mill Lane\nYork"));
  EXPECT_EQ(book.fNVisits->text(), QStringLiteral("2"));
  EXPECT_TRUE(s.Prop(1).Bookings.First()->Rec.Has(OmitM));
}

TEST_F(SearchForm, InBookingFileModeSearchHistoryListsTheFileForViewing) {
  const std::string archive = t.Root() + "Ash Cottage/Archive/Old.bks";
  Book_Rec gone = MakeBooking(kStart - 400, 7, "Gone", Cancelled);
  gone.Comments = "Refunded";
  gone.DateUpD = EncodeDate(2026, 1, 5);
  ASSERT_TRUE(WriteWholeFile(archive, BookingFileImage({gone, MakeBooking(kStart - 300, 7, "Kept")})));
  s.AppState = 'F';
  s.CurrentProperty = 0;
  s.DirectFile = archive;
  StartBookingFileMode(s);
  TBookForm book(s);
  book.OpenFile();
  int shown = 0;
  book.showSearch = [&](TSearchForm& f) {
    ++shown;
    EXPECT_FALSE(f.cbAll->isVisibleTo(&f));
    EXPECT_EQ(Column(f, kSurname), (QStringList{QStringLiteral("Kept"), QStringLiteral("Gone")}));
    EXPECT_EQ(f.LV->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Updated"));
    EXPECT_EQ(Column(f, 8).last(), QStringLiteral("2026/01/05"));
    EXPECT_EQ(Column(f, 9).last(), QStringLiteral("*Cancelled* Refunded"));
    f.ChooseLine(1);  // nothing: no box, no booking handed back
    EXPECT_FALSE(f.chosen);
  };
  book.acSearchHistory->trigger();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(book.fSurName->text(), QStringLiteral("Gone"));
  EndBookingFileMode(s);
}

}  // namespace
}  // namespace tb::test
