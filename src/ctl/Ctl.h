#pragma once
// cotlynctl: headless jobs on a root folder, for scripts and tests.

#include <ostream>
#include <string>
#include <vector>

namespace tb {

// Runs one command; returns the process exit code (2 for a usage error).
int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tb
