#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running reader per user and settings folder. The first start listens on
// a local socket; a later start connects, asks the first one to restore its
// window and ends. A socket left behind by a crash accepts no connection and
// is removed before listening again.
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

  // Socket name of the current user; settings folders of their own (tests)
  // get instances of their own.
  static QString ServerName();

  // True when another instance took the restore request: this one must end.
  bool HandOverToRunning(int timeoutMs = 2000);
  // Starts listening; false when the name cannot be taken even after removing
  // a stale socket (then another instance won the race, or the folder is bad).
  bool Listen();
  bool Listening() const;
  QString Name() const { return FName; }

 signals:
  // A second start asked for the main window.
  void RestoreRequested();

 private:
  void AcceptConnections();

  QString FName;
  QLocalServer* FServer = nullptr;
};
