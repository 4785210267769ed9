#pragma once
// Dialogs for tests: each box the code shows must be the next one expected, with the
// exact text, icon, buttons and help context; the scripted answer is returned.
// A box nobody expected, or one left unshown at the end, fails the test.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace tb::test {

class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  // Expect a box; answer with `answer`.
  ScriptedDialogs& Expect(const std::string& text, MsgIcon icon, MsgButtons buttons, int helpContext,
                          MsgButton answer);
  // Expect an input box with the given prompt; answer with value (or cancel).
  ScriptedDialogs& ExpectInput(const std::string& prompt, const std::string& value, bool ok = true);
  // Expect a save dialog proposing fileName with filter; answer with path (or cancel).
  ScriptedDialogs& ExpectSaveFile(const std::string& fileName, const std::string& filter, const std::string& path,
                                  bool ok = true);

  void Beep() override { ++beeps; }

  // Fails the test unless every expected box was shown; clears the script.
  void VerifyAllShown();
  std::vector<MessageBoxSpec> shown;  // every box shown, in order
  // Answers any box with its first button without checking it (for damaged-data runs).
  bool permissive = false;
  // Runs while each box is up (what the window shows behind it).
  std::function<void()> onMessage;
  int beeps = 0;

 protected:
  MsgButton ShowMessage(const MessageBoxSpec& box) override;
  bool ShowInput(const std::string& caption, const std::string& prompt, std::string& value) override;
  bool ShowSaveFile(const SaveFileSpec& spec, std::string& path) override;

 private:
  struct Expected {
    bool input = false;
    MessageBoxSpec box;
    MsgButton answer = MsgButton::None;
    std::string value;
    bool ok = true;
    bool save = false;
    std::string filter;  // of a save dialog
  };
  std::deque<Expected> script_;
};

}  // namespace tb::test
