// The rates window and the property picker as the user drives them.

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <gtest/gtest.h>

#include "app/forms/TMainForm.h"
#include "bookings/Rates.h"
#include "bookings/RatesBytes.h"
#include "bookings/forms/TERForm.h"
#include "platform/FileSystem.h"
#include "store/forms/TPropSelForm.h"
#include "support/TestSession.h"
#include "support/TypeKeys.h"

namespace tb::test {
namespace {

const MsgButtons kOK = MsgButton::OK;
const std::string kCreate =
    "No file exists for specified year. Create it?\rNote: Data will be copied from the most recent rates file (if "
    "present)\rYou can then edit this. (Hit F1 for Help)";

// Property 1 "Bramble" (Fuel and Linen) and property 2 "Heron" (neither).
class RatesForm : public ::testing::Test {
 protected:
  explicit RatesForm(TDateTime now = EncodeDate(2026, 12, 9) + 0.4) : t(now) {
    t.Load("[Common]\nver=V4.4\nNumProps=2\n[Prop01]\nPropName=Bramble\nExtChg1=Fuel\nExtChg2=Linen\n"
           "[Prop02]\nPropName=Heron\n");
    for (const char* name : {"Bramble", "Heron"}) ForceDirectories(t.Root() + name + "/Data");
  }
  std::string File(int n, int year) const { return RatesFilePath(s.Prop(n), year); }
  void Create(TERForm& form, int n, int year) {
    t.dialogs.Expect(kCreate, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 410, MsgButton::Yes);
    ASSERT_TRUE(form.Load(n, year));
    form.show();
    QApplication::setActiveWindow(&form);
  }

  TestSession t;
  Session& s = t.session;
};

TEST_F(RatesForm, ANewYearTypedInIsSavedByteForByte) {
  TERForm form(s);
  Create(form, 1, 2027);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Rates Window:  Bramble - 2027"));
  EXPECT_EQ(form.heading->text(), QStringLiteral("Week/Starts--------Cost/Band------Comments----------------Fuel--"));
  EXPECT_EQ(form.weeks[0].label->text(), QStringLiteral("01   9 Jan 2027"));
  EXPECT_TRUE(form.weeks[51].cost->isEnabled());
  EXPECT_FALSE(form.weeks[52].cost->isEnabled());  // 2027 has 52 weeks
  EXPECT_TRUE(form.linen->isVisibleTo(&form));
  EXPECT_TRUE(form.fuelCost[2]->isVisibleTo(&form));
  EXPECT_FALSE(form.acNextYear->isEnabled());  // a new year counts as changed

  Type(form.band[0], QStringLiteral("4x00"));
  Type(form.linen, QStringLiteral("35"));
  Type(form.minCost, QStringLiteral("250"));
  Type(form.fuelCost[0], QStringLiteral("15"));
  Type(form.weeks[0].cost, QStringLiteral("3"));
  Type(form.weeks[0].comment, QStringLiteral("Half term "));
  Type(form.weeks[0].fuel, QStringLiteral("q"));
  Type(form.weeks[0].fuel, QStringLiteral("h"));
  EXPECT_EQ(form.band[0]->text(), QStringLiteral("400"));
  EXPECT_EQ(form.weeks[0].fuel->text(), QStringLiteral("H"));

  form.weeks[0].fuel->setFocus();
  form.acSaveExit->trigger();
  EXPECT_FALSE(form.isVisible());
  std::string expected = Le32(35) + Le32(250) + Le32(0);
  for (int32_t c : {400, 0, 0, 0, 0, 0}) expected += Le32(c);
  for (int32_t c : {15, 0, 0}) expected += Le32(c);
  expected += Entry('H', 0, 3, "Half term");
  for (int w = 2; w <= 52; ++w) expected += Entry('L', 0, 0, "");
  expected += Entry(0, 0, 0, "");  // no 53rd week in 2027
  std::string saved;
  ASSERT_TRUE(ReadWholeFile(File(1, 2027), saved));
  EXPECT_EQ(saved, expected);
  EXPECT_FALSE(s.RatesFormOpen);
  EXPECT_EQ(s.RatesSavedProperty, 1);
}

TEST_F(RatesForm, AFieldLeftWrongFlashesAndKeepsTheFocus) {
  TERForm form(s);
  Create(form, 1, 2027);
  Type(form.weeks[4].fuel, QString());
  QPalette seen;
  t.dialogs.Expect("Invalid fuel. 1 char only, H,M or L", MsgIcon::Error, kOK, 0, MsgButton::OK);
  t.dialogs.onMessage = [&]() { seen = form.weeks[4].fuel->palette(); };
  form.FocusMoved(form.weeks[4].fuel, form.weeks[5].fuel);
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(seen.color(QPalette::Base), QColor(255, 200, 200));
  EXPECT_NE(form.weeks[4].fuel->palette().color(QPalette::Base), QColor(255, 200, 200));
  EXPECT_TRUE(form.weeks[4].fuel->hasFocus());
  Type(form.weeks[4].fuel, QStringLiteral("M"));
  Type(form.band[2], QString());
  t.dialogs.Expect("Invalid input. Must be positive integer", MsgIcon::Error, kOK, 0, MsgButton::OK);
  form.FocusMoved(form.band[2], form.band[3]);
  t.dialogs.VerifyAllShown();
  EXPECT_TRUE(form.band[2]->hasFocus());
  Type(form.band[2], QStringLiteral("0"));

  // Up and Down keep the column.
  form.weeks[7].comment->setFocus();
  PressKey(form.weeks[7].comment, Qt::Key_Down);
  EXPECT_TRUE(form.weeks[8].comment->hasFocus());
  PressKey(form.weeks[8].comment, Qt::Key_Up);
  EXPECT_TRUE(form.weeks[7].comment->hasFocus());
  Type(form.weeks[7].comment, QStringLiteral("Easter"));
  form.acDuplicateLine->trigger();
  EXPECT_EQ(form.weeks[8].comment->text(), QStringLiteral("Easter"));
  EXPECT_TRUE(form.weeks[8].cost->hasFocus());
}

TEST_F(RatesForm, AYearAnotherUserHoldsOpensReadOnly) {
  Rate_Rec r;
  r.BandCost[0] = 426;
  WriteWholeFile(File(1, 2026), RatesImage(r));
  TERForm first(s);
  ASSERT_TRUE(first.Load(1, 2026));
  TERForm second(s);
  ASSERT_TRUE(second.Load(1, 2026));
  second.show();
  EXPECT_FALSE(first.lReadOnly->isVisibleTo(&first));
  EXPECT_TRUE(second.lReadOnly->isVisible());
  EXPECT_FALSE(second.acSaveExit->isEnabled());
  EXPECT_FALSE(second.bSaveExit->isEnabled());
  EXPECT_FALSE(second.bChange->isEnabled());
  EXPECT_FALSE(second.acDelete->isEnabled());
  EXPECT_TRUE(second.bClose->isEnabled());
  EXPECT_TRUE(second.band[0]->isReadOnly());
  EXPECT_EQ(second.band[0]->text(), QStringLiteral("426"));
  EXPECT_TRUE(second.lUpdated->text().startsWith(QStringLiteral("Updated: ")));
  second.close();  // nothing to ask
  EXPECT_FALSE(second.isVisible());
}

TEST_F(RatesForm, PickerListsThePropertiesForItsPurpose) {
  s.Prop(2).AS = 1;
  TPropSelForm rates(s, PickPurpose::EditRates, 2027);
  EXPECT_EQ(rates.windowTitle(), QStringLiteral("Select Property"));
  EXPECT_EQ(rates.run->text(), QStringLiteral("Edit Selected Property"));
  EXPECT_EQ(rates.yearLabel->text(), QStringLiteral("Year to edit = 2027"));
  EXPECT_EQ(rates.list->count(), 2);
  rates.list->setCurrentRow(1);
  EXPECT_EQ(rates.Chosen(), 2);
  TPropSelForm copy(s, PickPurpose::CopyRates);
  EXPECT_EQ(copy.linesOnly->text(), QStringLiteral("Copy Rate Lines only"));
  EXPECT_EQ(copy.yearLabel, nullptr);
  TPropSelForm synch(s, PickPurpose::Synch);
  ASSERT_EQ(synch.list->count(), 1);  // only the agency-calendar properties
  EXPECT_EQ(synch.Chosen(), 2);
}

class RatesFromMainWindow : public RatesForm {
 protected:
  RatesFromMainWindow() : RatesForm(EncodeDate(2027, 3, 15) + 0.4) {}
};

TEST_F(RatesFromMainWindow, NextYearInMarchIsNextCalendarYearAndTheCommandsWait) {
  s.common.ViewMode = 'M';
  s.ComputeSeasonYear();  // the chart shows 2026 and 2027 in March
  StartupEnvironment env;
  TMainForm main(s, env);
  main.FirstShow();
  int asked = 0;
  main.pickRatesProperty = [&](int year) {
    asked = year;
    return 2;
  };
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 410, MsgButton::Yes);
  main.acEditRates[1]->trigger();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(asked, 2028);
  ASSERT_TRUE(main.ratesForm);
  EXPECT_EQ(main.ratesForm->windowTitle(), QStringLiteral("Rates Window:  Heron - 2028"));
  EXPECT_FALSE(main.acForwardYear->isEnabled());
  EXPECT_FALSE(main.acEditRates[0]->isEnabled());
  main.OnActivate();
  EXPECT_FALSE(main.acForwardYear->isEnabled());
  main.ratesForm->acSaveExit->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(main.ratesForm);
  EXPECT_TRUE(main.acForwardYear->isEnabled());
  EXPECT_TRUE(FileExists(File(2, 2028)));
  EXPECT_EQ(s.RatesSavedProperty, 0);  // taken up by the chart

  // The property column's menu edits the property right-clicked.
  t.dialogs.Expect(kCreate, MsgIcon::Confirmation, MsgButton::Yes | MsgButton::Cancel, 410, MsgButton::Cancel);
  main.PropertyMenu(1)->actions().at(2)->trigger();  // previous year
  t.dialogs.VerifyAllShown();
  EXPECT_FALSE(main.ratesForm);  // cancelled: no window
  EXPECT_TRUE(main.acForwardYear->isEnabled());
}

// Comments are limited as they are typed, never as they are read: a longer one from a
// file, an import or a copied year is saved whole.
TEST_F(RatesForm, LongerCommentsFromAFileAreKeptWhole) {
  Rate_Rec r;
  r.WeekRates[2].WeekComment = "Owner's week - painters in until Friday";
  ASSERT_TRUE(WriteWholeFile(File(1, 2026), RatesImage(r)));
  TERForm form(s);
  ASSERT_TRUE(form.Load(1, 2026));
  form.show();
  QLineEdit* comment = form.weeks[2].comment;
  EXPECT_EQ(comment->text(), QStringLiteral("Owner's week - painters in until Friday"));
  comment->setFocus();
  comment->end(false);
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("!"));
  QApplication::sendEvent(comment, &key);
  EXPECT_EQ(comment->text().size(), 39);  // typing adds nothing beyond it
  Type(form.weeks[3].comment, QStringLiteral("A comment far longer than twenty"));
  EXPECT_EQ(form.weeks[3].comment->text(), QStringLiteral("A comment far longer"));
  form.SaveExit();
  Rate_Rec saved;
  ASSERT_TRUE(ReadRatesFile(File(1, 2026), saved));
  EXPECT_EQ(saved.WeekRates[2].WeekComment, "Owner's week - painters in until Friday");
  EXPECT_EQ(saved.WeekRates[3].WeekComment, "A comment far longer");
}

// F1 shows the topic of the field being edited.
TEST_F(RatesForm, HelpFollowsTheField) {
  Rate_Rec r;
  ASSERT_TRUE(WriteWholeFile(File(1, 2026), RatesImage(r)));
  TERForm form(s);
  ASSERT_TRUE(form.Load(1, 2026));
  form.show();
  QApplication::setActiveWindow(&form);
  QAction* f1 = nullptr;
  for (QAction* a : form.actions())
    if (a->shortcut() == QKeySequence(Qt::Key_F1)) f1 = a;
  ASSERT_TRUE(f1);
  for (QWidget* field : std::initializer_list<QWidget*>{form.band[2], form.fuelCost[0], form.linen, form.minCost,
                                                       form.weeks[0].cost}) {
    field->setFocus();
    f1->trigger();
  }
  const std::string& help = s.common.HelpFolder;
  EXPECT_EQ(t.runner.opened, (std::vector<std::string>{help + "420.html", help + "430.html", help + "440.html",
                                                       help + "442.html", help + "400.html"}));
}

}  // namespace
}  // namespace tb::test
