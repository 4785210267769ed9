#include "platform/FtpUpload.h"

#include <memory>

#include "platform/Escape.h"
#include "platform/NetTransfer.h"

namespace tb {

namespace {

struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// A control character in a name or a login would end the FTP command early and start
// another of the sender's choosing.
bool HasControl(const std::string& s) {
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7f) return true;
  return false;
}

}  // namespace

std::string FtpWorkName(const std::string& name) { return "." + name + ".part"; }

FtpOutcome FtpPut(const FtpTarget& target, const std::string& data) {
  if (target.name.empty() || target.name.find('/') != std::string::npos || HasControl(target.name) ||
      HasControl(target.user) || HasControl(target.password))
    return {CURLE_BAD_FUNCTION_ARGUMENT, "A name or login holding a control character or \"/\" is not sent"};
  NetTransfer transfer("ftp");
  if (!transfer.Ready()) return {CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT)};
  CURL* h = transfer.Handle();
  const std::string work = FtpWorkName(target.name);
  const std::string url = target.folderUrl + PercentEncode(work);
  // Run in the file's folder once the bytes are up: the complete file takes the name.
  std::unique_ptr<curl_slist, SlistDeleter> rename;
  rename.reset(curl_slist_append(rename.release(), ("RNFR " + work).c_str()));
  rename.reset(curl_slist_append(rename.release(), ("RNTO " + target.name).c_str()));
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  curl_easy_setopt(h, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
  curl_easy_setopt(h, CURLOPT_USERNAME, target.user.c_str());
  curl_easy_setopt(h, CURLOPT_PASSWORD, target.password.c_str());
  curl_easy_setopt(h, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
  curl_easy_setopt(h, CURLOPT_POSTQUOTE, rename.get());
  transfer.SetUploadBody(data);
  if (transfer.Perform() != CURLE_OK) return {transfer.Code(), transfer.ErrorText()};
  return {};
}

}  // namespace tb
