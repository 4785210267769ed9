#pragma once
// Files opened with the share modes the data files rely on. Linux has no deny-write
// open, so "deny writers" is cooperative: the holder takes an open-file-description
// write lock on one byte far past any real end of file. OFD locks belong to the open
// file, survive other descriptors on the same file being closed, and work between
// processes (and over NFS). Readers take no such lock and are never shut out.
//
// A file held for writing is replaced whole so that a reader, or the next holder after
// a crash at any instant, finds the old content or the new and never a part: the new
// image is first written beside the file as its journal (".<name>.journal": a header
// with the image's length and checksum, then the image) and flushed; then it is
// written over the file, which is flushed; then the journal goes. The file itself is
// never renamed (its lock would stay with the old file). Whoever next holds the file
// finishes a complete journal left by a crash, or drops an incomplete one; a reader
// that finds a complete journal reads the new image from it. While the holder writes
// over the file it holds a second byte exclusively, which readers hold shared while
// they read, so a reader never reads a file half written.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/FileSystem.h"

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

  // Existing file, read and write, other writers denied. A journal a crash left is
  // finished (or dropped) first.
  Result OpenReadWriteDenyWriters(const std::string& path);
  // The same, making an empty file when there is none (for logs that are appended to;
  // never empties a file that is there). A private file is made with mode 0600, and
  // a link in its place is refused rather than followed.
  Result OpenOrCreateDenyWriters(const std::string& path, FileAccess access = FileAccess::Shared);
  // A new file with `image` as its whole content, held as above. It appears complete
  // or not at all; Locked when a file of that name is already there.
  Result CreateDenyWriters(const std::string& path, const std::string& image);
  // Existing file, read only, sharing everything.
  Result OpenReadShareAll(const std::string& path);

  bool IsOpen() const { return fd_ >= 0; }
  bool IsReadOnly() const { return readOnly_; }
  const std::string& Path() const { return path_; }
  // The system's text for the last failure ("Permission denied", ...).
  const std::string& ErrorText() const { return error_; }

  int64_t Size();
  // The whole file from offset 0; for a reader, as its holder last replaced it whole.
  bool ReadAll(std::string& out);
  // Replaces the whole content (held for writing only), journaled as above; flushed
  // before it returns true. written = the bytes of the image that reached the file
  // (0 when the journal could not be written). On a failure the old content stays.
  bool Replace(const std::string& image, size_t& written);
  // Appends bytes to a held log and flushes them. A tail that is not a whole record
  // (an append cut short by a crash) is cut off first: wholePrefix(content) gives the
  // length of the whole records at the start of the content.
  bool AppendRecords(const std::string& bytes, const std::function<size_t(const std::string&)>& wholePrefix);
  // Appends a text line to a held text log and flushes it; a line cut short by a crash
  // is ended first, so that the new one starts on a line of its own.
  bool AppendLine(const std::string& line);
  bool Sync();  // fsync: on disk before success is reported
  void Close();

  // The lock byte, far past any real data, and the byte held while a holder writes.
  static constexpr int64_t kLockOffset = int64_t{1} << 62;
  static constexpr int64_t kWriteOffset = kLockOffset + 1;
  // The journal of a file, and what a journal holds for an image.
  static std::string JournalPath(const std::string& path);
  static std::string JournalOf(const std::string& image);

 private:
  Result OpenWith(const std::string& path, int flags, bool lock, int mode = 0666);
  bool ReadRaw(std::string& out);
  // False on a failure; `touched` tells whether the file was changed at all.
  bool WriteOver(const std::string& image, size_t& written, bool& touched);
  void FinishJournal();
  int fd_ = -1;
  bool readOnly_ = false;
  std::string path_;
  std::string error_;
};

}  // namespace tb
