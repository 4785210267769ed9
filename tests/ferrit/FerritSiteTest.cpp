// A site's settings as the registry holds them, and where a file goes on the site.

#include "ferrit/FerritSite.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

const std::string kKey = "Software\\Orvane\\Ferrit\\Web";

struct SiteCase {
  const char* host;
  const char* portText;  // nullptr: no text port
  long portDword;        // < 0: no dword port
  const char* problem;   // "" when the site is usable
  long port;
};

class FerritSiteSettings : public ::testing::TestWithParam<SiteCase> {};

// Nothing that could carry a login, a path or another port into the address.
TEST_P(FerritSiteSettings, AreTakenOrRefusedWithTheReason) {
  const SiteCase& c = GetParam();
  TempDir dir;
  RegistryStore r("HKEY_CURRENT_USER", dir / "HKCU.reg");
  r.WriteString(kKey, "Host", c.host);
  if (c.portText) r.WriteString(kKey, "Port", c.portText);
  if (c.portDword >= 0) r.WriteDword(kKey, "Port", static_cast<uint32_t>(c.portDword));
  std::string problem;
  const std::optional<FerritSite> site = ReadFerritSite(r, "Web", problem);
  EXPECT_EQ(problem, c.problem);
  EXPECT_EQ(site.has_value(), std::string(c.problem).empty());
  if (site) {
    EXPECT_EQ(site->port, c.port);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FerritSiteSettings,
    ::testing::Values(SiteCase{"ftp.example.com", nullptr, -1, "", 21}, SiteCase{"10.0.0.7", "2121", -1, "", 2121},
                      SiteCase{"[::1]", nullptr, 990, "", 990},
                      SiteCase{"", nullptr, -1, "No Host in Ferrit site Web", 0},
                      SiteCase{"me:pw@evil.example", nullptr, -1, "Host not valid in Ferrit site Web", 0},
                      SiteCase{"host/dir", nullptr, -1, "Host not valid in Ferrit site Web", 0},
                      SiteCase{"host", "21x", -1, "Port not valid in Ferrit site Web", 0},
                      SiteCase{"host", nullptr, 0, "Port not valid in Ferrit site Web", 0},
                      SiteCase{"host", nullptr, 70000, "Port not valid in Ferrit site Web", 0}));

TEST(FerritSite, AnUnknownSiteOrOneNamingAnotherKeyIsRefused) {
  TempDir dir;
  RegistryStore r("HKEY_CURRENT_USER", dir / "HKCU.reg");
  r.WriteString(kKey + "\\Inner", "Host", "h");
  std::string problem;
  EXPECT_FALSE(ReadFerritSite(r, "Other", problem));
  EXPECT_EQ(problem, "No Ferrit site named Other");
  EXPECT_FALSE(ReadFerritSite(r, "Web\\Inner", problem));
}

// Below the local folder the sub-path is kept; anything else goes by its name.
TEST(FerritSite, AFileKeepsItsPlaceBelowTheLocalFolderOnly) {
  TempDir dir;
  ForceDirectories(dir / "site/a b");
  ForceDirectories(dir / "elsewhere");
  FerritSite site{"h", 21, "u", "p", "pub/www", dir / "site/"};
  EXPECT_EQ(FtpTargetUrl(FerritTarget(site, dir / "site/a b/x y.html")), "ftp://h:21/pub/www/a%20b/x%20y.html");
  EXPECT_EQ(FtpTargetUrl(FerritTarget(site, dir / "site/../elsewhere/x.html")), "ftp://h:21/pub/www/x.html");
  EXPECT_EQ(FtpTargetUrl(FerritTarget(site, dir / "elsewhere/../site/x.html")), "ftp://h:21/pub/www/x.html");
  site.remoteFolder = "";
  EXPECT_EQ(FtpTargetUrl(FerritTarget(site, dir / "elsewhere/x.html")), "ftp://h:21/x.html");
}

}  // namespace
}  // namespace tb::test
