#pragma once
// The bookings exports of the export window and `cotlynctl export`: the configurable
// CSV from a template, the full CSV of every field, and the rates as an SQL script for
// a web database. Each file is built whole in memory, then written once.

#include <string>
#include <vector>

#include "maintenance/ExportTemplate.h"
#include "platform/DateTime.h"

namespace tb {

class Session;
struct FormatSettings;

struct ExportRun {
  std::vector<int> properties;  // in number order
  TDateTime from = 0;           // bookings departing on or after this day
  TDateTime to = 0;             // ... and arriving on or before this one
  bool header = false;          // a line with the property's title before its headings
};

// The date window kept in "UPrefs", or 1 January to 31 December of last year when none is.
void StoredExportRange(const Session& s, TDateTime& from, TDateTime& to);
// Keeps the date window and the title-line choice in "UPrefs" and writes them.
bool StoreExportChoices(Session& s, TDateTime from, TDateTime to, bool header);

std::string BookingsExportPath(const Session& s);  // root + "Bookings.csv"
std::string RatesExportPath(const Session& s);     // root + "Import-charges.sql"

// The texts of the three files (Windows-1252, CR LF), from the lists held. `log` gets
// the per-property lines.
std::string BookingsCsv(const Session& s, const ExportTemplate& t, const ExportRun& run, const FormatSettings& fs,
                        std::vector<std::string>& log);
std::string AllBookingsCsv(const Session& s, const ExportRun& run, std::vector<std::string>& log);
// Shows the no-rates warning for a property without any of the five years' files.
std::string RatesSql(Session& s, const std::vector<int>& properties);

enum class ExportOutcome { Written, Cancelled, Failed };
// Asks before replacing an existing file, then writes it whole and beeps; the log gets
// "Export complete..." or "Cancelled - no file written.". A failed write says "Cannot
// write" with the path and the reason, and leaves any old file as it was.
ExportOutcome WriteExport(Session& s, const std::string& path, const std::string& text,
                          std::vector<std::string>& log);

// The three buttons: make the lists current, build, write. Opening the file is the
// caller's. Failed too when a booking file could not be read (its message shown).
ExportOutcome ExportBookings(Session& s, const ExportTemplate& t, const ExportRun& run, std::vector<std::string>& log);
ExportOutcome ExportAll(Session& s, const ExportRun& run, std::vector<std::string>& log);
ExportOutcome ExportRates(Session& s, const std::vector<int>& properties, std::vector<std::string>& log);

}  // namespace tb
