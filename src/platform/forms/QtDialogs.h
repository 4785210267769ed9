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
  void Beep() override;

 protected:
  MsgButton ShowMessage(const MessageBoxSpec& box) override;
  bool ShowInput(const std::string& caption, const std::string& prompt, std::string& value) override;
  bool ShowSaveFile(const SaveFileSpec& spec, std::string& path) override;

 private:
  std::function<void(int)> openHelp_;
};

}  // namespace tb
