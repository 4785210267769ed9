#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "ctl/Ctl.h"
#include "platform/FileSystem.h"
#include "store/Settings.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

int Ctl(const std::vector<std::string>& args, std::string* out = nullptr, std::string* err = nullptr) {
  std::ostringstream o, e;
  const int code = RunCtl(args, o, e);
  if (out) *out = o.str();
  if (err) *err = e.str();
  return code;
}

TEST(Demo, FourCottagesReadyToUse) {
  TestSession t;
  ASSERT_EQ(Ctl({"demo", t.Root()}), 0);
  LoadSettings(t.session);
  const Session& s = t.session;
  EXPECT_EQ(s.common.ver, "V4.4");
  EXPECT_EQ(s.common.ViewMode, "C");
  ASSERT_EQ(s.NumProps(), 4);
  std::set<int> changeDays;
  std::set<std::string> charges;
  for (int n = 1; n <= 4; ++n) {
    const Prop_Rec& p = s.Prop(n);
    EXPECT_NE(p.PropName, "Fail");
    EXPECT_TRUE(DirectoryExists(p.Folder + "Data")) << p.Folder;
    changeDays.insert(p.ChangeDay);
    for (int i = 1; i <= 3; ++i) charges.insert(p.ExtChg[i]);
  }
  EXPECT_EQ(changeDays.size(), 4u);
  for (const char* role : {"Fuel", "Linen", "Ret Deposit", "Booking Fee"}) EXPECT_TRUE(charges.count(role)) << role;
  // The file is Windows text: CR LF throughout.
  const std::string ini = t.dir.Read("root/Cotlyn.ini");
  EXPECT_EQ(ini.find("\n"), ini.find("\r\n") + 1);
}

TEST(Demo, AgencySizeHasUniqueNames) {
  TestSession t;
  ASSERT_EQ(Ctl({"demo", t.Root(), "--properties", "200", "--seed", "7"}), 0);
  LoadSettings(t.session);
  ASSERT_EQ(t.session.NumProps(), 200);
  std::set<std::string> names;
  for (int n = 1; n <= 200; ++n) names.insert(t.session.Prop(n).PropName);
  EXPECT_EQ(names.size(), 200u);
}

TEST(Ctl, UsageErrorsExit2) {
  std::string out, err;
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"nosuch"}, {"demo"},
                                              {"demo", "x", "--properties", "0"}, {"demo", "x", "--what", "1"}}) {
    EXPECT_EQ(Ctl(args, &out, &err), 2);
    EXPECT_EQ(err.rfind("usage: cotlynctl", 0), 0u) << err;
  }
  EXPECT_EQ(Ctl({"--help"}, &out), 0);
  EXPECT_NE(out.find("demo DIR"), std::string::npos);
}

}  // namespace
}  // namespace tb::test
