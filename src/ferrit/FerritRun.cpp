#include "ferrit/FerritRun.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include "ferrit/FerritSite.h"
#include "ferrit/UploadList.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/FtpUpload.h"
#include "platform/PathText.h"
#include "platform/SharedFile.h"

namespace tb {

namespace {

class FerritLog {
 public:
  FerritLog(std::string path, const Clock& clock, std::ostream& out)
      : path_(std::move(path)), clock_(clock), out_(out) {}

  void Write(const std::string& text) {
    const std::string line = FormatDateTime("yyyy-mm-dd hh:nn:ss", clock_.Now()) + " " + text;
    out_ << line << '\n' << std::flush;
    // Another Ferrit may be writing its line: wait for it a little.
    SharedFile log;
    SharedFile::Result opened = SharedFile::Result::Locked;
    for (int i = 0; i < 50 && opened == SharedFile::Result::Locked; ++i) {
      if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      opened = log.OpenOrCreateDenyWriters(path_, FileAccess::Private);
    }
    if (opened != SharedFile::Result::Ok || !log.AppendLine(line + "\r\n"))
      out_ << "Cannot write to " << PathText(path_) << ": " << log.ErrorText() << '\n' << std::flush;
  }

 private:
  std::string path_;
  const Clock& clock_;
  std::ostream& out_;
};

// One listed file put on its site; the log line's text after the time.
bool Send(const UploadEntry& entry, const RegistryStore& registry, FerritLog& log) {
  const std::string head = "Site=" + entry.site + " File=" + entry.file + " ";
  if (!entry.understood) {
    log.Write("Line not understood: " + entry.line);
    return false;
  }
  std::string problem;
  const std::optional<FerritSite> site = ReadFerritSite(registry, entry.site, problem);
  if (!site) {
    log.Write(head + "Failed: " + problem);
    return false;
  }
  const std::string path = PathFromText(entry.file);
  const FtpTarget target = FerritTarget(*site, path);
  const std::string where = head + "URL=" + FtpTargetUrl(target) + " ";
  std::string data;
  if (!FileExists(path)) {
    log.Write(where + "Failed: File not found");
    return false;
  }
  if (!ReadWholeFile(path, data)) {
    log.Write(where + "Failed: Cannot read file: " + SystemErrorText(errno));
    return false;
  }
  const FtpOutcome sent = FtpPut(target, data);
  log.Write(where + (sent.code == CURLE_OK ? "OK" : "Failed: " + sent.error));
  return sent.code == CURLE_OK;
}

}  // namespace

int RunUploadList(const std::string& listPath, const RegistryStore& registry, const Clock& clock,
                  std::ostream& out) {
  FerritLog log(ExtractFilePath(listPath) + "Ferrit.log", clock, out);
  std::string text;
  if (!FileExists(listPath) || !ReadWholeFile(listPath, text)) {
    const int error = FileExists(listPath) ? errno : ENOENT;
    log.Write("Cannot read upload list " + PathText(listPath) + ": " + SystemErrorText(error));
    return kFerritBadList;
  }
  bool all = true;
  for (const UploadEntry& entry : ParseUploadList(text)) all = Send(entry, registry, log) && all;
  return all ? kFerritAllSent : kFerritSomeFailed;
}

}  // namespace tb
