#pragma once
// The SMTP password as the settings file stores it ("ePC"): scrambled, two characters
// of a 16-character key per byte, so that it does not stand there in clear. Not
// encryption: anyone with the program can read it back; the file stays private.

#include <string>

namespace tb {

// The password from its stored form. Characters outside the key are ignored; an odd
// number of key characters gives the one-character password "\x01" (set, but wrong).
std::string DescramblePassword(const std::string& stored);
// The stored form of a password (DescramblePassword's inverse).
std::string ScramblePassword(const std::string& password);

}  // namespace tb
