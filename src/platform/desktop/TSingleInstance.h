#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One running reader per user and settings folder. The first start listens on
// a local socket; a later start connects, asks the first one to restore its
// window (or to open the files it was given) and ends. A socket left behind by a crash accepts no
// connection and is removed before listening again.
class TSingleInstance final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSingleInstance)

 public:
  // serverName: empty gives ServerName() for the current user and config folder.
  explicit TSingleInstance(QString serverName = QString(), QObject* parent = nullptr);
  ~TSingleInstance() override;

  // The request a second start sends, and the answer that it was taken.
  static constexpr QByteArrayView RestoreRequest = "restore\n";
  static constexpr QByteArrayView RestoreAnswer = "ok\n";
  // A start with files sends this line, then one absolute path per line in
  // UTF-8, then an empty line; it is answered like a restore.
  static constexpr QByteArrayView OpenRequest = "open\n";
  // Longest path line (a path's bytes) and whole open request taken; a bigger
  // request is refused, so a client sends many files in several requests.
  static constexpr qsizetype MaxPathBytes = 4095;
  static constexpr qsizetype MaxRequestBytes = 256 * 1024;

  // Why a path cannot travel in an open request, empty when it can: the
  // request is line-based, so a line break in a name would split it.
  static QString PathProblem(const QString& path);

  // Socket name of the current user; settings folders of their own (tests)
  // get instances of their own.
  static QString ServerName();

  // True when another instance took the restore request: this one must end.
  bool HandOverToRunning(int timeoutMs = 2000);
  // The same with files for the running instance to open: absolute paths
  // without a PathProblem (the caller refuses the others). Empty files send a
  // plain restore.
  bool HandOverToRunning(const QStringList& files, int timeoutMs = 2000);
  // Starts listening; false when the name cannot be taken even after removing
  // a stale socket (then another instance won the race, or the folder is bad).
  bool Listen();
  bool Listening() const;
  QString Name() const { return FName; }

 signals:
  // A second start asked for the main window.
  void RestoreRequested();
  // A second start asked to open these absolute paths (and show the window).
  void OpenRequested(const QStringList& files);

 private:
  struct TConnection;
  void AcceptConnections();
  void Serve(QLocalSocket& socket, TConnection& connection);

  QString FName;
  QLocalServer* FServer = nullptr;
};
