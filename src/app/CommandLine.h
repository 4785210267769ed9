#pragma once
// The program's command line: switches, a root folder, a booking file or a property.

#include <string>
#include <vector>

namespace tb {

struct CommandLine {
  bool openAll = false;   // "/A"
  bool readOnly = false;  // "/R"
  char forcedMode = ' ';  // "/C" -> 'C', "/L" -> 'L'
  std::string settingsName;  // "/S=name"
  std::string bookingFile;   // a parameter containing ".bks"
  std::string rootFolder;    // a parameter ending with "/"
  std::string propertyName;  // any other parameter
  bool invalid = false;      // error 1130
};

// Switches are accepted as "/A" and as "-A"; any other parameter starting with "-" is
// an invalid switch, and other parameters starting with "/" are paths.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// COTLYN_OPEN_BOOKING="n,yyyy-mm-dd": a scripted run opens the booking window on that
// date of property n as a click there would. False when the text is not of that form.
bool ParseOpenBooking(const std::string& text, int& property, double& date);

}  // namespace tb
