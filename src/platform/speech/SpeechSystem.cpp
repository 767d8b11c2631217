#include "SpeechSystem.h"

#include <mutex>

#include "AlsaPcmOutput.h"
#include "AppPaths.h"
#include "DeviceAudioDest.h"
#include "EspeakDriver.h"
#include "FliteDriver.h"
#include "PacedPcmOutput.h"
#include "ScriptedEngine.h"
#include "TTSEnumerator.h"
#include "WaveDevices.h"
#include "WaveFileDest.h"

namespace {

std::mutex& DefaultLock() {
  static std::mutex lock;
  return lock;
}

std::shared_ptr<TSpeechSystem>& DefaultSlot() {
  static std::shared_ptr<TSpeechSystem> system;
  return system;
}

std::shared_ptr<TSpeechSystem> MakeDefault() {
  auto system = std::make_shared<TSpeechSystem>();
  const QByteArray engine = qgetenv("VERBALUNE_SPEECH_ENGINE");
  if (engine == "scripted") {
    system->Drivers.push_back(std::make_shared<TScriptedEngine>(TScriptedEngine::DefaultConfig()));
  } else if (engine != "none") {
    if (engine != "flite" && TEspeakDriver::Available()) {
      system->Drivers.push_back(std::make_shared<TEspeakDriver>());
    }
    if (engine != "espeak") {
      system->Drivers.push_back(
          std::make_shared<TFliteDriver>(AppPaths::DataDirPath() + QStringLiteral("/flite")));
    }
  }
  if (qgetenv("VERBALUNE_WAVE_DEVICE") == "paced") {
    // Silent devices that play in real time, for runs on machines without sound.
    system->WaveOutCount = [] { return 1; };
    system->CreatePcmOutput = [](int) { return std::make_unique<TPacedPcmOutput>(); };
  }
  return system;
}

}  // namespace

TSpeechSystem::TSpeechSystem()
    : WaveOutCount([] { return waveOutGetNumDevs(); }), CreatePcmOutput([](int deviceId) {
        const QString name = TWaveDevices::PcmName(deviceId);
        return name.isEmpty() ? nullptr : std::make_unique<TAlsaPcmOutput>(name);
      }) {}

HRESULT TSpeechSystem::CreateEnum(std::unique_ptr<TTTSEnum>& result) const {
  if (Drivers.empty()) {
    return REGDB_E_CLASSNOTREG;
  }
  for (const auto& driver : Drivers) {
    driver->Note(QStringLiteral("CreateEnum"));
    if (const HRESULT hr = driver->Fault(QStringLiteral("CreateEnum")); hr != S_OK) {
      return hr;
    }
  }
  result = std::make_unique<TTTSEnum>(Drivers);
  return S_OK;
}

HRESULT TSpeechSystem::CreateDeviceDest(std::shared_ptr<IAudioMultiMediaDevice>& result) const {
  for (const auto& driver : Drivers) {
    if (const HRESULT hr = driver->Fault(QStringLiteral("CreateDeviceDest")); hr != S_OK) {
      return hr;
    }
  }
  result = std::make_shared<TDeviceAudioDest>(CreatePcmOutput, WaveOutCount);
  return S_OK;
}

HRESULT TSpeechSystem::CreateFileDest(std::shared_ptr<IAudioFile>& result) const {
  for (const auto& driver : Drivers) {
    if (const HRESULT hr = driver->Fault(QStringLiteral("CreateFileDest")); hr != S_OK) {
      return hr;
    }
  }
  result = std::make_shared<TWaveFileDest>();
  return S_OK;
}

std::shared_ptr<TSpeechSystem> TSpeechSystem::Default() {
  std::lock_guard lock(DefaultLock());
  if (!DefaultSlot()) {
    DefaultSlot() = MakeDefault();
  }
  return DefaultSlot();
}

void TSpeechSystem::SetDefault(std::shared_ptr<TSpeechSystem> system) {
  std::lock_guard lock(DefaultLock());
  DefaultSlot() = std::move(system);
}
