#pragma once
// Due dates, the due text, waiting-list expiry and the status a booking shows today.

#include <string>

#include "platform/DateTime.h"
#include "store/BookRec.h"
#include "store/PropRec.h"

namespace tb {

// True for an owner's or maintenance reservation: the trimmed surname is empty or does
// not start with an ASCII digit or letter ("- Reserved -").
bool IsPersonalName(const std::string& surname);

TDateTime DepositDueDate(const Book_Rec& b, const Prop_Rec& p);   // DateB + DepDue
TDateTime BalanceDueDate(const Book_Rec& b, const Prop_Rec& p);   // StartD - 7 x BalDue
TDateTime WaitlistExpiry(const Book_Rec& b, const Prop_Rec& p);   // StartD - 7 x Wait

// The status used for colours and reports on `today` (7 and 8 for overdue).
int EffectiveStatus(const Book_Rec& b, const Prop_Rec& p, TDateTime today);
// The payment-due line of a booking ("Deposit due ...", "... **Overdue**"), or "".
std::string DueText(const Book_Rec& b, const Prop_Rec& p, TDateTime today);
// Shown when a new booking is opened and the rent computation said nothing.
std::string NewBookingNotice(const Prop_Rec& p, TDateTime start, TDateTime today);

}  // namespace tb
