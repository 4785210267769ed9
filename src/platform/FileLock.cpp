#include "platform/FileLock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tb {

namespace {

bool LockByte(int fd, short type, bool wait, off_t at = 0) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = at;
  fl.l_len = 1;
  while (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

std::string LockPathFor(const std::string& folder, const std::string& what) {
  if (folder.empty()) return {};
  uint64_t h = 14695981039346656037ull;  // FNV-1a: stable, unlike std::hash
  for (const char c : what) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char name[32];
  std::snprintf(name, sizeof name, "lock-%016llx", static_cast<unsigned long long>(h));
  return folder + name;
}

FileLock::FileLock(const std::string& path) {
  // Holds no data: every user sharing the locked file must be able to open it.
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ >= 0 && !LockByte(fd_, F_WRLCK, true)) {
    ::close(fd_);
    fd_ = -1;
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

OwnerMark::~OwnerMark() { Release(); }

OwnerMark::OwnerMark(OwnerMark&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

OwnerMark& OwnerMark::operator=(OwnerMark&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool OwnerMark::Hold(const std::string& path) {
  Release();
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return false;
  for (off_t place = 0; place < kPlaces; ++place)
    if (LockByte(fd_, F_WRLCK, false, place)) return true;
  Release();
  return false;
}

void OwnerMark::Release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int OwnerMark::Holders(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  int holders = 0;
  for (off_t place = 0; place < kPlaces; ++place) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = place;
    fl.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK) ++holders;
  }
  ::close(fd);
  return holders;
}

}  // namespace tb
