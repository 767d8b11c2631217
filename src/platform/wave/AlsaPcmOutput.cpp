#include "AlsaPcmOutput.h"

#include <alsa/asoundlib.h>

#include <cerrno>

#include "WaveDevices.h"

TAlsaPcmOutput::TAlsaPcmOutput(QString pcmName) : FName(std::move(pcmName)) {}

TAlsaPcmOutput::~TAlsaPcmOutput() {
  Close();
}

int TAlsaPcmOutput::Open(const TPcmFormat& format) {
  Close();
  SilenceAlsaErrors();
  snd_pcm_t* pcm = nullptr;
  int rc =
      snd_pcm_open(&pcm, FName.toUtf8().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (rc < 0) {
    return rc;
  }
  snd_pcm_hw_params_t* hw = nullptr;
  snd_pcm_hw_params_alloca(&hw);
  unsigned rate = static_cast<unsigned>(format.SampleRate);
  // 100 ms of device buffer in 20 ms periods: short enough that a reset is
  // silent at once, long enough not to underrun on a busy machine.
  unsigned bufferUs = 100000;
  unsigned periodUs = 20000;
  if ((rc = snd_pcm_hw_params_any(pcm, hw)) < 0 ||
      (rc = snd_pcm_hw_params_set_rate_resample(pcm, hw, 1)) < 0 ||
      (rc = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0 ||
      (rc = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16)) < 0 ||
      (rc = snd_pcm_hw_params_set_channels(pcm, hw, static_cast<unsigned>(format.Channels))) < 0 ||
      (rc = snd_pcm_hw_params_set_rate_near(pcm, hw, &rate, nullptr)) < 0 ||
      (rc = snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &bufferUs, nullptr)) < 0 ||
      (rc = snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodUs, nullptr)) < 0 ||
      (rc = snd_pcm_hw_params(pcm, hw)) < 0) {
    snd_pcm_close(pcm);
    return rc;
  }
  FCanPause = snd_pcm_hw_params_can_pause(hw) != 0;
  FPcm = pcm;
  return 0;
}

void TAlsaPcmOutput::Close() {
  if (FPcm != nullptr) {
    snd_pcm_drop(FPcm);
    snd_pcm_close(FPcm);
    FPcm = nullptr;
  }
}

bool TAlsaPcmOutput::Recover(int error) {
  return snd_pcm_recover(FPcm, error, 1) == 0;
}

long TAlsaPcmOutput::Write(const qint16* frames, long count) {
  if (FPcm == nullptr) {
    return -EBADF;
  }
  snd_pcm_sframes_t n = snd_pcm_writei(FPcm, frames, static_cast<snd_pcm_uframes_t>(count));
  if (n == -EAGAIN) {
    return 0;
  }
  if (n < 0) {
    // An underrun (the synthesiser fell behind) is not a failure: restart.
    if (!Recover(static_cast<int>(n))) {
      return n;
    }
    return 0;
  }
  return n;
}

long TAlsaPcmOutput::Delay() {
  if (FPcm == nullptr) {
    return 0;
  }
  snd_pcm_sframes_t delay = 0;
  if (snd_pcm_delay(FPcm, &delay) < 0 || delay < 0) {
    return 0;
  }
  return delay;
}

void TAlsaPcmOutput::WaitForRoom(int timeoutMs) {
  if (FPcm != nullptr) {
    snd_pcm_wait(FPcm, timeoutMs);
  }
}

bool TAlsaPcmOutput::SetPaused(bool paused) {
  if (FPcm == nullptr || !FCanPause) {
    return false;
  }
  return snd_pcm_pause(FPcm, paused ? 1 : 0) == 0;
}

void TAlsaPcmOutput::Drop() {
  if (FPcm != nullptr) {
    snd_pcm_drop(FPcm);
    snd_pcm_prepare(FPcm);
  }
}
