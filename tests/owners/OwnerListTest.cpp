// What the owner list, the statistics window and the export show, and the links the
// windows open.

#include <gtest/gtest.h>

#include "owners/OwnerExport.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerStats.h"
#include "owners/OwnerFixture.h"

namespace tb::test {
namespace {

class OwnerLists : public OwnerFixture, public ::testing::Test {};

TEST_F(OwnerLists, RowsCountPropertiesPerOwner) {
  Owner_Rec a = MakeOwner(2, "Brown", "Bo");
  a.OwnerAddress = "1 Mill Lane\r\nKendal\r\nLA9";
  a.OwnerNotes = "Line one\r\n" + std::string(70, 'n');
  a.OwnerUpdated = EncodeDate(2026, 3, 7) + 0.5;
  Owners(s).owners = {a, MakeOwner(10, "Adams", "Al"), MakeOwner(1, "Penrose")};
  const OwnerListTable table = OwnerListRows(s);
  const std::vector<OwnerListRow>& rows = table.rows;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].NP, 2);
  EXPECT_EQ(rows[1].NP, 0);
  EXPECT_EQ(rows[2].NP, 1);
  EXPECT_EQ(OwnersWithoutProperties(rows), 1);
  EXPECT_EQ(rows[0].Name, "Brown\xB7 Bo");
  EXPECT_EQ(rows[0].Address, "1 Mill Lane,Kendal,LA9");
  EXPECT_EQ(rows[0].DateU, "2026/03/07");
  EXPECT_EQ(rows[0].Comment, "Line one," + std::string(51, 'n'));
  EXPECT_EQ(rows[2].Index, 2);
}

TEST_F(OwnerLists, ColumnSortsNumbersAsNumbersAndTextsIgnoringCase) {
  Owners(s).owners = {MakeOwner(10, "brown"), MakeOwner(2, "Adams"), MakeOwner(1, "\xE9vans"),
                      MakeOwner(20, "Brown")};
  struct Case {
    OwnerColumn column;
    bool descending;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {OwnerColumn::ID, false, {1, 2, 10, 20}},
      {OwnerColumn::ID, true, {20, 10, 2, 1}},
      {OwnerColumn::NP, false, {10, 20, 1, 2}},  // 0, 0, 1 and 2 properties: ties keep order
      {OwnerColumn::Name, false, {2, 10, 20, 1}},
      {OwnerColumn::Name, true, {1, 10, 20, 2}},
  };
  for (const Case& c : cases) {
    OwnerListTable table = OwnerListRows(s);
    std::vector<OwnerListRow>& rows = table.rows;
    SortOwnerListRows(rows, c.column, c.descending);
    std::vector<int> ids;
    for (const OwnerListRow& r : rows) ids.push_back(r.ID);
    EXPECT_EQ(ids, c.ids) << static_cast<int>(c.column) << c.descending;
  }
}

TEST_F(OwnerLists, StatisticsListEveryFaultAndEveryDuplicatePair) {
  s.Prop(3).Owner = 9;  // no such owner
  Owners(s).owners = {MakeOwner(2, "Brown", "Bo"), MakeOwner(7, "Cole", "Cy"), MakeOwner(7, "Dunn", "Di"),
                      MakeOwner(7, "Ede", ""), MakeOwner(1, "Penrose", "Alice")};
  EXPECT_EQ(OwnerCountText(s), "Number of owners defined = 5");
  EXPECT_EQ(OwnerDatabaseText(s), "Owner Database is " + t.Root() + "Owners.bko");
  EXPECT_EQ(OwnerStatisticsText(s),
            "LISTING PROPERTIES WITHOUT A VALID OWNER\r\n"
            "Property 3 Dairy assigned to Owner ID=9 OWNER DOES NOT EXIST\r\n"
            "Property 4 Kestrel NO OWNER ASSIGNED\r\n"
            "\r\n"
            "CHECKING FOR DUPLICATE OWNER IDs - please resolve by deleting oldest duplicate, then recreate if "
            "necessary\r\n"
            "NOTE: Row numbers are before sorting the list.\r\n"
            "DUPLICATE OwnerID=7. First occurrence: Name=Cole, row=2 Second: Name=Dunn, row=3\r\n"
            "DUPLICATE OwnerID=7. First occurrence: Name=Cole, row=2 Second: Name=Ede, row=4\r\n"
            "DUPLICATE OwnerID=7. First occurrence: Name=Dunn, row=3 Second: Name=Ede, row=4\r\n"
            "\r\n"
            "LISTING OWNERS THAT ARE NOT ASSIGNED TO A PROPERTY\r\n"
            "Owner (2) ID=7 Cy Cole - NOT ASSIGNED TO A PROPERTY\r\n"
            "Owner (3) ID=7 Di Dunn - NOT ASSIGNED TO A PROPERTY\r\n"
            "Owner (4) ID=7  Ede - NOT ASSIGNED TO A PROPERTY\r\n"
            "\r\n"
            "The Owner list shows the number of properties assigned to an owner.\r\n"
            "\r\n"
            "    -----------------------------\r\n");
  Owners(s).owners.resize(2);
  const std::string text = OwnerStatisticsText(s);
  EXPECT_NE(text.find("NOTE: Row numbers are before sorting the list.\r\nNO DUPLICATES FOUND\r\n"),
            std::string::npos);
}

TEST_F(OwnerLists, TheCsvQuotesEveryTextAndDoublesQuotesInside) {
  Owner_Rec a = MakeOwner(3, "O'Hara \"Dec\"", "D", "d@example.com");
  a.OwnerAddress = "4 Quay St\r\nPadstow";
  a.OwnerPhone = "01841";
  a.OwnerURL = "ohara.example";
  a.OwnerNotes = "never exported";
  Owners(s).owners = {a, MakeOwner(12, "Zo\xEB")};
  EXPECT_EQ(OwnersCsv(OwnerList(s), "09/12/2026"),
            ",\"List of Owners.  Exported 09/12/2026\"\r\n"
            "3,\"O'Hara \"\"Dec\"\"\",\"D\",\"01841\",\"d@example.com\",\"4 Quay St,Padstow\",\"ohara.example\"\r\n"
            "12,\"Zo\xEB\",\"\",\"\",\"\",\"\",\"\"\r\n");
  ASSERT_TRUE(WriteOwnersCsv(s));
  EXPECT_EQ(FileBytes(OwnersCsvPath(s)), OwnersCsv(OwnerList(s), "09/12/2026"));
}

TEST(OwnerLinks, MailLinksKeepEachAddressWhole) {
  const struct {
    std::vector<std::string> addresses;
    std::string link;
  } cases[] = {
      {{"ann@example.com"}, "mailto:ann%40example.com;?Subject= &Body="},
      {{" a b@x.org ", "c?d&e#f@y.org"}, "mailto:a%20b%40x.org;c%3Fd%26e%23f%40y.org;?Subject= &Body="},
      {{"%\"<>@z"}, "mailto:%25%22%3C%3E%40z;?Subject= &Body="},
  };
  for (const auto& c : cases) EXPECT_EQ(OwnersMailtoLink(c.addresses), c.link);
  EXPECT_EQ(OwnerMailtoLink("c?d&e#f@y.org"), "mailto:c%3Fd%26e%23f%40y.org?Subject= &Body=");
}

TEST(OwnerLinks, WebLinksGetAScheme) {
  const struct {
    const char* url;
    const char* link;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {" www.penrose.example ", "http://www.penrose.example"},
      {"HTTPS://x.example", "HTTPS://x.example"},
      {"https://x.example", "https://x.example"},
      {"Http://x.example", "Http://x.example"},
      {"htt.example", "http://htt.example"},
  };
  for (const auto& c : cases) EXPECT_EQ(OwnerWebLink(c.url), c.link) << c.url;
}

}  // namespace
}  // namespace tb::test
