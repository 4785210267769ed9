// Booking forms from the web site: the names the site keeps them under, the download
// against a local web server, and the form data merged into the booking's fields.

#include "web/WebForms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "bookings/BookingEditor.h"
#include "platform/FileSystem.h"
#include "support/TestSession.h"
#include "support/WebFormServer.h"
#include "web/WebFormData.h"

namespace tb::test {
namespace {

const MsgButtons kAbortHelp = MsgButton::Abort | MsgButton::Help;
const TDateTime kStart = EncodeDate(2025, 5, 3);

TEST(WebFormNames, NameAddressesAndStoredFile) {
  TestSession t;
  t.Load(SimpleSettings(2, "FormData=https://example.org/forms\n"));
  const struct {
    int n;
    std::string surname, name, base;
  } cases[] = {
      {2, " Smith ", "250503Smith", "https://example.org/forms/P2-250503smith"},
      // A space is "+", an apostrophe stays, other bytes are their Windows-1252 byte in hex.
      {1, "O'Neil Br\xE9", "250503O'Neil Br\xE9", "https://example.org/forms/P1-250503o'neil+br%e9"},
  };
  for (const auto& c : cases) {
    const WebFormPlace p = WebFormPlaceOf(t.session, c.n, kStart, c.surname);
    EXPECT_EQ(p.name, c.name);
    EXPECT_EQ(p.PageUrl(), c.base + ".htm");
    EXPECT_EQ(p.DataUrl(), c.base + ".txt");
  }
  EXPECT_EQ(WebFormPlaceOf(t.session, 2, kStart, "Smith").localPath, t.Root() + "Prop 2/Booking Forms/250503Smith.htm");
  t.session.common.FormData = "https://example.org/forms/";  // no second "/"
  EXPECT_EQ(WebFormPlaceOf(t.session, 2, kStart, "Smith").PageUrl(), "https://example.org/forms/P2-250503smith.htm");
}

class WebFormDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(server.Port(), 0);
    t.Load(SimpleSettings(1, "FormData=" + server.Url("/forms") + "\n"));
    fields.form.startD = kStart;
    fields.form.surname = "Smith";
  }
  std::string Stored() const { return t.Root() + "Prop 1/Booking Forms/250503Smith.htm"; }
  std::string Base() const { return server.Url("/forms/P1-250503smith"); }

  WebFormServer server;
  TestSession t;
  BookingFields fields;
};

// What a server answers decides the outcome; nothing but a whole page found is stored.
TEST_F(WebFormDownloadTest, OnlyAWholeFoundPageIsStored) {
  const std::string page = "<html><body>Booking form of Mr Smith</body></html>";
  const std::string notFound = "File not found on server at " + Base() + ".htm";
  const std::string problem = "Internet problem. Check connection\rCannot download file " + Base() + ".htm";
  const struct {
    const char* what;
    int status;
    std::string body, mode, message;
  } cases[] = {
      {"found", 200, page, "", ""},
      {"the server's own page", 200, "<h1>Oops! Page Not Found</h1>", "", notFound},
      {"404 without a page", 404, "", "", notFound},
      {"gone", 410, "Gone", "", notFound},
      {"an error page", 500, "<html>Internal Server Error</html>", "", problem},
      {"cut short", 200, page, "short", problem},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteFileAt(Stored());
    server.Serve("/forms/P1-250503smith.htm", c.status, c.body, c.mode);
    const std::string message = c.message.empty() ? "Form downloaded: " + Stored() + "\r\rForm will now be opened"
                                                  : c.message;
    t.dialogs.Expect(message, c.message.empty() ? MsgIcon::Information : MsgIcon::Error,
                     c.message.empty() ? MsgButtons(MsgButton::OK) : kAbortHelp, c.message.empty() ? 0 : 1230,
                     c.message.empty() ? MsgButton::OK : MsgButton::Abort);
    const WebFormDownload d = TryToDownloadForm(t.session, 1, fields);
    t.dialogs.VerifyAllShown();
    EXPECT_EQ(d.outcome == WebFormOutcome::Downloaded, c.message.empty());
    EXPECT_EQ(FileExists(Stored()), c.message.empty());
    if (c.message.empty()) {
      EXPECT_EQ(t.dir.Read("root/Prop 1/Booking Forms/250503Smith.htm"), page);
    }
  }
  for (const auto& r : server.Requests()) EXPECT_EQ(r["agent"], "Cotlyn");
  EXPECT_NE(t.dir.Read("root/Cotlyn.log").find("Web form download failed. URL=" + Base() + ".htm"), std::string::npos);
}

TEST_F(WebFormDownloadTest, NoServerOrASilentOneIsAnInternetProblem) {
  const std::string base = "http://127.0.0.1:1/forms/P1-250503smith";
  t.session.common.FormData = "http://127.0.0.1:1/forms";  // nothing listens there
  t.dialogs.Expect("Internet problem. Check connection\rCannot download file " + base + ".htm", MsgIcon::Error,
                   kAbortHelp, 1230, MsgButton::Abort);
  EXPECT_EQ(TryToDownloadForm(t.session, 1, fields).outcome, WebFormOutcome::InternetProblem);

  t.session.common.FormData = server.Url("/forms");
  server.Serve("/forms/P1-250503smith.htm", 200, "", "silent");
  setenv("COTLYN_HTTP_TIMEOUT", "2", 1);
  t.dialogs.Expect("Internet problem. Check connection\rCannot download file " + Base() + ".htm", MsgIcon::Error,
                   kAbortHelp, 1230, MsgButton::Abort);
  const auto began = std::chrono::steady_clock::now();
  const WebFormDownload d = TryToDownloadForm(t.session, 1, fields);
  unsetenv("COTLYN_HTTP_TIMEOUT");
  EXPECT_EQ(d.outcome, WebFormOutcome::InternetProblem);
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(15));
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(FileExists(Stored()));
}

TEST_F(WebFormDownloadTest, ARedirectIsFollowed) {
  server.Serve("/forms/P1-250503smith.htm", 302, "", "", "/moved/form.htm");
  server.Serve("/moved/form.htm", 200, "<html>moved form</html>");
  t.dialogs.Expect("Form downloaded: " + Stored() + "\r\rForm will now be opened", MsgIcon::Information,
                   MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(TryToDownloadForm(t.session, 1, fields).outcome, WebFormOutcome::Downloaded);
  EXPECT_EQ(t.dir.Read("root/Prop 1/Booking Forms/250503Smith.htm"), "<html>moved form</html>");
}

TEST_F(WebFormDownloadTest, FormDataIsMergedIntoTheEmptyFieldsWithMergeSet) {
  t.session.common.Merge = true;
  server.Serve("/forms/P1-250503smith.htm", 200, "<html>form</html>");
  server.Serve("/forms/P1-250503smith.txt", 200,
               "[bookform]\r\nFnames=Mr John\r\nAddress=1 Lane<br>York\r\nPhone=0123 456\r\nEMail=j@example.org\r\n"
               "Comments=Arriving late<br>One dog\r\nSource=none\r\nMail=no\r\nFnames=ignored\r\n");
  fields.phone = "01999 1";
  fields.comments = "Called twice";
  t.dialogs.Expect("Form downloaded: " + Stored() + "\rForm data found - will merge into record\r" +
                       "Form will now be opened",
                   MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  const WebFormDownload d = TryToDownloadForm(t.session, 1, fields);
  EXPECT_TRUE(d.merged);
  EXPECT_EQ(fields.fnames, "Mr John");
  EXPECT_EQ(fields.address, "1 Lane\r\nYork");
  EXPECT_EQ(fields.phone, "01999 1");  // filled already: kept
  EXPECT_EQ(fields.email, "j@example.org");
  EXPECT_EQ(fields.comments, "Called twice\r\nArriving late\r\nOne dog");
  EXPECT_EQ(fields.source, "");
  EXPECT_TRUE(fields.omitM);

  // No data file (or one that is not form data): the form is still opened, nothing merged.
  DeleteFileAt(Stored());
  server.Serve("/forms/P1-250503smith.txt", 200, "<html>Sorry, page can't be found</html>");
  t.dialogs.Expect("Form downloaded: " + Stored() + "\rWARNING. No data found: " + Base() +
                       ".txt\rCannot merge data\rForm will now be opened",
                   MsgIcon::Information, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(TryToDownloadForm(t.session, 1, fields).merged);
  t.dialogs.VerifyAllShown();
}

// The data as the booking window would have let it be typed, whatever the site sends.
TEST(WebFormData, ValuesAreCutToTheWindowsLimitsAndTakenToWindows1252) {
  const struct {
    const char* what;
    std::string data;
    std::string BookingFields::*field;
    std::string expected;
  } cases[] = {
      {"999 bytes of names", "[BOOKFORM]\nFnames=" + std::string(1200, 'n'), &BookingFields::fnames,
       std::string(60, 'n')},
      {"seven address lines", "[BOOKFORM]\nAddress=1<br>2<br>3<br>4<br>5<br>6<br>7", &BookingFields::address,
       "1\r\n2\r\n3\r\n4\r\n5"},
      {"a fifth line ending in a break", "[BOOKFORM]\nAddress=1<br>2<br>3<br>4<br>5<br>", &BookingFields::address,
       "1\r\n2\r\n3\r\n4\r\n5"},
      {"a long address", "[BOOKFORM]\nAddress=" + std::string(200, 'a'), &BookingFields::address,
       std::string(140, 'a')},
      {"UTF-8", "[BOOKFORM]\nFnames=Ren\xC3\xA9\xE2\x82\xAC\xE6\xBC\xA2", &BookingFields::fnames, "Ren\xE9\x80?"},
      {"Windows-1252 as it is", "[BOOKFORM]\nFnames=Ren\xE9\x80", &BookingFields::fnames, "Ren\xE9\x80"},
      {"names are case-sensitive", "[BOOKFORM]\nfnames=x\nPhone=1", &BookingFields::fnames, ""},
      {"a source", "[BOOKFORM]\nSource=" + std::string(30, 's'), &BookingFields::source, std::string(25, 's')},
      {"not form data", "<html>[BOOKFORM]\nFnames=x", &BookingFields::fnames, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BookingFields f;
    MergeFormData(f, FormDataLines(c.data, false));
    EXPECT_EQ(f.*c.field, c.expected);
  }
}

TEST(WebFormData, CommentsAreAddedWithinTheirLimitAndMailUnticksOtherwise) {
  BookingFields f;
  f.comments = std::string(790, 'c');
  f.omitM = true;
  MergeFormData(f, FormDataLines("[BOOKFORM]\nComments=from the form\nMail=yes", false));
  EXPECT_EQ(f.comments, std::string(790, 'c') + "\r\nfrom the");
  EXPECT_FALSE(f.omitM);
  // Comments longer than the window takes, from an older file, are not cut; nothing fits.
  f.comments = std::string(900, 'c');
  MergeFormData(f, FormDataLines("[BOOKFORM]\nComments=x", false));
  EXPECT_EQ(f.comments, std::string(900, 'c'));
}

TEST(WebFormData, AFileCutAtItsLimitKeepsWhatWasRead) {
  // UTF-8 cut inside its last character is still UTF-8.
  std::string data = "[BOOKFORM]\nFnames=Ren\xC3\xA9\n";
  data += "Comments=" + std::string(kFormTextLimit - data.size() - 10, 'x') + "\xE2\x82";
  const std::vector<std::string> lines = FormDataLines(data, true);
  BookingFields f;
  MergeFormData(f, lines);
  EXPECT_EQ(f.fnames, "Ren\xE9");
  EXPECT_EQ(f.comments.size(), kCommentsLimit);
}

}  // namespace
}  // namespace tb::test
