// "Upload Web Data" without a helper script, through to the site: the list Cotlyn
// writes and the program it starts, run as it starts it.

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/FtpTestServer.h"
#include "support/SmtpTestServer.h"
#include "support/TestSession.h"
#include "web/WebCommands.h"

namespace tb::test {
namespace {

TEST(FerritFromCotlyn, PropinfoListedByUploadWebDataReachesTheSite) {
  TrustTestServers trust;
  FtpTestServer server(FtpTestServer::Mode::Tls);
  ASSERT_TRUE(server.Started()) << server.Log();
  TestSession t;
  t.Load("[Common]\nNumProps=1\nNAvDays=30\n[Prop01]\nPropName=Heron\nID=11\n");
  ForceDirectories(t.Root() + "Heron/Data");
  ForceDirectories(t.Root() + "Web Up");
  t.session.common.ProgramFolder = std::string(TENBROOK_BIN_DIR) + "/";
  // The site as a Windows installation has it: the local folder with backslashes, the
  // remote one below the login folder.
  const std::string key = "Software\\Orvane\\Ferrit\\CotlynData";
  t.registry.WriteString(key, "Host", "127.0.0.1");
  t.registry.WriteDword(key, "Port", static_cast<uint32_t>(server.Port()));
  t.registry.WriteString(key, "User", "webmaster");
  t.registry.WriteString(key, "Password", "ftp s3cret");
  t.registry.WriteString(key, "RDir", "htdocs");
  t.registry.WriteString(key, "LDir", t.Root() + "Web Up\\");
  t.dialogs.Expect("File created. Will be uploaded as specified in Ferrit site CotlynData", MsgIcon::Information,
                   MsgButton::OK, 0, MsgButton::OK);
  ASSERT_TRUE(UploadWebData(t.session));
  ASSERT_EQ(t.runner.calls.size(), 1u);

  ForceDirectories(t.dir.Path() + "config/Cotlyn");
  ASSERT_TRUE(CopyFileOverwrite(t.registry.FilePath(), t.dir.Path() + "config/Cotlyn/HKCU.reg"));
  ChildProcess p = ChildProcess::Run(t.runner.calls[0].program, t.runner.calls[0].args,
                                     {"XDG_CONFIG_HOME=" + t.dir.Path() + "config"});
  EXPECT_EQ(p.exitCode, 0) << p.Output() << p.Errors();
  std::string stored;
  EXPECT_TRUE(ReadWholeFile(server.Home() + "htdocs/propinfo.php", stored));
  EXPECT_EQ(stored, t.dir.Read("root/Web Up/propinfo.php"));
}

}  // namespace
}  // namespace tb::test
