#include "platform/HttpPost.h"

#include <memory>

#include "platform/NetTransfer.h"

namespace tb {

namespace {

struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

HttpAnswer HttpPost(const std::string& url, const std::vector<std::pair<std::string, std::string>>& headers,
                    const std::string& body, long stallSeconds) {
  HttpAnswer answer;
  std::unique_ptr<curl_slist, SlistDeleter> list;
  for (const auto& [name, value] : headers) {
    if (name.empty() || HasLineBreak(name) || HasLineBreak(value)) {
      answer.code = CURLE_BAD_FUNCTION_ARGUMENT;
      answer.error = "A request header may not hold a line break";
      return answer;
    }
    // "Name:" would make curl drop the header; "Name;" sends it empty.
    const std::string line = value.empty() ? name + ";" : name + ": " + value;
    list.reset(curl_slist_append(list.release(), line.c_str()));
  }
  // No "Expect: 100-continue" round trip: the body goes with the request.
  list.reset(curl_slist_append(list.release(), "Expect:"));

  NetTransfer transfer("http,https");
  if (!transfer.Ready()) {
    answer.code = CURLE_FAILED_INIT;
    answer.error = curl_easy_strerror(answer.code);
    return answer;
  }
  transfer.SetStallSeconds(stallSeconds);
  CURL* h = transfer.Handle();
  CURLcode set = curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_POST, 1L);
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_HTTPHEADER, list.get());
  if (set != CURLE_OK) {
    answer.code = set;
    answer.error = curl_easy_strerror(set);
    return answer;
  }
  transfer.CollectBody(answer.body, kHttpAnswerLimit);
  answer.code = transfer.Perform();
  if (answer.code != CURLE_OK) {
    answer.error = transfer.ErrorText();
    return answer;
  }
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &answer.status);
  return answer;
}

}  // namespace tb
