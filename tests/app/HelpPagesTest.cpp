// The help the program opens is there: a page for every topic, each page reachable from
// the contents, the index and the search.

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "store/Settings.h"

namespace tb::test {
namespace {

TEST(HelpPages, EveryTopicHasItsPageAndEveryPageIsListed) {
  const std::string help = TENBROOK_HELP_DIR;
  const int topics[] = {kHelpContents, kHelpIndex, kHelpSearch, kHelpOnHelp, 30, kMainWindowHelp,
                        kPropertyPickerHelp, kMemoryWindowHelp, kBookingWindowHelp, kCancellationHelp,
                        kSurchargeHelp, 284, 570, kRatesWindowHelp, 410, 420, 430, 440, 442, 447, 470, kDiscountHelp,
                        715, 717, 900, 1005, 1010, 1015, 1020, 1050, 1080, 1110, 1120, 1130, 1140, 1150, 1160,
                        1170, 1180, 1190, 1200, 1220, 1230, kLetterWindowHelp, 270, kProformaWindowHelp, 720, 1000,
                        1090, kHtmlEditHelp, kEmailWindowHelp, 980};
  for (const int topic : topics) EXPECT_TRUE(FileExists(HelpPagePath(help, topic))) << topic;

  std::string contents, index, search;
  ASSERT_TRUE(ReadWholeFile(help + "index.html", contents));
  ASSERT_TRUE(ReadWholeFile(help + "keywords.html", index));
  ASSERT_TRUE(ReadWholeFile(help + "search.html", search));
  for (const std::string& page : ListFiles(help, "*.html")) {
    if (page[0] < '0' || page[0] > '9') continue;
    const std::string link = "\"" + page + "\"";
    EXPECT_NE(contents.find("href=" + link), std::string::npos) << page << ": run scripts/help-index";
    EXPECT_NE(index.find("href=" + link), std::string::npos) << page << ": run scripts/help-index";
    EXPECT_NE(search.find("page: " + link), std::string::npos) << page << ": run scripts/help-index";
  }
}

}  // namespace
}  // namespace tb::test
