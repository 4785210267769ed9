#pragma once
// One HTTP(S) GET through NetTransfer, for pages the program fetches from the user's
// web site.

#include <string>

#include "platform/HttpPost.h"

namespace tb {

// agent: the User-Agent sent. At most `limit` bytes of the body are kept: a longer
// body stops the transfer with `cut` set (code CURLE_WRITE_ERROR). Up to
// `maxRedirects` redirects are followed, over http and https only. Proxies come from
// the environment (http_proxy, https_proxy, no_proxy), as curl reads them.
// stallSeconds: give up when no byte moves for this long.
HttpAnswer HttpGet(const std::string& url, const std::string& agent, size_t limit, long maxRedirects,
                   long stallSeconds);

}  // namespace tb
