// cotlynctl owners on a demo root folder, and a damaged owner file ending the run as
// a parent process sees it.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ctl/DemoRootTest.h"
#include "platform/FileSystem.h"

namespace tb::test {
namespace {

// Linux keeps the low 8 bits of an exit code: the program's 1220 arrives as 196.
constexpr int kExitStatus1220 = 1220 & 0xFF;

class CtlOwners : public DemoRootTest {};

TEST_F(CtlOwners, TheDemoHasOwnersAnArchiveAndOnePropertyWithout) {
  ChildProcess p = Ctl({"owners", Root()});
  ASSERT_EQ(p.exitCode, 0) << p.Errors();
  const auto owners = nlohmann::json::parse(p.Output());
  ASSERT_EQ(owners.size(), 4u);
  int withoutProperty = 0;
  std::vector<std::string> names;
  for (const auto& o : owners) {
    withoutProperty += o["NP"] == 0;
    names.push_back(o["OwnerSurname"].get<std::string>() + o["OwnerFName"].get<std::string>());
  }
  EXPECT_EQ(withoutProperty, 1);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(owners[1]["OwnerFName"], "Zo\xC3\xAB");  // Windows-1252 as UTF-8

  ChildProcess archive = Ctl({"owners", Root(), "--archive"});
  ASSERT_EQ(archive.exitCode, 0) << archive.Errors();
  EXPECT_EQ(nlohmann::json::parse(archive.Output()).size(), 2u);

  ChildProcess check = Ctl({"owners", Root(), "--check"});
  ASSERT_EQ(check.exitCode, 0) << check.Errors();
  EXPECT_NE(check.Output().find("Number of owners defined = 4\r\n"), std::string::npos);
  EXPECT_NE(check.Output().find("Property 4 Kestrel Barn NO OWNER ASSIGNED\r\n"), std::string::npos);
  EXPECT_NE(check.Output().find("NO DUPLICATES FOUND"), std::string::npos);

  ChildProcess csvRun = Ctl({"owners", Root(), "--csv", "--today", "2026-12-09"});
  ASSERT_EQ(csvRun.exitCode, 0) << csvRun.Errors();
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(Root() + "Owners.csv", csv));
  EXPECT_EQ(csv.rfind(",\"List of Owners.  Exported 09/12/2026\"\r\n", 0), 0u) << csv;

  EXPECT_EQ(Ctl({"owners", Root(), "--csv", "--check"}).exitCode, 2);
}

// A file too short for one owner: the log line, the box, and the exit status, with
// nothing written.
TEST_F(CtlOwners, AFileTooShortForAnOwnerEndsTheRun) {
  const std::string file = Root() + "Owners.bko";
  ASSERT_TRUE(WriteWholeFile(file, std::string(45, 'x')));
  ChildProcess p = Ctl({"owners", Root(), "--csv"});
  EXPECT_EQ(p.exitCode, kExitStatus1220);
  EXPECT_NE(p.Errors().find("Error 1220. Corrupt Owner file=" + file), std::string::npos) << p.Errors();
  std::string log;
  ReadWholeFile(Root() + "Cotlyn.log", log);
  EXPECT_NE(log.find("QZ1220A File " + file + " corrupt. Size =45 bytes. DIE\r\n"), std::string::npos) << log;
  EXPECT_FALSE(FileExists(Root() + "Owners.csv"));
}

}  // namespace
}  // namespace tb::test
