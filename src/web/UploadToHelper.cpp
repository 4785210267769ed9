#include "web/UploadToHelper.h"

#include <curl/curl.h>
#include <zlib.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "platform/HttpPost.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "store/DiagnosticLog.h"

namespace tb {

namespace {

constexpr const char* kCrLf = "\r\n";

void LogException(Session& s, const char* kind, long rc, const std::string& message, const std::string& path,
                  const std::string& url) {
  WriteLog(s, std::string("XHR-Upload Exception, class=") + kind + " RC=" + std::to_string(rc) +
                  " Message=" + message + kCrLf + " File=" + PathText(path) + " URL=" + UrlForLog(url));
}

std::string Milliseconds(double ms) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f", ms);
  return buf;
}

bool ReadFile(const std::string& path, std::string& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = std::strerror(errno);
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool Deflate(const std::string& bytes, std::string& out) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  out.resize(size);
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                static_cast<uLong>(bytes.size()), 9) != Z_OK)
    return false;
  out.resize(size);
  return true;
}

struct UrlDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};

std::string UrlPart(CURLU* u, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(u, part, &text, 0) != CURLUE_OK || !text) return "";
  std::string value = text;
  curl_free(text);
  return value;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string HelperUrlRefusal(const std::string& url, const std::string& password) {
  std::unique_ptr<CURLU, UrlDeleter> u(curl_url());
  if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
    return "The helper script address is not a valid URL";
  const std::string scheme = Lower(UrlPart(u.get(), CURLUPART_SCHEME));
  if (scheme != "http" && scheme != "https") return "The helper script address must start with http:// or https://";
  // A password in the address travels as a login, in clear over http just the same.
  const bool secret = !password.empty() || !UrlPart(u.get(), CURLUPART_PASSWORD).empty();
  if (scheme == "http" && secret) {
    const std::string host = Lower(UrlPart(u.get(), CURLUPART_HOST));
    if (host != "127.0.0.1" && host != "[::1]" && host != "localhost")
      return "A password is not sent in clear over http to another machine: use https";
  }
  return "";
}

bool UploadToHelper(Session& s, const std::string& url, const std::string& filePath, const std::string& password,
                    bool compress, const std::string& processingScript) {
  const auto started = std::chrono::steady_clock::now();

  std::string bytes, error;
  if (!ReadFile(filePath, bytes, error)) {
    WriteLog(s, "XHR-Upload Exception, class=FileError\rMessage=" + error + " File=" + PathText(filePath) +
                    " URL=" + UrlForLog(url));
    return false;
  }
  const std::string refusal = HelperUrlRefusal(url, password);
  if (!refusal.empty()) {
    LogException(s, "RequestError", 0, refusal, filePath, url);
    return false;
  }
  std::string body;
  if (compress && !Deflate(bytes, body)) {
    LogException(s, "CompressError", 0, "The file could not be compressed", filePath, url);
    return false;
  }
  if (!compress) body.swap(bytes);

  const size_t slash = filePath.find_last_of('/');
  std::vector<std::pair<std::string, std::string>> headers = {
      {"XHRAUTH", password},
      {"XHRFN", slash == std::string::npos ? filePath : filePath.substr(slash + 1)},
      {"XHRDL", std::to_string(compress ? bytes.size() : body.size())}};
  if (!processingScript.empty()) headers.emplace_back("XHRIS", processingScript);
  headers.emplace_back("Content-Type", "application/octet-stream");
  if (compress) headers.emplace_back("XHRCOMP", "TRUE");

  const HttpAnswer answer = HttpPost(url, headers, body, kUploadStallSeconds);
  if (answer.code != CURLE_OK) {
    const bool unreachable = answer.code == CURLE_COULDNT_CONNECT || answer.code == CURLE_COULDNT_RESOLVE_HOST;
    LogException(s, "TransferError", unreachable ? 12029 : 0,
                 unreachable ? "ERROR_INTERNET_CANNOT_CONNECT" : answer.error, filePath, url);
    return false;
  }
  const std::string text = Trim(answer.body);
  const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  if (answer.status == 200 && text.find("success.") != std::string::npos) {
    WriteLog(s, "Upload OK. File=" + PathText(filePath) + " URL=" + UrlForLog(url) + " Elapsed=" +
                    Milliseconds(elapsed) + " mS " + text);
    return true;
  }
  WriteLog(s, "XHR-ERROR. RC=" + std::to_string(answer.status) + " File=" + PathText(filePath) + " URL=" +
                  UrlForLog(url) + " Elapsed=" + Milliseconds(elapsed) + " mS" + kCrLf + text);
  return false;
}

std::string UrlForLog(const std::string& url) {
  const size_t scheme = url.find("://");
  const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
  const size_t end = url.find_first_of("/?#", start);
  const size_t at = url.rfind('@', end == std::string::npos ? url.size() : end);
  if (at == std::string::npos || at < start) return url;
  const size_t colon = url.find(':', start);
  if (colon == std::string::npos || colon > at) return url;
  return url.substr(0, colon + 1) + "***" + url.substr(at);
}

}  // namespace tb
