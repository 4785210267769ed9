// "Import-charges.sql": the statement per property as bytes, and the script loaded into
// a real MariaDB server, each week list read back and parsed by Python's json.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <nlohmann/json.hpp>
#include <thread>

#include "bookings/Rates.h"
#include "maintenance/Export.h"
#include "platform/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class ExportRatesTest : public ::testing::Test {
 protected:
  ExportRatesTest() {
    t.Load("[Common]\nNumProps=2\n[Prop01]\nPropName=Bob's Barn\n[Prop02]\nPropName=Elm\n");
    for (const int year : {2026, 2028}) {  // of 2025..2029, as seen on 9 Dec 2026
      Rate_Rec r;
      r.LinenCharge = 25;
      r.MinCost = 300;
      r.BandCost = {1, 2, 3, 4, 5, year};
      r.FuelCost = {7, 8, 9};
      r.WeekRates[0] = {'L', 0, 3, "Owner's week"};
      r.WeekRates[1] = {0, 0, 450, "Say \"hi\" \\o/"};
      r.WeekRates[2] = {'H', 0, 6, "Caf\xE9"};
      EXPECT_TRUE(ForceDirectories(s.Prop(1).Folder + "Data/"));
      EXPECT_TRUE(WriteWholeFile(RatesFilePath(s.Prop(1), year), RatesImage(r)));
    }
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(ExportRatesTest, OneStatementPerPropertyWithAWeekObjectPerWeek) {
  t.dialogs.Expect("No rates files found for Property Elm. Continue?", MsgIcon::Warning, MsgButton::Yes, 0,
                   MsgButton::Yes);
  const std::string sql = RatesSql(s, {1, 2});
  t.dialogs.VerifyAllShown();
  const std::string start =
      "INSERT INTO `charges` (`yr`,`pname`,`pn`,`linen`,`MinCost`,`Rent`,`FCost`,`WkRec`) VALUES\r\n"
      "(2026,'Bob\\'s Barn',1,25,300,'[1,2,3,4,5,2026]','[7,8,9]',\r\n"
      "'[{\\\"Fuel\\\":\\\"L\\\",\\\"Rate\\\":3,\\\"Cmt\\\":\\\"Owner\\'s week\\\"},\r\n"
      "{\\\"Fuel\\\":\\\" \\\",\\\"Rate\\\":450,\\\"Cmt\\\":\\\"Say \\\\\\\"hi\\\\\\\" \\\\\\\\o/\\\"},\r\n"
      "{\\\"Fuel\\\":\\\"H\\\",\\\"Rate\\\":6,\\\"Cmt\\\":\\\"Caf\\\\u00e9\\\"},\r\n";
  EXPECT_EQ(sql.substr(0, start.size()), start);
  EXPECT_NE(sql.find("\\\"Cmt\\\":\\\"\\\"}]'),\r\n(2028,'Bob\\'s Barn',1,"), std::string::npos);
  const std::string end = "{\\\"Fuel\\\":\\\" \\\",\\\"Rate\\\":0,\\\"Cmt\\\":\\\"\\\"}]');";
  EXPECT_EQ(sql.substr(sql.size() - end.size()), end);
  const auto weeks = static_cast<int>(std::count(sql.begin(), sql.end(), '{'));
  EXPECT_EQ(weeks, WeeksInYear(2026, s.Prop(1)) + WeeksInYear(2028, s.Prop(1)));
}

// A MariaDB server of its own in a temporary folder, on a socket, for one test.
class MariaDbServer {
 public:
  explicit MariaDbServer(const std::string& folder) : folder_(folder) {}
  ~MariaDbServer() {
    if (server_) {
      server_->Kill(SIGTERM);
      server_->Wait(30);
    }
  }
  static bool Installed() {
    return access(kServer, X_OK) == 0 && access(kInstall, X_OK) == 0 && access(kClient, X_OK) == 0;
  }
  std::string Start() {
    std::vector<std::string> user;
    if (getuid() == 0) user.push_back("--user=root");
    std::vector<std::string> install{"--no-defaults", "--datadir=" + folder_ + "data",
                                     "--auth-root-authentication-method=normal", "--skip-test-db"};
    install.insert(install.end(), user.begin(), user.end());
    const ChildProcess made = ChildProcess::Run(kInstall, install, {}, 120);
    if (made.exitCode != 0) return "mariadb-install-db: " + made.Output() + made.Errors();
    std::vector<std::string> args{"--no-defaults",         "--datadir=" + folder_ + "data", "--socket=" + Socket(),
                                  "--skip-networking",     "--pid-file=" + folder_ + "db.pid",
                                  "--log-error=" + folder_ + "db.err"};
    args.insert(args.end(), user.begin(), user.end());
    server_ = std::make_unique<ChildProcess>(kServer, args);
    if (!server_->Start()) return "mariadbd did not start";
    for (int i = 0; i < 300; ++i) {
      if (Sql("SELECT 1").exitCode == 0) return "";
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "mariadbd did not answer";
  }
  ChildProcess Sql(const std::string& statements) {
    return ChildProcess::Run(kClient, {"--no-defaults", "--socket=" + Socket(), "-uroot", "--batch", "-N",
                                       "--default-character-set=latin1", "-e", statements});
  }

 private:
  static constexpr const char* kServer = "/usr/sbin/mariadbd";
  static constexpr const char* kInstall = "/usr/bin/mariadb-install-db";
  static constexpr const char* kClient = "/usr/bin/mariadb";
  std::string Socket() const { return folder_ + "db.sock"; }
  std::string folder_;
  std::unique_ptr<ChildProcess> server_;
};

TEST_F(ExportRatesTest, ScriptLoadsIntoMariaDbAndEachWeekListIsJson) {
  if (!MariaDbServer::Installed()) GTEST_SKIP() << "MariaDB server binaries not installed (scripts/setup)";
  std::vector<std::string> log;
  ASSERT_EQ(ExportRates(s, {1}, log), ExportOutcome::Written);
  MariaDbServer db(t.dir.Path());
  const std::string started = db.Start();
  ASSERT_EQ(started, "");
  const ChildProcess loaded = db.Sql(
      "CREATE DATABASE web; USE web; CREATE TABLE charges (yr INT, pname VARCHAR(80), pn INT, linen INT, "
      "MinCost INT, Rent TEXT, FCost TEXT, WkRec MEDIUMTEXT); source " + RatesExportPath(s) + ";");
  ASSERT_EQ(loaded.exitCode, 0) << loaded.Errors();
  const ChildProcess rows = db.Sql("SELECT yr, HEX(pname), pn, Rent, FCost, HEX(WkRec) FROM web.charges ORDER BY yr");
  ASSERT_EQ(rows.exitCode, 0) << rows.Errors();
  const std::string python =
      "import json, sys\n"
      "out = []\n"
      "for line in sys.stdin.read().splitlines():\n"
      "    yr, name, pn, rent, fcost, weeks = line.split('\\t')\n"
      "    weeks = json.loads(bytes.fromhex(weeks).decode('ascii'))\n"
      "    out.append([int(yr), bytes.fromhex(name).decode('cp1252'), int(pn), json.loads(rent), json.loads(fcost),\n"
      "                len(weeks), weeks[:3]])\n"
      "print(json.dumps(out))\n";
  TempDir work;
  const std::string input = work.Write("rows.txt", rows.Output());
  const ChildProcess parsed =
      ChildProcess::Run("/bin/sh", {"-c", "/usr/bin/python3 -c \"$0\" < \"$1\"", python, input});
  ASSERT_EQ(parsed.exitCode, 0) << parsed.Errors();
  const nlohmann::json got = nlohmann::json::parse(parsed.Output());
  ASSERT_EQ(got.size(), 2u);
  const nlohmann::json firstWeeks = nlohmann::json::parse(
      R"([{"Fuel":"L","Rate":3,"Cmt":"Owner's week"},{"Fuel":" ","Rate":450,"Cmt":"Say \"hi\" \\o/"},)"
      R"({"Fuel":"H","Rate":6,"Cmt":"Café"}])");
  for (size_t i = 0; i < 2; ++i) {
    const int year = i == 0 ? 2026 : 2028;
    EXPECT_EQ(got[i][0], year);
    EXPECT_EQ(got[i][1], "Bob's Barn");
    EXPECT_EQ(got[i][2], 1);
    EXPECT_EQ(got[i][3], nlohmann::json::parse("[1,2,3,4,5," + std::to_string(year) + "]"));
    EXPECT_EQ(got[i][4], nlohmann::json::parse("[7,8,9]"));
    EXPECT_EQ(got[i][5], WeeksInYear(year, s.Prop(1)));
    EXPECT_EQ(got[i][6], firstWeeks);
  }
}

}  // namespace
}  // namespace tb::test
