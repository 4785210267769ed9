#include "store/ScrambledPassword.h"

#include <string_view>

namespace tb {

namespace {

// Chosen once; the configuration program writes with the same key.
constexpr char kKey[] = "K7qZ2mXw9RbT4fLd";
constexpr size_t kKeySize = 16;
static_assert(sizeof kKey == kKeySize + 1);

// The key turned once: its last character moves to the front.
void Rotate(std::string& key) { key = key.back() + key.substr(0, key.size() - 1); }

}  // namespace

std::string DescramblePassword(const std::string& stored) {
  std::string digits;
  for (const char c : stored)
    if (std::string_view(kKey, kKeySize).find(c) != std::string_view::npos) digits += c;
  if (digits.empty()) return {};
  if (digits.size() % 2 != 0) return std::string(1, '\x01');
  std::string key(kKey, kKeySize), out;
  for (size_t i = 0; i < digits.size(); i += 2) {
    const size_t low = key.find(digits[i]);
    Rotate(key);
    const size_t high = key.find(digits[i + 1]);
    Rotate(key);
    out += static_cast<char>((high << 4) | low);
  }
  return out;
}

std::string ScramblePassword(const std::string& password) {
  std::string key(kKey, kKeySize), out;
  for (const char ch : password) {
    const auto c = static_cast<unsigned char>(ch);
    out += key[c & 0x0F];
    Rotate(key);
    out += key[c >> 4];
    Rotate(key);
  }
  return out;
}

}  // namespace tb
