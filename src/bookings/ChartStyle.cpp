#include "bookings/ChartStyle.h"

#include "store/BookRec.h"

namespace tb {

namespace {

struct StatusLook {
  Rgb fill;
  char mark;
};
constexpr StatusLook kLooks[kStatusCount] = {
    {{160, 255, 160}, ' '}, {{188, 24, 24}, ' '},  {{255, 224, 128}, 'H'}, {{255, 160, 48}, 'D'},
    {{255, 0, 0}, 'P'},     {{255, 160, 208}, 'R'}, {{240, 80, 80}, 'C'},   {{16, 255, 255}, 'H'},
    {{16, 255, 255}, 'D'},  {{160, 255, 160}, ' '}, {{160, 255, 160}, ' '},
};
constexpr Rgb kBands[7] = {{255, 255, 224}, {255, 255, 192}, {255, 255, 160}, {255, 255, 144},
                           {255, 255, 80},  {255, 208, 48},  {255, 192, 32}};

}  // namespace

Rgb StatusFill(int status) { return status >= 0 && status < kStatusCount ? kLooks[status].fill : chart::kFree; }
char StatusMark(int status) { return status >= 0 && status < kStatusCount ? kLooks[status].mark : ' '; }
Rgb BandFill(int band) { return band >= 0 && band <= 6 ? kBands[band] : kBands[0]; }

Rgb FuelFill(char fuelBand) {
  if (fuelBand == 'H') return {255, 255, 48};
  if (fuelBand == 'M') return {255, 255, 128};
  return {255, 255, 176};
}

char DayLetter(int changeDay, int day) {
  static const char kLetters[] = "smtwtfs";
  const int cd = changeDay >= 1 && changeDay <= 7 ? changeDay : 7;
  return kLetters[(cd - 1 + day) % 7];
}

int PartWeekStatus(const Status_Rec& w) {
  int g = 9;
  for (size_t i = 0; i < 7 && (g < 7 || g == 9); ++i) {
    const int e = w.DayEffStatus[i];
    if (e > 6) g = e;
    else if (e > 1 && e < g) g = w.DayStatus[i] & 0x7F;
  }
  return g == 9 ? Reserved : g;
}

const char* WholeWeekText(const Status_Rec& w) {
  const int st = w.DayStatus[0] & 0x7F;
  if (st == Hold) return "Hold";
  if (st == Reserved) return "RES";
  return "LET";
}

}  // namespace tb
