#include "PacedPcmOutput.h"

#include <algorithm>
#include <thread>

TPacedPcmOutput::TPacedPcmOutput(int bufferMs) : FBufferMs(std::max(10, bufferMs)) {}

int TPacedPcmOutput::Open(const TPcmFormat& format) {
  std::lock_guard lock(FLock);
  FFormat = format;
  FWritten = 0;
  FPlayed = 0;
  FPaused = false;
  FOpen = true;
  FLast = TClock::now();
  return 0;
}

void TPacedPcmOutput::Close() {
  std::lock_guard lock(FLock);
  FOpen = false;
}

void TPacedPcmOutput::Advance() {
  const auto now = TClock::now();
  if (!FPaused) {
    const double seconds = std::chrono::duration<double>(now - FLast).count();
    // An empty device does not run ahead: played never passes written.
    FPlayed = std::min(static_cast<double>(FWritten), FPlayed + seconds * FFormat.SampleRate);
  }
  FLast = now;
}

long TPacedPcmOutput::Write(const qint16* frames, long count) {
  Q_UNUSED(frames);
  std::lock_guard lock(FLock);
  if (!FOpen) {
    return -5;
  }
  Advance();
  const long capacity =
      static_cast<long>(static_cast<long long>(FFormat.SampleRate) * FBufferMs / 1000);
  const long queued = static_cast<long>(FWritten - static_cast<long long>(FPlayed));
  const long room = std::max(0L, capacity - queued);
  const long accepted = std::min(room, count);
  FWritten += accepted;
  return accepted;
}

long TPacedPcmOutput::Delay() {
  std::lock_guard lock(FLock);
  Advance();
  return static_cast<long>(FWritten - static_cast<long long>(FPlayed));
}

void TPacedPcmOutput::WaitForRoom(int timeoutMs) {
  // A real device wakes when a period has been played; a short nap is as good.
  std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
}

bool TPacedPcmOutput::SetPaused(bool paused) {
  std::lock_guard lock(FLock);
  Advance();
  FPaused = paused;
  return true;
}

void TPacedPcmOutput::Drop() {
  std::lock_guard lock(FLock);
  Advance();
  FWritten = static_cast<long long>(FPlayed);
  FPlayed = static_cast<double>(FWritten);
}

long long TPacedPcmOutput::FramesPlayed() {
  std::lock_guard lock(FLock);
  Advance();
  return static_cast<long long>(FPlayed);
}
