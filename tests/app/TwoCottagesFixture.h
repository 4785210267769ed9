#pragma once
// A root of two properties, "Ash Cottage" and "Elm", viewed one at a time from Ash
// Cottage, for the main window's list windows.

#include <gtest/gtest.h>

#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {

class TwoCottagesFixture : public ::testing::Test {
 protected:
  static constexpr MsgButtons kOK = MsgButton::OK;
  TwoCottagesFixture() {
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Ash Cottage\n[Prop02]\nPropName=Elm\n");
    s.CurrentProperty = 1;
    s.ComputeSeasonYear();
    for (int n : {1, 2})
      for (const char* folder : {"Data/", "Archive/"}) ForceDirectories(s.Prop(n).Folder + folder);
  }
  void Put(int n, const std::vector<Book_Rec>& records) {
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
  }
  // A second user on the same root deletes property n's first booking.
  void OtherUserDeletesFirst(int n) {
    TestSession other;
    other.JoinRoot(t);
    Session& b = other.session;
    ReadBookings(b, n, true, false);
    b.Prop(n).Bookings.Remove(b.Prop(n).Bookings.First());
    b.Prop(n).ListModified = 1;
    ASSERT_TRUE(WriteBookings(b, n));
    ReleaseBookingFile(b);
  }
  TestSession t;
  Session& s = t.session;
  StartupEnvironment env;
};

}  // namespace tb::test
