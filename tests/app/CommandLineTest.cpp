#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "platform/DateTime.h"

namespace tb::test {
namespace {

struct Case {
  std::vector<std::string> args;
  bool invalid;
  const char* field;  // which field gets the last argument: "root", "file", "prop", "" none
  const char* value;
};

TEST(CommandLine, Table) {
  const Case cases[] = {
      {{}, false, "", ""},
      {{"/R", "/C"}, false, "", ""},
      {{"-C", "-L"}, true, "", ""},            // two mode switches
      {{"/C", "/L"}, true, "", ""},
      {{"-X"}, true, "", ""},                  // unknown switch
      {{"/home/ann/data/"}, false, "root", "/home/ann/data/"},
      {{"/home/ann/data"}, false, "prop", "/home/ann/data"},  // no trailing slash: a name
      {{"  Bramble Cottage "}, false, "prop", "Bramble Cottage"},
      {{"/data/x/Data/Bookings.bks"}, false, "file", "/data/x/Data/Bookings.bks"},
      {{"Arch*.bks", "Bramble"}, true, "", ""},  // file and property
      {{"-A", "Bramble"}, true, "", ""},
      {{"/A", "a.bks"}, true, "", ""},
      {{"-R", "-A", "/root/"}, false, "root", "/root/"},
      {{"", "Bramble"}, false, "prop", "Bramble"},  // empty parameters are ignored
  };
  for (const Case& c : cases) {
    const CommandLine cl = ParseCommandLine(c.args);
    std::string shown;
    for (const auto& a : c.args) shown += "[" + a + "]";
    EXPECT_EQ(cl.invalid, c.invalid) << shown;
    const std::string field = c.field;
    if (field == "root") {
      EXPECT_EQ(cl.rootFolder, c.value) << shown;
    } else if (field == "file") {
      EXPECT_EQ(cl.bookingFile, c.value) << shown;
    } else if (field == "prop") {
      EXPECT_EQ(cl.propertyName, c.value) << shown;
    }
  }
}

TEST(CommandLine, SwitchesAndSettingsName) {
  CommandLine cl = ParseCommandLine({"-R", "/L", "-S=Other.ini", "-A"});
  EXPECT_TRUE(cl.readOnly);
  EXPECT_TRUE(cl.openAll);
  EXPECT_EQ(cl.forcedMode, 'L');
  EXPECT_EQ(cl.settingsName, "Other.ini");
  EXPECT_FALSE(cl.invalid);
  cl = ParseCommandLine({"/S=Test.ini", "-C"});
  EXPECT_EQ(cl.settingsName, "Test.ini");
  EXPECT_EQ(cl.forcedMode, 'C');
}

TEST(CommandLine, ScriptedBookingOpening) {
  int n = 0;
  double date = 0;
  EXPECT_TRUE(ParseOpenBooking("2,2027-06-12", n, date));
  EXPECT_EQ(n, 2);
  EXPECT_EQ(date, EncodeDate(2027, 6, 12));
  for (const char* bad : {"", "2", "0,2027-06-12", "2,2027-02-30", "2,2027-06-12x", "x,2027-06-12"})
    EXPECT_FALSE(ParseOpenBooking(bad, n, date)) << bad;
}

}  // namespace
}  // namespace tb::test
