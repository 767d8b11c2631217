#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include "PacedPcmOutput.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"

// A speech system of the scripted engine and paced silent devices, installed
// as the program's for each test.
class TTSFixture : public ::testing::Test {
 protected:
  explicit TTSFixture(quint32 firstModeInterfaces = TTSI_ITTSCENTRAL | TTSI_ITTSATTRIBUTES |
                                                    TTSI_ITTSDIALOGS) {
    TScriptedEngine::TConfig config;
    config.Modes = {
        TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral("Mary"),
                                  QStringLiteral("Mary"), 1033, TTSFEATURE_PITCH,
                                  firstModeInterfaces),
        TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral("Hans"),
                                  QStringLiteral("Hans"), 1031, TTSFEATURE_TAGGED),
        TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral(" Spaced "),
                                  QStringLiteral("Sp"), 1033),
    };
    config.WordMs = 5;
    config.GapMs = 0;
    config.Limits = {true, 50, 150, 100, 10, 400, 200};
    Engine = std::make_shared<TScriptedEngine>(config);
    System = std::make_shared<TSpeechSystem>();
    System->Drivers = {Engine};
    System->WaveOutCount = [this] { return DeviceCount; };
    System->CreatePcmOutput = [](int) { return std::make_unique<TPacedPcmOutput>(20); };
    TSpeechSystem::SetDefault(System);
    ResetTTSModule();
  }
  ~TTSFixture() override {
    TSpeechSystem::SetDefault(nullptr);
    ResetTTSModule();
  }

  template <typename TDone>
  static bool PumpUntil(TDone done, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limitMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(1);
    }
    return done();
  }
  // Lets queued notifications arrive.
  static void Settle(int ms = 50) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::msleep(1);
    }
  }

  int DeviceCount = 2;
  std::shared_ptr<TScriptedEngine> Engine;
  std::shared_ptr<TSpeechSystem> System;
  QTemporaryDir Dir;
};

template <typename TCall>
QString ErrorOf(TCall&& call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.Message();
  }
  return QString();
}
