#pragma once

#include <chrono>
#include <mutex>

#include "PcmOutput.h"

// A device that plays in real time against a clock but makes no sound: the
// stand-in for a sound card where the machine has none, so that playback
// timing (pause, reset, word positions) can be exercised and measured.
class TPacedPcmOutput final : public TPcmOutput {
 public:
  using TClock = std::chrono::steady_clock;
  // bufferMs: the size of the simulated device buffer.
  explicit TPacedPcmOutput(int bufferMs = 100);

  int Open(const TPcmFormat& format) override;
  void Close() override;
  long Write(const qint16* frames, long count) override;
  long Delay() override;
  void WaitForRoom(int timeoutMs) override;
  bool SetPaused(bool paused) override;
  void Drop() override;

  // Total frames heard so far; safe from any thread (for measurements).
  long long FramesPlayed();

 private:
  void Advance();

  std::mutex FLock;
  int FBufferMs;
  TPcmFormat FFormat;
  long long FWritten = 0;
  double FPlayed = 0;
  bool FPaused = false;
  bool FOpen = false;
  TClock::time_point FLast;
};
