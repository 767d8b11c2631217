#pragma once

#include <QtGlobal>

// 16-bit interleaved PCM as a wave device receives it.
struct TPcmFormat {
  int SampleRate = 22050;
  int Channels = 1;
};

// One open playback stream. Every call comes from the player's worker thread,
// so implementations need no locking of their own.
class TPcmOutput {
 public:
  virtual ~TPcmOutput() = default;
  // 0 or a negative errno (-EBUSY when another program holds the device).
  virtual int Open(const TPcmFormat& format) = 0;
  virtual void Close() = 0;
  // Frames accepted without waiting (0 when the device buffer is full), or a
  // negative errno after an unrecoverable failure.
  virtual long Write(const qint16* frames, long count) = 0;
  // Frames handed over but not yet heard.
  virtual long Delay() = 0;
  // Waits up to timeoutMs for room in the device buffer.
  virtual void WaitForRoom(int timeoutMs) = 0;
  // Hardware pause; false when the device cannot pause, and the caller then
  // drops and rewrites what was not yet heard.
  virtual bool SetPaused(bool paused) = 0;
  // Discards everything not yet heard, at once.
  virtual void Drop() = 0;
};
