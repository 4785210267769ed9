#pragma once
// The settings file ("Cotlyn.ini") as the configuration program edits it: the keys
// it knows with their types and defaults, the values as edited, the checks, adding a
// property and saving. Only the edited keys are written back, into the file as it is
// on disk at the time, so unknown keys, sections, comments and changes made meanwhile
// by another program are kept.

#include <optional>
#include <string>
#include <vector>

#include "platform/IniFile.h"

namespace tb {

// Secret: a password, stored scrambled and never shown.
enum class KeyType { Text, Whole, Number, YesNo, Secret };

struct KeyInfo {
  std::string key;
  KeyType type = KeyType::Text;
  std::string def;  // the default, as the file would hold it
  std::string caption;
  double lo = 0, hi = 0;  // Whole and Number: the values allowed
  bool readOnly = false;  // kept by the program itself, not typed in
};

// One key of a section as the window shows it.
struct ConfigRow {
  KeyInfo info;
  std::string value;  // as edited, else as in the file, else the default
};

// Why value cannot stand for the key ("needs a whole number from 0 to 255"); "" when it can.
std::string CheckValue(const KeyInfo& info, const std::string& value);
// Why name cannot name a property (it is also its folder's name); "" when it can.
std::string CheckPropertyName(const std::string& name);

class ConfigModel {
 public:
  static constexpr int kMaxProperties = 999;

  // safetyFolder: where the file as it was is copied before each save.
  explicit ConfigModel(std::string safetyFolder);

  // Reads the settings file; false when it cannot be read.
  bool Load(const std::string& settingsPath);
  const std::string& Path() const { return path_; }
  std::string RootFolder() const;  // the settings file's folder
  std::string Caption() const;     // the window's

  // The keys of "Common" (with one letter and expense key set per configured count)
  // or of a property's section, in the file's documented order.
  std::vector<ConfigRow> Rows(const std::string& section) const;
  std::optional<KeyInfo> Info(const std::string& section, const std::string& key) const;
  std::string Value(const std::string& section, const std::string& key) const;
  // Records an edit (trimmed, as the file will give it back); a value equal to what
  // the file gives drops the edit.
  void SetValue(const std::string& section, const std::string& key, const std::string& value);
  // A new password for a Secret key, as typed: it is kept scrambled.
  void SetSecret(const std::string& section, const std::string& key, const std::string& password);
  bool Modified() const { return !edits_.empty() || !added_.empty(); }

  int NumProps() const { return loadedProps_ + static_cast<int>(added_.size()); }
  std::string PropertyName(int n) const;
  std::string PropertyListText(int n) const;  // "1  Name"

  // The message refusing name for a new property; "" when it can be added.
  std::string CheckNewProperty(const std::string& name) const;
  // A question to ask first when the next property's section is already in the file
  // (left over beyond "NumProps"): its keys would be the new property's; "" otherwise.
  std::string ReuseQuestion(const std::string& name) const;
  // Adds property NumProps() + 1 (written, with its folders, by the next Save).
  int AddProperty(const std::string& name);

  // Checks every edit, copies the file aside, creates the new properties' folders and
  // writes the edits. "" on success; otherwise the message, with nothing written and
  // the edits kept.
  std::string Save();

 private:
  struct Edit {
    std::string section, key, value;
  };
  std::string FileValue(const std::string& section, const std::string& key) const;
  int CountValue(const std::string& key) const;  // NLetters, NExpCats
  std::string PropertyFolder(int n) const;
  std::vector<std::string> Problems() const;
  std::string NameProblem(int n) const;

  std::string safetyFolder_;
  std::string path_;
  IniFile ini_;          // as last read or written
  int loadedProps_ = 0;  // "NumProps" in ini_
  std::vector<Edit> edits_;
  std::vector<int> added_;  // properties added since
};

}  // namespace tb
