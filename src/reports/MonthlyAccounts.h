#pragma once
// The monthly accounts of a property for its owner: what was credited in one calendar
// month (income, management fee and its tax, the month's expenses), the figures of the
// year to date and the bookings ahead, gathered in one walk over its bookings. From them
// come the printed account, the owner's e-mail merged from "ActProforma.htm" and the
// agent's summary across properties (AccountsRun.h runs them).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DateTime.h"

namespace tb {

class Session;
class ReportPrinter;

// One calendar month's takings of a property.
struct MonthStats {
  int32_t days = 0;  // nights of the lets that departed in the month
  double rent = 0;
  std::array<double, 3> charges{};  // extra charges 1 to 3
  double bookingFees = 0;           // the "Booking Fee" charge, tax included
  double retained = 0;              // damage deposits kept
  double cancellation = 0;          // charges kept from cancelled lets
  double totalIncome = 0;
  double mgtFee = 0;  // net of tax
  double vat = 0;     // tax on the management fee
};

// The accumulator of one property for one run.
struct Stats_Rec {
  std::array<MonthStats, 12> month;  // January to December of the report year
  // The report month's expenses, by category, and their sum.
  std::vector<double> expenses;
  double expensesTotal = 0;
  double totalExpenditure = 0;  // fee + tax + expenses of the report month
  double netIncome = 0;         // of the report month
  int32_t daysBooked = 0;       // in the report year
  int32_t daysComplete = 0;     // in its months up to the report month
  double receivedToDate = 0;    // rent and charges
  double feeBaseToDate = 0;
  double mgtFeesToDate = 0;  // net of tax
  double retainedToDate = 0;
  double expensesToDate = 0;
  double forecastIncome = 0;  // gross, months after the report month
  double bookingFeesToDate = 0;
  double forecastBookingFees = 0;
  double forecastFeeBase = 0;
  double forecastFees = 0;  // booking and management, net of tax
  double netIncomeToDate = 0;
  // The year after the report year.
  int32_t nextDays = 0;
  int32_t nextDaysComplete = 0;
  double nextIncome = 0;        // booked
  double nextIncomeToCome = 0;  // of lets not yet departed
};

// The month reported on. In forecast mode (a month not yet past) bookings not paid up
// are counted as they stand.
struct AccountsPeriod {
  int year = 0;
  int month = 1;  // 1..12
  bool forecast = false;
};

// "mmmm yyyy" of the month.
std::string AccountsMonthText(const AccountsPeriod& period);
// True when the month is this one or later: the accounts could only be a forecast.
bool MonthNotPast(const AccountsPeriod& period, TDateTime today);

// Walks property n's bookings (already read) into st. Outside forecast mode a let
// departed by the end of the report month and not paid up is not counted: its log line
// is added to unpaid.
void AccumulateBookings(const Session& s, int n, const AccountsPeriod& period, Stats_Rec& st,
                        std::vector<std::string>& unpaid);
// The report month's expenses and those of the year to date from the property's ledger
// (zero where it holds no such year). Without expense categories nothing is read.
void AddExpenses(Session& s, int n, const AccountsPeriod& period, Stats_Rec& st);
// The month totals, the fees and the figures to date, once bookings and expenses are in.
void CompleteStats(const Session& s, int n, const AccountsPeriod& period, Stats_Rec& st);
// All three for one property.
Stats_Rec PropertyStats(Session& s, int n, const AccountsPeriod& period, std::vector<std::string>& unpaid);

// The extra charges (1..3) that count as the owner's income: the named ones but the
// returnable deposit and the booking fee.
std::vector<int> CountedCharges(const Session& s, int n);
// A month's sum of those charges, given them.
double CountedChargesOf(const std::vector<int>& counted, const MonthStats& m);

// The agent's figures of one property for the report month, net of tax.
struct AgentFigures {
  double bookingFees = 0, mgtFee = 0, totalFees = 0, vat = 0, feesToDate = 0, forecastFees = 0;
};
AgentFigures AgentFiguresOf(const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st);

// "The management fee is 15% of the ..." for property n.
std::string FeeNote(const Session& s, int n);

// The owner's e-mail: each field with its value (HTML, names escaped) and whether its
// line is left out.
struct AccountField {
  std::string name;  // "<-Prop->"
  std::string value;
  bool omit = false;
};
std::vector<AccountField> AccountFields(const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st,
                                        const std::string& ownerName);
// The proforma, line by line: a line holding a field marked omit is left out; every
// other field is replaced by its value, which is not scanned again. Line ends are kept.
std::string MergeAccount(const std::string& proforma, const std::vector<AccountField>& fields);

// The printed account of property n on the current page, from the top.
void PrintAccount(ReportPrinter& printer, const Session& s, int n, const AccountsPeriod& period, const Stats_Rec& st,
                  bool agentReport);
// The agent summary's pages, a row per property and the totals; the job is begun and
// ended here. False when it could not begin.
bool PrintAgentSummary(ReportPrinter& printer, const Session& s, const AccountsPeriod& period,
                       const std::vector<int>& properties, const std::vector<Stats_Rec>& stats);
// The agent summary as a CSV file's text (CR LF line ends).
std::string AgentSummaryCsv(const Session& s, const AccountsPeriod& period, const std::vector<int>& properties,
                            const std::vector<Stats_Rec>& stats);

}  // namespace tb
