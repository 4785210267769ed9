#pragma once
// One property's configuration and run-time state. Entry 0 of the table stands for a
// booking file opened by name; entries 1..NumProps are the properties.

#include <array>
#include <cstdint>
#include <string>

#include "platform/DateTime.h"
#include "store/BookingList.h"
#include "store/RateRec.h"
#include "store/StatusRec.h"

namespace tb {

struct Prop_Rec {
  // From the property's settings section.
  std::string PropName;
  int32_t PropNo = 0;
  int32_t ID = 0;
  int32_t ChangeDay = 0;  // 1 = Sunday .. 7 = Saturday
  double Deposit = 0;     // percentage when DepositIsPct, else an amount
  double RetDeposit = 0;
  double BookFee = 0;  // percentage when BookFeeIsPct, else an amount
  double MgtFee = 0;
  std::array<std::string, 4> ExtChg;  // names of extra charges 1..3; [0] unused
  uint8_t BalDue = 0, DepDue = 0, Wait = 0;
  uint16_t Owner = 0;
  std::string WebFolder, WebAvail, WebIndex, Site;
  char CS = '\0';  // currency symbol
  uint8_t DRO = 0, AO = 0, DBookFee = 0, FRentOnly = 0, AS = 0;
  // Derived from the extra charge names.
  uint8_t ChargeCount = 0;
  uint8_t FuelChg = 0, LinenChg = 0, RetDepChg = 0, BookFeeChg = 0, SurchargeChg = 0;
  uint8_t DepositIsPct = 0, BookFeeIsPct = 0;
  // Saved window top, left, height, width ("SWin<n>").
  std::array<int16_t, 4> WinPos{0, 0, 0, 0};

  // Run-time state.
  std::string Folder;  // root folder + PropName + "/"
  // The rates of the two rate years on show, and the file times they were read at
  // (0 = not read).
  std::array<Rate_Rec, 2> RateCache{};
  std::array<TDateTime, 2> RateCacheAge{0, 0};
  std::array<int, 2> RateCacheYear{0, 0};  // the rate year each slot was read for
  TStArray Weeks;         // the chart's week table
  BookingList Bookings;   // FirstBooking, LastBooking, BookingCount
  TDateTime BookFileAge = 0;  // the booking file's time when last read or written
  uint8_t ListModified = 0, BookingChanged = 0, ImportSel = 0, DatesChanged = 0;

  // The currency symbol as text ("" when none is set).
  std::string CurrencySymbol() const { return CS ? std::string(1, CS) : std::string(); }
};

}  // namespace tb
