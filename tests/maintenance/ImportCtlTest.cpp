// cotlynctl import on a demo root folder, run as a script moving bookings would run it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/Demo.h"
#include "platform/FileSystem.h"
#include "platform/SharedFile.h"
#include "store/Session.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

class ImportCtl : public ::testing::Test {
 protected:
  ImportCtl() {
    DemoOptions o;
    o.folder = Root();
    o.years = 1;
    o.today = EncodeDate(2026, 12, 9);
    EXPECT_EQ(MakeDemo(o), "");
    csv = dir.Write("in.csv",
                    "Bramble Cottage,03/01/2031,7,650,Dyer,Mrs,Ann,\"1 Mill Lane, Upper\",Town,,,,AB1 2CD,,,,\r\n"
                    "Bramble Cottage,10/01/2031 15:00,3,300,Evans,,,,,,,,,,,,H\r\n");
  }
  std::string Root() const { return dir.Path() + "demo/"; }
  std::string Bookings() const { return Root() + "Bramble Cottage/Data/Bookings.bks"; }
  // Runs the command; its JSON answer, the exit code in `code`.
  nlohmann::ordered_json Import(std::vector<std::string> extra, int& code, const std::string& answers = "") {
    std::vector<std::string> args = {"import", Root(), "1", csv, "--today", "2026-12-09"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<std::string> env = {"COTLYN_NONINTERACTIVE=1", "TMPDIR=" + dir.Path(),
                                    "XDG_CONFIG_HOME=" + dir.Path()};
    if (!answers.empty()) env.push_back("COTLYN_ANSWERS=" + answers);
    ChildProcess p = ChildProcess::Run(ProgramPath("cotlynctl"), args, env);
    code = p.exitCode;
    return nlohmann::ordered_json::parse(p.Output(), nullptr, false);
  }
  TempDir dir;
  std::string csv;
};

TEST_F(ImportCtl, ChecksThenSavesOnlyWhenConfirmedAndTheFileIsFree) {
  std::string before;
  ASSERT_TRUE(ReadWholeFile(Bookings(), before));
  int code = -1;
  nlohmann::ordered_json j = Import({"--check"}, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(j["result"], "valid");
  EXPECT_EQ(j["lines"], 2);

  j = Import({}, code, "Cancel");
  EXPECT_EQ(code, 1);
  EXPECT_EQ(j["result"], "cancelled");
  {
    SharedFile held;  // another user's booking window
    ASSERT_EQ(held.OpenReadWriteDenyWriters(Bookings()), SharedFile::Result::Ok);
    j = Import({}, code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(j["messages"], nlohmann::ordered_json::array({"Data being updated - try later"}));
  }
  std::string after;
  ASSERT_TRUE(ReadWholeFile(Bookings(), after));
  EXPECT_EQ(after, before);

  j = Import({}, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(j["result"], "imported");
  EXPECT_EQ(j["saved"], true);
  ASSERT_TRUE(ReadWholeFile(Bookings(), after));
  EXPECT_GT(after.size(), before.size());

  // The same file again overlaps what it added.
  j = Import({"--check"}, code);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(j["line"], 1);
  EXPECT_EQ(j["reason"].get<std::string>().rfind("Imported Booking overlaps existing booking ", 0), 0u);
}

}  // namespace
}  // namespace tb::test
