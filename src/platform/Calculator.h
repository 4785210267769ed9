#pragma once
// "Show Calculator": the desktop's calculator.

#include <string>

namespace tb {

class ProcessRunner;

// COTLYN_CALCULATOR when set, else the first of the usual desktop calculators found on
// PATH; "" when there is none.
std::string CalculatorProgram();
// Starts it without waiting; false when there is none or it cannot be started.
bool StartCalculator(ProcessRunner& processes);

}  // namespace tb
