#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tb::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "tenbrook-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& rel, const std::string& content) const {
  std::filesystem::path p = path_ + rel;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << content;
  return p.string();
}

std::string TempDir::Read(const std::string& rel) const {
  std::ifstream in(path_ + rel, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace tb::test
