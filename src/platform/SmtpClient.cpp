#include "platform/SmtpClient.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>

#include "platform/FileSystem.h"
#include "platform/FormatSettings.h"
#include "platform/Text.h"

namespace tb {

namespace {

// curl lists and MIME trees freed however the send ends.
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;
struct MimeDeleter {
  void operator()(curl_mime* m) const { curl_mime_free(m); }
};
using Mime = std::unique_ptr<curl_mime, MimeDeleter>;

void Append(Slist& list, const std::string& line) { list.reset(curl_slist_append(list.release(), line.c_str())); }

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

bool IsAscii(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    for (int shift : {18, 12, 6, 0}) out += kAlphabet[(v >> shift) & 63];
  }
  if (i < bytes.size()) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

// A plain address: something "@" something, nothing that would end the field.
bool IsAddress(const std::string& a) {
  const size_t at = a.find('@');
  return at != std::string::npos && at > 0 && at + 1 < a.size() && a.find('@', at + 1) == std::string::npos &&
         a.find_first_of(" \t\r\n<>,;\"()[]\\") == std::string::npos;
}

// The host part of a server name, as a URL may carry it.
bool IsHostName(const std::string& host) {
  if (host.empty()) return false;
  if (host.front() == '[' && host.back() == ']')
    return host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
  return host.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") ==
         std::string::npos;
}

// Day and month names are English whatever the user's locale: the header is read by
// programs, and "Mo, 03 M\u00e4r" is not a date to them.
std::string DateHeader() {
  static const FormatSettings english = BritishFormatSettings();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const long offset = local.tm_gmtoff / 60;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                english.shortDayNames[static_cast<size_t>(local.tm_wday % 7)].c_str(), local.tm_mday,
                english.shortMonthNames[static_cast<size_t>(local.tm_mon % 12)].c_str(), local.tm_year + 1900,
                local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', std::labs(offset) / 60,
                std::labs(offset) % 60);
  return buf;
}

std::string MessageId(const std::string& from) {
  std::random_device rd;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%08x%08x.%lld", rd(), rd(), static_cast<long long>(std::time(nullptr)));
  const size_t at = from.find('@');
  return "<" + std::string(buf) + "@" + (at == std::string::npos ? "localhost" : from.substr(at + 1)) + ">";
}

SmtpResult Refuse(const std::string& why) { return {SmtpOutcome::Invalid, why}; }

// What went wrong, in the user's terms. A connection that never got as far as the
// server's greeting (refused, unreachable, timed out, TLS or its certificate refused)
// is a failure to connect, whatever curl's code for it.
SmtpOutcome OutcomeOf(CURLcode code, bool greeted) {
  switch (code) {
    case CURLE_OK: return SmtpOutcome::Sent;
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR: return SmtpOutcome::LoginFailed;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT: return SmtpOutcome::ConnectFailed;
    default: return greeted ? SmtpOutcome::SendFailed : SmtpOutcome::ConnectFailed;
  }
}

}  // namespace

bool ParseAddressList(const std::string& text, std::vector<MailAddress>& out, std::string& error) {
  out.clear();
  std::vector<std::string> entries;
  std::string current;
  bool quoted = false, angled = false;
  for (const char c : text) {
    if (c == '"' && !angled) quoted = !quoted;
    else if (c == '<' && !quoted) angled = true;
    else if (c == '>' && !quoted) angled = false;
    if (c == ',' && !quoted && !angled) {
      entries.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  entries.push_back(current);
  for (const std::string& raw : entries) {
    const std::string entry = Trim(raw);
    if (entry.empty()) continue;
    MailAddress a;
    const size_t open = entry.rfind('<');
    if (open != std::string::npos && entry.back() == '>') {
      a.address = Trim(entry.substr(open + 1, entry.size() - open - 2));
      a.name = Trim(entry.substr(0, open));
      if (a.name.size() >= 2 && a.name.front() == '"' && a.name.back() == '"') a.name = a.name.substr(1, a.name.size() - 2);
    } else {
      a.address = entry;
    }
    if (!IsAddress(a.address) || HasLineBreak(a.name)) {
      error = "Invalid address: " + entry;
      return false;
    }
    out.push_back(a);
  }
  return true;
}

std::string EncodeHeaderText(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  // Encoded words of at most 75 characters, never splitting a character.
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t end = std::min(utf8.size(), i + 45);
    while (end < utf8.size() && end > i && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    if (!out.empty()) out += ' ';
    out += "=?UTF-8?B?" + Base64(utf8.substr(i, end - i)) + "?=";
    i = end;
  }
  return out;
}

std::string HeaderAddress(const MailAddress& a) {
  if (a.name.empty()) return "<" + a.address + ">";
  std::string name;
  if (!IsAscii(a.name)) {
    name = EncodeHeaderText(a.name);
  } else {
    name = "\"";
    for (const char c : a.name) {
      if (c == '"' || c == '\\') name += '\\';
      name += c;
    }
    name += "\"";
  }
  return name + " <" + a.address + ">";
}

std::string MimeTypeOf(const std::string& fileName) {
  static const std::pair<const char*, const char*> kTypes[] = {
      {".pdf", "application/pdf"},   {".jpg", "image/jpeg"},        {".jpeg", "image/jpeg"},
      {".png", "image/png"},         {".gif", "image/gif"},         {".txt", "text/plain"},
      {".htm", "text/html"},         {".html", "text/html"},        {".rtf", "application/rtf"},
      {".csv", "text/csv"},          {".doc", "application/msword"}, {".zip", "application/zip"},
      {".xls", "application/vnd.ms-excel"},
      {".docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
      {".xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
      {".odt", "application/vnd.oasis.opendocument.text"},
  };
  const size_t dot = fileName.rfind('.');
  if (dot != std::string::npos) {
    std::string ext = fileName.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    for (const auto& [e, type] : kTypes)
      if (ext == e) return type;
  }
  return "application/octet-stream";
}

SmtpResult SendMail(const SmtpServer& server, const MailMessage& m) {
  // Everything that could make a wrong message or reach the wrong place is refused
  // before a connection is made.
  std::vector<const MailAddress*> all{&m.from};
  for (const auto* list : {&m.to, &m.cc, &m.bcc})
    for (const MailAddress& a : *list) all.push_back(&a);
  if (!m.replyTo.address.empty()) all.push_back(&m.replyTo);
  bool lineBreak = HasLineBreak(m.subject) || HasLineBreak(m.mailer);
  for (const MailAddress* a : all) {
    lineBreak = lineBreak || HasLineBreak(a->name);
    if (!IsAddress(a->address)) return Refuse("Invalid address: " + a->address);
  }
  // An attachment's name goes into its part's header.
  for (const std::string& path : m.attachments) lineBreak = lineBreak || HasLineBreak(ExtractFileName(path));
  if (lineBreak) return Refuse("A header text holds a line break");
  if (m.to.empty() && m.cc.empty() && m.bcc.empty()) return Refuse("No recipient");
  if (!IsHostName(server.host) || server.port < 1 || server.port > 65535)
    return {SmtpOutcome::ConnectFailed, "Invalid SMTP server: " + server.host + ":" + std::to_string(server.port)};
  for (const std::string& path : m.attachments) {
    std::string bytes;
    if (!FileExists(path) || !ReadWholeFile(path, bytes)) return Refuse("Cannot read attachment " + path);
  }

  NetTransfer t("smtp,smtps");
  if (!t.Ready()) return {SmtpOutcome::SendFailed, "Cannot start the network library"};
  CURL* h = t.Handle();
  const std::string url = std::string(server.security == SmtpSecurity::ImplicitTls ? "smtps://" : "smtp://") +
                          server.host + ":" + std::to_string(server.port);
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  t.SetTlsVersions(server.versions);
  curl_easy_setopt(h, CURLOPT_USE_SSL,
                   static_cast<long>(server.security == SmtpSecurity::StartTls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
  if (!server.user.empty()) {
    curl_easy_setopt(h, CURLOPT_USERNAME, server.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, server.password.c_str());
    curl_easy_setopt(h, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
  }
  const std::string mailFrom = "<" + m.from.address + ">";
  curl_easy_setopt(h, CURLOPT_MAIL_FROM, mailFrom.c_str());
  Slist recipients;
  for (const auto* list : {&m.to, &m.cc, &m.bcc})
    for (const MailAddress& a : *list) Append(recipients, "<" + a.address + ">");
  curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());

  Slist headers;
  auto addressLine = [](const std::vector<MailAddress>& list) {
    std::string line;
    for (const MailAddress& a : list) line += (line.empty() ? "" : ", ") + HeaderAddress(a);
    return line;
  };
  Append(headers, "Date: " + DateHeader());
  Append(headers, "From: " + HeaderAddress(m.from));
  if (!m.to.empty()) Append(headers, "To: " + addressLine(m.to));
  if (!m.cc.empty()) Append(headers, "Cc: " + addressLine(m.cc));
  if (!m.replyTo.address.empty()) Append(headers, "Reply-To: " + HeaderAddress(m.replyTo));
  Append(headers, "Subject: " + EncodeHeaderText(m.subject));
  Append(headers, "Message-ID: " + MessageId(m.from.address));
  if (!m.mailer.empty()) Append(headers, "X-Mailer: " + m.mailer);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

  // multipart/mixed: the text in its two forms, then the files.
  Mime mime(curl_mime_init(h));
  curl_mime* alternative = curl_mime_init(h);
  for (const auto& [body, type] : {std::pair{&m.text, "text/plain; charset=UTF-8"}, std::pair{&m.html, "text/html; charset=UTF-8"}}) {
    curl_mimepart* part = curl_mime_addpart(alternative);
    curl_mime_data(part, body->data(), body->size());
    curl_mime_type(part, type);
    // Quoted-printable keeps every line short, however long the HTML's lines are.
    curl_mime_encoder(part, "quoted-printable");
  }
  curl_mimepart* text = curl_mime_addpart(mime.get());
  curl_mime_subparts(text, alternative);
  curl_mime_type(text, "multipart/alternative");
  Slist inlineHeader;
  Append(inlineHeader, "Content-Disposition: inline");
  curl_mime_headers(text, inlineHeader.release(), 1);
  for (const std::string& path : m.attachments) {
    curl_mimepart* part = curl_mime_addpart(mime.get());
    curl_mime_filedata(part, path.c_str());
    curl_mime_filename(part, ExtractFileName(path).c_str());
    curl_mime_type(part, MimeTypeOf(path).c_str());
    curl_mime_encoder(part, "base64");
  }
  curl_easy_setopt(h, CURLOPT_MIMEPOST, mime.get());
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);

  const CURLcode code = t.Perform();
  long lastReply = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &lastReply);
  return {OutcomeOf(code, lastReply != 0), code == CURLE_OK ? std::string() : t.ErrorText()};
}

}  // namespace tb
