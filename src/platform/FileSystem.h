#pragma once
// Plain file and folder helpers. Paths are native ("/"); folders end with "/".

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

bool FileExists(const std::string& path);       // a regular file
bool FileReadable(const std::string& path);     // a regular file this process can open to read
bool DirectoryExists(const std::string& path);  // a folder
int64_t FileSizeOf(const std::string& path);    // -1 when missing
// Last-write time in local time; -1 when there is no such file.
TDateTime FileTimeAsDateTime(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& out);

// Who may read a file written here: as the file was (a new file as the umask allows),
// or only this user (customers' details in temporary folders).
enum class FileAccess { Shared, Private };
// Replaces the whole file in one step: the complete new image is written beside it,
// flushed, and renamed over it (the folder flushed too), so a reader sees the old file
// or the new one, never a part. Only for files nobody holds locked: a lock belongs to
// the old file and would not move to the new one. A link is followed, except by a
// private file, which replaces the link itself.
// A failure leaves errno saying why (SystemErrorText).
bool WriteWholeFile(const std::string& path, const std::string& data, FileAccess access = FileAccess::Shared);
// The system's words for an error number, as a message shows them.
std::string SystemErrorText(int error);
// "Error <n> opening file <path>" and, on a line of its own, the system's words for n.
std::string OpeningFileError(int error, const std::string& path);
bool CopyFileOverwrite(const std::string& from, const std::string& to, FileAccess access = FileAccess::Shared);
// A hidden name beside `path` for a file being made for it by this process
// ("." + name + "." + what + "-<pid>-<n>"), and the removal of such files left by
// processes that ended before they were done.
std::string WorkFileFor(const std::string& path, const std::string& what);
void RemoveWorkFilesOfEndedProcesses(const std::string& path);
// Appends data at the end in one write without taking a lock (made when missing), flushed.
bool AppendToFile(const std::string& path, const std::string& data);
bool DeleteFileAt(const std::string& path);
bool RenameFileAt(const std::string& from, const std::string& to);  // fails when `to` exists
// Puts a finished work file in the place of `to` in one step (whatever was there goes),
// the folder flushed. Both in one folder; a folder at `to` fails (EISDIR).
bool ReplaceFileAt(const std::string& from, const std::string& to);
// Moves a file, also to another file system (copied, then the original deleted; when
// the original cannot go, the copy goes instead). Fails when `to` exists.
bool MoveFileAt(const std::string& from, const std::string& to);
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
// A relative path taken from the working folder ("./" and "x/../" steps removed); an
// absolute one as it is.
std::string AbsolutePath(const std::string& path);
// The path with every link and "." or ".." resolved, for comparing two paths to one
// file; the path as it is when it does not exist. A folder keeps its trailing "/".
std::string CanonicalPath(const std::string& path);

}  // namespace tb
