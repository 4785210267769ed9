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

// This process's memory and the machine's, in KiB (0 where the system does not say).
struct MemoryFigures {
  long long resident = 0, residentPeak = 0, virtualSize = 0, virtualPeak = 0;
  long long machineTotal = 0, machineAvailable = 0;
};
MemoryFigures ReadMemoryFigures();
// The same from the texts of /proc/self/status and /proc/meminfo.
MemoryFigures ParseMemoryFigures(const std::string& status, const std::string& meminfo);

}  // namespace tb
