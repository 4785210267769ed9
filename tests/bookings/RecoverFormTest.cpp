// The recovery window reached from a change log opened in booking-file mode: the run's
// lines in its memo, its result file, and the change log left as it was.

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/BookingFileMode.h"
#include "bookings/BrambleFixture.h"
#include "bookings/Recovery.h"
#include "bookings/forms/TBookForm.h"
#include "bookings/forms/TRecoverForm.h"
#include "platform/PathText.h"
#include "store/Settings.h"
#include "support/TypeKeys.h"

namespace tb::test {
namespace {

Book_Rec Saved(TDateTime start, const std::string& surname, int minute, uint8_t status = Hold) {
  Book_Rec r = MakeBooking(start, 7, surname, status);
  r.DateUpD = EncodeDate(2026, 11, 2) + EncodeTime(9, minute, 0, 0);
  return r;
}

class RecoverForm : public BrambleFixture {
 protected:
  RecoverForm() : BrambleFixture("") {
    // Saves in the order they were made: Brown twice, Adams, Clark deleted, Davis
    // cancelled and the week let again to Evans.
    WriteWholeFile(changeLog, BookingFileImage({Saved(kJan + 14, "Brown", 1), Saved(kJan + 2, "Adams", 2),
                                               Saved(kJan + 14, "Brown", 3, Paid), Saved(kJan + 32, "Clark", 4),
                                               Saved(kJan + 32, "Clark", 5, Deleted),
                                               Saved(kJan + 44, "Davis", 6, Cancelled),
                                               Saved(kJan + 44, "Evans", 7)}));
    ReadWholeFile(changeLog, logBytes);
    ReleaseBookingFile(s);
    s.DirectFile = changeLog;
    s.Prop(0) = s.Prop(1);
    StartBookingFileMode(s);
  }
  std::string changeLog = Archive("Changed");
  std::string logBytes;
};

TEST_F(RecoverForm, ExtractingFromTheChangeLogWritesTheRecoveryFile) {
  TBookForm form(s);
  form.OpenFile();
  form.show();
  EXPECT_TRUE(form.acExtractChangeLog->isEnabled());

  QStringList memo;
  form.showRecovery = [&]() {
    TRecoverForm recover(s, &form);
    recover.memo->setPlainText(QStringLiteral("an earlier run"));
    recover.show();
    EXPECT_TRUE(recover.memo->toPlainText().isEmpty());  // cleared on every show
    EXPECT_EQ(recover.windowTitle().toStdString(), "Data recovery: File is " + PathText(changeLog));
    recover.chooseBackupFile = []() { return QStringLiteral(" "); };  // only spaces: no backup
    recover.browse->click();
    recover.run->click();
    recover.help->click();
    memo = recover.memo->toPlainText().split(QLatin1Char('\n'));
    if (const char* shot = std::getenv("RECOVER_SCREENSHOT")) recover.grab().save(QString::fromLocal8Bit(shot));
  };
  form.acExtractChangeLog->trigger();

  const std::string out = PathText(RecoveryFilePath(s));
  const QStringList expected = {
      QString(),
      QStringLiteral("-----Starting pass 1. Extracting records from Change Log"),
      QStringLiteral("Recovered booking. Surname=Adams Booking start=02/01/2027 L.Update=02/11/2026 09:02:00"),
      QStringLiteral("Recovered booking. Surname=Brown Booking start=14/01/2027 L.Update=02/11/2026 09:03:00"),
      QStringLiteral("Recovered booking. Surname=Clark Booking start=01/02/2027 L.Update=02/11/2026 09:05:00"),
      QStringLiteral("Recovered booking. Surname=Davis Booking start=13/02/2027 L.Update=02/11/2026 09:06:00"),
      QStringLiteral("Recovered booking. Surname=Evans Booking start=13/02/2027 L.Update=02/11/2026 09:07:00"),
      QStringLiteral("Recovered 5 records from change log"),
      QString(),
      QStringLiteral("-----Starting pass 2. Checking for bookings where dates have changed"),
      QStringLiteral("End of check for bookings where date changed. Total discarded = 0"),
      QString(),
      QStringLiteral("-----Starting pass 3. Checking for superceded bookings and deleted bookings etc"),
      QStringLiteral("Dropped deleted booking: Name Clark Booking start=01/02/2027 L.Update=02/11/2026 09:05:00"),
      QString::fromStdString("Written 4 bookings to recovery file: " + out),
      QStringLiteral("--------RECOVERY COMPLETE-----------")};
  EXPECT_EQ(memo, expected);
  EXPECT_EQ(Surnames(FileRecords(RecoveryFilePath(s))),
            (std::vector<std::string>{"Adams", "Brown", "Davis", "Evans"}));
  EXPECT_EQ(t.runner.opened, std::vector<std::string>{s.common.HelpFolder + "870.html"});
  std::string after;
  ReadWholeFile(changeLog, after);
  EXPECT_EQ(after, logBytes);
  t.dialogs.VerifyAllShown();
}

TEST_F(RecoverForm, AnUnsavedChangeMustBeSavedFirst) {
  TBookForm form(s);
  form.OpenFile();
  int shown = 0;
  form.showRecovery = [&shown]() { ++shown; };
  form.show();
  Type(form.fPhone, QStringLiteral("0161"));
  t.dialogs.Expect("Booking record changed.\rSave and rerun", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  form.acExtractChangeLog->trigger();
  EXPECT_EQ(shown, 0);
  t.dialogs.VerifyAllShown();
}

}  // namespace
}  // namespace tb::test
