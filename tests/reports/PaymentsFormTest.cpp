// The payments window, headless: the run, the options emptying the list, the column
// sort, "Edit as CSV" in the order shown, and the main window's command.

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include "app/forms/TMainForm.h"
#include "platform/FileSystem.h"
#include "reports/PaymentsCsv.h"
#include "reports/forms/PaymentsModel.h"
#include "reports/forms/TPaymentsForm.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

class PaymentsForm : public ::testing::Test {
 protected:
  PaymentsForm() {
    t.Load(SimpleSettings(2, "ViewMode=C\n"));
    s.CurrentProperty = 1;
    // 2026 (the clock's year): two paid lets on property 1, one on property 2.
    Write(1, {Paid_(EncodeDate(2026, 3, 7), "Ames", 300, EncodeDate(2026, 1, 10), EncodeDate(2026, 2, 5)),
              Paid_(EncodeDate(2026, 5, 2), "Bell", 50, EncodeDate(2026, 3, 1), EncodeDate(2026, 3, 20))});
    Write(2, {Paid_(EncodeDate(2026, 6, 6), "Cole", 120, EncodeDate(2026, 1, 20), EncodeDate(2026, 4, 25))});
  }
  static Book_Rec Paid_(TDateTime start, const char* surname, double deposit, TDateTime depositOn,
                        TDateTime balanceOn) {
    Book_Rec b = MakeBooking(start, 7, surname, Paid);
    b.Deposit = deposit;
    b.Balance = 700 - deposit;
    b.DateD = depositOn;
    b.DateP = balanceOn;
    return b;
  }
  void Write(int n, const std::vector<Book_Rec>& records) {
    ForceDirectories(s.Prop(n).Folder + "Data/");
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
  }
  static std::vector<std::string> Surnames(const TPaymentsForm& form) {
    std::vector<std::string> out;
    for (const PaymentRow& r : form.Rows()) out.push_back(r.Surname + " " + r.AmountText());
    return out;
  }
  TestSession t;
  Session& s = t.session;
};

TEST_F(PaymentsForm, RunFillsTheListAndAnyOptionChangeEmptiesIt) {
  TPaymentsForm form(s, 0);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("View Payments "));
  EXPECT_EQ(form.StartDt->date(), QDate(2026, 1, 1));
  EXPECT_EQ(form.EndDt->date(), QDate(2026, 12, 31));
  EXPECT_FALSE(form.bCsv->isEnabled());
  form.Run();
  EXPECT_EQ(form.model->rowCount(), 6);
  EXPECT_EQ(form.model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("  Date"));
  EXPECT_EQ(form.model->data(form.model->index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("Ames"));
  EXPECT_EQ(form.panel[0]->text(), QStringLiteral("2 properties scanned, 6 payments found"));
  EXPECT_EQ(form.panel[1]->text(), QStringLiteral("Total payments = \u00A32,100.00"));
  EXPECT_TRUE(form.bCsv->isEnabled());

  const std::function<void()> changes[] = {
      [&] { form.StartDt->setDate(QDate(2026, 2, 1)); },
      [&] { form.EndDt->setDate(QDate(2026, 11, 30)); },
      [&] { form.LB->item(1)->setSelected(false); },
      [&] { form.OmitComplete->setChecked(true); },
  };
  for (const auto& change : changes) {
    form.Run();
    ASSERT_GT(form.model->rowCount(), 0);
    change();
    EXPECT_EQ(form.model->rowCount(), 0);
    EXPECT_TRUE(form.panel[0]->text().isEmpty());
    EXPECT_TRUE(form.panel[1]->text().isEmpty());
    EXPECT_FALSE(form.bCsv->isEnabled());
  }
  form.Run();  // the lets are over: read as complete, so left out
  EXPECT_EQ(form.model->rowCount(), 0);
  form.OmitComplete->setChecked(false);
  form.Run();  // property 1 from February to November
  EXPECT_EQ(Surnames(form), (std::vector<std::string>{"Ames \xA3" "400", "Bell \xA3" "50", "Bell \xA3" "650"}));

  // "Omit predicted payments" is the user's preference, kept for the next time.
  EXPECT_FALSE(s.prefs.PaymentsOmitFuture());
  form.OmitFuture->setChecked(true);
  EXPECT_TRUE(s.prefs.PaymentsOmitFuture());
  EXPECT_EQ(s.prefs.Bytes()[25], 1);
  EXPECT_TRUE(TPaymentsForm(s, 0).OmitFuture->isChecked());

  // Closing empties the list.
  form.show();
  form.Run();
  form.close();
  EXPECT_EQ(form.model->rowCount(), 0);
}

TEST_F(PaymentsForm, HeadingsSortAndTheCsvFollowsTheOrderShown) {
  TPaymentsForm form(s, 0);
  form.Run();
  const int amount = static_cast<int>(PaymentColumn::Amount);
  form.SortBy(amount);
  EXPECT_EQ(Surnames(form).front(), "Bell \xA3" "50");
  form.SortBy(amount);  // again: the other way
  EXPECT_EQ(Surnames(form).front(), "Bell \xA3" "650");
  EXPECT_EQ(Surnames(form).back(), "Bell \xA3" "50");

  form.EditAsCsv();
  ASSERT_EQ(t.runner.opened, std::vector<std::string>{PaymentsCsvPath(s)});
  const std::string csv = t.dir.Read("root/Payments.csv");
  const std::string first = "20-Mar-2026,\"1\",\"Bell\",02-May-2026,\"7\",\xA3" "650,\"Balance\",\"\",\"\xA3" "700.00\"\r\n";
  const std::string last = "01-Mar-2026,\"1\",\"Bell\",02-May-2026,\"7\",\xA3" "50,\"Deposit\",\"\",\"\"\r\n";
  EXPECT_EQ(csv.substr(csv.find("\r\n") + 2, first.size()), first) << csv;
  EXPECT_EQ(csv.substr(csv.size() - last.size()), last) << csv;

  // A folder that cannot take the file: the path and the reason, nothing opened.
  s.common.RootFolder = t.Root() + "gone/";
  t.dialogs.Expect("Cannot write " + t.Root() + "gone/Payments.csv\rNo such file or directory", MsgIcon::Error,
                   MsgButton::Abort, 0, MsgButton::Abort);
  form.EditAsCsv();
  t.dialogs.VerifyAllShown();
  EXPECT_EQ(t.runner.opened.size(), 1u);
}

TEST_F(PaymentsForm, ControlRInTheMainWindowOpensOneWindowForThePropertyOnShow) {
  StartupEnvironment env;
  s.CurrentProperty = 2;
  TMainForm main(s, env);
  QAction* view = main.Command(QStringLiteral("View Payments"));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
  view->trigger();
  ASSERT_TRUE(main.paymentsForm);
  TPaymentsForm* first = main.paymentsForm;
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->isModal());
  EXPECT_EQ(first->Options().properties, std::vector<int>{2});
  first->Run();
  view->trigger();  // brought forward, list kept
  EXPECT_TRUE(main.paymentsForm == first);
  EXPECT_EQ(first->model->rowCount(), 2);
  first->close();
}

}  // namespace
}  // namespace tb::test
