#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace tb::test {
namespace {

// Line ends mixed on purpose: CR LF, LF and CR alone all end a line.
const char kSample[] =
    "Orphan=1\r\n"
    "[Common]\r\n"
    "Name = Tide Cottage  \n"
    "NAME=second\r"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mixed=\"x'\r\n"
    "QNum=\"5\"\r\n"
    "Num= 42 \r\n"
    "Hex=0x1F\r\n"
    "Bad=12abc\r\n"
    "Neg=-7\r\n"
    "Big=99999999999\r\n"
    "Float=2.5\r\n"
    "BadFloat=2,5\r\n"
    "Inf=inf\r\n"
    "Zero=0\r\n"
    "Empty=\r\n"
    "; Comment=5\r\n"
    "[common]\r\n"
    "Later=yes\r\n"
    "[ Prop01 ]\r\n"
    "\tTabbed\t=\tv\t\r\n";

struct ReadCase {
  const char* section;
  const char* key;
  const char* text;  // ReadString with default "?"
  int number;        // ReadInteger with default -99
  double real;       // ReadFloat with default -1.5
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsAsPrivateProfile) {
  const ReadCase& c = GetParam();
  IniFile ini;
  ini.LoadFromText(kSample);
  EXPECT_EQ(ini.ReadString(c.section, c.key, "?"), c.text);
  EXPECT_EQ(ini.ReadInteger(c.section, c.key, -99), c.number);
  EXPECT_EQ(ini.ReadFloat(c.section, c.key, -1.5), c.real);
  for (bool def : {false, true})
    EXPECT_EQ(ini.ReadBool(c.section, c.key, def), c.number == -99 ? def : c.number != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniReadTest,
                         ::testing::Values(ReadCase{"common", "name", "Tide Cottage", -99, -1.5},
                                           ReadCase{"Common", "Quoted", "  spaced  ", -99, -1.5},
                                           ReadCase{"Common", "Single", "x", -99, -1.5},
                                           ReadCase{"Common", "Mixed", "\"x'", -99, -1.5},
                                           ReadCase{"Common", "QNum", "5", 5, 5},
                                           ReadCase{"Common", "Num", "42", 42, 42},
                                           ReadCase{"Common", "Hex", "0x1F", 31, -1.5},
                                           ReadCase{"Common", "Bad", "12abc", -99, -1.5},
                                           ReadCase{"Common", "Neg", "-7", -7, -7},
                                           ReadCase{"Common", "Big", "99999999999", -99, 99999999999.0},
                                           ReadCase{"Common", "Float", "2.5", -99, 2.5},
                                           ReadCase{"Common", "BadFloat", "2,5", -99, -1.5},
                                           ReadCase{"Common", "Inf", "inf", -99, -1.5},
                                           ReadCase{"Common", "Zero", "0", 0, 0},
                                           ReadCase{"Common", "Empty", "", -99, -1.5},
                                           // Only the first section of a name is looked in.
                                           ReadCase{"Common", "Later", "?", -99, -1.5},
                                           // Keys before any section belong to none.
                                           ReadCase{"Common", "Orphan", "?", -99, -1.5},
                                           ReadCase{"", "Orphan", "?", -99, -1.5},
                                           ReadCase{"Common", "; Comment", "?", -99, -1.5},
                                           ReadCase{"Missing", "Name", "?", -99, -1.5},
                                           ReadCase{"PROP01", "tabbed", "v", -99, -1.5}));

TEST(IniFileTest, ListsSectionsAndKeysOnce) {
  IniFile ini;
  ini.LoadFromText(kSample);
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Common", "Prop01"}));
  std::vector<std::string> keys = ini.Keys("COMMON");
  ASSERT_EQ(keys.size(), 15u);
  EXPECT_EQ(keys[0], "Name");
  EXPECT_TRUE(ini.KeyExists("common", "EMPTY"));
  EXPECT_FALSE(ini.SectionExists("Prop02"));
}

TEST(IniFileTest, WritesInPlaceKeepingEverythingElse) {
  const std::string original =
      "; top comment\r\n"
      "[Common]\r\n"
      "Name=Old\r\n"
      "Keep = as is \r\n"
      "\r\n"
      "; about the properties\r\n"
      "[Prop01]\r\n"
      "A=1\r\n"
      "not a key line\r\n";
  TempDir dir;
  IniFile ini(dir.Write("Cotlyn.ini", original));
  ASSERT_TRUE(ini.Load());
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(dir.Read("Cotlyn.ini"), original);

  ini.WriteString("COMMON", "name", "New");
  ini.WriteString("Common", "Added", "x");
  ini.WriteInteger("Prop01", "B", -3);
  ini.WriteBool("Extra", "On", true);
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(dir.Read("Cotlyn.ini"),
            "; top comment\r\n"
            "[Common]\r\n"
            "Name=New\r\n"
            "Keep = as is \r\n"
            "Added=x\r\n"
            "\r\n"
            "; about the properties\r\n"
            "[Prop01]\r\n"
            "A=1\r\n"
            "B=-3\r\n"
            "not a key line\r\n"
            "\r\n"
            "[Extra]\r\n"
            "On=1\r\n");

  ini.DeleteKey("common", "KEEP");
  ini.EraseSection("prop01");
  EXPECT_EQ(ini.ToText(),
            "; top comment\r\n"
            "[Common]\r\n"
            "Name=New\r\n"
            "Added=x\r\n"
            "\r\n"
            "; about the properties\r\n"
            "[Extra]\r\n"
            "On=1\r\n");
}

// However an edit moves the lines between two reads, a section whose name appears
// twice answers from its first copy.
TEST(IniFileTest, ReadsAfterEditsStillFindTheFirstSectionOfAName) {
  struct Case {
    const char* edit;
    const char* text;
    void (*apply)(IniFile&);
  };
  const Case cases[] = {
      {"the section between the two erased", "[B]\r\nb=first\r\n[X]\r\nx=1\r\n[B]\r\nb=second\r\n",
       [](IniFile& ini) { ini.EraseSection("X"); }},
      {"another text loaded", "[X]\r\nx=1\r\nx=2\r\n[B]\r\nb=first\r\n",
       [](IniFile& ini) { ini.LoadFromText("[B]\r\nb=first\r\nx=0\r\n[B]\r\nb=second\r\n"); }},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.LoadFromText(c.text);
    ASSERT_EQ(ini.ReadString("B", "b", "?"), "first");
    c.apply(ini);
    EXPECT_EQ(ini.ReadString("B", "b", "?"), "first") << c.edit;
  }
}

TEST(IniFileTest, NewSectionGoesAtTheEndAfterOneBlankLine) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"", "[B]\r\nk=v\r\n"},
      {"[A]\nx=1", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\r\nx=1\r\n\r\n", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.LoadFromText(c.before);
    ini.WriteString("B", "k", "v");
    EXPECT_EQ(ini.ToText(), c.after) << c.before;
  }
}

TEST(IniFileTest, ValueWithLineBreakStaysOneLine) {
  IniFile ini;
  ini.WriteString("A", "k", "one\r\n[B]\r\nx=2");
  IniFile back;
  back.LoadFromText(ini.ToText());
  EXPECT_FALSE(back.SectionExists("B"));
  EXPECT_EQ(back.ReadString("A", "k", ""), "one  [B]  x=2");
}

TEST(IniFileTest, MissingFileLoadsEmpty) {
  TempDir dir;
  IniFile ini(dir / "none.ini");
  EXPECT_FALSE(ini.Load());
  EXPECT_EQ(ini.ReadInteger("A", "b", 7), 7);
  EXPECT_FALSE(ini.SectionExists("A"));
}

}  // namespace
}  // namespace tb::test
