#include "platform/NetTransfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/FileSystem.h"

namespace tb {

namespace {

constexpr long kConnectSeconds = 30;
constexpr long kStallSeconds = 60;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, []() { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// COTLYN_HTTP_TIMEOUT: a shorter limit for tests; otherwise `normal`.
long Seconds(long normal) {
  const char* env = std::getenv("COTLYN_HTTP_TIMEOUT");
  if (!env || !*env) return normal;
  char* end = nullptr;
  const long v = std::strtol(env, &end, 10);
  return end && *end == '\0' && v > 0 && v < normal ? v : normal;
}

}  // namespace

NetTransfer::NetTransfer(const char* protocols) : protocols_(protocols) {
  GlobalInit();
  handle_ = curl_easy_init();
  if (!handle_) return;
  CURL* h = handle_;
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error_);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, protocols);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(h, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, Seconds(kConnectSeconds));
  // A server that stops sending for this long is given up: nothing waits for ever.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, Seconds(kStallSeconds));

  // A test's own certificate is trusted beside the system's: both go in one bundle.
  const char* extra = std::getenv("COTLYN_CA_FILE");
  if (extra && *extra) {
    char* system = nullptr;
    std::string bundle, text;
    if (curl_easy_getinfo(h, CURLINFO_CAINFO, &system) == CURLE_OK && system && ReadWholeFile(system, text))
      bundle = text + "\n";
    if (ReadWholeFile(extra, text)) bundle += text;
    curl_blob blob{bundle.data(), bundle.size(), CURL_BLOB_COPY};
    curl_easy_setopt(h, CURLOPT_CAINFO_BLOB, &blob);
  }
}

NetTransfer::~NetTransfer() {
  if (handle_) curl_easy_cleanup(handle_);
}

void NetTransfer::SetTlsVersions(TlsVersions versions) {
  if (!handle_) return;
  const long value = versions == TlsVersions::Tls12Only ? (static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2))
                                                        : static_cast<long>(CURL_SSLVERSION_TLSv1_2);
  curl_easy_setopt(handle_, CURLOPT_SSLVERSION, value);
}

void NetTransfer::SetStallSeconds(long seconds) {
  if (handle_) curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, Seconds(seconds));
}

void NetTransfer::SetUploadBody(const std::string& body) {
  if (!handle_) return;
  upload_ = &body;
  uploadSent_ = 0;
  curl_easy_setopt(handle_, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(handle_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(handle_, CURLOPT_READDATA, this);
  curl_easy_setopt(handle_, CURLOPT_READFUNCTION, +[](char* out, size_t size, size_t count, void* user) -> size_t {
    auto* self = static_cast<NetTransfer*>(user);
    const size_t n = std::min(size * count, self->upload_->size() - self->uploadSent_);
    std::memcpy(out, self->upload_->data() + self->uploadSent_, n);
    self->uploadSent_ += n;
    return n;
  });
}

void NetTransfer::FollowRedirects(long count) {
  if (!handle_) return;
  curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, count);
  curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, protocols_.c_str());
}

size_t NetTransfer::Collect(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<NetTransfer*>(self);
  const size_t n = size * count;
  if (t->body_->size() + n > t->limit_) {
    t->cut_ = true;
    return 0;  // curl then ends with a write error
  }
  t->body_->append(data, n);
  return n;
}

void NetTransfer::CollectBody(std::string& body, size_t limit) {
  body_ = &body;
  limit_ = limit;
  if (!handle_) return;
  curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, &NetTransfer::Collect);
  curl_easy_setopt(handle_, CURLOPT_WRITEDATA, this);
}

CURLcode NetTransfer::Perform() {
  cut_ = false;
  error_[0] = '\0';
  uploadSent_ = 0;
  code_ = handle_ ? curl_easy_perform(handle_) : CURLE_FAILED_INIT;
  return code_;
}

std::string NetTransfer::ErrorText() const {
  if (error_[0]) return error_;
  return curl_easy_strerror(code_);
}

}  // namespace tb
