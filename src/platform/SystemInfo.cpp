#include "platform/SystemInfo.h"

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/stat.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <netdb.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <vector>

#include "platform/FileSystem.h"

namespace tb {

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : fallback;
}

// The user's entry in the password database; false when there is none.
bool OwnPasswdEntry(std::string& name, std::string& home) {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buf(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found) return false;
  name = pw.pw_name ? pw.pw_name : "";
  home = pw.pw_dir ? pw.pw_dir : "";
  return true;
}

}  // namespace

std::string ComputerName() {
  char buf[257] = {};
  if (gethostname(buf, sizeof buf - 1) != 0) return {};
  return buf;
}

std::string UserName() {
  std::string name, home;
  if (!OwnPasswdEntry(name, home) || name.empty()) name = EnvOr("USER", "Unknown");
  return name.substr(0, 255);
}

std::string FirstNetworkAddress(const std::vector<InterfaceAddress>& interfaces) {
  for (const InterfaceAddress& i : interfaces)
    if (i.up && !i.loopback && !i.address.empty() && i.address.compare(0, 4, "127.") != 0) return i.address;
  return {};
}

std::string LocalIPAddress() {
  // Not the host name's address: on Debian that resolves to 127.0.1.1, which is on no
  // network at all.
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::vector<InterfaceAddress> interfaces;
  for (const ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    if (!inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) continue;
    interfaces.push_back({i->ifa_name ? i->ifa_name : "", text, (i->ifa_flags & IFF_UP) != 0,
                          (i->ifa_flags & IFF_LOOPBACK) != 0});
  }
  freeifaddrs(list);
  return FirstNetworkAddress(interfaces);
}

OsVersion KernelVersion() {
  OsVersion v;
  utsname u{};
  if (uname(&u) != 0) return v;
  int* parts[] = {&v.major, &v.minor, &v.build};
  const char* p = u.release;
  for (int* part : parts) {
    if (*p < '0' || *p > '9') break;
    while (*p >= '0' && *p <= '9' && *part < 100000) *part = *part * 10 + (*p++ - '0');
    if (*p != '.') break;
    ++p;
  }
  return v;
}

std::string ExecutablePath() {
  std::vector<char> buf(4096);
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || static_cast<size_t>(n) >= buf.size()) return {};
  return std::string(buf.data(), static_cast<size_t>(n));
}

std::string ExecutableFolder() { return ExtractFilePath(ExecutablePath()); }

std::string TempFolder() { return IncludeTrailingSlash(EnvOr("TMPDIR", "/tmp/")); }

namespace {

// The folder, made when missing, if it is ours alone: a real folder (not a link), owned
// by this user, that nobody else may enter.
bool PrivateFolder(const std::string& folder) {
  if (folder.size() < 2 || folder[0] != '/') return false;
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
    if (errno != ENOENT || !ForceDirectories(ExtractFilePath(path)) || ::mkdir(path.c_str(), 0700) != 0) return false;
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return false;
  return true;
}

}  // namespace

std::string PrivateTempFolder() {
  std::vector<std::string> candidates;
  const std::string runtime = EnvOr("XDG_RUNTIME_DIR", "");
  if (!runtime.empty() && runtime[0] == '/') candidates.push_back(IncludeTrailingSlash(runtime) + "cotlyn/");
  candidates.push_back(TempFolder() + "cotlyn-" + std::to_string(geteuid()) + "/");
  candidates.push_back(ConfigFolder() + "tmp/");
  for (const std::string& folder : candidates)
    if (PrivateFolder(folder)) return folder;
  return {};
}

std::string HomeFolder() {
  std::string home = EnvOr("HOME", "");
  std::string name;
  if (home.empty() && !OwnPasswdEntry(name, home)) home.clear();
  return IncludeTrailingSlash(home.empty() ? std::string("/") : home);
}

std::string ConfigFolder() {
  // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
  std::string xdg = EnvOr("XDG_CONFIG_HOME", "");
  if (!xdg.empty() && xdg[0] == '/') return IncludeTrailingSlash(xdg) + "Cotlyn/";
  return HomeFolder() + ".config/Cotlyn/";
}

namespace {

// The number after "key:" in a /proc text; 0 when the key is missing.
long long ProcValue(const std::string& text, const std::string& key) {
  size_t pos = 0;
  while ((pos = text.find(key + ":", pos)) != std::string::npos) {
    if (pos == 0 || text[pos - 1] == '\n') return std::atoll(text.c_str() + pos + key.size() + 1);
    pos += key.size();
  }
  return 0;
}

std::string ProcText(const char* path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

MemoryFigures ParseMemoryFigures(const std::string& status, const std::string& meminfo) {
  MemoryFigures m;
  m.resident = ProcValue(status, "VmRSS");
  m.residentPeak = ProcValue(status, "VmHWM");
  m.virtualSize = ProcValue(status, "VmSize");
  m.virtualPeak = ProcValue(status, "VmPeak");
  m.machineTotal = ProcValue(meminfo, "MemTotal");
  m.machineAvailable = ProcValue(meminfo, "MemAvailable");
  return m;
}

MemoryFigures ReadMemoryFigures() { return ParseMemoryFigures(ProcText("/proc/self/status"), ProcText("/proc/meminfo")); }

}  // namespace tb
