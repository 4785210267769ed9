#pragma once
// Locks on lock files of their own, for files that are replaced whole (a lock on the
// file itself would stay with the old file). Open-file-description locks: they work
// between processes and between two open files of one process, and end with the
// process however it ends.

#include <string>

namespace tb {

// The lock file in `folder` (a private temporary folder) for `what` (a file's path, a
// line): the same name in every copy and version of the program. "" without a folder,
// so that no lock file is ever made in the working folder.
std::string LockPathFor(const std::string& folder, const std::string& what);

// An exclusive lock held while the object lives: serialises a read-change-write of
// one file between running copies. Waits for the holder to finish.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// A mark that its owner is alive, held for as long as the owner runs, so that others
// can tell a live owner from one that is gone. Several owners can share one mark file:
// each holds a byte of its own, so others can count them.
class OwnerMark {
 public:
  OwnerMark() = default;
  ~OwnerMark();
  OwnerMark(OwnerMark&& other) noexcept;
  OwnerMark& operator=(OwnerMark&& other) noexcept;
  OwnerMark(const OwnerMark&) = delete;
  OwnerMark& operator=(const OwnerMark&) = delete;

  // Takes a place in the mark at path (the file is made when missing, readable by this
  // user only).
  bool Hold(const std::string& path);
  void Release();
  bool Held() const { return fd_ >= 0; }
  // How many live owners hold the mark at path.
  static int Holders(const std::string& path);
  static constexpr int kPlaces = 64;

 private:
  int fd_ = -1;
};

}  // namespace tb
