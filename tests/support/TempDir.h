#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <string>

namespace tb::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // The folder, with a trailing "/".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& rel) const { return path_ + rel; }
  // Writes a file below the folder (creating folders), returns its full path.
  std::string Write(const std::string& rel, const std::string& content) const;
  std::string Read(const std::string& rel) const;

 private:
  std::string path_;
};

}  // namespace tb::test
