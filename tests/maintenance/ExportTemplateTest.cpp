// Export templates: reading (bad lines by number, any bytes), writing, and the files
// kept in the root's "Templates/" folder: save with ".bak", the protected "default",
// rename and delete with their messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "maintenance/ExportTemplate.h"
#include "platform/FileSystem.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

TEST(ExportTemplateTextTest, ReadsItemsAroundTheSeparatorAndStopsAtABadLine) {
  ExportTemplate t;
  EXPECT_EQ(ParseExportTemplate("; comment\r\n05 Surname\r\n01 \r\n--Optional\r\n21 Guests\r\n", t), 0);
  EXPECT_EQ(t, (ExportTemplate{{{5, "Surname"}, {1, ""}}, {{21, "Guests"}}}));

  struct Case {
    const char* text;
    int line;
    size_t kept;
  };
  const Case cases[] = {
      {"05 Surname\r\n\r\n06 Title\r\n", 2, 1},  // an empty line
      {"05 Surname\r\nxx Title\r\n", 2, 1},
      {"; c\r\n; c\r\n0x Hex\r\n", 3, 0},
      {"-- Dashes\r\n", 1, 0},
      {"05 Surname\n06 Title\nTitle\n", 3, 2},  // LF lines read too
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseExportTemplate(c.text, t), c.line) << c.text;
    EXPECT_EQ(t.exported.size(), c.kept) << c.text;
  }
}

TEST(ExportTemplateTextTest, WrittenTextReadsBackAndTheDefaultIsSound) {
  const ExportTemplate t{{{1, "Property"}, {32, "Departure \"day\""}}, {{9, "Postcode"}}};
  const std::string text = ExportTemplateText(t, "09/12/2026 10:30:00");
  EXPECT_EQ(text,
            "; Export Template File. Last updated 09/12/2026 10:30:00\r\n01 Property\r\n32 Departure \"day\"\r\n"
            "--Optional items - not currently exported--\r\n09 Postcode\r\n");
  ExportTemplate back;
  EXPECT_EQ(ParseExportTemplate(text, back), 0);
  EXPECT_EQ(back, t);
  EXPECT_EQ(ParseExportTemplate(DefaultExportTemplateText(), back), 0);
  EXPECT_EQ(back.exported.size() + back.optional.size(), 32u);
}

TEST(ExportTemplateTextTest, AnyBytesGiveItemsOrALineNumber) {
  std::mt19937 random(22);
  const std::string seed = ExportTemplateText(ExportTemplate{{{1, "A"}, {12, "B"}}, {{3, "C"}}}, "now");
  for (int round = 0; round < 3000; ++round) {
    std::string text = round % 2 ? seed : std::string(random() % 64, '\0');
    for (size_t i = 0, changes = random() % 8; i < changes || (round % 2 == 0 && i < text.size()); ++i) {
      if (text.empty()) break;
      text[random() % text.size()] = static_cast<char>(random() % 256);
    }
    ExportTemplate t;
    const int bad = ParseExportTemplate(text, t);
    const size_t lines = std::count(text.begin(), text.end(), '\n') + 1;
    ASSERT_TRUE(bad >= 0 && static_cast<size_t>(bad) <= lines) << bad;
  }
}

std::string FileText(const std::string& path) {
  std::string text;
  ReadWholeFile(path, text);
  return text;
}

class TemplateFilesTest : public ::testing::Test {
 protected:
  TemplateFilesTest() {
    t.Load(SimpleSettings(1));
    ForceDirectories(TemplatesFolder(s));
  }
  std::string Folder() { return TemplatesFolder(s); }
  TestSession t;
  Session& s = t.session;
};

TEST_F(TemplateFilesTest, LoadingSaysWhatIsMissingOrWrong) {
  ExportTemplate tmpl;
  t.dialogs.Expect("Export Template \"" + Folder() + "none.xtf\" not found", MsgIcon::Error, MsgButton::Abort, 999,
                   MsgButton::Abort);
  EXPECT_FALSE(LoadExportTemplate(s, "none", tmpl));
  ASSERT_TRUE(WriteWholeFile(Folder() + "bad.xtf", "; c\r\n05 Surname\r\nSurname\r\n06 Title\r\n"));
  t.dialogs.Expect("Export Template Error. File=\"" + Folder() + "bad.xtf\". Line=3", MsgIcon::Error,
                   MsgButton::Abort, 999, MsgButton::Abort);
  EXPECT_FALSE(LoadExportTemplate(s, "bad", tmpl));
  EXPECT_EQ(tmpl, (ExportTemplate{{{5, "Surname"}}, {}}));
  EXPECT_EQ(t.dialogs.beeps, 2);
  t.dialogs.VerifyAllShown();
}

TEST_F(TemplateFilesTest, SavingRefusesDefaultAndKeepsTheOldFileAsBak) {
  ASSERT_TRUE(WriteWholeFile(Folder() + "default.xtf", DefaultExportTemplateText()));
  ASSERT_TRUE(WriteWholeFile(Folder() + "mail.xtf", "05 Old\r\n"));
  const ExportTemplate tmpl{{{5, "Surname"}}, {{6, "Title"}}};
  t.dialogs.ExpectInput("Enter template name (change if required):", "Default")
      .Expect("Cannot alter default template", MsgIcon::Error, MsgButton::Retry, 0, MsgButton::Retry)
      .ExpectInput("Enter template name (change if required):", "mail");
  EXPECT_EQ(SaveExportTemplate(s, "default", tmpl), "mail");
  EXPECT_EQ(FileText(Folder() + "mail.bak"), "05 Old\r\n");
  EXPECT_EQ(FileText(Folder() + "mail.xtf"),
            "; Export Template File. Last updated 09/12/2026 10:30:00\r\n05 Surname\r\n"
            "--Optional items - not currently exported--\r\n06 Title\r\n");
  EXPECT_EQ(TemplateNames(s), (std::vector<std::string>{"default", "mail"}));
  t.dialogs.ExpectInput("Enter template name (change if required):", "", false);
  EXPECT_EQ(SaveExportTemplate(s, "mail", tmpl), "");
  t.dialogs.VerifyAllShown();
}

TEST_F(TemplateFilesTest, RenameAndDeleteSayWhatHappened) {
  ASSERT_TRUE(WriteWholeFile(Folder() + "a.xtf", "05 S\r\n"));
  ASSERT_TRUE(WriteWholeFile(Folder() + "b.xtf", "05 S\r\n"));
  t.dialogs.ExpectInput("Enter new name:", "c");
  EXPECT_EQ(RenameExportTemplate(s, "a"), "c");
  t.dialogs.ExpectInput("Enter new name:", "b")
      .Expect("Unable to rename " + Folder() + "c.xtf", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_EQ(RenameExportTemplate(s, "c"), "");
  EXPECT_EQ(TemplateNames(s), (std::vector<std::string>{"b", "c"}));

  t.dialogs.Expect("Delete current template = b ?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                   MsgButton::Cancel);
  EXPECT_FALSE(DeleteExportTemplate(s, "b"));
  t.dialogs.Expect("Delete current template = b ?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                   MsgButton::Yes)
      .Expect("Template " + Folder() + "b.xtf deleted. Current template now first in list", MsgIcon::Information,
              MsgButton::OK, 0, MsgButton::OK);
  EXPECT_TRUE(DeleteExportTemplate(s, "b"));
  t.dialogs.Expect("Delete current template = b ?", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 0,
                   MsgButton::Yes)
      .Expect("Unable to delete " + Folder() + "b.xtf\rError code:2", MsgIcon::Error, MsgButton::OK, 0,
              MsgButton::OK);
  EXPECT_FALSE(DeleteExportTemplate(s, "b"));
  EXPECT_EQ(TemplateNames(s), std::vector<std::string>{"c"});
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test
