#include "app/forms/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

#include "platform/SystemInfo.h"

namespace tb {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

QString SingleInstance::SocketPath(const QString& title) {
  // In the temporary folder, per user, so that separate test runs never meet.
  const QByteArray hash = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QString::fromStdString(TempFolder()) + QStringLiteral("Cotlyn-%1-").arg(getuid()) +
         QString::fromLatin1(hash);
}

bool SingleInstance::ActivateExisting(const QString& title) {
  QLocalSocket socket;
  socket.connectToServer(SocketPath(title));
  if (!socket.waitForConnected(500)) return false;
  socket.write("raise\n");
  socket.waitForBytesWritten(500);
  socket.waitForReadyRead(1000);  // the answer tells us it acted
  return true;
}

bool SingleInstance::Listen(const QString& title, std::function<void()> onRaise) {
  onRaise_ = std::move(onRaise);
  server_ = new QLocalServer(this);
  const QString path = SocketPath(title);
  QLocalServer::removeServer(path);  // a socket left by a copy that died
  if (!server_->listen(path)) return false;
  connect(server_, &QLocalServer::newConnection, this, [this]() {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
      connect(s, &QLocalSocket::readyRead, s, [this, s]() {
        s->readAll();
        if (onRaise_) onRaise_();
        s->write("ok\n");
        s->flush();
        s->disconnectFromServer();
      });
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace tb
