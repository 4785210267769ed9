// cotlynctl history on a demo root folder: the window's view as JSON, and its refusals.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "bookings/BookingHistory.h"
#include "ctl/CtlSession.h"
#include "ctl/DemoRootTest.h"
#include "store/BookingFile.h"

namespace tb::test {
namespace {

class CtlHistory : public DemoRootTest {};

TEST_F(CtlHistory, GivesTheWindowsHeadingsCaptionsAndCells) {
  ChildProcess run = Ctl({"history", Root(), "2", "2026", "--today", "2026-12-09"});
  ASSERT_EQ(run.exitCode, 0) << run.Errors();
  const auto j = nlohmann::json::parse(run.Output());
  EXPECT_EQ(j["prop"], 2);
  EXPECT_EQ(j["headings"], (nlohmann::json{"2026", "2025", "2024", "2023", "2022"}));

  // The same view worked out here.
  std::string error;
  auto ctl = CtlSession::Open(Root(), "2026-12-09", error);
  ASSERT_TRUE(ctl) << error;
  Session& s = ctl->session();
  ReadBookings(s, 2, false, false);
  const BookingHistory h = BuildBookingHistory(s, 2, 2026);
  ASSERT_EQ(j["rows"].size(), 53u);
  size_t booked = 0;
  for (size_t row = 0; row < 53; ++row) {
    EXPECT_EQ(j["rows"][row]["week"], h.captions[row]) << row;
    for (size_t c = 0; c < 5; ++c) {
      EXPECT_EQ(j["rows"][row]["cells"][c], h.cells[c][row]) << row << "," << c;
      if (h.cells[c][row] != "-" && !h.cells[c][row].empty()) ++booked;
    }
  }
  EXPECT_GT(booked, 0u);  // the demo's bookings show, not only free weeks
}

TEST_F(CtlHistory, RefusesAYearOutOfRangeAndAnUnknownProperty) {
  EXPECT_EQ(Ctl({"history", Root(), "1", "1900"}).exitCode, 2);
  EXPECT_EQ(Ctl({"history", Root(), "1"}).exitCode, 2);
  EXPECT_EQ(Ctl({"history", Root(), "Nowhere", "2026"}).exitCode, 1);
}

}  // namespace
}  // namespace tb::test
