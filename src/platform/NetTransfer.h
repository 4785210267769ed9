#pragma once
// One network transfer on libcurl with the program's rules applied: TLS 1.2 or newer,
// the peer's certificate and host name verified against the system's store (plus the
// PEM file COTLYN_CA_FILE names, which is how tests trust their servers), a connect
// time-out and a stall time-out (COTLYN_HTTP_TIMEOUT, in seconds, shortens both), no
// redirects, only the protocols the caller names. Every network client of the program
// is made from this one.

#include <curl/curl.h>

#include <string>

namespace tb {

enum class TlsVersions { Tls12OrNewer, Tls12Only };

class NetTransfer {
 public:
  // protocols: what this transfer may speak, as curl names them ("smtp,smtps").
  explicit NetTransfer(const char* protocols);
  ~NetTransfer();
  NetTransfer(const NetTransfer&) = delete;
  NetTransfer& operator=(const NetTransfer&) = delete;

  // False when curl could not be set up (then Perform fails too).
  bool Ready() const { return handle_ != nullptr; }
  CURL* Handle() const { return handle_; }
  void SetTlsVersions(TlsVersions versions);
  // A stall limit other than the default minute (COTLYN_HTTP_TIMEOUT still shortens it).
  void SetStallSeconds(long seconds);
  // Sends `body` as the upload (FTP STOR and the like). The bytes are read while
  // Perform runs, so they must outlive it.
  void SetUploadBody(const std::string& body);
  // Follows at most `count` redirects, each only to the protocols this transfer speaks.
  void FollowRedirects(long count);
  // The answer's body is collected into `body`, at most `limit` bytes: a longer one
  // ends the transfer (CURLE_WRITE_ERROR) and BodyCut() says so, so a stream that never
  // ends cannot fill memory.
  void CollectBody(std::string& body, size_t limit);
  bool BodyCut() const { return cut_; }
  // Runs the transfer; the result code, with ErrorText() saying what went wrong.
  CURLcode Perform();
  // curl's own description of the last failure (its error buffer, else its code's text).
  std::string ErrorText() const;
  CURLcode Code() const { return code_; }

 private:
  static size_t Collect(char* data, size_t size, size_t count, void* self);

  CURL* handle_ = nullptr;
  std::string protocols_;
  std::string* body_ = nullptr;
  size_t limit_ = 0;
  bool cut_ = false;
  char error_[CURL_ERROR_SIZE] = {};
  CURLcode code_ = CURLE_OK;
  const std::string* upload_ = nullptr;
  size_t uploadSent_ = 0;
};

}  // namespace tb
