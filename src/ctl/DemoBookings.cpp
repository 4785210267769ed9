#include "ctl/DemoBookings.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "bookings/Rates.h"

namespace tb {

namespace {

const std::array<const char*, 30> kSurnames{
    "Smith",    "Jones",   "Taylor",   "Brown",    "Williams", "Wilson",  "Johnson", "Davies",  "Robinson", "Wright",
    "Thompson", "Evans",   "Walker",   "White",    "Roberts",  "Green",   "Hall",    "Wood",    "Jackson",  "Clarke",
    "Patel",    "Hughes",  "O'Brien",  "Edwards",  "Kaur",     "Lewis",   "Murphy",  "Price",   "Bennett",  "Fletcher"};
const std::array<const char*, 16> kFirst{"Mr & Mrs Peter", "Mrs Anne",  "Dr Sarah",  "Mr David", "Ms Rachel",
                                         "Mr & Mrs John",  "Mrs Helen", "Mr Simon",  "Ms Priya", "Mr Tom",
                                         "Mrs Claire",     "Mr Mark",   "Ms Joanna", "Mr Alan",  "Mrs Ruth",
                                         "Dr Michael"};
const std::array<const char*, 12> kStreets{"High Street", "Church Lane", "Station Road", "Mill Road",
                                           "The Green",   "Park Avenue", "Victoria Road", "Orchard Close",
                                           "Queens Drive", "Manor Way",  "Bridge Street", "Elm Grove"};
const std::array<const char*, 12> kTowns{"Leeds",  "Bristol", "Reading",    "York",       "Norwich", "Bath",
                                         "Exeter", "Chester", "Nottingham", "Cambridge", "Harrogate", "Lincoln"};
const std::array<const char*, 4> kSources{"Web", "Agent", "Repeat", "Reference"};

template <typename T, size_t N>
const char* Pick(const std::array<T, N>& list, std::mt19937& rng) {
  return list[rng() % N];
}

bool Chance(std::mt19937& rng, int percent) { return static_cast<int>(rng() % 100) < percent; }

int RoundTo5(double v) { return static_cast<int>(std::lround(v / 5) * 5); }

// Band by month: quiet winter, busy summer.
int SeasonBand(int month) {
  static const int kBands[12] = {1, 1, 2, 3, 3, 4, 6, 6, 4, 3, 1, 2};
  return kBands[month - 1];
}

char FuelBandFor(int month) {
  if (month <= 2 || month >= 11) return 'H';
  if (month <= 4 || month == 10) return 'M';
  return 'L';
}

int WeekCostOf(const Rate_Rec& r, int week) {
  const int v = r.WeekRates[static_cast<size_t>(week - 1)].CostOrBand;
  return (v >= 1 && v <= 6) ? r.BandCost[static_cast<size_t>(v - 1)] : v;
}

int WeekFuelOf(const Rate_Rec& r, int week) {
  switch (r.WeekRates[static_cast<size_t>(week - 1)].FuelBand) {
    case 'L': return r.FuelCost[0];
    case 'M': return r.FuelCost[1];
    case 'H': return r.FuelCost[2];
    default: return 0;
  }
}

void FillCustomer(Book_Rec& b, std::mt19937& rng) {
  b.Surname = Pick(kSurnames, rng);
  b.Fnames = Pick(kFirst, rng);
  b.Address = std::to_string(1 + rng() % 120) + " " + Pick(kStreets, rng) + "\r\n" + Pick(kTowns, rng) + "\r\n" +
              "LS" + std::to_string(1 + rng() % 28) + " " + std::to_string(1 + rng() % 9) + "AB";
  b.Phone = "01632 960" + std::to_string(100 + rng() % 900);
  std::string mail;
  for (char c : b.Surname)
    if (std::isalpha(static_cast<unsigned char>(c))) mail += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  b.Email = mail + std::to_string(rng() % 100) + "@example.com";
  b.Source = Pick(kSources, rng);
  b.NumV = static_cast<uint16_t>(Chance(rng, 25) ? 2 + rng() % 5 : 1);
  if (Chance(rng, 8)) {
    b.Special = Chance(rng, 50) ? "Bringing a dog" : "Travel cot needed";
    b.Set(FlagSp, true);
  }
  if (Chance(rng, 10)) b.Comments = "Asked about local walks and the pub.";
}

// Charges, total, deposit and balance as the booking window works them out.
void Price(Book_Rec& b, const Prop_Rec& p, double rent, double fuel, double linen) {
  b.Rent = rent;
  for (int i = 1; i <= 3; ++i) {
    double& c = b.Money(i);
    c = 0;
    if (i == p.FuelChg) c = fuel;
    if (i == p.LinenChg) c = linen;
    if (i == p.RetDepChg) c = p.RetDeposit;
    if (i == p.BookFeeChg) c = p.BookFeeIsPct ? std::floor(p.BookFee * rent) / 100 : p.BookFee;
  }
  b.Total = b.Rent + b.Chg1 + b.Chg2 + b.Chg3;
  b.Deposit = p.DepositIsPct ? std::trunc(b.Total * p.Deposit) / 100 : p.Deposit;
  b.Balance = b.Total - b.Deposit;
}

// Status and payment dates that fit the booking's dates seen from today.
void SetProgress(Book_Rec& b, const Prop_Rec& p, double today, std::mt19937& rng) {
  b.DateB = std::min(today - rng() % 4, b.StartD - 20 - rng() % 200);
  const double balanceDue = b.StartD - 7.0 * p.BalDue;
  if (b.EndD < today) {
    if (Chance(rng, 5)) {  // cancelled after the deposit: the deposit is kept
      b.Status = Cancelled;
      b.DateD = b.DateB + 3;
      b.Total = b.Deposit;
      b.Refund = 0;
      b.Balance = 0;
      return;
    }
    b.Status = Complete;
    b.DateD = b.DateB + 2 + rng() % 5;
    b.DateP = balanceDue - rng() % 5;
    b.Set(DepAck, true);
    b.Set(BalAck, true);
    if (p.RetDepChg && b.Money(p.RetDepChg) > 0) {
      if (today - b.EndD < 21) b.Status = RepayDeposit;
      else b.DateR = b.EndD + 3;
    } else {
      b.DateR = b.EndD;
    }
    return;
  }
  if (b.DateB > today) b.DateB = today - rng() % 10;
  if (balanceDue <= today) {  // the balance is due now
    b.Status = Chance(rng, 80) ? Paid : DepositPaid;
  } else {
    b.Status = Chance(rng, 60) ? DepositPaid : Hold;
  }
  if (b.Status >= DepositPaid) {
    b.DateD = std::min(today, b.DateB + 2 + rng() % 5);
    b.Set(DepAck, true);
  }
  if (b.Status == Paid) {
    b.DateP = std::min(today, balanceDue - rng() % 5);
    b.Set(BalAck, Chance(rng, 70));
  }
}

}  // namespace

void DemoCustomer(Book_Rec& b, std::mt19937& rng) { FillCustomer(b, rng); }

Rate_Rec DemoRates(const Prop_Rec& p, int year) {
  Rate_Rec r;
  // Prices rise a little each year; each property has its own level.
  const double level = (320 + (p.PropNo * 37) % 280) * std::pow(1.03, year - 2020);
  const double steps[6] = {1.0, 1.2, 1.4, 1.7, 2.0, 2.3};
  for (size_t i = 0; i < 6; ++i) r.BandCost[i] = RoundTo5(level * steps[i]);
  if (p.FuelChg) r.FuelCost = {15, 30, 45};
  if (p.LinenChg) r.LinenCharge = 15 + 5 * (p.PropNo % 3);
  if (p.PropNo % 2 == 0) r.MinCost = RoundTo5(r.BandCost[0] * 0.6);

  const int weeks = WeeksInYear(year, p);
  for (int w = 1; w <= weeks; ++w) {
    WeekRate& e = r.WeekRates[static_cast<size_t>(w - 1)];
    const DateParts d = DecodeDate(WeekStart(year, w, p) + 3);
    e.CostOrBand = SeasonBand(d.month);
    e.FuelBand = p.FuelChg ? FuelBandFor(d.month) : 'L';
    if (d.month == 12 && d.day >= 20 && d.day <= 26) {
      e.CostOrBand = 5;
      e.WeekComment = "Christmas";
    } else if ((d.month == 12 && d.day > 26) || (d.month == 1 && d.day <= 3)) {
      e.CostOrBand = 5;
      e.WeekComment = "New Year";
    } else if (d.month == 10 && d.day >= 22 && d.day <= 28) {
      e.CostOrBand = RoundTo5(level * 1.55);  // priced directly
      e.WeekComment = "Half term";
    } else if (d.month == 5 && d.day >= 25) {
      e.WeekComment = "Spring bank holiday";
    }
  }
  // Some properties close a January week for maintenance.
  if (p.PropNo % 3 == 1) {
    WeekRate& e = r.WeekRates[2];
    e.CostOrBand = 0;
    e.WeekComment = "Maintenance";
  }
  return r;
}

std::vector<Book_Rec> DemoBookings(const Prop_Rec& p, const std::map<int, Rate_Rec>& rates, int firstYear,
                                   int lastYear, double today, std::mt19937& rng) {
  std::vector<Book_Rec> out;
  double nextFree = 0;  // lets never overlap
  for (int year = firstYear; year <= lastYear; ++year) {
    const Rate_Rec& r = rates.at(year);
    const int weeks = WeeksInYear(year, p);
    for (int w = 1; w <= weeks; ++w) {
      const double start = WeekStart(year, w, p);
      if (start < nextFree) continue;
      const int cost = WeekCostOf(r, w);
      if (cost == 0 && r.BandCost[0] != 0) continue;  // closed by the rates
      const int month = DecodeDate(start + 3).month;
      int occupancy = month >= 6 && month <= 9 ? 85 : (month >= 4 && month <= 10 ? 55 : 30);
      if (start > today + 270) occupancy /= 2;  // later lets are still to come
      if (!Chance(rng, occupancy)) continue;

      Book_Rec b;
      const int kind = static_cast<int>(rng() % 100);
      if (kind < 4) {  // the owner's own week
        b.StartD = start;
        b.EndD = start + 7;
        b.Status = Reserved;
        b.Surname = "- Reserved -";
        b.Set(NoClean, true);
        b.DateB = std::min(today, start - 60);
        b.DateUpD = b.DateB + 0.5;
        out.push_back(b);
        nextFree = b.EndD;
        continue;
      }
      FillCustomer(b, rng);
      int nights = 7;
      double first = start;
      if (kind < 16) {  // a short break, some starting midweek
        nights = 3 + static_cast<int>(rng() % 2);
        if (Chance(rng, 40)) first = start + 3;
      } else if (kind < 22) {
        nights = 14;
      } else if (kind < 25) {
        nights = 10;
      }
      b.StartD = first;
      b.EndD = first + nights;
      const double weekly = cost;
      const double fuel = WeekFuelOf(r, w);
      double rent = weekly * nights / 7.0;
      if (nights < 7) rent = r.MinCost ? r.MinCost : weekly;
      Price(b, p, std::round(rent), std::round(fuel * std::min(nights, 7) / 7.0), r.LinenCharge);
      SetProgress(b, p, today, rng);
      b.DateUpD = std::max(b.DateB, std::min(today, b.DateP > 1 ? b.DateP : b.DateB)) + 0.4 + (rng() % 100) / 400.0;
      out.push_back(b);
      nextFree = b.EndD;
    }
  }
  // A waiting-list entry for next summer.
  Book_Rec wait;
  FillCustomer(wait, rng);
  wait.Status = Reserved;
  wait.StartD = WeekStart(lastYear, 30, p) + 1;
  wait.EndD = wait.StartD + 7;
  wait.DateB = today - 5;
  wait.DateUpD = wait.DateB + 0.5;
  wait.Comments = "Waiting list - call if the week comes free.";
  out.push_back(wait);
  std::stable_sort(out.begin(), out.end(), [](const Book_Rec& a, const Book_Rec& b) { return a.StartD < b.StartD; });
  return out;
}

}  // namespace tb
