#include "app/forms/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include "platform/SystemInfo.h"

namespace tb {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

QString SingleInstance::SocketPath(const std::string& key) {
  // In this user's private temporary folder: nobody else can take the name, and
  // separate test runs (each with its own folder) never meet.
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha1).toHex().left(16);
  return QString::fromStdString(PrivateTempFolder()) + QStringLiteral("Cotlyn-") + QString::fromLatin1(hash);
}

bool SingleInstance::ActivateExisting(const std::string& key) {
  QLocalSocket socket;
  socket.connectToServer(SocketPath(key));
  if (!socket.waitForConnected(500)) return false;
  socket.write("raise\n");
  socket.waitForBytesWritten(500);
  socket.waitForReadyRead(1000);  // the answer tells us it acted
  return true;
}

bool SingleInstance::Listen(const std::string& key, std::function<void()> onRaise) {
  onRaise_ = std::move(onRaise);
  server_ = new QLocalServer(this);
  const QString path = SocketPath(key);
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
