#include "platform/Calculator.h"

#include <cstdlib>

#include "platform/Dialogs.h"
#include "platform/Process.h"

namespace tb {

std::string CalculatorProgram() {
  if (const char* chosen = std::getenv("COTLYN_CALCULATOR"); chosen && *chosen) return chosen;
  for (const char* name : {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "mate-calc", "xcalc"})
    if (!FindOnPath(name).empty()) return name;
  return {};
}

bool StartCalculator(ProcessRunner& processes, Dialogs& dialogs) {
  const std::string program = CalculatorProgram();
  if (!program.empty() && processes.Run(program, {}, false) == 0) return true;
  dialogs.Message("No calculator found. Install one, or name it in COTLYN_CALCULATOR", MsgIcon::Error, MsgButton::OK);
  return false;
}

}  // namespace tb
