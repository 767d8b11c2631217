#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

#include "DiscardPcmOutput.h"
#include "MessageRecorder.h"
#include "PreferenceUnit.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"

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
      return std::make_unique<TDiscardPcmOutput>(result->load());
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
