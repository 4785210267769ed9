// cotlynctl webform on a demo root folder against a local web site keeping booking
// forms: the JSON a script reads, the stored form, and nothing saved.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"
#include "store/BookingFile.h"
#include "support/WebFormServer.h"
#include "web/WebForms.h"

namespace tb::test {
namespace {

class CtlWebForm : public DemoRootTest {
 protected:
  void SetUp() override {
    ASSERT_GT(server.Port(), 0);
    std::string ini = dir.Read("demo/Cotlyn.ini");
    ini.insert(ini.find("[Common]\r\n") + 10, "FormData=" + server.Url("/forms") + "\r\n");
    dir.Write("demo/Cotlyn.ini", ini);
    std::string error;
    auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
    ASSERT_TRUE(ctl) << error;
    ctl->ShowProperty(1);
    const Book_Buffer* b = ctl->session().Prop(1).Bookings.First();
    ASSERT_TRUE(b);
    booking = b->Rec;
    place = WebFormPlaceOf(ctl->session(), 1, booking.StartD, booking.Surname);
    bookingFile = BookingFilePath(ctl->session(), 1);
  }
  ChildProcess WebForm(std::vector<std::string> more) {
    std::vector<std::string> args = {"webform", Root(), "1", IsoDate(booking.StartD)};
    args.insert(args.end(), more.begin(), more.end());
    return Ctl(args);
  }
  std::string Page(const char* ext) const { return place.base.substr(server.Url("").size()) + ext; }

  WebFormServer server;
  Book_Rec booking;
  WebFormPlace place;
  std::string bookingFile;
};

TEST_F(CtlWebForm, StoresTheFormAndShowsTheMergedTextsWithoutSaving) {
  server.Serve(Page(".htm"), 200, "<html>the form</html>");
  server.Serve(Page(".txt"), 200, "[BOOKFORM]\nComments=Late arrival\nMail=no\n");
  std::string before;
  ReadWholeFile(bookingFile, before);
  ChildProcess run = WebForm({"--merge"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const auto j = nlohmann::json::parse(run.Output());
  EXPECT_EQ(j["form"], JsonText(place.name));
  EXPECT_EQ(j["url"], server.Url(Page(".htm")));
  EXPECT_EQ(j["stored"], place.localPath);
  EXPECT_EQ(j["outcome"], "downloaded");
  EXPECT_EQ(j["merged"], true);
  EXPECT_EQ(j["booking"]["Comments"], JsonText(booking.Comments.empty() ? std::string("Late arrival")
                                                                        : booking.Comments + "\r\nLate arrival"));
  EXPECT_EQ(j["booking"]["Fnames"], JsonText(booking.Fnames));
  EXPECT_EQ(j["booking"]["OmitM"], true);
  std::string page, after;
  ASSERT_TRUE(ReadWholeFile(place.localPath, page));
  EXPECT_EQ(page, "<html>the form</html>");
  ReadWholeFile(bookingFile, after);
  EXPECT_EQ(after, before);
}

TEST_F(CtlWebForm, ExitsNonZeroUnlessTheFormWasDownloaded) {
  ChildProcess missing = WebForm({});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(missing.Output())["outcome"], "not found");
  EXPECT_FALSE(FileExists(place.localPath));
  EXPECT_EQ(Ctl({"webform", Root(), "1"}).exitCode, 2);
  EXPECT_EQ(Ctl({"webform", Root(), "1", "2026-02-30"}).exitCode, 2);
}

}  // namespace
}  // namespace tb::test
