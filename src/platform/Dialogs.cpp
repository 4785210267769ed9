#include "platform/Dialogs.h"

#include <cstdlib>
#include <cstring>

namespace tb {

namespace {

struct ButtonEntry {
  MsgButton button;
  const char* name;
};

// In display order, which is the order of MsgButton.
constexpr ButtonEntry kButtons[] = {
    {MsgButton::Yes, "Yes"},           {MsgButton::No, "No"},         {MsgButton::OK, "OK"},
    {MsgButton::Cancel, "Cancel"},     {MsgButton::Abort, "Abort"},   {MsgButton::Retry, "Retry"},
    {MsgButton::Ignore, "Ignore"},     {MsgButton::All, "All"},       {MsgButton::NoToAll, "NoToAll"},
    {MsgButton::YesToAll, "YesToAll"}, {MsgButton::Help, "Help"},
};

// Counts a box for as long as it is up, also when it ends by an exception.
class BoxUp {
 public:
  explicit BoxUp(int& count) : count_(count) { ++count_; }
  ~BoxUp() { --count_; }
  BoxUp(const BoxUp&) = delete;
  BoxUp& operator=(const BoxUp&) = delete;

 private:
  int& count_;
};

}  // namespace

MsgButton Dialogs::Message(const MessageBoxSpec& box) {
  BoxUp up(boxesUp_);
  ++messagesShown_;
  return ShowMessage(box);
}

bool Dialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  BoxUp up(boxesUp_);
  return ShowInput(caption, prompt, value);
}

bool Dialogs::SaveFileName(const SaveFileSpec& spec, std::string& path) {
  BoxUp up(boxesUp_);
  return ShowSaveFile(spec, path);
}

bool Dialogs::ShowSaveFile(const SaveFileSpec&, std::string&) { return false; }

std::vector<MsgButton> MsgButtons::List() const {
  std::vector<MsgButton> list;
  for (const ButtonEntry& e : kButtons)
    if (Has(e.button)) list.push_back(e.button);
  return list;
}

const char* ButtonName(MsgButton b) {
  for (const ButtonEntry& e : kButtons)
    if (e.button == b) return e.name;
  return "None";
}

const char* IconName(MsgIcon i) {
  switch (i) {
    case MsgIcon::Error:
      return "Error";
    case MsgIcon::Warning:
      return "Warning";
    case MsgIcon::Information:
      return "Information";
    case MsgIcon::Confirmation:
      return "Confirmation";
    case MsgIcon::None:
      break;
  }
  return "None";
}

MsgButton ButtonFromName(const std::string& name) {
  for (const ButtonEntry& e : kButtons)
    if (strcasecmp(e.name, name.c_str()) == 0) return e.button;
  return MsgButton::None;
}

bool NonInteractiveRun() {
  const char* v = std::getenv("COTLYN_NONINTERACTIVE");
  return v && std::strcmp(v, "1") == 0;
}

}  // namespace tb
