// cotlynctl payments on a demo root folder, as cron would run it.

#include <gtest/gtest.h>

#include <algorithm>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"

namespace tb::test {
namespace {

class CtlPayments : public DemoRootTest {};

TEST_F(CtlPayments, WritesTheCsvAndSaysWhatItFound) {
  ChildProcess p = Ctl({"payments", Root(), "--from", "2026-01-01", "--to", "2026-12-31", "--props", "1,3",
                        "--omit-future", "--today", "2026-12-09"});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const std::string out = p.Output();
  ASSERT_EQ(out.rfind("2 properties scanned, ", 0), 0u) << out;
  const int found = std::stoi(out.substr(out.find(", ") + 2));
  EXPECT_GT(found, 0);
  EXPECT_NE(out.find("\nTotal payments = \xC2\xA3"), std::string::npos) << out;
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(Root() + "Payments.csv", csv));
  EXPECT_EQ(csv.rfind("\"Date\",\"Prop\",\"Surname\",\"Let starts\",\"Days\",\"Amount\",\"Type\",\"Comment\",\"Sub-Totals\"\r\n", 0),
            0u);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), found + 1);
  EXPECT_EQ(csv.find("Due\""), std::string::npos);  // nothing predicted

  EXPECT_EQ(Ctl({"payments", Root(), "--props", "1,99"}).exitCode, 1);
  EXPECT_EQ(Ctl({"payments", Root(), "--from", "2026-13-01"}).exitCode, 2);
  EXPECT_EQ(Ctl({"payments"}).exitCode, 2);
}

}  // namespace
}  // namespace tb::test
