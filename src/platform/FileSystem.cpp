#include "platform/FileSystem.h"

#include "platform/SharedFile.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

namespace {

bool StatPath(const std::string& path, struct stat& st) {
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool WriteFd(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The whole image written over the file's own bytes, then the tail cut and all flushed.
bool RewriteInPlace(const std::string& path, const std::string& data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WriteFd(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  return ok;
}

// Makes a rename or a new name in the file's folder last through a crash.
void SyncFolderOf(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool FileReadable(const std::string& path) {
  if (!FileExists(path)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return StatPath(path, st) && S_ISDIR(st.st_mode);
}

int64_t FileSizeOf(const std::string& path) {
  struct stat st {};
  if (!StatPath(path, st) || !S_ISREG(st.st_mode)) return -1;
  return st.st_size;
}

TDateTime FileTimeAsDateTime(const std::string& path) {
  // One stat: this is asked of every data file at every refresh. A file that is there
  // but cannot be read fails, with its own message, when it is opened.
  struct stat st {};
  if (!StatPath(path, st) || !S_ISREG(st.st_mode)) return -1;
  return FromTimeT(st.st_mtim.tv_sec) +
         EncodeTime(0, 0, 0, static_cast<int>(st.st_mtim.tv_nsec / 1000000));
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  SharedFile f;
  return f.OpenReadShareAll(path) == SharedFile::Result::Ok && f.ReadAll(out);
}

std::string SystemErrorText(int error) {
  char buffer[256] = {};
  // The GNU form: it returns the text, which may or may not be in buffer.
  return ::strerror_r(error, buffer, sizeof buffer);
}

std::string OpeningFileError(int error, const std::string& path) {
  return "Error " + std::to_string(error) + " opening file " + path + "\r" + SystemErrorText(error);
}

bool WriteWholeFile(const std::string& path, const std::string& data, FileAccess access) {
  if (path.empty() || path.back() == '/') {
    errno = EISDIR;
    return false;
  }
  std::string target = path;
  struct stat st {};
  // A private file replaces whatever is at its name, a link too: it never writes
  // where a link someone else made points.
  if (access == FileAccess::Shared && ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return false;
    target = real;
    std::free(real);
  }
  const bool exists = (access == FileAccess::Private ? ::lstat(target.c_str(), &st) : ::stat(target.c_str(), &st)) == 0;
  if (exists && !S_ISREG(st.st_mode) && !(access == FileAccess::Private && S_ISLNK(st.st_mode))) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return false;
  }

  // A hidden name of this process's own, beside the file: a rename within one folder
  // is one step, and a leftover of a killed run is never taken for the file.
  RemoveWorkFilesOfEndedProcesses(target);
  const std::string temp = WorkFileFor(target, "tmp");
  const mode_t mode = access == FileAccess::Private ? 0600 : 0666;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
  // A folder that takes no new files, holding a file we may write: written in place,
  // as before there was a better way. Never a private file: in place follows a link.
  if (fd < 0 && errno == EACCES && exists && access == FileAccess::Shared) return RewriteInPlace(target, data);
  if (fd < 0) return false;
  bool ok = true;
  // The new file keeps the old one's permissions (fchmod is not cut by the umask) and,
  // as far as this user may give it, its group, so that a shared folder stays shared.
  if (access == FileAccess::Private) {
    ok = ::fchmod(fd, 0600) == 0;
  } else if (exists) {
    // Refused for a group that is not this user's: the file then has the user's own,
    // as any new file would.
    [[maybe_unused]] const int owned = ::fchown(fd, ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid);
    ok = ::fchmod(fd, st.st_mode & 07777) == 0;
  }
  ok = ok && WriteFd(fd, data) && ::fsync(fd) == 0;
  // close can report a delayed write error (NFS): it counts as a failure.
  if (::close(fd) != 0) ok = false;
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    const int why = errno;  // the caller reports it, not the clearing up
    ::unlink(temp.c_str());
    errno = why;
    return false;
  }
  SyncFolderOf(target);
  return true;
}

namespace {

// This computer's name in work files: a shared folder holds other computers' too, whose
// processes this one cannot see.
const std::string& ThisHost() {
  static const std::string host = [] {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    std::string h = name;
    std::replace(h.begin(), h.end(), '/', '_');
    return h;
  }();
  return host;
}

}  // namespace

std::string WorkFileFor(const std::string& path, const std::string& what) {
  static std::atomic<unsigned> serial{0};
  return ExtractFilePath(path) + "." + ExtractFileName(path) + "." + what + "-" + ThisHost() + "-" +
         std::to_string(::getpid()) + "-" + std::to_string(serial++);
}

void RemoveWorkFilesOfEndedProcesses(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  const std::string prefix = "." + ExtractFileName(path) + ".";
  for (const std::string& name : ListFiles(folder.empty() ? "./" : folder, prefix + "*")) {
    // ".<name>.<what>-<host>-<pid>-<n>", made on this computer by a process now gone.
    for (const char* what : {"tmp-", "new-"}) {
      const std::string mine = prefix + what + ThisHost() + "-";
      if (name.compare(0, mine.size(), mine) != 0) continue;
      const size_t end = name.find('-', mine.size());
      const std::string pid = name.substr(mine.size(), end == std::string::npos ? end : end - mine.size());
      if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) continue;
      if (::kill(static_cast<pid_t>(std::stol(pid)), 0) != 0 && errno == ESRCH) ::unlink((folder + name).c_str());
    }
  }
}

bool AppendToFile(const std::string& path, const std::string& data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteFd(fd, data) && ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool CopyFileOverwrite(const std::string& from, const std::string& to, FileAccess access) {
  std::string data;
  return ReadWholeFile(from, data) && WriteWholeFile(to, data, access);
}

bool DeleteFileAt(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

bool RenameFileAt(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  // The file system cannot rename without replacing: a hard link fails on an
  // existing target just the same.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return true;
    ::unlink(to.c_str());
    return false;
  }
  if (errno == EEXIST) return false;
  // No hard links either (FAT, some network shares, or a folder): check, then
  // rename. Not atomic, but the best such a file system offers.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0 || errno != ENOENT) return false;
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool ReplaceFileAt(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty() || ::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncFolderOf(to);
  return true;
}

bool MoveFileAt(const std::string& from, const std::string& to) {
  if (RenameFileAt(from, to)) return true;
  // Another file system (or two mounts of one, which refuse a rename too): copied over.
  struct stat existing {};
  if (!FileExists(from) || ::lstat(to.c_str(), &existing) == 0 || errno != ENOENT) return false;
  std::string data;
  if (!ReadWholeFile(from, data) || !WriteWholeFile(to, data)) return false;
  if (DeleteFileAt(from)) return true;
  DeleteFileAt(to);
  return false;
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (DirectoryExists(p)) return true;
  for (size_t pos = p.find('/', 1);; pos = p.find('/', pos + 1)) {
    std::string part = p.substr(0, pos);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    if (pos == std::string::npos) break;
  }
  return DirectoryExists(p);
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  std::string dir = IncludeTrailingSlash(folder.empty() ? std::string(".") : folder);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || !MatchesWildcard(name, pattern)) continue;
    // d_type is not filled in on every file system, and links should count as
    // what they point to.
    if (e->d_type != DT_REG && !FileExists(dir + name)) continue;
    names.push_back(std::move(name));
  }
  ::closedir(d);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    auto less = [](char x, char y) {
      return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
    return a < b;
  });
  return names;
}

bool MatchesWildcard(const std::string& name, const std::string& pattern) {
  // "*.*" matches every name, with or without a dot, as it does on Windows.
  if (pattern == "*.*") return true;
  // Greedy match remembering the last "*": linear for one star, never exponential.
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFilePath(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string IncludeTrailingSlash(const std::string& folder) {
  // An empty folder stays empty rather than becoming the file system's root.
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + '/';
}

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool IsRelativePath(const std::string& path) { return path.empty() || path[0] != '/'; }

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || !IsRelativePath(path)) return path;
  char* cwd = ::getcwd(nullptr, 0);
  if (!cwd) return path;
  std::string base = cwd;
  std::free(cwd);
  std::vector<std::string> parts;
  auto split = [&parts](const std::string& text) {
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t end = text.find('/', pos);
      if (end == std::string::npos) end = text.size();
      const std::string part = text.substr(pos, end - pos);
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      pos = end + 1;
    }
  };
  split(base);
  split(path);
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  if (out.empty()) out = "/";
  if (path.back() == '/' && out.back() != '/') out += '/';
  return out;
}

std::string CanonicalPath(const std::string& path) {
  char* real = path.empty() ? nullptr : ::realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string out = real;
  std::free(real);
  if (path.back() == '/' && out.back() != '/') out += '/';
  return out;
}

}  // namespace tb
