#pragma once
// One running copy per window title: the first copy listens on a local socket named
// after the title; a later start with the same title asks it to come forward.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace tb {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstance(QObject* parent = nullptr);
  // Asks a running copy with this title to raise its window; true when one answered.
  static bool ActivateExisting(const QString& title);
  // Starts answering for the title; onRaise is called when another start asks.
  bool Listen(const QString& title, std::function<void()> onRaise);

 private:
  static QString SocketPath(const QString& title);
  QLocalServer* server_ = nullptr;
  std::function<void()> onRaise_;
};

}  // namespace tb
