#pragma once
// One HTTP(S) POST through NetTransfer: the caller's headers in the caller's order, the
// body as given, no redirect followed. Gives the status and the answer's text.

#include <curl/curl.h>

#include <string>
#include <utility>
#include <vector>

namespace tb {

struct HttpAnswer {
  CURLcode code = CURLE_OK;  // CURLE_OK: the server answered (any status)
  std::string error;         // curl's text when code is not CURLE_OK
  long status = 0;
  std::string body;
  bool cut = false;  // the body reached the caller's limit and the transfer stopped there
};

// headers: name and value; an empty value is still sent (as "Name:"). A name or value
// with a line break is refused before anything is sent (CURLE_BAD_FUNCTION_ARGUMENT).
// stallSeconds: give up when no byte moves for this long.
HttpAnswer HttpPost(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                    const std::string& body, long stallSeconds);

// An answer longer than this is cut off as a failure: the servers we talk to answer
// with a line, and a stream that never ends must not fill memory.
inline constexpr size_t kHttpAnswerLimit = 1 << 20;

}  // namespace tb
