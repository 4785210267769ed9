#pragma once
// Letter proformas: "Prof-L<n>" with ".rtf" (postal letter), ".txt" (plain-text e-mail)
// or ".htm" (HTML e-mail), shared in the root folder or specific to a property in its
// "Data/" folder, where they win. Names are matched ignoring case: copies made on
// Windows arrive as "PROF-L1.RTF".

#include <string>
#include <vector>

namespace tb {

class Session;

enum class ProformaKind { Rtf, Txt, Htm };
const char* ProformaExtension(ProformaKind kind);   // ".rtf", ".txt", ".htm"
const char* ProformaDelivery(ProformaKind kind);    // "Post", "EMail", "HTML"
// "Prof-L" + type.
std::string ProformaName(int type);

// The folder's proforma of a type and kind (its name as the folder has it); "" when none.
std::string ProformaIn(const std::string& folder, int type, ProformaKind kind);
// The property-specific folder of property n ("" for none).
std::string ProformaFolder(const Session& s, int n);

struct ProformaFound {
  std::string path;  // "" when none was found
  ProformaKind kind = ProformaKind::Rtf;
};
// The proforma a letter of a type uses: for an e-mail the ".htm", then the ".txt" of
// the property, then the same in the root folder; for post the property's ".rtf", then
// the root folder's.
ProformaFound FindProforma(const Session& s, int n, int type, bool email);

// A row of the proforma manager: a section heading, or a proforma file.
struct ProformaRow {
  bool heading = false;
  std::string no, description, delivery, folder, fileName, typeText, modified;
  int type = 0;
  ProformaKind kind = ProformaKind::Rtf;
  bool propertySpecific = false;
};
// The property's own proformas (n >= 1) under "----Property specific----", then the
// shared ones under "----Shared Proformas----"; a heading only over files; files by
// type, then ".rtf", ".txt", ".htm".
std::vector<ProformaRow> ProformaRows(const Session& s, int n);
// For each ".htm" row with a ".txt" of the same type in the same folder, the warning.
std::vector<std::string> ProformaWarnings(const std::vector<ProformaRow>& rows);

// Opens a document in the configured word processor (the path as one argument, not
// waited for), or with the desktop when none is configured. A failure to start it is
// reported when asked ("Error 1000. Cannot launch ..."). False when it did not start.
bool OpenInWordProcessor(Session& s, const std::string& path, bool reportFailure);

// The manager's commands on a row (never a heading); each shows its own questions
// and messages. True when the files changed (the list is to be filled again).
void EditProforma(Session& s, const std::vector<ProformaRow>& rows, size_t row);
void EditProformaWithTextEditor(Session& s, const ProformaRow& row);
enum class ProformaCopy { Shared, PropertySpecific, Rename };
bool CopyProforma(Session& s, const ProformaRow& row, ProformaCopy how, int n);
bool DeleteProforma(Session& s, const ProformaRow& row);

}  // namespace tb
