#pragma once
// A local web site keeping booking forms (tests/support/servers/web_form_server.py),
// run as a child process: canned answers per path, each request recorded.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/TestServerProcess.h"

namespace tb::test {

class WebFormServer {
 public:
  WebFormServer();

  int Port() const { return process_ ? process_->Port() : 0; }
  // The site's address of path ("/forms/" the folder FormData names).
  std::string Url(const std::string& path = "/") const;
  // What the server answers at path from now on. mode "short": the body is cut off
  // short of its Content-Length; "silent": no answer at all. location: a Location
  // header. A path not given answers 404 with an empty body.
  void Serve(const std::string& path, int status, const std::string& body, const std::string& mode = "",
             const std::string& location = "");
  // One object a request: "path", "agent".
  std::vector<nlohmann::json> Requests() const;

 private:
  TempDir dir_;
  nlohmann::json routes_ = nlohmann::json::object();
  std::optional<TestServerProcess> process_;
};

}  // namespace tb::test
