// Opening a booking from the overdue list when another user has rewritten the file
// since the list was built: the booking is taken up again where it now stands, or the
// list closes with the file let go; a wrong booking is never opened.

#include <gtest/gtest.h>

#include "app/OverdueBooking.h"
#include "platform/FileSystem.h"
#include "reports/OverdueList.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

const TDateTime kStart = EncodeDate(2027, 1, 16);  // Paid, not acknowledged: always listed

class OverdueBooking : public ::testing::Test {
 protected:
  OverdueBooking() {
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Ash\n[Prop02]\nPropName=Elm\n");
    s.CurrentProperty = 1;
    s.SeasonYear = {2026, 2027};
    for (int n : {1, 2}) ForceDirectories(s.Prop(n).Folder + "Data/");
    Put(1, {MakeBooking(kStart - 14, 7, "Adams", Complete), MakeBooking(kStart, 7, "Baker", Paid)});
    Put(2, {MakeBooking(kStart, 7, "Cole", Paid)});
    ReadBookings(s, 1, false, false);
    list.Build(s);
    other.JoinRoot(t);
  }
  void Put(int n, const std::vector<Book_Rec>& records) {
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
  }
  // The second user rewrites property 1's file through its own held handle.
  void OtherRewrites(const std::function<void(BookingList&)>& change) {
    Session& b = other.session;
    ReadBookings(b, 1, true, false);
    ASSERT_FALSE(b.FileReadOnly);
    change(b.Prop(1).Bookings);
    b.Prop(1).ListModified = 1;
    ASSERT_TRUE(WriteBookings(b, 1));
    ReleaseBookingFile(b);
  }
  OverdueRow& Row(const std::string& surname) {
    const int i = list.Find({1, "", 0, kStart, surname});
    EXPECT_GE(i, 0) << surname;
    return list.rows.at(static_cast<size_t>(i));
  }
  std::string Log() { return t.dir.Read("root/Cotlyn.log"); }

  TestSession t, other;
  Session& s = t.session;
  OverdueList list;
};

TEST_F(OverdueBooking, ABookingGoneUnderAnotherUsersRewriteClosesTheListAndLetsTheFileGo) {
  OtherRewrites([](BookingList& l) { l.At(2)->Rec.Surname = "Barker"; });
  t.dialogs.Expect("Bookings changed by another user and\rcannot be found. Please repeat.", MsgIcon::Warning,
                   MsgButton::OK, 0, MsgButton::OK);
  const OverdueOpening o = OpenOverdueRow(s, Row("Baker"));
  EXPECT_TRUE(o.closeList);
  EXPECT_FALSE(o.request.open);
  EXPECT_FALSE(s.BookFile.IsOpen());
  EXPECT_EQ(Log().find("OPENBOOKING"), std::string::npos);
}

TEST_F(OverdueBooking, ABookingMovedUnderAnotherUsersRewriteIsTakenUpWhereItNowStands) {
  OtherRewrites([](BookingList& l) { l.InsertBefore(l.First(), MakeBooking(kStart - 28, 7, "Early", Complete)); });
  OverdueRow& row = Row("Baker");
  const OverdueOpening o = OpenOverdueRow(s, row);
  ASSERT_TRUE(o.request.open);
  EXPECT_FALSE(o.request.isNew);
  EXPECT_EQ(o.request.node, s.Prop(1).Bookings.At(3));
  EXPECT_EQ(o.request.node->Rec.Surname, "Baker");
  EXPECT_EQ(o.request.position, 3);
  EXPECT_EQ(row.rec, 3);
  EXPECT_TRUE(s.BookFile.IsOpen());
  EXPECT_FALSE(o.request.readOnly);
  EXPECT_NE(Log().find("OPENBOOKING P=1 SD=270116 Overduelist"), std::string::npos) << Log();
  ReleaseBookingFile(s);
}

TEST_F(OverdueBooking, RefusesWhileABookingIsOpenAndAnotherPropertysRowInC) {
  s.BookFormOpen = true;
  t.dialogs.Expect("Close open booking", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(OpenOverdueRow(s, Row("Baker")).request.open);
  s.BookFormOpen = false;

  OverdueRow& cole = list.rows.back();
  ASSERT_EQ(cole.prop, 2);
  t.dialogs.Expect("You can only edit bookings for Ash", MsgIcon::Warning, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(OpenOverdueRow(s, cole).request.open);
  EXPECT_FALSE(s.BookFile.IsOpen());

  // "M" shows every property: the row's becomes the current one.
  s.common.ViewMode = "M";
  ReadBookings(s, 2, false, false);
  list.Build(s);
  const OverdueOpening o = OpenOverdueRow(s, list.rows.back());
  ASSERT_TRUE(o.request.open);
  EXPECT_EQ(s.CurrentProperty, 2);
  EXPECT_EQ(o.request.node->Rec.Surname, "Cole");
  ReleaseBookingFile(s);
}

}  // namespace
}  // namespace tb::test
