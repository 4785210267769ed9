#pragma once
// A root folder for the monthly accounts: Ash & Elm (pounds, 15% fee, charges Fuel,
// Booking Fee and Ret Deposit, owned by Alice Penrose) and Birch (dollars, 10% fee on
// the rent only, charges Fuel and Linen, owned by Tom Ashdown), two expense
// categories (one with a comma in its name), VAT 20%, today 9 Dec 2026.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "owners/OwnerDB.h"
#include "owners/OwnerRec.h"
#include "owners/OwnerOrder.h"
#include "platform/FileSystem.h"
#include "reports/Expenses.h"
#include "reports/MonthlyAccounts.h"
#include "store/BookingFile.h"
#include "support/Builders.h"
#include "support/TestSession.h"

namespace tb::test {

class AccountsFixture {
 public:
  explicit AccountsFixture(const std::string& extraCommon = "") {
    t.Load("[Common]\nNumProps=3\nTax=20\nNExpCats=2\nX1-Desc=Cleaning\nX2-Desc=Repairs, garden\n"
           "eBCC=books@agent.test\n" +
           extraCommon +
           "[Prop01]\nPropName=Ash & Elm\nMgtFee=15\nExtChg1=Fuel\nExtChg2=Booking Fee\nExtChg3=Ret Deposit\n"
           "Owner=1\n"
           "[Prop02]\nPropName=Birch\nCS=$\nMgtFee=10\nFRentOnly=1\nExtChg1=Fuel\nExtChg2=Linen\nOwner=2\n"
           "[Prop03]\nPropName=Cedar\nMgtFee=12.5\nOwner=3\n");
    for (int n = 1; n <= s.NumProps(); ++n) ForceDirectories(s.Prop(n).Folder + "Data/");
  }

  // A let: rent 500, fuel 20, booking fee 30, damage deposit 100 (total 650).
  static Book_Rec Let(TDateTime start, int nights, uint8_t status, const std::string& surname = "Ames") {
    Book_Rec b = MakeBooking(start, nights, surname, status);
    b.Rent = 500;
    b.Chg1 = 20;
    b.Chg2 = 30;
    b.Chg3 = 100;
    b.Total = 650;
    return b;
  }
  // Property n's booking file, read as the chart reads the property on show.
  void WriteBookings(int n, const std::vector<Book_Rec>& records) {
    ASSERT_TRUE(WriteWholeFile(BookingFilePath(s, n), BookingFileImage(records)));
    ASSERT_TRUE(ReadBookings(s, n, false, false));
  }
  // Owners 1 to 3, read into the session when load; owner 3 has no e-mail address.
  void WriteOwners(bool load = true, const std::string& first = "alice@penrose.test",
                   const std::string& second = "tom@ashdown.test") {
    std::vector<Owner_Rec> owners(3);
    const char* names[3][2] = {{"Penrose", "Alice"}, {"Ashdown", "Tom"}, {"O'Hara", "Declan"}};
    const std::string mails[3] = {first, second, ""};
    for (size_t i = 0; i < 3; ++i) {
      owners[i].OwnerID = static_cast<uint16_t>(i + 1);
      owners[i].OwnerSurname = names[i][0];
      owners[i].OwnerFName = names[i][1];
      owners[i].OwnerEmail = mails[i];
    }
    SortOwnersByName(owners);
    ASSERT_TRUE(WriteWholeFile(OwnerFilePath(s), OwnersImage(owners)));
    if (load) OpenOwnerDB(s, false);
  }
  // Property n's ledger from `first` for `years` years: every amount is
  // (category + 1) x 10 + month (1..12), so a month's sum tells which were read.
  void WriteExpenses(int n, int first, int years) {
    std::string image(16, '\0');
    const int32_t header[4] = {first, years, 2, 0};
    std::memcpy(image.data(), header, 16);
    for (int y = 0; y < years; ++y)
      for (int c = 0; c < 2; ++c)
        for (int m = 0; m < 12; ++m) {
          const double v = (c + 1) * 10 + m + 1;
          image.append(reinterpret_cast<const char*>(&v), 8);
        }
    ASSERT_TRUE(WriteWholeFile(ExpensesPath(s, n), image));
  }

  TestSession t;
  Session& s = t.session;
};

}  // namespace tb::test
