#pragma once

#include <QString>

#include "PcmOutput.h"

typedef struct _snd_pcm snd_pcm_t;

// A playback stream on an ALSA PCM. The buffer is kept short (about 100 ms)
// so that a reset is heard at once and word positions follow the sound.
class TAlsaPcmOutput final : public TPcmOutput {
 public:
  explicit TAlsaPcmOutput(QString pcmName);
  ~TAlsaPcmOutput() override;
  TAlsaPcmOutput(const TAlsaPcmOutput&) = delete;
  TAlsaPcmOutput& operator=(const TAlsaPcmOutput&) = delete;

  int Open(const TPcmFormat& format) override;
  void Close() override;
  long Write(const qint16* frames, long count) override;
  long Delay() override;
  void WaitForRoom(int timeoutMs) override;
  bool SetPaused(bool paused) override;
  void Drop() override;

 private:
  bool Recover(int error);

  QString FName;
  snd_pcm_t* FPcm = nullptr;
  bool FCanPause = false;
};
