// cotlynctl search on a demo root folder: what the search window would find, as JSON,
// and the arguments it refuses.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/Builders.h"

namespace tb::test {
namespace {

class CtlSearch : public DemoRootTest {
 protected:
  // Property 2 gets a customer with an accented name and a telephone number.
  CtlSearch() {
    std::string error;
    auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
    EXPECT_TRUE(ctl) << error;
    const std::string path = BookingFilePath(ctl->session(), 2);
    std::vector<Book_Rec> records = FileRecords(path);
    Book_Rec b = MakeBooking(EncodeDate(2031, 6, 7), 7, "\xC9tienne", Paid);  // Étienne
    b.Phone = "020 7946 0321";
    b.Address = "2 Quay\r\nPoole";
    records.push_back(b);
    EXPECT_TRUE(WriteWholeFile(path, BookingFileImage(records)));
  }
  nlohmann::json Search(std::vector<std::string> args) {
    args.insert(args.begin(), {"search", Root()});
    ChildProcess run = Ctl(args);
    EXPECT_EQ(run.exitCode, 0) << run.Errors();
    return nlohmann::json::parse(run.Output());
  }
};

TEST_F(CtlSearch, FindsByNameTextOrAllNewestFirst) {
  nlohmann::json j = Search({"--name", "étienne"});
  ASSERT_EQ(j["found"], 1);
  EXPECT_EQ(j["hits"][0]["surname"], "Étienne");
  EXPECT_EQ(j["hits"][0]["prop"], 2);
  EXPECT_EQ(j["hits"][0]["address"], "2 Quay·Poole");
  EXPECT_EQ(j["hits"][0]["status"], "Paid up");
  EXPECT_EQ(j["hits"][0]["days"], 7);

  j = Search({"--text", "7946 0", "--prop", "2"});
  EXPECT_EQ(j["properties"], nlohmann::json::array({2}));
  EXPECT_EQ(j["found"], 1);
  EXPECT_EQ(Search({"--text", "7946 0", "--prop", "1"})["found"], 0);

  j = Search({"--all"});
  EXPECT_EQ(j["found"], j["searched"]);
  EXPECT_GT(j["found"].get<int>(), 10);
  EXPECT_EQ(j["hits"][0]["surname"], "Étienne");  // the latest start of all
  for (size_t i = 1; i < j["hits"].size(); ++i)
    EXPECT_GE(j["hits"][i - 1]["start"].get<std::string>(), j["hits"][i]["start"].get<std::string>());
}

TEST_F(CtlSearch, RefusesWhatItCannotDo) {
  const struct {
    std::vector<std::string> args;
    int exit;
    const char* says;
  } cases[] = {
      {{"search", Root()}, 2, "usage: cotlynctl search"},
      {{"search", Root(), "--all", "--name", "A*"}, 2, "usage: cotlynctl search"},
      {{"search", Root(), "--name"}, 2, "usage: cotlynctl search"},
      {{"search", Root(), "--all", "--prop", "Nowhere"}, 2, "unknown property: Nowhere"},
      {{"search", dir.Path() + "nowhere/", "--all"}, 1, "nowhere"},
  };
  for (const auto& c : cases) {
    ChildProcess p = Ctl(c.args);
    EXPECT_EQ(p.exitCode, c.exit) << c.says;
    EXPECT_NE(p.Errors().find(c.says), std::string::npos) << p.Errors();
  }
}

}  // namespace
}  // namespace tb::test
