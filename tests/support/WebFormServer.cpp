#include "support/WebFormServer.h"

#include "platform/FileSystem.h"

namespace tb::test {

WebFormServer::WebFormServer() {
  WriteWholeFile(dir_ / "routes.json", "{}");
  process_.emplace("web_form_server.py",
                   std::vector<std::string>{"--routes", dir_ / "routes.json", "--record", dir_ / "record.jsonl"},
                   dir_ / "server.log");
}

std::string WebFormServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

void WebFormServer::Serve(const std::string& path, int status, const std::string& body, const std::string& mode,
                          const std::string& location) {
  const std::string file = dir_.Write("answer" + std::to_string(routes_.size()), body);
  routes_[path] = {{"status", status}, {"body", file}, {"mode", mode}, {"location", location}};
  WriteWholeFile(dir_ / "routes.json", routes_.dump());
}

std::vector<nlohmann::json> WebFormServer::Requests() const {
  return ReadRecords(dir_ / "record.jsonl", "web form test server");
}

}  // namespace tb::test
