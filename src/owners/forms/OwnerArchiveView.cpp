#include "owners/forms/OwnerArchiveView.h"

#include "owners/OwnerListRows.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"

namespace tb {

OwnerArchiveView ReadArchiveForView(const std::string& rootFolder) {
  OwnerArchiveView view;
  view.path = rootFolder + "Owner-archive.bko";
  const std::string shown = PathText(view.path);
  if (!FileExists(view.path)) {
    view.problem = "There is no owner archive " + shown;
    view.problemIcon = MsgIcon::Information;
    return view;
  }
  std::string data;
  if (!ReadWholeFile(view.path, data)) {
    view.problem = "Cannot read the owner archive " + shown;
    view.problemIcon = MsgIcon::Error;
    return view;
  }
  // An append cut short leaves less than a record's worth after the whole ones. The
  // first record is made whole before the file appears, so a file without one is damaged.
  constexpr size_t kCutShortLimit = 4096;
  const size_t whole = WholeOwnerRecords(data);
  if (whole > 0 && data.size() - whole < kCutShortLimit) data.resize(whole);
  if (data.empty()) return view;
  if (ParseOwners(data, view.owners) != OwnerFileFault::None) {
    view.problem = "The owner archive " + shown + " is damaged after " + std::to_string(view.owners.size()) +
                   " owners." + "\r" + "Only those are shown.";
    view.problemIcon = MsgIcon::Warning;
  }
  return view;
}

std::vector<std::string> ArchiveViewTexts(const Owner_Rec& o) {
  return {std::to_string(o.OwnerID),
          o.OwnerSurname + "\xB7 " + o.OwnerFName,
          o.OwnerPhone,
          o.OwnerEmail,
          CommaLines(o.OwnerAddress),
          FormatDateTime("yyyy/mm/dd", o.OwnerCreated),
          FormatDateTime("yyyy/mm/dd", o.OwnerUpdated),
          CommaLines(o.OwnerNotes)};
}

}  // namespace tb
