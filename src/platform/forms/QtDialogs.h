#pragma once
// Message boxes, input boxes and the beep on the screen.

#include <QWidget>
#include <functional>

#include "platform/Dialogs.h"

namespace tb {

class QtDialogs : public Dialogs {
 public:
  // openHelp shows the help page of a context number (the Help button).
  explicit QtDialogs(std::function<void(int)> openHelp);
  using Dialogs::Message;
  MsgButton Message(const MessageBoxSpec& box) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  void Beep() override;

 private:
  std::function<void(int)> openHelp_;
};

}  // namespace tb
