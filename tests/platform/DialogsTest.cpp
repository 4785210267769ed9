#include "platform/Dialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "support/TempDir.h"

namespace tb::test {
namespace {

TEST(DialogsTest, ButtonsListInDisplayOrderAndNamesRoundTrip) {
  MsgButtons box = MsgButton::No | MsgButton::Help | MsgButton::Yes | MsgButton::Cancel;
  EXPECT_EQ(box.List(), (std::vector<MsgButton>{MsgButton::Yes, MsgButton::No, MsgButton::Cancel, MsgButton::Help}));
  for (unsigned bit = 1; bit <= static_cast<unsigned>(MsgButton::Help); bit <<= 1) {
    MsgButton b = static_cast<MsgButton>(bit);
    std::string lower = ButtonName(b);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(ButtonFromName(lower), b) << lower;
  }
  EXPECT_EQ(ButtonFromName("Maybe"), MsgButton::None);
}

TEST(DialogsTest, DescribeWritesOneLine) {
  struct Case {
    MessageBoxSpec box;
    MsgButton answer;
    const char* line;
  } cases[] = {
      {{"Save changes?\rNow", MsgIcon::Confirmation, MsgButton::Yes | MsgButton::No, 0}, MsgButton::No,
       "[Confirmation] Save changes?\\rNow {Yes,No} -> No"},
      {{"Cost \xA3" "5\nnext", MsgIcon::Error, MsgButton::OK | MsgButton::Help, 120}, MsgButton::OK,
       "[Error] Cost \xC2\xA3" "5\\nnext {OK,Help} help=120 -> OK"},
      {{"Hi", MsgIcon::None, MsgButton::OK, 0}, MsgButton::OK, "[None] Hi {OK} -> OK"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConsoleDialogs::Describe(c.box, c.answer), c.line);
}

TEST(DialogsTest, ConsoleAnswersFromTheListElseTheFirstButton) {
  const MsgButtons yesNo = MsgButton::Yes | MsgButton::No;
  const MsgButtons okHelp = MsgButton::OK | MsgButton::Help;
  const MsgButtons helpCancel = MsgButton::Help | MsgButton::Cancel;
  struct Step {
    MsgButtons buttons;
    MsgButton expected;
  } steps[] = {
      {yesNo, MsgButton::No},           // " no ": trimmed, any case
      {yesNo, MsgButton::Yes},          // "Retry" is not on this box
      {okHelp, MsgButton::OK},          // "Help" is never an answer
      {helpCancel, MsgButton::Cancel},  // "" names nothing
      {yesNo, MsgButton::Yes},          // answers used up
      {helpCancel, MsgButton::Cancel},
  };
  ConsoleDialogs dialogs({" no ", "Retry", "Help", ""});
  for (const Step& s : steps) EXPECT_EQ(dialogs.Message("?", MsgIcon::Confirmation, s.buttons), s.expected);
}

TEST(DialogsTest, ConsoleInputTakesTheNextAnswer) {
  ConsoleDialogs dialogs({"Rose Cottage", "cancel"});
  std::string value = "old";
  EXPECT_TRUE(dialogs.InputQuery("Name", "Property", value));
  EXPECT_EQ(value, "Rose Cottage");
  EXPECT_FALSE(dialogs.InputQuery("Name", "Property", value));
  EXPECT_EQ(value, "Rose Cottage");
  EXPECT_TRUE(dialogs.InputQuery("Name", "Property", value));  // none left: kept
  EXPECT_EQ(value, "Rose Cottage");
}

TEST(DialogsTest, ConsoleWritesEachBoxToStderrAndReadsTheEnvironment) {
  TempDir dir;
  setenv("COTLYN_ANSWERS", " Cancel ,Sunny", 1);
  ConsoleDialogs dialogs = ConsoleDialogs::FromEnvironment();
  unsetenv("COTLYN_ANSWERS");

  std::fflush(stderr);
  int saved = dup(2);
  std::FILE* capture = std::fopen((dir / "stderr").c_str(), "w");
  ASSERT_NE(capture, nullptr);
  dup2(fileno(capture), 2);
  MsgButton answer = dialogs.Message("Delete?\r\"Sea View\"", MsgIcon::Warning, MsgButton::OK | MsgButton::Cancel, 7);
  std::string value;
  bool ok = dialogs.InputQuery("Find", "Name", value);
  dialogs.Beep();
  std::fflush(stderr);
  dup2(saved, 2);
  close(saved);
  std::fclose(capture);

  EXPECT_EQ(answer, MsgButton::Cancel);
  EXPECT_TRUE(ok);
  EXPECT_EQ(value, "Sunny");
  EXPECT_EQ(dir.Read("stderr"),
            "[Warning] Delete?\\r\"Sea View\" {OK,Cancel} help=7 -> Cancel\n"
            "[Input] Find: Name -> Sunny\n");
}

// Timers ask whether a box is up before they start anything: a box on screen runs
// its own event loop, in which they keep firing.
TEST(DialogsTest, CountsTheBoxesThatAreUp) {
  struct Probe : Dialogs {
    std::vector<int> seen;
    bool nest = false, fail = false;
    void Beep() override {}
    MsgButton ShowMessage(const MessageBoxSpec&) override {
      seen.push_back(BoxesUp());
      if (nest) {
        nest = false;
        Message("inner", MsgIcon::Information, MsgButton::OK);
      }
      if (fail) throw std::runtime_error("gone");
      return MsgButton::OK;
    }
    bool ShowInput(const std::string&, const std::string&, std::string&) override {
      seen.push_back(BoxesUp());
      return true;
    }
  } d;
  d.nest = true;
  d.Message("outer", MsgIcon::Information, MsgButton::OK);
  std::string value;
  d.InputQuery("Retention", "Enter valid amount:", value);
  EXPECT_EQ(d.seen, (std::vector<int>{1, 2, 1}));
  EXPECT_EQ(d.BoxesUp(), 0);
  d.fail = true;
  EXPECT_THROW(d.Message("x", MsgIcon::Error, MsgButton::OK), std::runtime_error);
  EXPECT_EQ(d.BoxesUp(), 0);
}

TEST(DialogsTest, NonInteractiveOnlyWhenSetToOne) {
  for (const char* v : {"1", "0", "yes", ""}) {
    setenv("COTLYN_NONINTERACTIVE", v, 1);
    EXPECT_EQ(NonInteractiveRun(), std::string(v) == "1") << v;
  }
  unsetenv("COTLYN_NONINTERACTIVE");
  EXPECT_FALSE(NonInteractiveRun());
}

}  // namespace
}  // namespace tb::test
