#include <cstdio>
#include <cstdlib>
#include <strings.h>

#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace tb {

namespace {

// One line per box: line breaks are shown as the two characters "\r" or "\n".
std::string ConsoleText(const std::string& ansi) {
  std::string out;
  for (char c : Cp1252ToUtf8(ansi)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

void WriteLine(const std::string& line) {
  std::string text = line + "\n";
  std::fwrite(text.data(), 1, text.size(), stderr);  // one write, so lines never interleave
  std::fflush(stderr);
}

}  // namespace

ConsoleDialogs::ConsoleDialogs(std::vector<std::string> answers) : answers_(std::move(answers)) {
  for (std::string& a : answers_) a = Trim(a);
}

ConsoleDialogs ConsoleDialogs::FromEnvironment() {
  std::vector<std::string> answers;
  const char* env = std::getenv("COTLYN_ANSWERS");
  std::string list = env ? env : "";
  if (!list.empty()) {
    size_t pos = 0;
    for (;;) {
      size_t comma = list.find(',', pos);
      answers.push_back(list.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
      if (comma == std::string::npos) break;
      pos = comma + 1;
    }
  }
  return ConsoleDialogs(std::move(answers));
}

MsgButton ConsoleDialogs::ShowMessage(const MessageBoxSpec& box) {
  MsgButton answer = MsgButton::None;
  if (next_ < answers_.size()) {
    MsgButton named = ButtonFromName(answers_[next_++]);
    if (named != MsgButton::None && named != MsgButton::Help && box.buttons.Has(named)) answer = named;
  }
  if (answer == MsgButton::None) {
    // The default is the first button shown; Help only ever shows a page.
    answer = MsgButton::OK;  // a box without buttons still closes with OK
    for (MsgButton b : box.buttons.List()) {
      if (b != MsgButton::Help) {
        answer = b;
        break;
      }
    }
  }
  WriteLine(Describe(box, answer));
  return answer;
}

bool ConsoleDialogs::ShowInput(const std::string& caption, const std::string& prompt, std::string& value) {
  bool ok = true;
  std::string shown;
  if (next_ < answers_.size()) {
    const std::string& answer = answers_[next_++];
    if (strcasecmp(answer.c_str(), "Cancel") == 0) {
      ok = false;
      shown = "Cancel";
    } else {
      value = answer;
    }
  }
  if (ok) shown = value;
  WriteLine("[Input] " + ConsoleText(caption) + ": " + ConsoleText(prompt) + " -> " + ConsoleText(shown));
  return ok;
}

void ConsoleDialogs::Beep() {}

std::string ConsoleDialogs::Describe(const MessageBoxSpec& box, MsgButton answer) {
  std::string line = std::string("[") + IconName(box.icon) + "] " + ConsoleText(box.text) + " {";
  bool first = true;
  for (MsgButton b : box.buttons.List()) {
    if (!first) line += ',';
    line += ButtonName(b);
    first = false;
  }
  line += '}';
  if (box.helpContext != 0) line += " help=" + std::to_string(box.helpContext);
  return line + " -> " + ButtonName(answer);
}

}  // namespace tb
