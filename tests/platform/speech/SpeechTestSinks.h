#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <vector>

#include "SpeechInterfaces.h"

// Records what an engine reports, and on which thread.
class TRecordingSinks final : public ITTSNotifySinkW, public ITTSBufNotifySink {
 public:
  HRESULT AttribChanged(quint32) override { return S_OK; }
  HRESULT AudioStart(quint64) override {
    ++Starts;
    return Check();
  }
  HRESULT AudioStop(quint64) override {
    ++Stops;
    return Check();
  }
  HRESULT Visual(quint64, char16_t, char16_t, quint32, const TTSMOUTH&) override { return S_OK; }
  HRESULT TextDataDone(quint64, quint32) override {
    ++Done;
    return Check();
  }
  HRESULT TextDataStarted(quint64) override { return Check(); }
  HRESULT BookMark(quint64, quint32) override { return S_OK; }
  HRESULT WordPosition(quint64, quint32 byteOffset) override {
    Words.push_back(byteOffset);
    return Check();
  }

  int Starts = 0;
  int Stops = 0;
  int Done = 0;
  bool OffThread = false;
  std::vector<quint32> Words;

 private:
  HRESULT Check() {
    OffThread = OffThread || QThread::currentThread() != QCoreApplication::instance()->thread();
    return S_OK;
  }
};

// Runs the event loop until done() or a generous limit (never a timing check).
template <typename TDone>
bool PumpUntil(TDone done, int limitMs = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < limitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return done();
}
