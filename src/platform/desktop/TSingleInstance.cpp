#include "TSingleInstance.h"

#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringDecoder>
#include <QTimer>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "AppPaths.h"
#include "BaseUtils.h"

namespace {

constexpr int kReadTimeoutMs = 2000;
constexpr int kProbeTimeoutMs = 500;

QByteArray Bytes(QByteArrayView view) {
  return view.toByteArray();
}

// A path line of an open request without its line break; nullopt when it is
// not an absolute path in valid UTF-8.
std::optional<QString> DecodePathLine(QByteArrayView line) {
  if (line.isEmpty() || line.front() != '/' || line.contains('\0')) {
    return std::nullopt;
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString path = decoder.decode(line);
  if (decoder.hasError()) {
    return std::nullopt;
  }
  return path;
}

// The open requests for files, each within the size the server takes.
std::vector<QByteArray> OpenRequests(const QStringList& files) {
  std::vector<QByteArray> requests;
  QByteArray request = Bytes(TSingleInstance::OpenRequest);
  for (const QString& file : files) {
    const QByteArray line = file.toUtf8() + '\n';
    if (request.size() > TSingleInstance::OpenRequest.size() &&
        request.size() + line.size() + 1 > TSingleInstance::MaxRequestBytes) {
      requests.push_back(request + '\n');
      request = Bytes(TSingleInstance::OpenRequest);
    }
    request += line;
  }
  requests.push_back(request + '\n');
  return requests;
}

}  // namespace

// What an open request has brought so far on one connection.
struct TSingleInstance::TConnection {
  bool InOpenRequest = false;
  qsizetype RequestBytes = 0;
  QStringList Files;
};

QString TSingleInstance::PathProblem(const QString& path) {
  if (path.contains(u'\n') || path.contains(QChar(0))) {
    return QStringLiteral("its name contains a line break");
  }
  if (!path.startsWith(u'/')) {
    return QStringLiteral("it is not an absolute path");
  }
  if (path.toUtf8().size() > MaxPathBytes) {
    return QStringLiteral("its name is too long");
  }
  return QString();
}

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
  return HandOverToRunning(QStringList(), timeoutMs);
}

bool TSingleInstance::HandOverToRunning(const QStringList& files, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(FName);
  if (!socket.waitForConnected(timeoutMs)) {
    return false;
  }
  const std::vector<QByteArray> requests =
      files.isEmpty() ? std::vector<QByteArray>{Bytes(RestoreRequest)} : OpenRequests(files);
  bool taken = false;
  for (const QByteArray& request : requests) {
    socket.write(request);
    while (socket.bytesToWrite() > 0) {
      if (!socket.waitForBytesWritten(timeoutMs)) {
        return taken;
      }
    }
    // Wait for the answer so that the first instance has the request before
    // this one goes; a peer that never answers is treated as not running.
    while (!socket.canReadLine()) {
      if (!socket.waitForReadyRead(timeoutMs)) {
        return taken;
      }
    }
    if (socket.readLine() != Bytes(RestoreAnswer)) {
      return taken;
    }
    // Once one request is taken the instance runs: this start must not open
    // a window of its own even if a later part is lost.
    taken = true;
  }
  return taken;
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
    auto connection = std::make_shared<TConnection>();
    connect(socket, &QLocalSocket::readyRead, this,
            [this, socket, connection] { Serve(*socket, *connection); });
    // A client that never says anything must not stay connected for ever.
    QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->disconnectFromServer(); });
  }
}

void TSingleInstance::Serve(QLocalSocket& socket, TConnection& connection) {
  // Anything that is not ours, or too big, only loses its connection.
  const auto refuse = [&socket](const char* why) {
    UtilsClass::Trace(
        QStringLiteral("Single instance: refused a request (%1)").arg(QLatin1StringView(why)));
    socket.disconnectFromServer();
  };
  const auto answer = [&socket] {
    socket.write(RestoreAnswer.data(), RestoreAnswer.size());
    socket.flush();
  };
  while (socket.canReadLine()) {
    const QByteArray line = socket.readLine(MaxPathBytes + 2);
    if (!line.endsWith('\n')) {
      refuse("line too long");
      return;
    }
    if (!connection.InOpenRequest) {
      if (line == Bytes(RestoreRequest)) {
        answer();
        emit RestoreRequested();
      } else if (line == Bytes(OpenRequest)) {
        connection = TConnection{true, line.size(), {}};
      } else {
        refuse("unknown request");
        return;
      }
      continue;
    }
    connection.RequestBytes += line.size();
    if (connection.RequestBytes > MaxRequestBytes) {
      refuse("too big");
      return;
    }
    if (line.size() > 1) {
      const std::optional<QString> path = DecodePathLine(QByteArrayView(line).chopped(1));
      if (!path) {
        refuse("not an absolute UTF-8 path");
        return;
      }
      connection.Files << *path;
      continue;
    }
    if (connection.Files.isEmpty()) {
      refuse("no files");
      return;
    }
    answer();
    const QStringList files = std::exchange(connection, TConnection{}).Files;
    // Opening lets events run; the socket must not be served from inside
    // its own request.
    QMetaObject::invokeMethod(
        this, [this, files] { emit OpenRequested(files); }, Qt::QueuedConnection);
  }
  // A line longer than any request's never ends in time.
  if (socket.bytesAvailable() > MaxPathBytes + 1) {
    refuse("line too long");
  }
}
