#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C, a closed terminal, a system
// shutdown) reach the program as a queued Qt signal on the UI thread, so they
// can save like the Exit command. The handler itself only writes the signal's
// number into a pipe; a second signal of the same kind ends the process at
// once, for a program that no longer reacts.
class TEndSignals final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TEndSignals)

 public:
  explicit TEndSignals(QObject* parent = nullptr);
  ~TEndSignals() override;

  // False when the pipe or the handlers could not be set up; the signals then
  // keep their default action.
  bool Installed() const { return FNotifier != nullptr; }

 signals:
  void Received(int signalNumber);

 private:
  void ReadPipe();

  QSocketNotifier* FNotifier = nullptr;
};
