#pragma once
// "Show Calculator": the desktop's calculator.

#include <string>

namespace tb {

class Dialogs;
class ProcessRunner;

// COTLYN_CALCULATOR when set, else the first of the usual desktop calculators found on
// PATH; "" when there is none.
std::string CalculatorProgram();
// Starts it without waiting; when there is none or it cannot be started, says so.
bool StartCalculator(ProcessRunner& processes, Dialogs& dialogs);

}  // namespace tb
