#include "support/FtpTestServer.h"

#include "platform/FileSystem.h"
#include "support/SmtpTestServer.h"

namespace tb::test {

FtpTestServer::FtpTestServer(Mode mode, std::string user, std::string password) {
  ForceDirectories(Home());
  std::vector<std::string> args = {"--root", Home(), "--record", dir_ / "record.jsonl", "--user", user,
                                   "--password", password};
  if (mode == Mode::Plain) {
    args.push_back("--plain");
  } else {
    args.insert(args.end(), {"--cert", TestCertificate(), "--key", TestKey()});
  }
  process_.emplace("ftp_tls_server.py", args, dir_ / "server.log");
}

int FtpTestServer::Port() const { return process_ ? process_->Port() : 0; }

std::string FtpTestServer::Log() const { return dir_.Read("server.log"); }

std::vector<nlohmann::json> FtpTestServer::Records() const {
  return ReadRecords(dir_ / "record.jsonl", "FTP test server");
}

}  // namespace tb::test
