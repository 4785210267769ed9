#include "support/Builders.h"

namespace tb::test {

Book_Rec MakeBooking(TDateTime start, int nights, const std::string& surname, uint8_t status) {
  Book_Rec r;
  r.Status = status;
  r.StartD = start;
  r.EndD = start + nights;
  r.DateB = start - 30;
  r.Surname = surname;
  r.Rent = 100.0 * nights;
  r.Total = r.Rent;
  r.Balance = r.Rent;
  return r;
}

std::string BookingFileImage(const std::vector<Book_Rec>& records) {
  std::string out;
  for (const Book_Rec& r : records) AppendBookRecord(out, r);
  return out;
}

}  // namespace tb::test
