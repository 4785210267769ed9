#pragma once
// A root folder with two properties and expense categories, and hand-built
// "Expenses.bkx" images.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "reports/Expenses.h"
#include "support/TestSession.h"

namespace tb::test {

// A value that tells where it stands: year index, category and month.
inline double MarkedAmount(int y, int c, int m) { return y * 1000 + c * 100 + m + 0.25; }

// The file image: the header, then years x cats x 12 amounts from `amount`.
template <class F>
std::string ExpenseFileImage(int32_t first, int32_t years, int32_t cats, int32_t reserved, F amount) {
  std::string out(16, '\0');
  const int32_t header[4] = {first, years, cats, reserved};
  std::memcpy(out.data(), header, 16);
  for (int y = 0; y < years; ++y)
    for (int c = 0; c < cats; ++c)
      for (int m = 0; m < 12; ++m) {
        const double v = amount(y, c, m);
        out.append(reinterpret_cast<const char*>(&v), 8);
      }
  return out;
}

class ExpenseFixture {
 public:
  // Today is 9 Dec 2026.
  explicit ExpenseFixture(int cats = 2) {
    std::string common = "NExpCats=" + std::to_string(cats) + "\n";
    const char* names[] = {"Cleaning", "Rep\"airs", "Laundry", "Garden"};
    for (int c = 1; c <= cats; ++c) common += "X" + std::to_string(c) + "-Desc=" + names[(c - 1) % 4] + "\n";
    t.Load(SimpleSettings(2, common));
    for (int n = 1; n <= 2; ++n) ForceDirectories(t.session.Prop(n).Folder + "Data");
  }
  std::string Path(int n = 1) const { return ExpensesPath(t.session, n); }
  void WriteLedger(const std::string& image, int n = 1) { ASSERT_TRUE(WriteWholeFile(Path(n), image)); }
  std::string FileBytes(int n = 1) const {
    std::string data;
    ReadWholeFile(Path(n), data);
    return data;
  }
  TestSession t;
};

}  // namespace tb::test
