#pragma once
// A file nobody can change or delete while the object lives, not even through a handle
// already open on it (the file system's immutable flag): how a test makes a write or a
// delete fail the way a full disk, a lost share or a locked file would.

#include <string>

namespace tb::test {

class Frozen {
 public:
  explicit Frozen(std::string path);
  ~Frozen();
  Frozen(const Frozen&) = delete;
  Frozen& operator=(const Frozen&) = delete;
  // False where the system does not allow it (not root, or a file system without the
  // flag): the test should then skip.
  bool Ok() const { return ok_; }
  void Thaw();

 private:
  std::string path_;
  bool ok_ = false;
};

}  // namespace tb::test
