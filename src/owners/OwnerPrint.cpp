#include "owners/OwnerPrint.h"

#include <algorithm>
#include <cstdio>

#include "owners/OwnerDB.h"
#include "owners/OwnerListRows.h"
#include "owners/OwnerText.h"
#include "platform/DateTime.h"
#include "platform/PrintCanvas.h"
#include "platform/Text.h"
#include "store/Session.h"

namespace tb {

namespace {

// Millimetres on the page, in the printer's pixels.
struct Millimetres {
  double perMm;
  explicit Millimetres(const PrintCanvas& c) : perMm(c.DpiY() / 25.4) {}
  int operator()(double mm) const { return static_cast<int>(mm * perMm + 0.5); }
};

}  // namespace

void PrintOwnerDetails(PrintCanvas& c, const Session& s, const Owner_Rec& o) {
  const Millimetres mm(c);
  const double line = 4.23;
  const std::vector<std::string> props = OwnerPropertyLines(s, o.OwnerID);
  c.SetFont({"Arial", 10, false});

  // The box of properties managed, 70 mm wide, 10 mm in from the right and the top.
  const int boxLines = std::min(static_cast<int>(props.size()) + 2, 12);
  const int boxLeft = c.PageWidth() - mm(10) - mm(70);
  c.FrameRect({boxLeft, mm(10), c.PageWidth() - mm(10), mm(10) + mm(boxLines * line)}, 1, kBlack);
  c.SetFont({"Arial", 12, true});
  c.DrawText(mm(20), mm(20), "Owner Details");
  c.SetFont({"Arial", 10, true});
  c.DrawText(mm(56), mm(20), "Owner No=" + OwnerNumberText(o.OwnerID));
  double y = 12;
  c.DrawText(boxLeft + mm(2), mm(y),
             "Properties Managed" + (props.empty() ? std::string() : ".   Total=" + std::to_string(props.size())));
  c.SetFont({"Arial", 10, false});
  const size_t shown = props.size() <= 10 ? props.size() : 9;
  for (size_t i = 0; i < shown; ++i) c.DrawText(boxLeft + mm(2), mm(y += line), props[i]);
  if (props.size() > 10) c.DrawText(boxLeft + mm(2), mm(y += line), " etc");

  // The details, a line each, onto a new page when a line would come within 20 mm of
  // the bottom.
  y = 30;
  const double bottom = c.PageHeight() / mm.perMm - 20;
  auto next = [&]() {
    y += line;
    if (y > bottom) {
      c.NewPage();
      c.SetFont({"Arial", 10, false});
      y = 20;
    }
  };
  auto item = [&](const std::string& label, const std::vector<std::string>& values) {
    c.DrawText(mm(20), mm(y), label);
    if (values.empty()) next();
    for (const std::string& v : values) {
      c.DrawText(mm(45), mm(y), v);
      next();
    }
  };
  std::vector<std::string> addressLines;
  for (const std::string& l : CrLfLines(o.OwnerAddress))
    if (!l.empty()) addressLines.push_back(l);
  item("Surname:", {o.OwnerSurname});
  item("First Names:", {o.OwnerFName});
  item("Address:", addressLines);
  item("Phone:", {o.OwnerPhone});
  item("E-Mail:", {o.OwnerEmail});
  if (!o.OwnerURL.empty()) item("Web Site:", {o.OwnerURL});
  item("Last updated:", {ShortDateText(o.OwnerUpdated) + "     ( Created: " + ShortDateText(o.OwnerCreated) + ")"});
  item("Notes:", CrLfLines(o.OwnerNotes));
}

void PrintOwnerList(PrintCanvas& c, const Session& s) {
  const Millimetres mm(c);
  const double line = 4.233;
  const int perPage = std::max(1, static_cast<int>((c.PageHeight() / mm.perMm - 25) / line));
  const std::string today = ShortDateText(s.clock.Today());
  int page = 0, onPage = perPage;
  double y = 25;
  const double columns[] = {10, 70, 100, 140, 230};
  auto row = [&](const std::vector<std::string>& texts) {
    int x = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
      x = std::max(mm(columns[i]), x);
      c.DrawText(x, mm(y), texts[i]);
      x += c.TextWidth(texts[i]) + mm(1.5);
    }
  };
  for (const Owner_Rec& o : OwnerList(s)) {
    if (onPage >= perPage) {
      if (page > 0) c.NewPage();
      ++page;
      onPage = 0;
      c.SetFont({"Times New Roman", 10, false});
      c.DrawText(mm(10), mm(5), "Printed " + today);
      const std::string pageText = "Page " + std::to_string(page);
      c.DrawText(c.PageWidth() - mm(5) - c.TextWidth(pageText), mm(5), pageText);
      c.SetFont({"Times New Roman", 14, true});
      c.DrawText((c.PageWidth() - c.TextWidth("Owner Summary")) / 2, mm(5), "Owner Summary");
      c.SetFont({"Times New Roman", 10, true});
      y = 25;
      row({"[No]  Name", "Phone", "EMail", "Address", "Web site"});
      c.SetFont({"Times New Roman", 10, false});
    }
    char number[16];
    std::snprintf(number, sizeof number, "[%.2d]", static_cast<int>(o.OwnerID));
    const std::string name = o.OwnerSurname + (o.OwnerFName.empty() ? "" : ", " + o.OwnerFName);
    y += line;
    ++onPage;
    row({std::string(number) + "  " + name, o.OwnerPhone, o.OwnerEmail, Trim(CommaLines(o.OwnerAddress)), o.OwnerURL});
  }
}

}  // namespace tb
