#pragma once
// A ready-to-use root folder with believable cottages, for trying the program and
// for measuring it at agency scale.

#include <cstdint>
#include <string>

namespace tb {

struct DemoOptions {
  std::string folder;  // the root folder to make
  int properties = 4;
  uint32_t seed = 1;
  int years = 1;        // past years with bookings
  double today = 0;     // the date the data is made around
};

// Writes the settings file, the property folders, rates files for every year from
// `years` back to next year, and bookings in every stored status. Returns "" or the
// error text.
std::string MakeDemo(const DemoOptions& options);
// The name of demo property n (1-based) among count properties; unique per folder.
std::string DemoPropertyName(int n, int count, uint32_t seed);

}  // namespace tb
