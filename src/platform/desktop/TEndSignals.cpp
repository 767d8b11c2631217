#include "TEndSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Written only by the signal handler, which may touch nothing but this.
int gWriteEnd = -1;
int gReadEnd = -1;

void OnSignal(int signalNumber) {
  const int saved = errno;
  const char byte = static_cast<char>(signalNumber);
  // A full pipe means the UI thread has not caught up; one byte is enough.
  [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
  errno = saved;
}

void SetHandler(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TEndSignals::TEndSignals(QObject* parent) : QObject(parent) {
  if (gReadEnd >= 0) {
    return;  // one owner per process
  }
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) {
    return;
  }
  gReadEnd = ends[0];
  gWriteEnd = ends[1];
  FNotifier = new QSocketNotifier(gReadEnd, QSocketNotifier::Read, this);
  connect(FNotifier, &QSocketNotifier::activated, this, &TEndSignals::ReadPipe);
  for (const int signalNumber : kSignals) {
    // SA_RESETHAND: a second signal takes the default action and ends the
    // process even if the first one's saving hangs.
    SetHandler(signalNumber, OnSignal, SA_RESTART | SA_RESETHAND);
  }
}

TEndSignals::~TEndSignals() {
  if (FNotifier == nullptr) {
    return;
  }
  for (const int signalNumber : kSignals) {
    SetHandler(signalNumber, SIG_DFL, 0);
  }
  delete FNotifier;
  FNotifier = nullptr;
  ::close(gReadEnd);
  ::close(gWriteEnd);
  gReadEnd = gWriteEnd = -1;
}

void TEndSignals::ReadPipe() {
  char bytes[16];
  const ssize_t n = ::read(gReadEnd, bytes, sizeof bytes);
  for (ssize_t i = 0; i < n; ++i) {
    emit Received(static_cast<unsigned char>(bytes[i]));
  }
}
