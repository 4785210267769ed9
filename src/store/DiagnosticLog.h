#pragma once
// The diagnostic log in the root folder: one line per noteworthy event, appended by
// every run and every user. When another process is appending, the line goes to
// "Error.log" instead, so logging never stops the caller.

#include <string>

namespace tb {

class Session;

// "yymmdd hh:nn:ss.zzz user computer text" + CR LF, built from the session's clock.
std::string LogLine(const Session& s, const std::string& text);
// True when the line went into the diagnostic log.
bool WriteLog(Session& s, const std::string& text);
// At start-up: moves a log above 300000 bytes aside as "Cotlyn-yymmdd.log" and
// deletes generations more than 240 days old.
void RotateLog(Session& s);
// Shows text (error icon, Abort and Help, help context code) and ends the process
// with exit code 1220 whatever the answer.
[[noreturn]] void FatalError(Session& s, const std::string& text, int code);
// Ends the process at once with exit code 1220, without a message.
[[noreturn]] void ExitNow(Session& s);

inline constexpr int kFatalExitCode = 1220;
inline constexpr long kLogRotateSize = 300000;

}  // namespace tb
