#pragma once

#include <functional>
#include <memory>

#include "SpeechInterfaces.h"

class TWavePlayer;

// Plays the engine's audio on a wave output device. The device is held from
// the moment the engine opens until it is released.
class TDeviceAudioDest final : public IAudioMultiMediaDevice {
 public:
  using TOutputFactory = std::function<std::unique_ptr<TPcmOutput>(int deviceId)>;
  TDeviceAudioDest(TOutputFactory factory, std::function<int()> deviceCount);
  ~TDeviceAudioDest() override;

  HRESULT DeviceNumSet(int deviceId) override;
  HRESULT Claim(const TPcmFormat& format, TListener listener) override;
  void Unclaim() override;
  bool Write(const qint16* frames, long count, quint64 generation) override;
  void Mark(quint64 tag, quint64 generation) override;
  void EndOfStream(quint64 generation) override;
  void SetPaused(bool paused) override;
  void Reset(quint64 newGeneration) override;

  // Frames handed to the device so far (for measurements).
  long long FramesHandedOver() const;

 private:
  TOutputFactory FFactory;
  std::function<int()> FDeviceCount;
  int FDeviceId = -1;
  std::unique_ptr<TWavePlayer> FPlayer;
};
