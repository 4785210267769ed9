#include "platform/Calculator.h"

#include <cstdlib>

#include "platform/Process.h"

namespace tb {

std::string CalculatorProgram() {
  if (const char* chosen = std::getenv("COTLYN_CALCULATOR"); chosen && *chosen) return chosen;
  for (const char* name : {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "mate-calc", "xcalc"})
    if (!FindOnPath(name).empty()) return name;
  return {};
}

bool StartCalculator(ProcessRunner& processes) {
  const std::string program = CalculatorProgram();
  return !program.empty() && processes.Run(program, {}, false) == 0;
}

}  // namespace tb
