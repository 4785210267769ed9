#include "bookings/BookingStatus.h"

#include <gtest/gtest.h>

namespace tb::test {
namespace {

const TDateTime kToday = EncodeDate(2026, 12, 9);

Prop_Rec Rules() {
  Prop_Rec p;
  p.DepDue = 7;
  p.BalDue = 6;
  p.Wait = 34;
  return p;
}

// A booking made `bookedAgo` days before today, starting `startIn` days after it.
Book_Rec Booking(uint8_t status, const std::string& surname, int bookedAgo, int startIn) {
  Book_Rec b;
  b.Status = status;
  b.Surname = surname;
  b.DateB = kToday - bookedAgo;
  b.StartD = kToday + startIn;
  b.EndD = b.StartD + 7;
  return b;
}

std::string Day(int offset) { return ShortDateText(kToday + offset); }

TEST(IsPersonalName, CustomersStartWithADigitOrALetter) {
  struct Case {
    const char* surname;
    bool personal;
  } cases[] = {
      {"", true},      {"   ", true},    {"- Reserved -", true}, {"*Owner", true}, {"\xC9lise", true},
      {"Smith", false}, {"smith", false}, {"  Smith ", false},    {"9 Elms", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsPersonalName(c.surname), c.personal) << "'" << c.surname << "'";
}

TEST(EffectiveStatus, FollowsTheDueDates) {
  const Prop_Rec p = Rules();
  struct Case {
    const char* what;
    Book_Rec b;
    int expected;
  } cases[] = {
      {"within the deposit's days, whatever the start", Booking(Hold, "Smith", 3, 2), Hold},
      {"deposit due today", Booking(Hold, "Smith", 7, 100), Hold},
      {"deposit a day late", Booking(Hold, "Smith", 8, 100), DepositOverdue},
      {"balance due today", Booking(DepositPaid, "Smith", 30, 42), DepositPaid},
      {"balance a day late", Booking(DepositPaid, "Smith", 30, 41), BalanceOverdue},
      {"waiting list, 34 whole weeks to go", Booking(Reserved, "Smith", 30, 238), Reserved},
      {"waiting list, under 34 weeks to go", Booking(Reserved, "Smith", 30, 237), DepositOverdue},
      {"owner's reservation never expires", Booking(Reserved, "- Reserved -", 30, 10), Reserved},
      {"paid", Booking(Paid, "Smith", 30, 5), Paid},
  };
  for (const Case& c : cases) EXPECT_EQ(EffectiveStatus(c.b, p, kToday + 0.75), c.expected) << c.what;
}

TEST(DueText, NamesWhatIsDueNext) {
  const Prop_Rec p = Rules();
  struct Case {
    const char* what;
    Book_Rec b;
    std::string expected;
  } cases[] = {
      {"waiting list", Booking(Reserved, "Smith", 0, 300), "Waitlist expires " + Day(300 - 238)},
      {"waiting list expired", Booking(Reserved, "Smith", 0, 200), "Waitlist expires " + Day(200 - 238) + " **EXPIRED**"},
      {"owner's reservation", Booking(Reserved, "- Reserved -", 0, 200), ""},
      {"hold, both ahead", Booking(Hold, "Smith", 0, 100), "Deposit due " + Day(7) + " Balance due " + Day(58)},
      {"hold, deposit late", Booking(Hold, "Smith", 10, 100), "Deposit due " + Day(-3) + " **Overdue**"},
      {"hold, deposit due after the balance", Booking(Hold, "Smith", 0, 45), "Full amount due " + Day(7)},
      {"hold, start closer than the balance weeks", Booking(Hold, "Smith", 0, 30), "Full amount due " + Day(7)},
      {"hold, close start and deposit late", Booking(Hold, "Smith", 10, 30), "Full amount due " + Day(-3) + " **Overdue**"},
      {"deposit paid", Booking(DepositPaid, "Smith", 30, 50), "Balance due " + Day(8)},
      {"deposit paid, balance late", Booking(DepositPaid, "Smith", 30, 40), "Balance due " + Day(-2) + " **Overdue**"},
      {"paid", Booking(Paid, "Smith", 30, 10), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DueText(c.b, p, kToday), c.expected) << c.what;
}

TEST(NewBookingNotice, FullBalanceOnceTheStartIsWithinTheBalanceWeeks) {
  const Prop_Rec p = Rules();
  EXPECT_EQ(NewBookingNotice(p, kToday + 42, kToday), "Full Balance due");
  EXPECT_EQ(NewBookingNotice(p, kToday + 43, kToday), "Deposit due " + Day(7) + "  Balance due " + Day(1));
}

}  // namespace
}  // namespace tb::test
