#include "support/Frozen.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tb::test {

namespace {

bool SetImmutable(const std::string& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}

}  // namespace

Frozen::Frozen(std::string path) : path_(std::move(path)) { ok_ = SetImmutable(path_, true); }

Frozen::~Frozen() { Thaw(); }

void Frozen::Thaw() {
  if (ok_) SetImmutable(path_, false);
  ok_ = false;
}

}  // namespace tb::test
