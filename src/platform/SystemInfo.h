#pragma once
// Facts about this machine and this run.

#include <string>

namespace tb {

std::string ComputerName();  // gethostname, at most 256 characters
std::string UserName();      // the login name, at most 255 characters; "Unknown" when unreadable
// The first IPv4 address of this computer's host name, dotted; "" when none.
std::string LocalIPAddress();
struct OsVersion {
  int major = 0, minor = 0, build = 0;
};
OsVersion KernelVersion();     // from uname: "6.1.0-18-amd64" gives 6, 1, 0
std::string ExecutablePath();  // /proc/self/exe
std::string ExecutableFolder();  // with trailing "/"
std::string TempFolder();      // $TMPDIR or /tmp/, with trailing "/"
std::string HomeFolder();      // $HOME with trailing "/"
std::string ConfigFolder();    // $XDG_CONFIG_HOME/Cotlyn/ or ~/.config/Cotlyn/

}  // namespace tb
