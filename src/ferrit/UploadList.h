#pragma once
// The upload list Cotlyn writes for Ferrit ("PubWebList.txt"): one line per file,
// "Site=" + site name + " File=" + full local path, Windows-1252, CR LF.

#include <string>
#include <vector>

namespace tb {

struct UploadEntry {
  std::string line;  // the line as written, for the log when it is not understood
  bool understood = false;
  std::string site;  // as written
  std::string file;  // as written (Windows-1252 text)
};

// Every line that is not empty, in order. The path may hold spaces, and even " File=",
// so a line is split at its first " File=".
std::vector<UploadEntry> ParseUploadList(const std::string& text);

}  // namespace tb
