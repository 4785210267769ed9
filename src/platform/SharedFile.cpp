#include "platform/SharedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/FileSystem.h"

namespace tb {

namespace {

// An OFD lock on one byte. Classic POSIX locks would be dropped as soon as any other
// descriptor on the file is closed, and would not conflict between two opens in one
// process. 0 or the error.
int LockByte(int fd, int64_t at, short type, bool wait) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = at;
  fl.l_len = 1;
  fl.l_pid = 0;  // must be 0 for OFD locks
  while (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
    if (errno != EINTR || !wait) return errno;
  }
  return 0;
}

void UnlockByte(int fd, int64_t at) { LockByte(fd, at, F_UNLCK, false); }

// Holds a byte while it lives.
class ByteLock {
 public:
  ByteLock(int fd, int64_t at, short type) : fd_(fd), at_(at) { held_ = LockByte(fd, at, type, true) == 0; }
  ~ByteLock() {
    if (held_) UnlockByte(fd_, at_);
  }
  ByteLock(const ByteLock&) = delete;
  ByteLock& operator=(const ByteLock&) = delete;

 private:
  int fd_;
  int64_t at_;
  bool held_ = false;
};

bool WriteAllAt(int fd, const char* data, size_t size, int64_t offset, size_t& written) {
  written = 0;
  while (written < size) {
    ssize_t n = ::pwrite(fd, data + written, size - written, static_cast<off_t>(offset) + static_cast<off_t>(written));
    if (n < 0) {
      // EIO here may mean the lock was lost (NFS): never retry, report it.
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

bool ReadAllFd(int fd, std::string& out) {
  out.clear();
  struct stat st {};
  if (fstat(fd, &st) != 0) return false;
  // The size is a hint: the file may grow or shrink under a reader, so read until end
  // of file rather than trusting it.
  std::string buf(static_cast<size_t>(st.st_size) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == buf.size()) buf.resize(buf.size() * 2 + 4096);
    ssize_t n = ::pread(fd, buf.data() + have, buf.size() - have, static_cast<off_t>(have));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
  }
  buf.resize(have);
  out = std::move(buf);
  return true;
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

// Journal: "TBJ1", the image's length and checksum (64 bits each, little-endian), the image.
constexpr char kJournalMagic[4] = {'T', 'B', 'J', '1'};
constexpr size_t kJournalHeader = 20;

uint64_t Checksum(const char* data, size_t size) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (size_t i = 0; i < size; ++i) h = (h ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
  return h;
}

void PutU64(std::string& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t GetU64(const std::string& in, size_t at) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= uint64_t{static_cast<unsigned char>(in[at + static_cast<size_t>(i)])} << (8 * i);
  return v;
}

// The image of a complete journal; false for an incomplete one or none.
bool ReadJournal(const std::string& journal, std::string& image) {
  std::string data;
  const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool read = ReadAllFd(fd, data);
  ::close(fd);
  if (!read || data.size() < kJournalHeader || std::memcmp(data.data(), kJournalMagic, sizeof kJournalMagic) != 0)
    return false;
  const uint64_t size = GetU64(data, 4);
  if (size != data.size() - kJournalHeader) return false;
  if (Checksum(data.data() + kJournalHeader, data.size() - kJournalHeader) != GetU64(data, 12)) return false;
  image = data.substr(kJournalHeader);
  return true;
}

}  // namespace

std::string SharedFile::JournalOf(const std::string& image) {
  std::string j(kJournalMagic, sizeof kJournalMagic);
  PutU64(j, image.size());
  PutU64(j, Checksum(image.data(), image.size()));
  return j + image;
}

std::string SharedFile::JournalPath(const std::string& path) {
  return ExtractFilePath(path) + "." + ExtractFileName(path) + ".journal";
}

SharedFile::~SharedFile() { Close(); }

SharedFile::SharedFile(SharedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      readOnly_(other.readOnly_),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)) {}

SharedFile& SharedFile::operator=(SharedFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    readOnly_ = other.readOnly_;
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
  }
  return *this;
}

SharedFile::Result SharedFile::OpenReadWriteDenyWriters(const std::string& path) {
  return OpenWith(path, O_RDWR, true);
}

SharedFile::Result SharedFile::OpenOrCreateDenyWriters(const std::string& path, FileAccess access) {
  if (access == FileAccess::Private) return OpenWith(path, O_RDWR | O_CREAT | O_NOFOLLOW, true, 0600);
  return OpenWith(path, O_RDWR | O_CREAT, true);
}

SharedFile::Result SharedFile::OpenReadShareAll(const std::string& path) { return OpenWith(path, O_RDONLY, false); }

SharedFile::Result SharedFile::CreateDenyWriters(const std::string& path, const std::string& image) {
  Close();
  path_ = path;
  error_.clear();
  // Made whole under a name of its own, held, and only then given its name: a reader
  // or a crash never meets it half written, and the lock comes along with the file.
  RemoveWorkFilesOfEndedProcesses(path);
  const std::string temp = WorkFileFor(path, "new");
  int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int err = errno;
    error_ = SystemErrorText(err);
    return err == ENOENT ? Result::NotFound : Result::Failed;
  }
  size_t written = 0;
  int err = LockByte(fd, kLockOffset, F_WRLCK, false);
  if (err == 0 && (!WriteAllAt(fd, image.data(), image.size(), 0, written) || ::fsync(fd) != 0)) err = errno;
  if (err == 0 && !RenameFileAt(temp, path)) err = FileExists(path) ? EEXIST : (errno ? errno : EIO);
  if (err != 0) {
    error_ = SystemErrorText(err);
    ::close(fd);
    ::unlink(temp.c_str());
    return err == EEXIST ? Result::Locked : Result::Failed;
  }
  SyncFolderOf(path);
  fd_ = fd;
  readOnly_ = false;
  return Result::Ok;
}

SharedFile::Result SharedFile::OpenWith(const std::string& path, int flags, bool lock, int mode) {
  Close();
  path_ = path;
  error_.clear();
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
  if (fd < 0) {
    int err = errno;
    error_ = SystemErrorText(err);
    return err == ENOENT ? Result::NotFound : Result::Failed;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error_ = SystemErrorText(EISDIR);
    return Result::Failed;
  }
  if (lock) {
    int err = LockByte(fd, kLockOffset, F_WRLCK, false);
    if (err != 0) {
      ::close(fd);
      error_ = SystemErrorText(err);
      return (err == EAGAIN || err == EACCES) ? Result::Locked : Result::Failed;
    }
  }
  fd_ = fd;
  readOnly_ = (flags & O_ACCMODE) == O_RDONLY;
  if (lock) FinishJournal();
  return Result::Ok;
}

// A journal left by a holder that ended in the middle of a replace: complete, its image
// is written over the file (the replace is finished); incomplete, the file was not
// touched yet and the journal goes.
void SharedFile::FinishJournal() {
  const std::string journal = JournalPath(path_);
  if (::access(journal.c_str(), F_OK) != 0) return;
  std::string image;
  size_t written = 0;
  bool touched = false;
  if (ReadJournal(journal, image) && !WriteOver(image, written, touched)) return;  // kept for the next holder
  ::unlink(journal.c_str());
  SyncFolderOf(path_);
}

int64_t SharedFile::Size() {
  if (fd_ < 0) return -1;
  struct stat st {};
  if (fstat(fd_, &st) != 0) {
    error_ = SystemErrorText(errno);
    return -1;
  }
  return st.st_size;
}

bool SharedFile::ReadRaw(std::string& out) {
  if (fd_ < 0) {
    error_ = SystemErrorText(EBADF);
    return false;
  }
  if (!ReadAllFd(fd_, out)) {
    error_ = SystemErrorText(errno);
    return false;
  }
  return true;
}

bool SharedFile::ReadAll(std::string& out) {
  out.clear();
  // The holder reads its own file: it finished any journal when it took the file.
  if (fd_ >= 0 && !readOnly_) return ReadRaw(out);
  // A reader waits while a holder writes over the file, and takes a complete journal's
  // image: the file may be half written by a holder that ended.
  ByteLock reading(fd_, kWriteOffset, F_RDLCK);
  if (fd_ >= 0 && ReadJournal(JournalPath(path_), out)) return true;
  return ReadRaw(out);
}

bool SharedFile::WriteOver(const std::string& image, size_t& written, bool& touched) {
  ByteLock writing(fd_, kWriteOffset, F_WRLCK);
  // The image first, then the stale tail cut, so the file never shrinks to nothing on
  // the way.
  touched = false;
  const bool wrote = WriteAllAt(fd_, image.data(), image.size(), 0, written);
  touched = written > 0;
  if (!wrote) {
    error_ = SystemErrorText(errno);
    return false;
  }
  touched = true;
  if (ftruncate(fd_, static_cast<off_t>(image.size())) != 0 || fsync(fd_) != 0) {
    error_ = SystemErrorText(errno);
    return false;
  }
  return true;
}

bool SharedFile::Replace(const std::string& image, size_t& written) {
  written = 0;
  if (fd_ < 0 || readOnly_) {
    error_ = SystemErrorText(EBADF);
    return false;
  }
  std::string before;
  if (!ReadRaw(before)) return false;
  // The journal, complete and on disk, before the file is touched.
  const std::string journal = JournalPath(path_);
  const int j = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (j < 0) {
    error_ = SystemErrorText(errno);
    return false;
  }
  struct stat st {};
  if (fstat(fd_, &st) == 0) fchmod(j, st.st_mode & 0777);  // as private as the file it stands for
  size_t journalled = 0;
  const std::string entry = JournalOf(image);
  bool ok = WriteAllAt(j, entry.data(), entry.size(), 0, journalled) && ::fsync(j) == 0;
  if (!ok) error_ = SystemErrorText(errno);
  if (::close(j) != 0 && ok) {
    ok = false;
    error_ = SystemErrorText(errno);
  }
  if (!ok) {
    ::unlink(journal.c_str());
    return false;
  }
  SyncFolderOf(path_);
  bool touched = false;
  if (!WriteOver(image, written, touched)) {
    // The old content goes back (it fits: the file held it), then the journal goes.
    // When even that fails the journal stays: the next holder finishes the replace,
    // rather than anyone reading a file half written.
    size_t restored = 0;
    const std::string reason = error_;
    if (!touched || WriteOver(before, restored, touched)) {
      ::unlink(journal.c_str());
      SyncFolderOf(path_);
    }
    error_ = reason;
    return false;
  }
  ::unlink(journal.c_str());
  SyncFolderOf(path_);
  return true;
}

bool SharedFile::AppendRecords(const std::string& bytes,
                               const std::function<size_t(const std::string&)>& wholePrefix) {
  if (fd_ < 0 || readOnly_) {
    error_ = SystemErrorText(EBADF);
    return false;
  }
  std::string content;
  if (!ReadRaw(content)) return false;
  const size_t whole = wholePrefix(content);
  size_t written = 0;
  ByteLock writing(fd_, kWriteOffset, F_WRLCK);
  if ((whole < content.size() && ftruncate(fd_, static_cast<off_t>(whole)) != 0) ||
      !WriteAllAt(fd_, bytes.data(), bytes.size(), static_cast<int64_t>(whole), written) || fsync(fd_) != 0) {
    error_ = SystemErrorText(errno);
    return false;
  }
  return true;
}

bool SharedFile::AppendLine(const std::string& line) {
  const int64_t size = Size();
  if (size < 0 || readOnly_) {
    if (readOnly_) error_ = SystemErrorText(EBADF);
    return false;
  }
  char last = '\n';
  if (size > 0 && ::pread(fd_, &last, 1, static_cast<off_t>(size - 1)) != 1) {
    error_ = SystemErrorText(errno);
    return false;
  }
  const std::string bytes = last == '\n' ? line : "\r\n" + line;
  size_t written = 0;
  if (!WriteAllAt(fd_, bytes.data(), bytes.size(), size, written) || fsync(fd_) != 0) {
    error_ = SystemErrorText(errno);
    return false;
  }
  return true;
}

bool SharedFile::Sync() {
  if (fd_ < 0) {
    error_ = SystemErrorText(EBADF);
    return false;
  }
  if (fsync(fd_) != 0) {
    error_ = SystemErrorText(errno);
    return false;
  }
  return true;
}

void SharedFile::Close() {
  if (fd_ >= 0) {
    ::close(fd_);  // closing the last descriptor of the description releases the lock
    fd_ = -1;
  }
  readOnly_ = false;
}

}  // namespace tb
