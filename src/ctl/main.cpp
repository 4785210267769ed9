// cotlynctl: the command-line front end for headless jobs.

#include <iostream>

#include "ctl/Ctl.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tb::RunCtl(args, std::cout, std::cerr);
}
