#include "support/HelperScriptServer.h"

#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "support/SmtpTestServer.h"

namespace tb::test {

HelperScriptServer::HelperScriptServer(bool tls, std::string password) : tls_(tls) {
  const std::string store = dir_ / "store";
  mkdir(store.c_str(), 0700);
  std::vector<std::string> args = {"--record", dir_ / "record.jsonl", "--store", store, "--password", password};
  if (tls) args.insert(args.end(), {"--cert", TestCertificate(), "--key", TestKey()});
  process_.emplace("helper_script_server.py", args, dir_ / "server.log");
}

int HelperScriptServer::Port() const { return process_ ? process_->Port() : 0; }

std::string HelperScriptServer::Url(const std::string& path) const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(Port()) + path;
}

std::string HelperScriptServer::Log() const { return dir_.Read("server.log"); }

std::vector<nlohmann::json> HelperScriptServer::Requests() const {
  return ReadRecords(dir_ / "record.jsonl", "helper script test server");
}

std::vector<std::pair<std::string, std::string>> HelperScriptServer::Headers(size_t i) const {
  std::vector<std::pair<std::string, std::string>> headers;
  const std::vector<nlohmann::json> requests = Requests();
  if (i < requests.size())
    for (const nlohmann::json& h : requests[i]["headers"]) headers.emplace_back(h[0], h[1]);
  return headers;
}

std::optional<std::string> HelperScriptServer::Header(size_t i, const std::string& name) const {
  for (const auto& [key, value] : Headers(i))
    if (key == name) return value;
  return std::nullopt;
}

size_t HelperScriptServer::Uploads(const std::string& name) const {
  size_t n = 0;
  for (size_t i = 0; i < Requests().size(); ++i) n += Header(i, "XHRFN") == name;
  return n;
}

std::optional<std::string> HelperScriptServer::Stored(const std::string& name) const {
  std::string bytes;
  if (!ReadWholeFile(dir_ / ("store/" + name), bytes)) return std::nullopt;
  return bytes;
}

}  // namespace tb::test
