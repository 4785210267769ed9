// The settings file as the configuration program reads, checks and writes it.

#include <gtest/gtest.h>

#include <functional>

#include "config/ConfigModel.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "store/Settings.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// Windows-1252 bytes (en dash, euro, e acute), CR LF, a key spelt in lower case, a
// comment, keys and a section Cotlyn does not know.
const std::string kSettings =
    "; Cotlyn settings\r\n"
    "[Common]\r\n"
    "ver=V4.4\r\n"
    "port=25\r\n"
    "NumProps=2\r\n"
    "NLetters=2\r\n"
    "L1-Desc=Confirmation \x96 deposit\r\n"
    "Custom=kept as it is\r\n"
    "\r\n"
    "[Prop01]\r\n"
    "PropName=Bramble\r\n"
    "CS=\x80\r\n"
    "Owner=12\r\n"
    "\r\n"
    "[Prop02]\r\n"
    "PropName=Caf\xE9\r\n"
    "Notes=unknown key\r\n"
    "\r\n"
    "[Extra]\r\n"
    "Anything=goes\r\n";

// A root folder with the settings file and the two properties' folders.
struct ConfigWorld {
  explicit ConfigWorld(const std::string& settings = kSettings) {
    t.dir.Write("root/Cotlyn.ini", settings);
    ForceDirectories(t.Root() + "Bramble/Data");
    ForceDirectories(t.Root() + "Caf\xC3\xA9/Data");
    ForceDirectories(Safety());
    EXPECT_TRUE(model.Load(Path()));
  }
  std::string Path() const { return t.Root() + "Cotlyn.ini"; }
  std::string Safety() const { return t.dir.Path() + "safe/"; }
  std::string File() const { return t.dir.Read("root/Cotlyn.ini"); }

  TestSession t;
  ConfigModel model{t.dir.Path() + "safe/"};
};

class ConfigModelTest : public ::testing::Test, public ConfigWorld {};

const ConfigRow* Find(const std::vector<ConfigRow>& rows, const std::string& key) {
  for (const ConfigRow& row : rows)
    if (row.info.key == key) return &row;
  return nullptr;
}

TEST_F(ConfigModelTest, SavingChangesOnlyTheEditedValues) {
  model.SetValue("Common", "Port", "587");
  model.SetValue("Common", "L2-Desc", "Balance \x93" "due\x94");
  model.SetValue("Prop02", "ExtChg1", "  Fuel ");
  model.SetValue("Prop01", "CS", "\x80");  // as it is: no change
  ASSERT_EQ(model.Save(), "");
  EXPECT_FALSE(model.Modified());
  EXPECT_EQ(File(),
            "; Cotlyn settings\r\n"
            "[Common]\r\n"
            "ver=V4.4\r\n"
            "port=587\r\n"
            "NumProps=2\r\n"
            "NLetters=2\r\n"
            "L1-Desc=Confirmation \x96 deposit\r\n"
            "Custom=kept as it is\r\n"
            "L2-Desc=Balance \x93" "due\x94\r\n"
            "\r\n"
            "[Prop01]\r\n"
            "PropName=Bramble\r\n"
            "CS=\x80\r\n"
            "Owner=12\r\n"
            "\r\n"
            "[Prop02]\r\n"
            "PropName=Caf\xE9\r\n"
            "Notes=unknown key\r\n"
            "ExtChg1=Fuel\r\n"
            "\r\n"
            "[Extra]\r\n"
            "Anything=goes\r\n");
  EXPECT_EQ(t.dir.Read("safe/Cotlyn.ini"), kSettings);  // the file as it was

  // Saving again without edits writes nothing.
  DeleteFileAt(Safety() + "Cotlyn.ini");
  EXPECT_EQ(model.Save(), "");
  EXPECT_FALSE(FileExists(Safety() + "Cotlyn.ini"));
}

TEST_F(ConfigModelTest, RowsShowTheFileValuesAndTheDefaultsOfMissingKeys) {
  const std::vector<ConfigRow> common = model.Rows("Common");
  struct Case {
    const char* key;
    const char* value;
    const char* def;
  };
  const Case commonCases[] = {
      {"Port", "25", "25"},  {"ViewMode", "C", "C"}, {"Tax", "20", "20"},
      {"Splash", "1", "1"},  {"L1-Desc", "Confirmation \x96 deposit", "Fail"},
      {"L2-Desc", "Fail", "Fail"}, {"L2-EMail", "0", "0"}, {"NumProps", "2", "0"},
  };
  for (const Case& c : commonCases) {
    const ConfigRow* row = Find(common, c.key);
    ASSERT_TRUE(row) << c.key;
    EXPECT_EQ(row->value, c.value) << c.key;
    EXPECT_EQ(row->info.def, c.def) << c.key;
  }
  EXPECT_FALSE(Find(common, "L3-Desc"));
  EXPECT_TRUE(Find(common, "NumProps")->info.readOnly);
  // Each letter type's keys follow the count.
  EXPECT_EQ(Find(common, "L1-Desc") - Find(common, "NLetters"), 1);

  const std::vector<ConfigRow> prop = model.Rows("Prop01");
  EXPECT_EQ(Find(prop, "CS")->value, "\x80");
  EXPECT_EQ(Find(prop, "Owner")->value, "12");
  EXPECT_EQ(Find(prop, "BalDue")->value, "6");
  EXPECT_EQ(Find(prop, "Deposit")->value, "25");
  EXPECT_EQ(model.Rows("Prop02").front().value, "Caf\xE9");

  model.SetValue("Common", "NLetters", "3");
  model.SetValue("Common", "NExpCats", "1");
  EXPECT_EQ(Find(model.Rows("Common"), "L3-EMail")->value, "0");
  EXPECT_EQ(Find(model.Rows("Common"), "X1-Desc")->value, "Fail");

  // Typing what the file already gives is no change.
  model.SetValue("Common", "NLetters", "2");
  model.SetValue("Common", "NExpCats", "0");
  model.SetValue("Common", "Port", " 25 ");
  model.SetValue("Prop01", "Wait", "34");
  EXPECT_FALSE(model.Modified());
}

TEST(ConfigValueCheck, AcceptsWhatCotlynReadsAndRefusesTheRest) {
  ConfigWorld w;
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    bool ok;
  };
  const Case cases[] = {
      {"Common", "Port", "587", true},       {"Common", "Port", "abc", false},
      {"Common", "Port", "0", false},        {"Common", "Port", "65536", false},
      {"Common", "Port", "$24B", true},      // hexadecimal, as the reader takes it
      {"Common", "Port", "", false},         {"Common", "MURefresh", "-5", true},
      {"Common", "Tax", "17.5", true},       {"Common", "Tax", "17,5", false},
      {"Common", "Tax", "101", false},       {"Common", "Tax", "nan", false},
      {"Common", "CloudData", "1", true},    {"Common", "CloudData", "2", false},
      {"Common", "CloudData", "yes", false}, {"Common", "NLetters", "100", false},
      {"Common", "L3-EMail", "x", false},    {"Common", "L3-Desc", "", true},
      {"Common", "eSSL", "7", false},        {"Prop01", "BalDue", "255", true},
      {"Prop01", "BalDue", "256", false},    {"Prop01", "BalDue", "-1", false},
      {"Prop01", "ChangeDay", "0", false},   {"Prop01", "ChangeDay", "7", true},
      {"Prop01", "Owner", "65536", false},   {"Prop01", "Deposit", "15000", true},
      {"Prop01", "Deposit", "-1", false},    {"Prop01", "CS", "", true},
  };
  for (const Case& c : cases) {
    const std::optional<KeyInfo> info = w.model.Info(c.section, c.key);
    ASSERT_TRUE(info) << c.key;
    EXPECT_EQ(CheckValue(*info, c.value).empty(), c.ok) << c.key << " = " << c.value;
  }
}

TEST_F(ConfigModelTest, AValueOfTheWrongTypeIsRefusedAndNothingWritten) {
  model.SetValue("Common", "Port", "abc");
  model.SetValue("Prop01", "BalDue", "300");
  model.SetValue("Prop01", "Wait", "30");
  EXPECT_EQ(model.Save(),
            "These values cannot be used:\r"
            "Common Port = \"abc\": needs a whole number from 1 to 65535\r"
            "Prop01 BalDue = \"300\": needs a whole number from 0 to 255\r"
            "The settings were not saved.");
  EXPECT_EQ(File(), kSettings);
  EXPECT_FALSE(FileExists(Safety() + "Cotlyn.ini"));
  EXPECT_TRUE(model.Modified());
  EXPECT_EQ(model.Value("Common", "Port"), "abc");  // still there to be mended

  model.SetValue("Common", "Port", "587");
  model.SetValue("Prop01", "BalDue", "8");
  ASSERT_EQ(model.Save(), "");
  IniFile ini(Path());
  ini.Load();
  EXPECT_EQ(ini.ReadInteger("Common", "Port", 0), 587);
  EXPECT_EQ(ini.ReadInteger("Prop01", "BalDue", 0), 8);
  EXPECT_EQ(ini.ReadInteger("Prop01", "Wait", 0), 30);
}

TEST_F(ConfigModelTest, AddingPropertiesMakesTheirSectionsCountAndFoldersAsCotlynReadsThem) {
  EXPECT_EQ(model.ReuseQuestion("Mill \xC9tang"), "");
  EXPECT_EQ(model.CheckNewProperty("Mill \xC9tang"), "");
  EXPECT_EQ(model.AddProperty("Mill \xC9tang"), 3);
  EXPECT_EQ(model.AddProperty(" Heron "), 4);
  EXPECT_EQ(model.PropertyListText(4), "4  Heron");
  model.SetValue("Prop03", "Deposit", "15000");
  EXPECT_FALSE(DirectoryExists(t.Root() + "Heron/"));  // made by Save
  ASSERT_EQ(model.Save(), "");

  const std::string file = File();
  EXPECT_NE(file.find("NumProps=4\r\nNLetters=2\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.substr(kSettings.size() - 2),
            "\r\n\r\n[Prop03]\r\nPropName=Mill \xC9tang\r\nDeposit=15000\r\n\r\n[Prop04]\r\nPropName=Heron\r\n");
  for (const char* folder : {"Mill \xC3\x89tang/", "Heron/"})
    for (const char* sub : {"Data", "Archive", "Letters", "Booking Forms", "Attachments"})
      EXPECT_TRUE(DirectoryExists(t.Root() + folder + sub)) << folder << sub;

  LoadSettings(t.session);
  ASSERT_EQ(t.session.NumProps(), 4);
  EXPECT_EQ(t.session.Prop(3).PropName, "Mill \xC9tang");
  EXPECT_EQ(t.session.Prop(3).Folder, t.Root() + "Mill \xC3\x89tang/");
  EXPECT_DOUBLE_EQ(t.session.Prop(3).Deposit, 150);
  EXPECT_EQ(t.session.Prop(3).DepositIsPct, 0);
  EXPECT_EQ(t.session.Prop(4).PropName, "Heron");
}

TEST_F(ConfigModelTest, NamesThatCannotBeAPropertysFolderAreRefused) {
  struct Case {
    std::string name;
    std::string why;  // "" when accepted
  };
  const Case cases[] = {
      {"Smith's Barn", ""},
      {"", "a name is needed"},
      {"Upper/Lower", "a name cannot hold \\ / : * ? \" < > | or control characters"},
      {"C:Barn", "a name cannot hold \\ / : * ? \" < > | or control characters"},
      {"Tab\tBarn", "a name cannot hold \\ / : * ? \" < > | or control characters"},
      {"..", "a name cannot end with a point"},
      {"'Quoted'", "a name cannot be in quotes"},
      {std::string(81, 'x'), "a name has at most 80 characters"},
      {"bramble", "property 1 has that name"},
      {"CAF\xC9", "property 2 has that name"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(model.CheckNewProperty(c.name), c.why.empty() ? "" : "Cannot add the property \"" + c.name + "\": " + c.why);
}

TEST_F(ConfigModelTest, RenamingAPropertyNeedsAFreeNameAndItsFolderRenamedFirst) {
  const std::string refused = "These values cannot be used:\r";
  const std::string notSaved = "\rThe settings were not saved.";
  model.SetValue("Prop02", "PropName", "BRAMBLE");
  EXPECT_EQ(model.Save(), refused + "Prop02 PropName = \"BRAMBLE\": property 1 has that name" + notSaved);
  model.SetValue("Prop02", "PropName", "Caf\xE9");
  model.SetValue("Prop01", "PropName", "Bramble Barn");
  EXPECT_EQ(model.Save(), refused + "Prop01 PropName = \"Bramble Barn\": there is no folder " + t.Root() +
                              "Bramble Barn/; rename the property's folder first" + notSaved);
  EXPECT_EQ(File(), kSettings);

  ASSERT_TRUE(RenameFileAt(t.Root() + "Bramble", t.Root() + "Bramble Barn"));
  EXPECT_EQ(model.Save(), "");
  EXPECT_NE(File().find("[Prop01]\r\nPropName=Bramble Barn\r\n"), std::string::npos);
}

TEST(ConfigModelSave, ALeftOverSectionIsOfferedAndItsKeysKept) {
  ConfigWorld w("[Common]\r\nNumProps=1\r\n[Prop01]\r\nPropName=Bramble\r\n[prop02]\r\nPropName=Old\r\nOwner=5\r\n");
  EXPECT_EQ(w.model.ReuseQuestion("New"),
            "The settings file already has a section [Prop02] (property \"Old\").\r"
            "Its settings will be those of \"New\". Add the property?");
  w.model.AddProperty("New");
  EXPECT_EQ(w.model.Rows("Prop02")[0].value, "New");
  ASSERT_EQ(w.model.Save(), "");
  EXPECT_EQ(w.File(), "[Common]\r\nNumProps=2\r\n[Prop01]\r\nPropName=Bramble\r\n[prop02]\r\nPropName=New\r\nOwner=5\r\n");
}

TEST(ConfigModelSave, AFailedSaveWritesNothingAndKeepsTheEdits) {
  struct Case {
    const char* what;
    std::function<void(ConfigWorld&)> setUp;
    std::function<std::string(const ConfigWorld&)> message;
  };
  const Case cases[] = {
      {"safety copy",
       [](ConfigWorld& w) {
         w.t.dir.Write("blocked", "a file");
         w.model = ConfigModel(w.t.dir.Path() + "blocked/");
         w.model.Load(w.Path());
       },
       [](const ConfigWorld& w) {
         return "Cannot write the safety copy " + w.t.dir.Path() + "blocked/Cotlyn.ini\rThe settings were not saved.";
       }},
      {"property folder",
       [](ConfigWorld& w) { w.t.dir.Write("root/Heron", "a file where the folder would go"); },
       [](const ConfigWorld& w) {
         return "Cannot create the folder " + w.t.Root() + "Heron/Data/\rThe settings were not saved.";
       }},
      {"settings file gone", [](ConfigWorld& w) { DeleteFileAt(w.Path()); },
       [](const ConfigWorld& w) { return "Cannot read " + w.Path() + "\rThe settings were not saved."; }},
      {"count changed meanwhile",
       [](ConfigWorld& w) {
         IniFile other(w.Path());
         other.Load();
         other.WriteInteger("Common", "NumProps", 3);
         other.Save();
       },
       [](const ConfigWorld& w) {
         return "The number of properties in " + w.Path() +
                " was changed by another program.\rClose this window and configure again. The settings were not "
                "saved.";
       }},
  };
  for (const Case& c : cases) {
    ConfigWorld w;
    c.setUp(w);
    const std::string before = w.File();
    w.model.SetValue("Common", "Port", "587");
    w.model.AddProperty("Heron");
    EXPECT_EQ(w.model.Save(), c.message(w)) << c.what;
    EXPECT_EQ(w.File(), before) << c.what;
    EXPECT_TRUE(w.model.Modified()) << c.what;
    EXPECT_EQ(w.model.NumProps(), 3) << c.what;
  }
}

TEST_F(ConfigModelTest, ChangesMadeMeanwhileByAnotherProgramAreKept) {
  IniFile other(Path());
  other.Load();
  other.WriteBool("Common", "CloudData", true);  // as Cotlyn does when its mode changes
  other.Save();
  model.SetValue("Common", "Port", "587");
  ASSERT_EQ(model.Save(), "");
  IniFile ini(Path());
  ini.Load();
  EXPECT_TRUE(ini.ReadBool("Common", "CloudData", false));
  EXPECT_EQ(ini.ReadInteger("Common", "Port", 0), 587);
  EXPECT_EQ(model.Value("Common", "CloudData"), "1");
}

}  // namespace
}  // namespace tb::test
