#pragma once
// INI files read and written the way the Windows private-profile functions do:
// case-insensitive sections and keys, the first match wins, values trimmed, lines
// we do not understand kept, and written back in place with CR LF line ends.
// Text is Windows-1252 bytes, as everywhere in the engine.

#include <string>
#include <vector>

namespace tb {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::string path);

  // Reads the file; a missing file leaves an empty one (returns false).
  bool Load();
  bool Load(const std::string& path);
  // Parses text as if read from the file.
  void LoadFromText(const std::string& text);
  bool Save() const;  // writes the whole file back, flushed to disk
  std::string ToText() const;
  const std::string& Path() const { return path_; }

  bool SectionExists(const std::string& section) const;
  bool KeyExists(const std::string& section, const std::string& key) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(const std::string& section) const;

  // Missing keys give the default. A value that is not a valid number or boolean
  // gives the default too. Booleans are "1"/"0" (any non-zero number is true).
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  double ReadFloat(const std::string& section, const std::string& key, double def) const;

  // Replaces the first matching key in place, or adds it at the end of the section,
  // or adds the section at the end of the file.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);

 private:
  struct Line {
    std::string text;     // the line as read, without its line end
    std::string section;  // for a section header: its name
    std::string key;      // for a key line: its key (trimmed)
    std::string value;    // for a key line: its value (trimmed)
    enum Kind { Other, Section, Key } kind = Other;
  };
  int FindSection(const std::string& section) const;
  int FindKey(const std::string& section, const std::string& key) const;
  std::string path_;
  std::vector<Line> lines_;
  // Readers ask for one section's keys in a row (a settings file of an agency has
  // hundreds of sections): the section found last is tried first. Only a whole search
  // sets it, so it is always the first of its name; every change of the lines clears it.
  mutable int lastSection_ = -1;
};

}  // namespace tb
