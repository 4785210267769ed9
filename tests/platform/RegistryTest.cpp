#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace tb::test {
namespace {

const char kKey[] = "Software\\Orvane\\Cotlyn";

class RegistryTest : public ::testing::Test {
 protected:
  RegistryStore Store() const { return RegistryStore("HKEY_CURRENT_USER", dir / "config/Cotlyn/user.reg"); }
  TempDir dir;
};

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile) {
  std::vector<uint8_t> prefs(39);
  for (size_t i = 0; i < prefs.size(); ++i) prefs[i] = static_cast<uint8_t>(i * 7 + 200);
  RegistryStore writer = Store();
  ASSERT_TRUE(writer.WriteBinary(kKey, "UPrefs", prefs));
  ASSERT_TRUE(writer.WriteDword(kKey, "AupFREQ", 300));
  ASSERT_TRUE(writer.WriteString(kKey, "BUP", "C:\\Backup\\ \"q\" \xA3"));
  ASSERT_TRUE(writer.WriteString(kKey, "", "default"));
  ASSERT_TRUE(writer.WriteString(kKey, "Lines", "a\r\nb"));
  ASSERT_TRUE(writer.WriteBinary(kKey, "Empty", {}));
  ASSERT_TRUE(writer.WriteDword(kKey, "aupfreq", 0xFFFFFFFF));  // replaces, whatever the case

  RegistryStore reader = Store();
  EXPECT_EQ(reader.ReadBinary("software\\orvane\\cotlyn\\", "uprefs"), prefs);
  EXPECT_EQ(reader.ReadDword(kKey, "AupFREQ"), 0xFFFFFFFFu);
  EXPECT_EQ(reader.ReadString(kKey, "BUP"), "C:\\Backup\\ \"q\" \xA3");
  EXPECT_EQ(reader.ReadString(kKey, ""), "default");
  EXPECT_EQ(reader.ReadString(kKey, "Lines"), "a\r\nb");
  EXPECT_EQ(reader.ReadBinary(kKey, "Empty"), std::vector<uint8_t>{});
  // A value of another type, or none at all, reads as absent.
  EXPECT_EQ(reader.ReadDword(kKey, "BUP"), std::nullopt);
  EXPECT_EQ(reader.ReadString(kKey, "UPrefs"), std::nullopt);
  EXPECT_EQ(reader.ReadBinary(kKey, "Lines"), std::nullopt);
  EXPECT_EQ(reader.ReadString(kKey, "Nothing"), std::nullopt);
  EXPECT_EQ(reader.ValueNames(kKey), (std::vector<std::string>{"UPrefs", "AupFREQ", "BUP", "", "Lines", "Empty"}));

  const std::string text = dir.Read("config/Cotlyn/user.reg");
  EXPECT_EQ(text, reader.ExportText());
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Cotlyn]\r\n\"UPrefs\"=hex:c8,cf,", 0), 0u);
  EXPECT_NE(text.find("\r\n\"AupFREQ\"=dword:ffffffff\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n\"BUP\"=\"C:\\\\Backup\\\\ \\\"q\\\" \xA3\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n@=\"default\"\r\n"), std::string::npos);
}

TEST_F(RegistryTest, ReadsHandWrittenFileAndSkipsWhatItCannotUse) {
  dir.Write("config/Cotlyn/user.reg",
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Orvane\\Cotlyn]\n"
            "\"UPrefs\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
            "  17,18,19,1A\n"
            "\"AupFREQ\"=dword:0000012C\n"
            "\"BUP\" = \"C:\\\\Backup\"\n"
            "\"Broken\"=hex:zz,01\n"
            "\"TooLong\"=dword:123456789\n"
            "\"Unclosed=\"x\"\n"
            "\"BUP\"=\"second\"\n"
            "garbage line \xFF\n"
            "[HKEY_CURRENT_USER\\Software\\Orvane\\Cotlyn\n"
            "\"Stray\"=\"no key\"\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Cotlyn]\n"
            "\"Foreign\"=\"x\"\n"
            "\n"
            "[hkey_current_user\\software\\orvane\\common\\printing]\n"
            "\"NextLabel\"=dword:3\n");
  RegistryStore reg = Store();
  std::vector<uint8_t> prefs(27);
  for (size_t i = 0; i < prefs.size(); ++i) prefs[i] = static_cast<uint8_t>(i);
  EXPECT_EQ(reg.ReadBinary(kKey, "UPrefs"), prefs);
  EXPECT_EQ(reg.ReadDword(kKey, "AupFREQ"), 300u);
  EXPECT_EQ(reg.ReadString(kKey, "BUP"), "C:\\Backup");
  EXPECT_EQ(reg.ValueNames(kKey), (std::vector<std::string>{"UPrefs", "AupFREQ", "BUP"}));
  EXPECT_EQ(reg.ReadDword("Software\\Orvane\\Common\\Printing", "NextLabel"), 3u);
  EXPECT_EQ(reg.SubKeys("Software\\Orvane"), (std::vector<std::string>{"common", "Cotlyn"}));
  EXPECT_EQ(reg.SubKeys(""), (std::vector<std::string>{"Software"}));
  EXPECT_TRUE(reg.KeyExists("Software\\Orvane"));
  EXPECT_FALSE(reg.KeyExists("Software\\Orv"));

  // A write keeps everything usable and drops the rest.
  ASSERT_TRUE(reg.WriteDword(kKey, "AupFREQ", 60));
  EXPECT_EQ(dir.Read("config/Cotlyn/user.reg"),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Orvane\\Cotlyn]\r\n"
            "\"UPrefs\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,19,1A\r\n"
            "\"AupFREQ\"=dword:0000003c\r\n"
            "\"BUP\"=\"C:\\\\Backup\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\software\\orvane\\common\\printing]\r\n"
            "\"NextLabel\"=dword:3\r\n"
            "\r\n");
}

TEST_F(RegistryTest, TwoStoresOnOneFileSeeEachOthersWrites) {
  RegistryStore a = Store();
  RegistryStore b = Store();
  ASSERT_TRUE(a.WriteString(kKey, "BUP", "/backup/"));
  EXPECT_EQ(b.ReadString(kKey, "BUP"), "/backup/");
  ASSERT_TRUE(b.WriteDword(kKey, "AupFREQ", 600));
  EXPECT_EQ(a.ReadDword(kKey, "AupFREQ"), 600u);
  EXPECT_EQ(a.ReadString(kKey, "BUP"), "/backup/");
}

TEST_F(RegistryTest, WritersInTwoProcessesLoseNothing) {
  constexpr int kEach = 40;
  pid_t pid = fork();
  if (pid == 0) {
    RegistryStore child = Store();
    bool ok = true;
    for (int i = 0; i < kEach; ++i) ok = child.WriteDword(kKey, "C" + std::to_string(i), i) && ok;
    _exit(ok ? 0 : 1);
  }
  RegistryStore parent = Store();
  for (int i = 0; i < kEach; ++i) EXPECT_TRUE(parent.WriteDword(kKey, "P" + std::to_string(i), i));
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(parent.ValueNames(kKey).size(), 2u * kEach);
}

TEST_F(RegistryTest, DeleteKeyTakesItsSubkeysOnly) {
  RegistryStore reg = Store();
  ASSERT_TRUE(reg.WriteDword(kKey, "A", 1));
  ASSERT_TRUE(reg.CreateKey("Software\\Orvane\\Cotlyn\\Sub\\Deeper"));
  ASSERT_TRUE(reg.WriteDword("Software\\Orvane\\CotlynX", "B", 2));
  ASSERT_TRUE(reg.CreateKey(kKey));  // already there: nothing changes
  EXPECT_EQ(reg.SubKeys(kKey), std::vector<std::string>{"Sub"});

  EXPECT_FALSE(reg.DeleteValue(kKey, "Missing"));
  EXPECT_TRUE(reg.DeleteValue(kKey, "a"));
  EXPECT_EQ(reg.ReadDword(kKey, "A"), std::nullopt);

  EXPECT_TRUE(reg.DeleteKey("software\\orvane\\cotlyn"));
  EXPECT_FALSE(reg.KeyExists(kKey));
  EXPECT_FALSE(reg.KeyExists("Software\\Orvane\\Cotlyn\\Sub\\Deeper"));
  EXPECT_EQ(reg.ReadDword("Software\\Orvane\\CotlynX", "B"), 2u);
  EXPECT_FALSE(reg.DeleteKey(kKey));
  EXPECT_FALSE(reg.DeleteKey(""));
  EXPECT_TRUE(reg.KeyExists("Software\\Orvane"));
}

TEST_F(RegistryTest, MissingFileIsAnEmptyHive) {
  RegistryStore reg = Store();
  EXPECT_FALSE(reg.KeyExists(kKey));
  EXPECT_EQ(reg.ReadBinary(kKey, "UPrefs"), std::nullopt);
  EXPECT_TRUE(reg.SubKeys("").empty());
  EXPECT_EQ(reg.ExportText(), "REGEDIT4\r\n\r\n");
  RegistryStore unwritable("HKEY_CURRENT_USER", dir.Write("file", "") + "/sub/user.reg");
  EXPECT_FALSE(unwritable.WriteDword(kKey, "A", 1));
}

TEST_F(RegistryTest, UnreadableFileIsNeverWrittenOver) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  std::string path = dir.Write("config/Cotlyn/user.reg", "REGEDIT4\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  EXPECT_FALSE(Store().WriteDword(kKey, "A", 1));
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(dir.Read("config/Cotlyn/user.reg"), "REGEDIT4\r\n");
}

}  // namespace
}  // namespace tb::test
