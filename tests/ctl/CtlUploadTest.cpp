// cotlynctl upload on a demo root folder against the local helper script: what cron
// sends, and the exit status it relies on.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "support/HelperScriptServer.h"

namespace tb::test {
namespace {

class CtlUpload : public DemoRootTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Started()) << server.Log();
    UseUrl(server.Url());
    std::string error;
    auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
    ASSERT_TRUE(ctl) << error;
    for (int n = 1; n <= ctl->session().NumProps(); ++n) (ctl->session().Prop(n).AS ? agency : other) = n;
    ASSERT_GT(agency, 0) << "the demo has agency properties";
  }
  void UseUrl(const std::string& url) {
    std::string ini = dir.Read("demo/Cotlyn.ini");
    const size_t at = ini.find("[Common]\r\n") + 10;
    const size_t old = ini.find("HS_URL=");
    if (old != std::string::npos) ini.erase(old, ini.find("\r\n", old) + 2 - old);
    ini.insert(at, "HS_URL=" + url + "\r\n");
    dir.Write("demo/Cotlyn.ini", ini);
  }
  ChildProcess Upload(std::vector<std::string> more) {
    std::vector<std::string> args = {"upload", Root()};
    args.insert(args.end(), more.begin(), more.end());
    args.insert(args.end(), {"--today", "2026-12-09"});
    return Ctl(args);
  }
  // Plain http to this machine: the demo has no password.
  HelperScriptServer server{false, ""};
  int agency = 0, other = 0;
};

TEST_F(CtlUpload, SendsEachFileAsTheCommandsDo) {
  const struct {
    std::vector<std::string> args;
    std::string file, script;
  } cases[] = {
      {{"webdata"}, "propinfo.php", ""},
      {{"rates"}, "ratequery.php", "insertrates.php"},
      {{"calendar", std::to_string(agency)}, "P" + std::to_string(agency) + "-cal-json.txt", "TA-upload-calendar.php"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ChildProcess run = Upload(c.args);
    ASSERT_EQ(run.exitCode, 0) << run.Errors();
    const auto j = nlohmann::json::parse(run.Output());
    EXPECT_EQ(j["file"], Root() + "Web-Up/" + c.file);
    EXPECT_EQ(j["sent"], true);
    EXPECT_EQ(server.Stored(c.file), dir.Read("demo/Web-Up/" + c.file));
    const auto script = server.Header(server.Requests().size() - 1, "XHRIS");
    EXPECT_EQ(script.value_or(""), c.script);
  }
}

TEST_F(CtlUpload, ExitsNonZeroUnlessTheServerTookIt) {
  const size_t before = server.Requests().size();
  const struct {
    std::vector<std::string> args;
    int exit;
  } refused[] = {
      {{"calendar", std::to_string(other)}, 1},  // AS off
      {{"calendar", "99"}, 1},
      {{"calendar"}, 2},
      {{"webdata", "1"}, 2},
      {{"everything"}, 2},
  };
  for (const auto& c : refused) {
    ChildProcess run = Upload(c.args);
    EXPECT_EQ(run.exitCode, c.exit) << c.args[0] << " " << run.Errors();
  }
  EXPECT_EQ(server.Requests().size(), before);
  UseUrl(server.Url("/broken"));
  ChildProcess run = Upload({"rates"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(run.Output())["sent"], false);
  EXPECT_NE(run.Errors().find("XHR-Rates upload error."), std::string::npos) << run.Errors();
}

}  // namespace
}  // namespace tb::test
