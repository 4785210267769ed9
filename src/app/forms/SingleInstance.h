#pragma once
// One running copy per window: the first copy listens on a local socket named after
// its key (root folder and application title, see InstanceKey); a later start with the
// same key asks it to come forward.

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QLocalServer;

namespace tb {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QObject* parent = nullptr);
  // Asks a running copy with this key to raise its window; true when one answered.
  static bool ActivateExisting(const std::string& key);
  // Starts answering for the key; onRaise is called when another start asks.
  bool Listen(const std::string& key, std::function<void()> onRaise);

 private:
  static QString SocketPath(const std::string& key);
  QLocalServer* server_ = nullptr;
  std::function<void()> onRaise_;
};

}  // namespace tb
