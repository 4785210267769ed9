#include "bookings/Charges.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Format.h"
#include "support/TestSession.h"

namespace tb::test {
namespace {

// One property; its keys after the name, extra [Common] keys before it.
std::string Settings(const std::string& propKeys, const std::string& common = "") {
  return "[Common]\nver=V4.4\nNumProps=1\n" + common + "[Prop01]\nPropName=Cottage\n" + propKeys;
}

// Today is Wednesday 9 Dec 2026; the week table starts on Saturday 26 Dec 2026.
const TDateTime kToday = EncodeDate(2026, 12, 9);
const TDateTime kFirstWeek = EncodeDate(2026, 12, 26);

// Weeks from kFirstWeek with the given costs, fuel a tenth of the cost; weeks from
// firstOfNextYear on belong to rate year 2027. Linen is 70 a week in 2026, 140 in 2027.
void BuildWeeks(Session& s, const std::vector<int>& costs, size_t firstOfNextYear, int minCost) {
  s.SeasonYear = {2026, 2027};
  Prop_Rec& p = s.Prop(1);
  p.Weeks.clear();
  for (size_t k = 0; k < costs.size(); ++k) {
    Status_Rec w;
    w.WeekDate = kFirstWeek + 7.0 * static_cast<double>(k);
    w.RateYear = k < firstOfNextYear ? 2026 : 2027;
    w.WeekCost = static_cast<uint16_t>(costs[k]);
    w.WeekFuel = static_cast<uint16_t>(costs[k] / 10);
    p.Weeks.push_back(w);
  }
  p.RateCache[0].LinenCharge = 70;
  p.RateCache[1].LinenCharge = 140;
  p.RateCache[0].MinCost = p.RateCache[1].MinCost = minCost;
}

BookingForm Let(int startDay, int nights) {
  BookingForm f;
  f.surname = "Smith";
  f.startD = kFirstWeek + startDay;
  f.endD = f.startD + nights;
  return f;
}

TEST(ParseAmount, TakesPlainDecimalsOnly) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"450", true, 450}, {" 450.5 ", true, 450.5}, {".5", true, 0.5}, {"5.", true, 5}, {"-3", true, -3},
      {"", false, 0},     {"  ", false, 0},         {".", false, 0},   {"1.2.3", false, 0}, {"1e3", false, 0},
      {"12a", false, 0},  {"1,5", false, 0},        {"-", false, 0},   {"+-1", false, 0},
  };
  for (const Case& c : cases) {
    double v = -99;
    EXPECT_EQ(ParseAmount(c.text, v), c.ok) << "'" << c.text << "'";
    if (c.ok) {
      EXPECT_EQ(v, c.value) << "'" << c.text << "'";
    }
  }
  double v = 0;
  EXPECT_FALSE(ParseAmount(std::string(400, '9'), v)) << "beyond any double";
}

// ---- Rent -------------------------------------------------------------------------

constexpr const char* kShortBreaks = "CRWanted=1\nWEpn=20\nWEFix=10\nWEmin=3\nOTpn=15\nOTFix=0\nOTmin=3\n";

struct RentCase {
  const char* name;
  std::string common;  // short-break settings
  std::vector<int> costs;
  size_t firstOfNextYear;
  int minCost;
  int startDay, nights;  // days after the first week's start (a Saturday)
  const char* rent;
  const char* fuel;
  const char* linen;
  const char* message;
  int beeps;
};

void PrintTo(const RentCase& c, std::ostream* os) { *os << c.name; }

class Rent : public ::testing::TestWithParam<RentCase> {};

TEST_P(Rent, IsPricedFromTheWeekTable) {
  const RentCase& c = GetParam();
  TestSession t;
  t.Load(Settings("ExtChg1=Fuel\nExtChg2=Linen\n", c.common));
  BuildWeeks(t.session, c.costs, c.firstOfNextYear, c.minCost);
  BookingForm f = Let(c.startDay, c.nights);

  const RentResult r = ComputeRent(t.session, 1, f);

  EXPECT_TRUE(r.updated);
  EXPECT_EQ(f.rent, c.rent);
  EXPECT_EQ(f.charge[1], c.fuel);
  EXPECT_EQ(f.charge[2], c.linen);
  EXPECT_EQ(r.message, c.message);
  EXPECT_EQ(t.dialogs.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Lets, Rent,
    ::testing::Values(
        RentCase{"OneWeek", "", {700, 900}, 99, 0, 0, 7, "700", "70", "70", "", 0},
        RentCase{"TwoWeeks", "", {400, 500}, 99, 0, 0, 14, "900", "90", "140", "", 0},
        RentCase{"TenNightsIntoACheaperWeek", "", {700, 350}, 99, 0, 0, 10, "850", "85", "100", "", 0},
        // Tue 29 Dec for 9 nights: 4 nights of 2026 at 700, 5 of 2027 at 560, linen of each year.
        RentCase{"AcrossRateYears", "", {700, 560}, 1, 0, 3, 9, "800", "80", "140", "", 0},
        RentCase{"ShortLetAtMinimum", "", {700}, 99, 250, 2, 3, "250", "25", "70",
                 "Short let: Standard (minimum) cost applies", 1},
        RentCase{"ShortLetAtFullWeek", "", {700}, 99, 0, 2, 3, "700", "70", "70",
                 "Short let: Charges are for full week, adjust as necessary", 1},
        RentCase{"ShortLetInAWeekWithoutPrice", "", {0}, 99, 250, 2, 3, "250", "0", "70",
                 "Short let: Standard (minimum) cost applies", 1},
        // Fri 1 Jan to Mon 4 Jan: 3 weekend nights at 20% and 10% once.
        RentCase{"WeekendBreak", kShortBreaks, {700, 700}, 99, 0, 6, 3, "490", "49", "70", "", 0},
        // Mon and Tue at 15%, a third night charged for the minimum; fuel 31.5 rounds to 32.
        RentCase{"MidweekBreakBelowMinimumNights", kShortBreaks, {700}, 99, 0, 2, 2, "315", "32", "70", "", 0},
        RentCase{"BreakBelowMinimumRent", kShortBreaks, {700}, 99, 400, 2, 2, "400", "32", "70",
                 "Minimum rent applies", 1},
        // Thu 31 Dec to Sun 3 Jan: Thu and Fri in the 700 week, Sat in the 350 week.
        RentCase{"BreakStraddlingARateChange", kShortBreaks, {700, 350}, 99, 0, 5, 3, "385", "38", "70",
                 "Warning: Let straddles rate change. Override rent manually?", 1},
        RentCase{"BreakStraddlingWithAverageRate", std::string(kShortBreaks) + "AvRent=1\n", {700, 350}, 99,
                 0, 5, 3, "373", "38", "70", "Let straddles rate change. Weighted average rate used", 1},
        // Two midweek nights at 25%: 537.5 and 536.5 round to the even unit.
        RentCase{"HalfRoundsUpToEven", "CRWanted=1\nOTpn=25\n", {1075}, 99, 0, 2, 2, "538", "54", "70", "", 0},
        RentCase{"HalfRoundsDownToEven", "CRWanted=1\nOTpn=25\n", {1073}, 99, 0, 2, 2, "536", "54", "70", "",
                 0},
        // 2 x 750 x 10.3% is 154.5, which binary arithmetic makes a hair more.
        RentCase{"HalfDespiteBinaryNoise", "CRWanted=1\nOTpn=10.3\n", {750}, 99, 0, 2, 2, "154", "15", "70", "",
                 0}),
    [](const ::testing::TestParamInfo<RentCase>& param) { return std::string(param.param.name); });

TEST(RentRefused, LeavesTheFieldsAsTheyWere) {
  struct Case {
    const char* what;
    char appState;
    double startDay, nights;
    const char* message;
    int beeps;
  } cases[] = {
      {"booking-file mode", 'F', 0, 7, "Rent not updated - in File Edit Mode", 1},
      {"starts before the table", ' ', -1, 7, "Rent not updated - dates outside Status Window range", 1},
      {"ends after the table", ' ', 8, 7, "Rent not updated - dates outside Status Window range", 1},
      {"ends before it starts", ' ', 3, -1, "Rent not updated - adjust end date?", 0},
  };
  for (const Case& c : cases) {
    TestSession t;
    t.Load(Settings("ExtChg1=Fuel\n"));
    BuildWeeks(t.session, {700, 700}, 99, 0);
    t.session.AppState = c.appState;
    BookingForm f;
    f.startD = kFirstWeek + c.startDay;
    f.endD = f.startD + c.nights;
    f.rent = "123";
    f.charge[1] = "9";
    f.total = "132";

    const RentResult r = ComputeRent(t.session, 1, f);

    EXPECT_FALSE(r.updated) << c.what;
    EXPECT_EQ(r.message, c.message) << c.what;
    EXPECT_EQ(t.dialogs.beeps, c.beeps) << c.what;
    EXPECT_EQ(f.rent + "/" + f.charge[1] + "/" + f.total, "123/9/132") << c.what;
  }
}

TEST(RentRefused, AcceptsALetEndingWithTheLastWeek) {
  TestSession t;
  t.Load(Settings(""));
  BuildWeeks(t.session, {700, 500}, 99, 0);
  BookingForm f = Let(7, 7);
  EXPECT_TRUE(ComputeRent(t.session, 1, f).updated);
  EXPECT_EQ(f.rent, "500");
}

// ---- Totals -----------------------------------------------------------------------

struct TotalsCase {
  const char* what;
  std::string propKeys;
  std::vector<const char*> amounts;  // rent, then the charges
  const char* total;
  const char* deposit;
  const char* balance;
};

TEST(ComputeTotals, WorksOutTheDeposit) {
  const TotalsCase cases[] = {
      {"percentage of everything, fee taken whole", "ExtChg1=Fuel\nExtChg2=Booking Fee\nBookFee=2000\nDBookFee=1\n",
       {"537", "30", "20"}, "587", "161", "426"},
      {"percentage of everything, fee at the percentage", "ExtChg1=Fuel\nExtChg2=Booking Fee\nBookFee=2000\n",
       {"537", "30", "20"}, "587", "146", "441"},
      {"rent only plus the whole fee", "ExtChg1=Fuel\nExtChg2=Booking Fee\nBookFee=2000\nDBookFee=1\nDRO=1\n",
       {"537", "30", "20"}, "587", "154", "433"},
      {"no fee: hundredths of the total", "ExtChg1=Fuel\n", {"537", "30"}, "567", "141.75", "425.25"},
      {"no fee, rent only", "ExtChg1=Fuel\nDRO=1\n", {"537", "30"}, "567", "134.25", "432.75"},
      {"fixed deposit", "ExtChg1=Fuel\nDeposit=15000\n", {"537", "30"}, "567", "150", "417"},
      // 128.2 x 25 is a hair under 3205 in binary; the cent must not be lost.
      {"no binary loss", "", {"128.2"}, "128.20", "32.05", "96.15"},
      {"a blank amount counts as nothing", "ExtChg1=Fuel\n", {"400", ""}, "400", "100", "300"},
      {"charges the property does not show", "ExtChg1=Fuel\n", {"400", "0", "999"}, "400", "100", "300"},
  };
  for (const TotalsCase& c : cases) {
    TestSession t;
    t.Load(Settings(c.propKeys));
    BookingForm f;
    f.rent = c.amounts[0];
    for (size_t i = 1; i < c.amounts.size(); ++i) f.charge[i] = c.amounts[i];
    ASSERT_TRUE(ComputeTotals(t.session.Prop(1), f)) << c.what;
    EXPECT_EQ(f.total + " " + f.deposit + " " + f.balance,
              std::string(c.total) + " " + c.deposit + " " + c.balance)
        << c.what;
  }
}

class Totals : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Load(Settings("ExtChg1=Fuel\n"));
    f.surname = "Smith";
    f.rent = "400";
    f.charge[1] = "20";
    f.total = "t";
    f.deposit = "d";
    f.balance = "b";
  }
  std::string Fields() const { return f.total + " " + f.deposit + " " + f.balance; }
  const Prop_Rec& P() { return t.session.Prop(1); }
  TestSession t;
  BookingForm f;
};

TEST_F(Totals, PaidDepositIsTheFieldsAmount) {
  f.depositPaid = true;
  f.deposit = "100.5";
  ASSERT_TRUE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "420 100.50 319.50");
}

TEST_F(Totals, CompleteKeepsDepositAndBalance) {
  f.status = Complete;
  ASSERT_TRUE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "420 d b");
}

TEST_F(Totals, CancelledChangesNothing) {
  f.status = Cancelled;
  ASSERT_TRUE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "t d b");
}

TEST_F(Totals, PersonalReservationCostsNothingButAWaitingCustomerPays) {
  f.reserved = true;
  f.surname = "- Reserved -";
  ASSERT_TRUE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "0 0 0");
  f.surname = "Smith";
  ASSERT_TRUE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "420 105 315");
}

TEST_F(Totals, AnAmountThatIsNotANumberChangesNothing) {
  for (const char* bad : {"12a", "1.2.3"}) {
    f.charge[1] = bad;
    EXPECT_FALSE(ComputeTotals(P(), f)) << bad;
    EXPECT_EQ(Fields(), "t d b") << bad;
  }
  f.charge[1] = "20";
  f.depositPaid = true;
  f.deposit = "x";
  EXPECT_FALSE(ComputeTotals(P(), f));
  EXPECT_EQ(Fields(), "t x b");
}

TEST_F(Totals, RecomputeTellsTheUserWhenItFails) {
  f.rent = "abc";
  t.dialogs.Expect("Invalid costs - correct.", MsgIcon::Error, MsgButton::OK, 0, MsgButton::OK);
  EXPECT_FALSE(RecomputeTotals(t.dialogs, P(), f));
}

// ---- New booking ------------------------------------------------------------------

TEST(NewBookingCharges, FillsReturnableDepositRentFeeAndTotals) {
  TestSession t;
  t.Load(Settings("ExtChg1=Ret Deposit\nExtChg2=Booking Fee\nRetDeposit=100\nBookFee=2000\n"));
  BuildWeeks(t.session, {537, 600}, 99, 0);
  BookingForm f = Let(0, 7);  // starts 17 days from today: inside the balance weeks

  EXPECT_EQ(NewBookingCharges(t.session, 1, f).Panel(), "Full Balance due");
  EXPECT_EQ(f.rent + " " + f.charge[1] + " " + f.charge[2] + " " + f.charge[3], "537 100 20 0");
  // 25% of 537, 100 and 20, truncated: the fee counts in the deposit at once.
  EXPECT_EQ(f.total + " " + f.deposit + " " + f.balance, "657 164 493");
}

TEST(NewBookingCharges, PercentageFeeIsKeptInFull) {
  TestSession t;
  t.Load(Settings("ExtChg1=Booking Fee\nBookFee=2.5\n"));
  BuildWeeks(t.session, {537}, 99, 0);
  BookingForm f = Let(0, 7);
  NewBookingCharges(t.session, 1, f);
  EXPECT_EQ(f.charge[1], "13.425");
}

TEST(NewBookingCharges, RefusedRentGivesNoFeeAndItsMessage) {
  TestSession t;
  t.Load(Settings("ExtChg1=Booking Fee\nBookFee=2.5\n"));
  BuildWeeks(t.session, {537}, 99, 0);
  BookingForm f = Let(30, 7);
  EXPECT_EQ(NewBookingCharges(t.session, 1, f).Panel(), "Rent not updated - dates outside Status Window range");
  EXPECT_EQ(f.charge[1] + " " + f.total + " " + f.deposit, "0 0 0");
}

TEST(NewBookingCharges, NoticeNamesBothDatesWhenTheStartIsFarOff) {
  TestSession t;
  t.Load(Settings(""));
  BuildWeeks(t.session, std::vector<int>(12, 500), 99, 0);
  BookingForm f = Let(56, 7);  // 20 Feb 2027
  EXPECT_EQ(NewBookingCharges(t.session, 1, f).Panel(),
            "Deposit due " + ShortDateText(kToday + 7) + "  Balance due " + ShortDateText(kFirstWeek + 56 - 42));
}

// ---- Ticks ------------------------------------------------------------------------

class Ticks : public ::testing::Test {
 protected:
  void SetUp() override {
    t.Load(Settings("ExtChg1=Fuel\nExtChg2=Ret Deposit\n"));
    f.surname = "Smith";
    f.rent = "400";
    f.charge[1] = "20";
    f.charge[2] = "100";
    f.startD = kToday + 60;
    f.endD = kToday + 67;
    ASSERT_TRUE(ComputeTotals(t.session.Prop(1), f));
  }
  bool Reserve(bool on) { return f.reserved = on, ReservedTickChanged(t.session, 1, f); }
  bool Deposit(bool on) { return f.depositPaid = on, DepositTickChanged(t.session, 1, f); }
  bool Balance(bool on) { return f.balancePaid = on, BalanceTickChanged(t.session, 1, f); }
  void ExpectQuestion(const char* text, MsgButton answer) {
    t.dialogs.Expect(text, MsgIcon::Confirmation, MsgButton::OK | MsgButton::Cancel, 0, answer);
  }
  static constexpr const char* kPersonal =
      "This is a personal booking.\rUnchecking the reserved box makes it a Customer Booking.\rAre you sure?";
  static constexpr const char* kDepositNotPaid =
      "Deposit not paid.  Reply as follows\rOK: Payment in full - set balance to total\rCancel: Start again.";
  TestSession t;
  BookingForm f;
};

TEST_F(Ticks, ReservingWithoutANameMakesAPersonalReservation) {
  f.surname = " ";
  EXPECT_TRUE(Reserve(true));
  EXPECT_EQ(f.status, Reserved);
  EXPECT_EQ(f.surname, kReservedSurname);
  EXPECT_TRUE(f.noClean);
  EXPECT_EQ(f.total + " " + f.deposit + " " + f.balance, "0 0 0");
}

TEST_F(Ticks, OnlyAHoldCanBeReserved) {
  f.status = DepositPaid;
  EXPECT_FALSE(Reserve(true));
  EXPECT_FALSE(f.reserved);
  EXPECT_EQ(f.status, DepositPaid);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(Ticks, UnreservingAPersonalReservationIsConfirmed) {
  f.surname = "";
  Reserve(true);
  ExpectQuestion(kPersonal, MsgButton::Cancel);
  EXPECT_FALSE(Reserve(false));
  EXPECT_TRUE(f.reserved);
  EXPECT_EQ(f.status, Reserved);

  ExpectQuestion(kPersonal, MsgButton::OK);
  EXPECT_TRUE(Reserve(false));
  EXPECT_EQ(f.status, Hold);
  EXPECT_EQ(f.total + " " + f.deposit, "520 130");
}

TEST_F(Ticks, WaitingCustomerPaysADeposit) {
  Reserve(true);
  EXPECT_TRUE(Deposit(true));
  EXPECT_EQ(f.status, DepositPaid);
  EXPECT_FALSE(f.reserved);
  EXPECT_EQ(f.dateD, kToday);
  EXPECT_EQ(t.dialogs.beeps, 0);
}

TEST_F(Ticks, PersonalReservationTakesNoDeposit) {
  f.surname = "";
  Reserve(true);
  EXPECT_FALSE(Deposit(true));
  EXPECT_FALSE(f.depositPaid);
  EXPECT_EQ(f.status, Reserved);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(Ticks, DepositUnpaidAgainOnlyBeforeTheBalance) {
  Deposit(true);
  EXPECT_TRUE(Deposit(false));
  EXPECT_EQ(f.status, Hold);
  EXPECT_EQ(f.dateD, kNotPaid);

  Deposit(true);
  Balance(true);
  EXPECT_FALSE(Deposit(false));
  EXPECT_TRUE(f.depositPaid);
  EXPECT_EQ(f.status, Paid);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(Ticks, BalanceAfterDeposit) {
  Deposit(true);
  EXPECT_TRUE(Balance(true));
  EXPECT_EQ(f.status, Paid);
  EXPECT_EQ(f.dateP, kToday);
  EXPECT_EQ(f.deposit, "130");

  EXPECT_TRUE(Balance(false));
  EXPECT_EQ(f.status, DepositPaid);
  EXPECT_EQ(f.dateP, kNotPaid);
}

TEST_F(Ticks, BalanceWithoutDepositAsksFirst) {
  ExpectQuestion(kDepositNotPaid, MsgButton::Cancel);
  EXPECT_FALSE(Balance(true));
  EXPECT_FALSE(f.balancePaid);
  EXPECT_EQ(f.status, Hold);

  ExpectQuestion(kDepositNotPaid, MsgButton::OK);
  EXPECT_TRUE(Balance(true));
  EXPECT_EQ(f.status, Paid);
  EXPECT_TRUE(f.depositPaid);
  EXPECT_EQ(f.dateD, kToday);
  EXPECT_EQ(f.total + " " + f.deposit + " " + f.balance, "520 0 520");
}

TEST_F(Ticks, BalanceRefusedForAnOwnersReservation) {
  f.surname = "";
  Reserve(true);
  EXPECT_FALSE(Balance(true));
  EXPECT_FALSE(f.balancePaid);
  EXPECT_EQ(f.status, Reserved);
  EXPECT_EQ(t.dialogs.beeps, 1);
}

TEST_F(Ticks, BalancePaidAfterTheLet) {
  f.startD = kToday - 7;
  f.endD = kToday;
  Deposit(true);
  Balance(true);
  EXPECT_EQ(f.status, RepayDeposit) << "a returnable deposit is held";

  Balance(false);
  f.charge[2] = "0";
  Balance(true);
  EXPECT_EQ(f.status, Complete);
  EXPECT_EQ(f.dateR, f.endD);
}

TEST_F(Ticks, CancelledBookingKeepsItsTicks) {
  f.status = Cancelled;
  f.depositPaid = true;
  EXPECT_FALSE(Deposit(false));
  EXPECT_TRUE(f.depositPaid);
  EXPECT_FALSE(Balance(true));
  EXPECT_FALSE(f.balancePaid);
  EXPECT_EQ(f.status, Cancelled);
  EXPECT_EQ(t.dialogs.beeps, 2);
}

TEST(SettledStatus, TicksDecideOnSaving) {
  struct Case {
    uint8_t status;
    bool deposit, balance;
    uint8_t expected;
  } cases[] = {
      {Hold, false, false, Hold},         {Hold, true, false, DepositPaid},   {Reserved, true, true, Paid},
      {DepositPaid, true, true, Paid},    {Complete, true, true, Complete},   {Cancelled, true, true, Cancelled},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettledStatus(c.status, c.deposit, c.balance), c.expected)
        << int{c.status} << " " << c.deposit << c.balance;
  }
}

}  // namespace
}  // namespace tb::test
