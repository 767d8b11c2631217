#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "SpeechInterfaces.h"

class ISpeechDriver;
class TPcmOutput;
class TTTSEnum;

// Everything the text-to-speech component reaches below it: the installed
// engine drivers, the wave output devices and the audio destinations. The
// program uses Default(); tests build their own with the scripted engine and
// a paced device.
class TSpeechSystem final {
 public:
  TSpeechSystem();

  std::vector<std::shared_ptr<ISpeechDriver>> Drivers;
  // Number of wave output devices (identifiers 0 .. n-1; -1 is the default).
  std::function<int()> WaveOutCount;
  // Opens the output for a device identifier.
  std::function<std::unique_ptr<TPcmOutput>(int deviceId)> CreatePcmOutput;

  // The enumerator over every driver; REGDB_E_CLASSNOTREG when none is installed.
  HRESULT CreateEnum(std::unique_ptr<TTTSEnum>& result) const;
  HRESULT CreateDeviceDest(std::shared_ptr<IAudioMultiMediaDevice>& result) const;
  HRESULT CreateFileDest(std::shared_ptr<IAudioFile>& result) const;

  // The process-wide system: espeak-ng and Flite on ALSA devices (only one of
  // them with VERBALUNE_SPEECH_ENGINE=espeak or =flite), or the scripted engine
  // when VERBALUNE_SPEECH_ENGINE=scripted, and paced silent devices when
  // VERBALUNE_WAVE_DEVICE=paced.
  static std::shared_ptr<TSpeechSystem> Default();
  static void SetDefault(std::shared_ptr<TSpeechSystem> system);
};
