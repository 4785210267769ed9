#include "ctl/DemoHistory.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <tuple>

#include "ctl/DemoBookings.h"

namespace tb {

namespace {

bool Chance(std::mt19937& rng, int percent) { return static_cast<int>(rng() % 100) < percent; }

// Whether a stay from start to end would meet one of the bookings, or start with one.
bool Taken(const std::vector<Book_Rec>& bookings, double start, double end) {
  for (const Book_Rec& b : bookings)
    if (b.StartD == start || (start < b.EndD && b.StartD < end)) return true;
  return false;
}

// The booking as it was first saved: a hold (or the owner's week), nothing paid.
Book_Rec AsMade(const Book_Rec& b) {
  Book_Rec first = b;
  if (first.Status != Reserved) first.Status = Hold;
  first.DateD = first.DateP = first.DateR = kNotPaid;
  first.Set(DepAck, false);
  first.Set(BalAck, false);
  first.DateUpD = b.DateB + 0.4;
  return first;
}

// Another customer's booking of the same dates, cancelled before b was made.
Book_Rec CancelledBefore(const Book_Rec& b, std::mt19937& rng) {
  Book_Rec c = b;
  DemoCustomer(c, rng);
  c.Status = Cancelled;
  c.Flag = 0;
  c.DateB = b.DateB - 30 - rng() % 30;
  c.DateD = c.DateB + 3;
  c.DateP = c.DateR = kNotPaid;
  c.Total = c.Deposit;
  c.Balance = 0;
  c.Refund = 0;
  c.DateUpD = b.DateB - 2 + 0.45;
  return c;
}

void AddSaves(std::vector<Book_Rec>& saves, const Book_Rec& b, const std::vector<Book_Rec>& bookings,
              std::mt19937& rng) {
  Book_Rec first = AsMade(b);
  if (!(first.DateUpD < b.DateUpD)) {
    saves.push_back(b);
    return;
  }
  // A customer who changed weeks: first made on dates that are still free.
  if (b.Status != Reserved && Chance(rng, 5)) {
    for (double shift : {-7.0, 7.0, -14.0, 14.0}) {
      if (Taken(bookings, b.StartD + shift, b.EndD + shift)) continue;
      first.StartD += shift;
      first.EndD += shift;
      break;
    }
  }
  saves.push_back(first);
  // The deposit recorded before the balance.
  if ((b.Status == Paid || b.Status == Complete || b.Status == RepayDeposit) && b.DateD > first.DateUpD &&
      b.DateD + 0.4 < b.DateUpD) {
    Book_Rec deposit = b;
    deposit.Status = DepositPaid;
    deposit.DateP = deposit.DateR = kNotPaid;
    deposit.Set(BalAck, false);
    deposit.DateUpD = b.DateD + 0.4;
    saves.push_back(deposit);
  }
  saves.push_back(b);
}

}  // namespace

DemoLogs DemoHistory(std::vector<Book_Rec>& bookings, double today, std::mt19937& rng) {
  // Recovery takes two bookings of one customer made on one day, with different dates,
  // for one booking moved: the demo's customers never book twice on the same day.
  std::set<std::tuple<double, std::string, std::string>> customerDays;
  for (Book_Rec& b : bookings)
    while (!customerDays.insert({std::floor(b.DateB), b.Surname.str(), b.Fnames.str()}).second) b.DateB -= 1;
  // Past lets taken after a cancellation: the cancelled booking stays in the file,
  // before the let (it was saved first).
  for (size_t i = 0; i < bookings.size(); ++i) {
    const Book_Rec& b = bookings[i];
    if (b.Status != Complete || !Chance(rng, 4)) continue;
    bookings.insert(bookings.begin() + static_cast<std::ptrdiff_t>(i), CancelledBefore(b, rng));
    ++i;
  }
  DemoLogs logs;
  std::vector<Book_Rec> saves;
  for (const Book_Rec& b : bookings) AddSaves(saves, b, bookings, rng);

  // Holds on free weeks after a let, deleted a few days later.
  std::vector<double> deletedAt;
  const size_t holds = std::max<size_t>(bookings.size() / 25, 1);
  for (size_t tries = 0; !bookings.empty() && logs.deleted.size() < holds && tries < 8 * holds; ++tries) {
    const Book_Rec& after = bookings[rng() % bookings.size()];
    const double start = after.EndD;
    if (start > today || Taken(bookings, start, start + 7)) continue;
    bool again = false;
    for (const Book_Rec& d : logs.deleted) again = again || d.StartD == start;
    if (again) continue;
    Book_Rec hold;
    DemoCustomer(hold, rng);
    hold.StartD = start;
    hold.EndD = start + 7;
    hold.DateB = start - 30 - rng() % 60;
    hold.DateUpD = hold.DateB + 0.4;
    const double when = std::min(today, hold.DateB + 1 + rng() % 10) + 0.5;
    saves.push_back(hold);
    logs.deleted.push_back(hold);
    deletedAt.push_back(when);
    Book_Rec gone = hold;
    gone.Status = Deleted;
    gone.DateUpD = when;
    saves.push_back(gone);
  }
  std::stable_sort(saves.begin(), saves.end(),
                   [](const Book_Rec& a, const Book_Rec& b) { return a.DateUpD < b.DateUpD; });
  logs.changed = std::move(saves);
  // The deletion log in the order of the deletions.
  std::vector<size_t> order(logs.deleted.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&deletedAt](size_t a, size_t b) { return deletedAt[a] < deletedAt[b]; });
  std::vector<Book_Rec> deleted;
  for (size_t i : order) deleted.push_back(logs.deleted[i]);
  logs.deleted = std::move(deleted);
  return logs;
}

}  // namespace tb
