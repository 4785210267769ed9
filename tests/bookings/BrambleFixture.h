#pragma once
// Property 1 "Bramble" with the given extra charges; bookings Adams 2-9 Jan, Brown
// 14-21 Jan and Clark 1-8 Feb 2027, its booking file held as the chart's click leaves it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookings/WeekTable.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {

inline const TDateTime kJan = EncodeDate(2027, 1, 1) - 1;  // kJan + d is d January 2027

class BrambleFixture : public ::testing::Test {
 protected:
  explicit BrambleFixture(const std::string& charges) {
    t.Load("[Common]\nver=V4.4\nNumProps=1\n[Prop01]\nPropName=Bramble\n" + charges);
    ForceDirectories(t.Root() + "Bramble/Data");
    ForceDirectories(t.Root() + "Bramble/Archive");
    s.SeasonYear = {2026, 2027};
    Bookings({MakeBooking(kJan + 2, 7, "Adams"), MakeBooking(kJan + 14, 7, "Brown"),
              MakeBooking(kJan + 32, 7, "Clark")});
  }
  // Replaces the property's bookings, read back as the chart reads them.
  void Bookings(const std::vector<Book_Rec>& records) {
    WriteWholeFile(File(), BookingFileImage(records));
    s.Prop(1).BookFileAge = 0;
    ReadBookings(s, 1, true, false);
    BuildWeekTable(s, 1, false);
  }
  std::string File() const { return t.Root() + "Bramble/Data/Bookings.bks"; }
  std::string Archive(const char* name) const { return t.Root() + "Bramble/Archive/" + name + ".bks"; }
  std::string Log() const { return t.dir.Read("root/Cotlyn.log"); }
  Book_Buffer* At(int position) const { return s.Prop(1).Bookings.At(position); }

  TestSession t;
  Session& s = t.session;
};

}  // namespace tb::test
