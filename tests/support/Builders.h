#pragma once
// Small builders for test data: bookings and booking files.

#include <string>
#include <vector>

#include "store/BookRec.h"

namespace tb::test {

// A booking from start for nights nights, booked 30 days before, nothing paid.
Book_Rec MakeBooking(TDateTime start, int nights, const std::string& surname, uint8_t status = Hold);
// The file image of records back to back, as the program writes it.
std::string BookingFileImage(const std::vector<Book_Rec>& records);
// Every record of a booking file, read without taking its lock (none when missing).
std::vector<Book_Rec> FileRecords(const std::string& path);
std::vector<std::string> Surnames(const std::vector<Book_Rec>& records);

}  // namespace tb::test
