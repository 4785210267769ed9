// Ferrit: uploads the files of an upload list to their FTP sites, over TLS only.
//   Ferrit LISTFILE
// Cotlyn starts it without waiting; what happened is in Ferrit.log beside the list.

#include <iostream>
#include <string>

#include "ferrit/FerritRun.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

int main(int argc, char** argv) {
  if (argc != 2 || !*argv[1]) {
    std::cerr << "Usage: Ferrit LISTFILE\n";
    return tb::kFerritBadList;
  }
  std::string list = argv[1];
  // The list's path may come in the double quotes a Windows command line needs.
  if (list.size() >= 2 && list.front() == '"' && list.back() == '"') list = list.substr(1, list.size() - 2);
  tb::RegistryStore registry("HKEY_CURRENT_USER", tb::ConfigFolder() + "HKCU.reg");
  tb::SystemClock clock;
  return tb::RunUploadList(list, registry, clock, std::cout);
}
