#pragma once
// A demo root folder made for each test, and cotlynctl started on it as a script would.

#include <gtest/gtest.h>

#include "ctl/Demo.h"
#include "platform/DateTime.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace tb::test {

class DemoRootTest : public ::testing::Test {
 protected:
  DemoRootTest() {
    DemoOptions o;
    o.folder = Root();
    o.today = EncodeDate(2026, 12, 9);
    EXPECT_EQ(MakeDemo(o), "");
  }
  std::string Root() const { return dir.Path() + "demo/"; }
  ChildProcess Ctl(std::vector<std::string> args) {
    return ChildProcess::Run(ProgramPath("cotlynctl"), std::move(args),
                             {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir.Path(), "XDG_CONFIG_HOME=" + dir.Path()});
  }
  TempDir dir;
};

}  // namespace tb::test
