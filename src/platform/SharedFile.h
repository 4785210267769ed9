#pragma once
// Files opened with the share modes the data files rely on. Linux has no deny-write
// open, so "deny writers" is cooperative: the holder takes an open-file-description
// write lock on one byte far past any real end of file. OFD locks belong to the open
// file, survive other descriptors on the same file being closed, and work between
// processes (and over NFS). Readers take no lock and are never blocked.

#include <cstdint>
#include <string>

namespace tb {

class SharedFile {
 public:
  enum class Result { Ok, NotFound, Locked, Failed };

  SharedFile() = default;
  ~SharedFile();
  SharedFile(SharedFile&& other) noexcept;
  SharedFile& operator=(SharedFile&& other) noexcept;
  SharedFile(const SharedFile&) = delete;
  SharedFile& operator=(const SharedFile&) = delete;

  // Existing file, read and write, other writers denied.
  Result OpenReadWriteDenyWriters(const std::string& path);
  // New or emptied file, read and write, other writers denied.
  Result CreateDenyWriters(const std::string& path);
  // Existing file, read only, sharing everything (takes no lock).
  Result OpenReadShareAll(const std::string& path);

  bool IsOpen() const { return fd_ >= 0; }
  bool IsReadOnly() const { return readOnly_; }
  const std::string& Path() const { return path_; }
  // The system's text for the last failure ("Permission denied", ...).
  const std::string& ErrorText() const { return error_; }

  int64_t Size();
  // The whole file from offset 0, in one read where the system allows.
  bool ReadAll(std::string& out);
  // Writes all of data at offset; written = what actually went to the file.
  bool WriteAt(int64_t offset, const void* data, size_t size, size_t& written);
  bool Append(const void* data, size_t size);
  bool Truncate(int64_t size);
  bool Sync();  // fsync: on disk before success is reported
  void Close();

  // The lock byte, far past any real data.
  static constexpr int64_t kLockOffset = int64_t{1} << 62;

 private:
  Result OpenWith(const std::string& path, int flags, bool lock);
  int fd_ = -1;
  bool readOnly_ = false;
  std::string path_;
  std::string error_;
};

}  // namespace tb
