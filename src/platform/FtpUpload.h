#pragma once
// One file put on an FTP server over explicit TLS: the control connection must be
// encrypted before the login is sent (AUTH TLS), and so must the data connection, or
// nothing goes. Missing folders are made on the way. The bytes go up under a work name
// beside the file and are renamed over it only once complete, so the site never shows
// a page cut short by a broken connection.

#include <curl/curl.h>

#include <string>

namespace tb {

struct FtpTarget {
  std::string folderUrl;  // "ftp://host:port/dir/", percent-encoded, never with a login
  std::string name;       // the file's name in that folder, as the server is to have it
  std::string user, password;
};

struct FtpOutcome {
  CURLcode code = CURLE_OK;
  std::string error;  // curl's text, or why nothing was tried; empty on success
};

// The name the bytes go up under before the rename.
std::string FtpWorkName(const std::string& name);
FtpOutcome FtpPut(const FtpTarget& target, const std::string& data);

}  // namespace tb
