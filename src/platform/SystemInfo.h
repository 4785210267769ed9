#pragma once
// Facts about this machine and this run.

#include <string>
#include <vector>

namespace tb {

std::string ComputerName();  // gethostname, at most 256 characters
std::string UserName();      // the login name, at most 255 characters; "Unknown" when unreadable
// This computer's address on its network: the first IPv4 address, dotted, of an
// interface that is up and is not the loopback; "" when there is none.
std::string LocalIPAddress();
struct InterfaceAddress {
  std::string name;     // "eth0"
  std::string address;  // dotted IPv4
  bool up = false;
  bool loopback = false;
};
// The choice LocalIPAddress makes among the interfaces, in the system's order.
std::string FirstNetworkAddress(const std::vector<InterfaceAddress>& interfaces);
struct OsVersion {
  int major = 0, minor = 0, build = 0;
};
OsVersion KernelVersion();     // from uname: "6.1.0-18-amd64" gives 6, 1, 0
std::string ExecutablePath();  // /proc/self/exe
std::string ExecutableFolder();  // with trailing "/"
std::string TempFolder();      // $TMPDIR or /tmp/, with trailing "/"
// A temporary folder only this user can enter (mode 0700), for safety copies of
// customers' data, locks and sockets: $XDG_RUNTIME_DIR/cotlyn/, else
// $TMPDIR/cotlyn-<uid>/, else the configuration folder's "tmp/". Made when missing; a
// folder another account owns, or one others can enter, is never used.
std::string PrivateTempFolder();
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
