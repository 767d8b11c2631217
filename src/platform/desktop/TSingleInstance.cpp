#include "TSingleInstance.h"

#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "AppPaths.h"
#include "BaseUtils.h"

namespace {

constexpr int kReadTimeoutMs = 2000;
constexpr int kProbeTimeoutMs = 500;

}  // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent), FName(serverName.isEmpty() ? ServerName() : std::move(serverName)) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() {
  const QByteArray config =
      QCryptographicHash::hash(AppPaths::ConfigDir().toUtf8(), QCryptographicHash::Sha1).toHex();
  return QStringLiteral("verbalune-%1-%2")
      .arg(QString::number(::getuid()), QString::fromLatin1(config.left(12)));
}

bool TSingleInstance::HandOverToRunning(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(FName);
  if (!socket.waitForConnected(timeoutMs)) {
    return false;
  }
  socket.write(RestoreRequest.data(), RestoreRequest.size());
  if (!socket.waitForBytesWritten(timeoutMs)) {
    return false;
  }
  // Wait for the answer so that the first instance has the request before this
  // one goes; a peer that never answers is treated as not running.
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) {
      return false;
    }
  }
  return socket.readLine() == QByteArray(RestoreAnswer.data(), RestoreAnswer.size());
}

bool TSingleInstance::Listen() {
  if (FServer != nullptr) {
    return true;
  }
  // Listening with access options replaces any socket file of the name, a live
  // instance's included, so ask first whether someone answers there.
  QLocalSocket probe;
  probe.connectToServer(FName);
  if (probe.waitForConnected(kProbeTimeoutMs)) {
    return false;
  }
  if (QFileInfo::exists(QDir::tempPath() + u'/' + FName)) {
    UtilsClass::Trace(QStringLiteral("Removing stale instance socket ") + FName);
    QLocalServer::removeServer(FName);
  }
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(FName)) {
    UtilsClass::Trace(QStringLiteral("Single instance: ") + server->errorString());
    delete server;
    return false;
  }
  FServer = server;
  connect(FServer, &QLocalServer::newConnection, this, &TSingleInstance::AcceptConnections);
  return true;
}

bool TSingleInstance::Listening() const {
  return FServer != nullptr && FServer->isListening();
}

void TSingleInstance::AcceptConnections() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(64);
        if (line == QByteArray(RestoreRequest.data(), RestoreRequest.size())) {
          socket->write(RestoreAnswer.data(), RestoreAnswer.size());
          socket->flush();
          emit RestoreRequested();
        } else {
          // Anything else is not ours: drop the connection.
          socket->disconnectFromServer();
          return;
        }
      }
      if (socket->bytesAvailable() > 64) {
        socket->disconnectFromServer();
      }
    });
    // A client that never says anything must not stay connected for ever.
    QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->disconnectFromServer(); });
  }
}
