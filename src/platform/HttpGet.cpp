#include "platform/HttpGet.h"

#include "platform/NetTransfer.h"

namespace tb {

HttpAnswer HttpGet(const std::string& url, const std::string& agent, size_t limit, long maxRedirects,
                   long stallSeconds) {
  HttpAnswer answer;
  NetTransfer transfer("http,https");
  CURL* h = transfer.Handle();
  CURLcode set = h ? curl_easy_setopt(h, CURLOPT_URL, url.c_str()) : CURLE_FAILED_INIT;
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
  if (set == CURLE_OK) set = curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  if (set != CURLE_OK) {
    answer.code = set;
    answer.error = curl_easy_strerror(set);
    return answer;
  }
  transfer.SetStallSeconds(stallSeconds);
  transfer.FollowRedirects(maxRedirects);
  transfer.CollectBody(answer.body, limit);
  answer.code = transfer.Perform();
  answer.cut = transfer.BodyCut();
  if (answer.code != CURLE_OK) answer.error = transfer.ErrorText();
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &answer.status);
  return answer;
}

}  // namespace tb
