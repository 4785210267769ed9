#pragma once
// Plain file and folder helpers. Paths are native ("/"); folders end with "/".

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

bool FileExists(const std::string& path);       // a regular file
bool DirectoryExists(const std::string& path);  // a folder
int64_t FileSizeOf(const std::string& path);    // -1 when missing
// Last-write time in local time; -1 when there is no such file.
TDateTime FileTimeAsDateTime(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& out);
// Writes the whole file (created or replaced in place) and flushes it to disk.
bool WriteWholeFile(const std::string& path, const std::string& data);
bool CopyFileOverwrite(const std::string& from, const std::string& to);
bool DeleteFileAt(const std::string& path);
bool RenameFileAt(const std::string& from, const std::string& to);  // fails when `to` exists
bool ForceDirectories(const std::string& path);
// Names (without folder) of the regular files in folder matching a Windows-style
// wildcard ("*" any run, "?" one character), case-insensitive, sorted.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);
bool MatchesWildcard(const std::string& name, const std::string& pattern);
std::string ExtractFileName(const std::string& path);
std::string ExtractFilePath(const std::string& path);  // with the trailing "/"
std::string IncludeTrailingSlash(const std::string& folder);
// Native path from one written with backslashes ("Data\Bookings.bks").
std::string NativePath(std::string path);
bool IsRelativePath(const std::string& path);

}  // namespace tb
