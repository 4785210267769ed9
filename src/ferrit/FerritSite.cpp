#include "ferrit/FerritSite.h"

#include <cctype>

#include "platform/Cp1252.h"
#include "platform/Escape.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "platform/Registry.h"

namespace tb {

namespace {

std::string SiteKey(const std::string& site) { return "Software\\Orvane\\Ferrit\\" + site; }

// A name, an IPv4 address or a bracketed IPv6 one: nothing that could carry a login,
// a port or a path into the address.
bool ValidHost(const std::string& host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    for (size_t i = 1; i + 1 < host.size(); ++i)
      if (!std::isxdigit(static_cast<unsigned char>(host[i])) && host[i] != ':' && host[i] != '.') return false;
    return true;
  }
  if (host.empty()) return false;
  for (unsigned char c : host)
    if (!std::isalnum(c) && c != '.' && c != '-') return false;
  return true;
}

// The port as a dword or as a text of digits; 21 when there is none, nullopt when the
// value is there but no port.
std::optional<long> ReadPort(const RegistryStore& registry, const std::string& key) {
  std::string digits;
  if (const std::optional<uint32_t> dword = registry.ReadDword(key, "Port")) {
    digits = std::to_string(*dword);
  } else if (const std::optional<std::string> text = registry.ReadString(key, "Port")) {
    digits = *text;
  } else {
    for (const std::string& name : registry.ValueNames(key))
      if (CompareText1252(name, "Port") == 0) return std::nullopt;
    return 21L;
  }
  long port = 0;
  for (unsigned char c : digits) {
    if (!std::isdigit(c) || port > 65535) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

// The folders of a remote path as the URL has them, each percent-encoded.
std::string UrlFolders(const std::string& path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) out += PercentEncode(path.substr(start, end - start)) + "/";
    start = end + 1;
  }
  return out;
}

}  // namespace

std::optional<FerritSite> ReadFerritSite(const RegistryStore& registry, const std::string& site,
                                         std::string& problem) {
  const std::string key = SiteKey(site);
  // A backslash would name another site's key.
  if (site.find('\\') != std::string::npos || !registry.KeyExists(key)) {
    problem = "No Ferrit site named " + site;
    return std::nullopt;
  }
  const auto text = [&](const char* name) { return Cp1252ToUtf8(registry.ReadString(key, name).value_or("")); };
  FerritSite s;
  s.host = text("Host");
  if (!ValidHost(s.host)) {
    problem = s.host.empty() ? "No Host in Ferrit site " + site : "Host not valid in Ferrit site " + site;
    return std::nullopt;
  }
  const std::optional<long> port = ReadPort(registry, key);
  if (!port) {
    problem = "Port not valid in Ferrit site " + site;
    return std::nullopt;
  }
  s.port = *port;
  s.user = text("User");
  s.password = text("Password");
  s.remoteFolder = NativePath(text("RDir"));
  const std::string local = registry.ReadString(key, "LDir").value_or("");
  if (!local.empty()) s.localFolder = IncludeTrailingSlash(NativePath(PathFromText(local)));
  return s;
}

FtpTarget FerritTarget(const FerritSite& site, const std::string& localPath) {
  FtpTarget t;
  t.name = ExtractFileName(localPath);
  t.user = site.user;
  t.password = site.password;
  std::string below;
  if (!site.localFolder.empty()) {
    // Compared as the file system resolves them, so "x/../" or a linked folder still match.
    const std::string local = CanonicalPath(site.localFolder);
    const std::string folder = CanonicalPath(ExtractFilePath(localPath));
    if (local.size() <= folder.size() && folder.compare(0, local.size(), local) == 0)
      below = folder.substr(local.size());
  }
  std::string folders = UrlFolders(site.remoteFolder) + UrlFolders(below);
  // "%2F" first makes curl start from the server's root rather than the login folder.
  if (!site.remoteFolder.empty() && site.remoteFolder.front() == '/') folders = "%2F/" + folders;
  t.folderUrl = "ftp://" + site.host + ":" + std::to_string(site.port) + "/" + folders;
  return t;
}

std::string FtpTargetUrl(const FtpTarget& target) { return target.folderUrl + PercentEncode(target.name); }

}  // namespace tb
