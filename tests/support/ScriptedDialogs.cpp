#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace tb::test {

ScriptedDialogs::~ScriptedDialogs() { VerifyAllShown(); }

ScriptedDialogs& ScriptedDialogs::Expect(const std::string& text, MsgIcon icon, MsgButtons buttons,
                                         int helpContext, MsgButton answer) {
  script_.push_back(Expected{false, MessageBoxSpec{text, icon, buttons, helpContext}, answer, {}, true});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectInput(const std::string& prompt, const std::string& value, bool ok) {
  Expected e;
  e.input = true;
  e.box.text = prompt;
  e.value = value;
  e.ok = ok;
  script_.push_back(e);
  return *this;
}

MsgButton ScriptedDialogs::ShowMessage(const MessageBoxSpec& box) {
  if (onMessage) onMessage();
  shown.push_back(box);
  if (permissive && script_.empty()) return box.buttons.List().empty() ? MsgButton::OK : box.buttons.List().front();
  if (script_.empty() || script_.front().input || script_.front().save) {
    ADD_FAILURE() << "Unexpected box: " << ConsoleDialogs::Describe(box, MsgButton::None);
    return box.buttons.List().empty() ? MsgButton::OK : box.buttons.List().front();
  }
  Expected e = script_.front();
  script_.pop_front();
  EXPECT_EQ(e.box.text, box.text);
  EXPECT_EQ(IconName(e.box.icon), std::string(IconName(box.icon))) << "for box: " << box.text;
  EXPECT_EQ(e.box.buttons.Bits(), box.buttons.Bits()) << "buttons of box: " << box.text;
  EXPECT_EQ(e.box.helpContext, box.helpContext) << "help context of box: " << box.text;
  return e.answer;
}

bool ScriptedDialogs::ShowInput(const std::string& caption, const std::string& prompt, std::string& value) {
  (void)caption;
  if (script_.empty() || !script_.front().input) {
    ADD_FAILURE() << "Unexpected input box: " << prompt;
    return false;
  }
  Expected e = script_.front();
  script_.pop_front();
  EXPECT_EQ(e.box.text, prompt);
  if (e.ok) value = e.value;
  return e.ok;
}
ScriptedDialogs& ScriptedDialogs::ExpectSaveFile(const std::string& fileName, const std::string& filter,
                                                 const std::string& path, bool ok) {
  Expected e;
  e.save = true;
  e.box.text = fileName;
  e.filter = filter;
  e.value = path;
  e.ok = ok;
  script_.push_back(e);
  return *this;
}

bool ScriptedDialogs::ShowSaveFile(const SaveFileSpec& spec, std::string& path) {
  if (script_.empty() || !script_.front().save) {
    ADD_FAILURE() << "Unexpected save dialog: " << spec.fileName;
    return false;
  }
  Expected e = script_.front();
  script_.pop_front();
  EXPECT_EQ(e.box.text, spec.fileName);
  EXPECT_EQ(e.filter, spec.filter);
  if (e.ok) path = e.value;
  return e.ok;
}

void ScriptedDialogs::VerifyAllShown() {
  for (const Expected& e : script_) ADD_FAILURE() << "Expected box never shown: " << e.box.text;
  script_.clear();
}

}  // namespace tb::test
