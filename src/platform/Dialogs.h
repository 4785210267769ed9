#pragma once
// The only way the engine talks to the user: message boxes, input boxes and the beep.
// Texts are Windows-1252 bytes; "\r" in a message is a line break.

#include <string>
#include <vector>

namespace tb {

enum class MsgIcon { None, Error, Warning, Information, Confirmation };

// In the order boxes show them (and the console answers with the first).
enum class MsgButton : unsigned {
  None = 0,
  Yes = 1u << 0,
  No = 1u << 1,
  OK = 1u << 2,
  Cancel = 1u << 3,
  Abort = 1u << 4,
  Retry = 1u << 5,
  Ignore = 1u << 6,
  All = 1u << 7,
  NoToAll = 1u << 8,
  YesToAll = 1u << 9,
  Help = 1u << 10,
};

// A set of buttons, shown in the fixed order of MsgButton.
class MsgButtons {
 public:
  constexpr MsgButtons() = default;
  constexpr MsgButtons(MsgButton b) : bits_(static_cast<unsigned>(b)) {}
  constexpr MsgButtons operator|(MsgButton b) const { return MsgButtons(bits_ | static_cast<unsigned>(b)); }
  constexpr bool Has(MsgButton b) const { return (bits_ & static_cast<unsigned>(b)) != 0; }
  constexpr unsigned Bits() const { return bits_; }
  std::vector<MsgButton> List() const;  // in display order
  constexpr bool operator==(const MsgButtons&) const = default;

 private:
  constexpr explicit MsgButtons(unsigned bits) : bits_(bits) {}
  unsigned bits_ = 0;
};
constexpr MsgButtons operator|(MsgButton a, MsgButton b) { return MsgButtons(a) | b; }

const char* ButtonName(MsgButton b);  // "OK", "Cancel", "Abort", ...
const char* IconName(MsgIcon i);      // "Error", "Warning", "Information", "Confirmation", "None"
MsgButton ButtonFromName(const std::string& name);  // case-insensitive; None when unknown

struct MessageBoxSpec {
  std::string text;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButton::OK;
  int helpContext = 0;
};

// A save dialog: the filter ("CSV Files|*.csv"), the extension added to a name typed
// without one, the file name proposed and the folder it opens in (a native path).
struct SaveFileSpec {
  std::string filter;
  std::string defaultExt;
  std::string fileName;
  std::string folder;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the box and returns the button chosen (never Help: Help shows the help
  // page and the box stays).
  MsgButton Message(const MessageBoxSpec& box);
  MsgButton Message(const std::string& text, MsgIcon icon, MsgButtons buttons, int helpContext = 0) {
    return Message(MessageBoxSpec{text, icon, buttons, helpContext});
  }
  // An input box: true with the entered value on OK, false on Cancel.
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
  // A save dialog: true with the chosen path, false when cancelled.
  bool SaveFileName(const SaveFileSpec& spec, std::string& path);
  virtual void Beep() = 0;
  // How many boxes are up now. A box on screen runs its own event loop, in which
  // timers keep firing: their handlers ask this before they start anything.
  int BoxesUp() const { return boxesUp_; }
  // How many message boxes were shown so far: work that goes on through steps that
  // report their own failures asks it to know whether one did.
  size_t MessagesShown() const { return messagesShown_; }

 protected:
  virtual MsgButton ShowMessage(const MessageBoxSpec& box) = 0;
  virtual bool ShowInput(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  // Without a way to choose a file (the console) the dialog counts as cancelled.
  virtual bool ShowSaveFile(const SaveFileSpec& spec, std::string& path);

 private:
  int boxesUp_ = 0;
  size_t messagesShown_ = 0;
};

// Non-interactive: every box is written to stderr as one line with its icon, text
// ("\r" shown as "\r"), buttons and help context, and answered from a list of
// answers (COTLYN_ANSWERS, comma-separated button names), else with its first button.
class ConsoleDialogs : public Dialogs {
 public:
  explicit ConsoleDialogs(std::vector<std::string> answers = {});
  static ConsoleDialogs FromEnvironment();  // reads COTLYN_ANSWERS
  void Beep() override;
  // The line written for a box and its answer (also used by tests).
  static std::string Describe(const MessageBoxSpec& box, MsgButton answer);

 protected:
  MsgButton ShowMessage(const MessageBoxSpec& box) override;
  bool ShowInput(const std::string& caption, const std::string& prompt, std::string& value) override;

 private:
  std::vector<std::string> answers_;
  size_t next_ = 0;
};

// True when COTLYN_NONINTERACTIVE=1: boxes go to the console instead of the screen.
bool NonInteractiveRun();

}  // namespace tb
