#include "platform/SharedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace tb {

namespace {

std::string ErrorString(int err) {
  char buf[256];
  // GNU strerror_r returns the text, which may or may not live in buf.
  return strerror_r(err, buf, sizeof buf);
}

// Non-blocking OFD write lock on the lock byte. Classic POSIX locks would be
// dropped as soon as any other descriptor on the file is closed, and would not
// conflict between two opens in one process.
int TakeLock(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = SharedFile::kLockOffset;
  fl.l_len = 1;
  fl.l_pid = 0;  // must be 0 for OFD locks
  if (fcntl(fd, F_OFD_SETLK, &fl) == 0) return 0;
  return errno;
}

}  // namespace

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

SharedFile::Result SharedFile::CreateDenyWriters(const std::string& path) {
  // No O_TRUNC here: the file may be held by another writer, so it is emptied only
  // once the lock is ours.
  return OpenWith(path, O_RDWR | O_CREAT, true);
}

SharedFile::Result SharedFile::OpenReadShareAll(const std::string& path) {
  return OpenWith(path, O_RDONLY, false);
}

SharedFile::Result SharedFile::OpenWith(const std::string& path, int flags, bool lock) {
  Close();
  path_ = path;
  error_.clear();
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) {
    int err = errno;
    error_ = ErrorString(err);
    return err == ENOENT ? Result::NotFound : Result::Failed;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error_ = ErrorString(EISDIR);
    return Result::Failed;
  }
  if (lock) {
    int err = TakeLock(fd);
    if (err != 0) {
      ::close(fd);
      error_ = ErrorString(err);
      return (err == EAGAIN || err == EACCES) ? Result::Locked : Result::Failed;
    }
    if ((flags & O_CREAT) && ftruncate(fd, 0) != 0) {
      error_ = ErrorString(errno);
      ::close(fd);  // also drops the lock
      return Result::Failed;
    }
  }
  fd_ = fd;
  readOnly_ = (flags & O_ACCMODE) == O_RDONLY;
  return Result::Ok;
}

int64_t SharedFile::Size() {
  if (fd_ < 0) return -1;
  struct stat st {};
  if (fstat(fd_, &st) != 0) {
    error_ = ErrorString(errno);
    return -1;
  }
  return st.st_size;
}

bool SharedFile::ReadAll(std::string& out) {
  out.clear();
  if (fd_ < 0) {
    error_ = ErrorString(EBADF);
    return false;
  }
  int64_t size = Size();
  if (size < 0) return false;
  // The size is a hint: the file may grow or shrink under a reader, so read until
  // end of file rather than trusting it.
  std::string buf(static_cast<size_t>(size) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == buf.size()) buf.resize(buf.size() * 2 + 4096);
    ssize_t n = ::pread(fd_, buf.data() + have, buf.size() - have, static_cast<off_t>(have));
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = ErrorString(errno);
      return false;
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
  }
  buf.resize(have);
  out = std::move(buf);
  return true;
}

bool SharedFile::WriteAt(int64_t offset, const void* data, size_t size, size_t& written) {
  written = 0;
  if (fd_ < 0 || readOnly_) {
    error_ = ErrorString(EBADF);
    return false;
  }
  if (offset < 0) {
    error_ = ErrorString(EINVAL);
    return false;
  }
  const char* p = static_cast<const char*>(data);
  while (written < size) {
    ssize_t n = ::pwrite(fd_, p + written, size - written, static_cast<off_t>(offset + written));
    if (n < 0) {
      // EIO here may mean the lock was lost (NFS): never retry, report it.
      if (errno == EINTR) continue;
      error_ = ErrorString(errno);
      return false;
    }
    if (n == 0) {
      error_ = ErrorString(ENOSPC);
      return false;
    }
    written += static_cast<size_t>(n);
  }
  return true;
}

bool SharedFile::Append(const void* data, size_t size) {
  int64_t end = Size();
  if (end < 0) return false;
  size_t written = 0;
  return WriteAt(end, data, size, written);
}

bool SharedFile::Truncate(int64_t size) {
  if (fd_ < 0 || readOnly_) {
    error_ = ErrorString(EBADF);
    return false;
  }
  if (ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    error_ = ErrorString(errno);
    return false;
  }
  return true;
}

bool SharedFile::Sync() {
  if (fd_ < 0) {
    error_ = ErrorString(EBADF);
    return false;
  }
  if (fsync(fd_) != 0) {
    error_ = ErrorString(errno);
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
