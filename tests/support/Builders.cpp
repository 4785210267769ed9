#include "support/Builders.h"

#include "platform/FileSystem.h"

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

std::vector<Book_Rec> FileRecords(const std::string& path) {
  std::string data;
  std::vector<Book_Rec> out;
  if (!ReadWholeFile(path, data)) return out;
  size_t pos = 0;
  while (pos < data.size()) {
    Book_Rec r;
    bool fault = false;
    if (!ParseBookRecord(data, pos, r, fault) || fault) break;
    out.push_back(r);
  }
  return out;
}

std::vector<std::string> Surnames(const std::vector<Book_Rec>& records) {
  std::vector<std::string> out;
  for (const Book_Rec& r : records) out.push_back(r.Surname);
  return out;
}

}  // namespace tb::test
