// The publishing window: opened by "Publish To Web", its controls and hints, the range
// rules on the year boxes, a run painted into the message pane, and what closing keeps.
// Today is Wednesday 9 December 2026; week 1 of 2026 (Saturday changeover) starts on
// 3 January, so the first week worth publishing is 50.

#include "web/forms/TPubWebForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "app/forms/TMainForm.h"
#include "platform/FileSystem.h"
#include "store/Settings.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class PubWebForm : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Load("[Common]\nNumProps=2\nwCWks=0\nwLDts=1\n"
           "[Prop01]\nPropName=Bramble\nChangeDay=7\nWebFolder=web1\nWebAvail=avail.htm\n"
           "[Prop02]\nPropName=Heron\nChangeDay=7\nWebFolder=web2\nWebAvail=avail.htm\n");
    for (const char* folder : {"Bramble/Data", "Heron/Data"}) ForceDirectories(t.Root() + folder);
    t.dir.Write("root/web1/$RowProforma.txt", "<tr><td>@N</td><td>@SD</td><td>@A</td></tr>");
    t.dir.Write("root/web1/avail.htm", "<html>\r\n<table>\r\n<!--RateLines-->\r\n</table>\r\n</html>\r\n");
  }
  TestSession t;
  StartupEnvironment env;
};

TEST_F(PubWebForm, OpensFromTheMainWindowWithItsControls) {
  TMainForm main(t.session, env);
  bool shown = false;
  main.showPubWeb = [&](TPubWebForm& w) {
    shown = true;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Publish availability to web"));
    EXPECT_EQ(w.PropList->count(), 2);
    EXPECT_EQ(w.PropList->toolTip(), QStringLiteral("Select one or more properties to analyse"));
    EXPECT_EQ(w.bUpdate->toolTip(),
              QStringLiteral("Update Availability page(s) for selected properties (on local machine)"));
    EXPECT_EQ(w.bView->toolTip(), QStringLiteral("View Availability page for first selected property"));
    EXPECT_EQ(w.bUpload->toolTip(), QStringLiteral("Send Availability pages to Web Server using Ferrit"));
    EXPECT_EQ(w.cbStartYear->count(), 4);
    EXPECT_EQ(w.cbStartWeek->count(), 53);
    EXPECT_EQ(w.Range(), (PubRange{2026, 50, 2027, 53}));
    EXPECT_FALSE(w.cbCompress->isChecked());  // as the settings say
    EXPECT_TRUE(w.cbLongDates->isChecked());
  };
  main.Command(QStringLiteral("Publish To Web"))->trigger();
  EXPECT_TRUE(shown);

  // A read-only run publishes nothing.
  t.session.ReadOnly = true;
  main.StartupChecked();
  EXPECT_FALSE(main.Command(QStringLiteral("Publish To Web"))->isEnabled());
}

TEST_F(PubWebForm, YearBoxesKeepTheRangeSensible) {
  TPubWebForm w(t.session);
  w.cbStartYear->setCurrentIndex(w.cbStartYear->findData(2028));
  emit w.cbStartYear->activated(w.cbStartYear->currentIndex());
  EXPECT_EQ(w.Range(), (PubRange{2028, 1, 2028, 53}));
  w.cbEndWeek->setCurrentIndex(w.cbEndWeek->findData(10));
  w.cbEndYear->setCurrentIndex(w.cbEndYear->findData(2026));
  emit w.cbEndYear->activated(w.cbEndYear->currentIndex());
  EXPECT_EQ(w.Range(), (PubRange{2026, 50, 2026, 53}));
}

TEST_F(PubWebForm, ARunIsPaintedAndClosingKeepsRangeAndOptions) {
  TPubWebForm w(t.session);
  w.PropList->clearSelection();
  w.PropList->item(0)->setSelected(true);
  // A range ending before it starts: nothing is written.
  w.cbEndYear->setCurrentIndex(w.cbEndYear->findData(2026));
  w.cbEndWeek->setCurrentIndex(w.cbEndWeek->findData(49));
  w.UpdateSelected();
  EXPECT_EQ(t.dialogs.beeps, 1);
  EXPECT_EQ(w.PaneLines(), (std::vector<PaneLine>{{"Invalid dates", PaneStyle::Red}}));
  EXPECT_EQ(w.Memo->toPlainText(), QStringLiteral("Invalid dates"));
  EXPECT_FALSE(FileExists(t.Root() + "web1/avail.bak"));

  w.cbEndWeek->setCurrentIndex(w.cbEndWeek->findData(51));
  w.cbCompress->setChecked(true);
  w.UpdateSelected();
  ASSERT_EQ(w.PaneLines().size(), 3u);  // no date marker, said in small blue
  EXPECT_EQ(w.PaneLines()[0].style, PaneStyle::BoldBlue);
  EXPECT_EQ(w.PaneLines()[1].style, PaneStyle::SmallBlue);
  EXPECT_EQ(w.PaneLines()[2].text, "Update complete. Read 6 records. Written 8 records.");
  // Two free weeks made one row: the window's options, not the settings', were used.
  EXPECT_EQ(t.dir.Read("root/web1/avail.htm"),
            "<html>\r\n<table>\r\n<!--RateLines-->\r\n\r\n<tr><td>51</td><td>12 December 2026</td><td>Yes</td></tr>"
            "\r\n</table>\r\n</html>\r\n");
  EXPECT_EQ(w.Memo->toPlainText().count(QLatin1Char('\n')), 2);

  w.bClose->click();
  EXPECT_EQ(t.session.prefs.PublishFirstWeek(), 50);
  EXPECT_EQ(t.session.prefs.PublishLastWeek(), 51);
  const std::vector<uint8_t> kept = t.registry.ReadBinary(kRegistryKey, "UPrefs").value_or(std::vector<uint8_t>{});
  ASSERT_EQ(kept.size(), 39u);
  EXPECT_EQ(kept[21], 51);
  const std::string ini = t.dir.Read("root/Cotlyn.ini");
  EXPECT_NE(ini.find("wCWks=1"), std::string::npos);
  EXPECT_NE(ini.find("wLDts=1"), std::string::npos);
}

}  // namespace
}  // namespace tb::test
