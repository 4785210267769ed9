#pragma once
// The upload channel to the helper script on the user's web server: one POST per file,
// the file (optionally one zlib stream) as the body, and headers naming the caller's
// password (XHRAUTH), the file (XHRFN), its length (XHRDL) and, optionally, the script
// that is to process it (XHRIS). Shows nothing: every outcome is one diagnostic-log
// line, and the caller says what a failure means to the user.

#include <string>

namespace tb {

class Session;

// True when the server answered 200 with "success." in its text. Never throws.
bool UploadToHelper(Session& s, const std::string& url, const std::string& filePath, const std::string& password,
                    bool compress, const std::string& processingScript = "");

// Why url may not carry password, or "" when it may: only http and https, and a
// password goes in clear over http only to this machine (127.0.0.1, ::1, localhost).
std::string HelperUrlRefusal(const std::string& url, const std::string& password);

// The URL as a log line or a message shows it: a password written into the address
// itself is masked.
std::string UrlForLog(const std::string& url);

// How long an upload may go without a byte moving (COTLYN_HTTP_TIMEOUT shortens it, as it
// does the connect limit every transfer has).
inline constexpr long kUploadStallSeconds = 30;

}  // namespace tb
