// Ferrit as Cotlyn starts it: an upload list in the root folder, the sites in the
// user's registry file, a real FTP server on 127.0.0.1.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "support/ChildProcess.h"
#include "support/FtpTestServer.h"
#include "support/SmtpTestServer.h"
#include "support/TempDir.h"

namespace tb::test {
namespace {

const std::string kPassword = "ftp s3cret";

class Ferrit : public ::testing::Test {
 protected:
  Ferrit() { ForceDirectories(dir / "config/Cotlyn"); }
  std::string Root() const { return dir / "root/"; }
  std::string Local() const { return Root() + "Web Up/"; }
  RegistryStore Registry() const { return RegistryStore("HKEY_CURRENT_USER", dir / "config/Cotlyn/HKCU.reg"); }
  // A site on `server`: the files of the local folder below "/www", the port as a dword.
  void AddSite(const std::string& site, const FtpTestServer& server) {
    const std::string key = "Software\\Orvane\\Ferrit\\" + site;
    RegistryStore r = Registry();
    r.WriteString(key, "Host", "127.0.0.1");
    r.WriteDword(key, "Port", static_cast<uint32_t>(server.Port()));
    r.WriteString(key, "User", "webmaster");
    r.WriteString(key, "Password", kPassword);
    r.WriteString(key, "RDir", "/www");
    r.WriteString(key, "LDir", Local());
  }
  // Writes the list as Cotlyn does and runs Ferrit on it.
  ChildProcess Run(const std::vector<std::string>& lines) {
    std::string list;
    for (const std::string& line : lines) list += line + "\r\n";
    dir.Write("root/PubWebList.txt", list);
    return ChildProcess::Run(ProgramPath("../Ferrit/Ferrit"), {Root() + "PubWebList.txt"},
                             {"XDG_CONFIG_HOME=" + dir.Path() + "config"});
  }
  std::string Log() const { return dir.Read("root/Ferrit.log"); }
  static std::string Line(const std::string& site, const std::string& path) { return "Site=" + site + " File=" + path; }

  TrustTestServers trust;
  TempDir dir;
};

std::string Bytes0To255() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

// One file at the top of the local folder, one with a space in a subfolder, one from
// outside the local folder (its site's port written as a text) going by its name.
TEST_F(Ferrit, EveryFileArrivesWholeInItsPlaceOverTls) {
  FtpTestServer server(FtpTestServer::Mode::Tls);
  ASSERT_TRUE(server.Started()) << server.Log();
  AddSite("CotlynData", server);
  AddSite("Pages", server);
  Registry().WriteString("Software\\Orvane\\Ferrit\\Pages", "Port", std::to_string(server.Port()));
  const std::string binary = dir.Write("root/Web Up/rates.bin", Bytes0To255());
  const std::string page = dir.Write("root/Web Up/pages/Heron Reach.html", "<html>Heron\r\n</html>");
  const std::string info = dir.Write("root/propinfo.php", "<?php $x = 1; ?>");

  ChildProcess p = Run({Line("CotlynData", info), Line("Pages", page), Line("CotlynData", binary)});
  EXPECT_EQ(p.exitCode, 0) << p.Output() << p.Errors() << server.Log();
  std::string stored;
  EXPECT_TRUE(ReadWholeFile(server.Home() + "www/rates.bin", stored) && stored == Bytes0To255());
  EXPECT_TRUE(ReadWholeFile(server.Home() + "www/pages/Heron Reach.html", stored) &&
              stored == "<html>Heron\r\n</html>");
  EXPECT_TRUE(ReadWholeFile(server.Home() + "www/propinfo.php", stored) && stored == "<?php $x = 1; ?>");
  EXPECT_TRUE(ListFiles(server.Home() + "www/", ".*").empty()) << "a work name left behind";

  const std::string url = "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/%2F/www/";
  const std::string log = Log();
  EXPECT_NE(log.find(Line("Pages", page) + " URL=" + url + "pages/Heron%20Reach.html OK\r\n"), std::string::npos)
      << log;
  EXPECT_NE(log.find(Line("CotlynData", info) + " URL=" + url + "propinfo.php OK\r\n"), std::string::npos);
  EXPECT_NE(log.find(Line("CotlynData", binary) + " URL=" + url + "rates.bin OK\r\n"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat((Root() + "Ferrit.log").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // The login only ever went over TLS.
  for (const nlohmann::json& r : server.Records()) {
    const std::string command = r["command"];
    if (command == "USER" || command == "PASS") {
      EXPECT_TRUE(r["tls"].get<bool>()) << r.dump();
    }
  }
  EXPECT_EQ(log.find(kPassword), std::string::npos);
  EXPECT_EQ(p.Output().find(kPassword), std::string::npos);
}

// A server that cannot do TLS never gets the login: the upload fails and says why.
TEST_F(Ferrit, AServerWithoutTlsNeverSeesTheLogin) {
  FtpTestServer server(FtpTestServer::Mode::Plain);
  ASSERT_TRUE(server.Started()) << server.Log();
  AddSite("CotlynData", server);
  const std::string page = dir.Write("root/Web Up/index.html", "<html></html>");

  ChildProcess p = Run({Line("CotlynData", page)});
  EXPECT_EQ(p.exitCode, 1) << p.Output() << p.Errors();
  const std::vector<nlohmann::json> records = server.Records();
  ASSERT_FALSE(records.empty()) << server.Log();
  EXPECT_EQ(records[0]["command"], "AUTH");
  for (const nlohmann::json& r : records) {
    EXPECT_NE(r["command"], "USER");
    EXPECT_NE(r["command"], "PASS");
  }
  EXPECT_FALSE(FileExists(server.Home() + "www/index.html"));
  const std::string log = Log();
  EXPECT_NE(log.find(Line("CotlynData", page) + " URL=ftp://127.0.0.1:" + std::to_string(server.Port()) +
                     "/%2F/www/index.html Failed: "),
            std::string::npos)
      << log;
  for (const std::string& text : {log, p.Output(), p.Errors()}) EXPECT_EQ(text.find(kPassword), std::string::npos);
}

// A line that cannot be sent is logged and makes the exit 1; the others still go up.
TEST_F(Ferrit, AFileThatCannotGoIsLoggedAndTheOthersStillGo) {
  FtpTestServer server(FtpTestServer::Mode::Tls);
  ASSERT_TRUE(server.Started()) << server.Log();
  AddSite("CotlynData", server);
  const std::string first = dir.Write("root/Web Up/a.html", "a");
  const std::string last = dir.Write("root/Web Up/b.html", "b");

  ChildProcess p = Run({Line("CotlynData", first), Line("Elsewhere", first), Line("CotlynData", Local() + "gone.html"),
                        "File=" + first, Line("CotlynData", last)});
  EXPECT_EQ(p.exitCode, 1) << p.Output() << p.Errors();
  EXPECT_TRUE(FileExists(server.Home() + "www/a.html"));
  EXPECT_TRUE(FileExists(server.Home() + "www/b.html"));
  const std::string log = Log();
  const std::string url = "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/%2F/www/";
  for (const std::string& expected :
       {Line("Elsewhere", first) + " Failed: No Ferrit site named Elsewhere\r\n",
        Line("CotlynData", Local() + "gone.html") + " URL=" + url + "gone.html Failed: File not found\r\n",
        " Line not understood: File=" + first + "\r\n", Line("CotlynData", last) + " URL=" + url + "b.html OK\r\n"})
    EXPECT_NE(log.find(expected), std::string::npos) << expected << "\n" << log;
}

// No list to read, or no list named: exit 2; the first is logged beside the list.
TEST_F(Ferrit, AListThatCannotBeReadIsExit2) {
  ForceDirectories(Root());
  ChildProcess missing = ChildProcess::Run(ProgramPath("../Ferrit/Ferrit"), {Root() + "PubWebList.txt"},
                                           {"XDG_CONFIG_HOME=" + dir.Path() + "config"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(Log().find(" Cannot read upload list " + Root() + "PubWebList.txt: "), std::string::npos) << Log();
  EXPECT_EQ(ChildProcess::Run(ProgramPath("../Ferrit/Ferrit"), {}).exitCode, 2);
}

}  // namespace
}  // namespace tb::test
