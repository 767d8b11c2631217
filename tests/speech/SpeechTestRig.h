#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "MessageRecorder.h"
#include "PcmOutput.h"
#include "PreferenceUnit.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"

// A sound card that hears everything at once, or refuses to open.
class TInstantPcmOutput final : public TPcmOutput {
 public:
  explicit TInstantPcmOutput(int openResult) : FOpenResult(openResult) {}
  int Open(const TPcmFormat&) override { return FOpenResult; }
  void Close() override {}
  long Write(const qint16*, long count) override { return count; }
  long Delay() override { return 0; }
  void WaitForRoom(int) override {}
  bool SetPaused(bool) override { return true; }
  void Drop() override {}

 private:
  int FOpenResult;
};

// One speech system for a test: the given drivers on one instant device whose
// open result a test can change (0, -EBUSY, -ENODEV), installed as the
// program's default for the test's lifetime.
class TSpeechRig final {
 public:
  explicit TSpeechRig(std::shared_ptr<ISpeechDriver> driver)
      : System(std::make_shared<TSpeechSystem>()),
        OpenResult(std::make_shared<std::atomic<int>>(0)) {
    System->Drivers.push_back(std::move(driver));
    System->WaveOutCount = [] { return 1; };
    System->CreatePcmOutput = [result = OpenResult](int) {
      return std::make_unique<TInstantPcmOutput>(result->load());
    };
    TSpeechSystem::SetDefault(System);
    ResetTTSModule();
  }
  ~TSpeechRig() {
    TSpeechSystem::SetDefault(nullptr);
    ResetTTSModule();
  }
  TSpeechRig(const TSpeechRig&) = delete;
  TSpeechRig& operator=(const TSpeechRig&) = delete;

  std::shared_ptr<TSpeechSystem> System;
  std::shared_ptr<std::atomic<int>> OpenResult;
};

// Runs the event loop until the condition holds or a generous limit passes.
inline bool WaitFor(const std::function<bool()>& condition, int limitMs = 20000) {
  QDeadlineTimer deadline(limitMs);
  while (!condition()) {
    if (deadline.hasExpired()) {
      return false;
    }
    QCoreApplication::processEvents();
    QThread::msleep(2);
  }
  return true;
}
