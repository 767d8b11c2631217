#include "WavePlayer.h"

#include <algorithm>

TWavePlayer::TWavePlayer(std::unique_ptr<TPcmOutput> output, TListener listener)
    : FOutput(std::move(output)), FListener(std::move(listener)) {}

TWavePlayer::~TWavePlayer() {
  Close();
}

int TWavePlayer::Open(const TPcmFormat& format) {
  Close();
  const int rc = FOutput->Open(format);
  if (rc < 0) {
    return rc;
  }
  std::lock_guard lock(FLock);
  FFormat = format;
  FQueue.clear();
  FMarks.clear();
  FQueueBase = FWritten = 0;
  FStop = FPaused = FDevicePaused = FPlaying = FDropRequested = false;
  FOpen = true;
  FWorker = std::thread([this] { Run(); });
  return 0;
}

void TWavePlayer::Close() {
  {
    std::lock_guard lock(FLock);
    if (!FOpen) {
      return;
    }
    FStop = true;
    FOpen = false;
  }
  FWake.notify_all();
  FRoom.notify_all();
  if (FWorker.joinable()) {
    FWorker.join();
  }
  FOutput->Close();
}

bool TWavePlayer::Write(const qint16* frames, long count, quint64 generation) {
  const long long limit = static_cast<long long>(FFormat.SampleRate) * 2;
  const int channels = std::max(1, FFormat.Channels);
  std::unique_lock lock(FLock);
  long done = 0;
  while (done < count) {
    FRoom.wait(lock, [&] {
      const long long queued =
          FQueueBase + static_cast<long long>(FQueue.size()) / channels - FWritten;
      return !FOpen || generation != FGeneration || queued < limit;
    });
    if (!FOpen || generation != FGeneration) {
      return false;
    }
    const long piece = std::min<long>(count - done, FFormat.SampleRate / 10);
    FQueue.insert(FQueue.end(), frames + static_cast<std::size_t>(done) * channels,
                  frames + static_cast<std::size_t>(done + piece) * channels);
    done += piece;
    FWake.notify_all();
  }
  return true;
}

void TWavePlayer::Mark(quint64 tag, quint64 generation) {
  std::lock_guard lock(FLock);
  if (generation != FGeneration || !FOpen) {
    return;
  }
  const int channels = std::max(1, FFormat.Channels);
  FMarks.push_back({FQueueBase + static_cast<long long>(FQueue.size()) / channels, tag, false});
  FWake.notify_all();
}

void TWavePlayer::EndOfStream(quint64 generation) {
  std::lock_guard lock(FLock);
  if (generation != FGeneration || !FOpen) {
    return;
  }
  const int channels = std::max(1, FFormat.Channels);
  FMarks.push_back({FQueueBase + static_cast<long long>(FQueue.size()) / channels, 0, true});
  FWake.notify_all();
}

void TWavePlayer::SetPaused(bool paused) {
  {
    std::lock_guard lock(FLock);
    FPaused = paused;
  }
  FWake.notify_all();
}

void TWavePlayer::Reset(quint64 newGeneration) {
  {
    std::lock_guard lock(FLock);
    FGeneration = newGeneration;
    FPaused = false;
    FDropRequested = true;
    // The queue goes now; the device buffer is dropped by the worker, the
    // only thread that touches the device.
    FQueueBase += static_cast<long long>(FQueue.size()) / std::max(1, FFormat.Channels);
    FQueue.clear();
    FMarks.clear();
    FWritten = FQueueBase;
    FPlaying = false;
  }
  FWake.notify_all();
  FRoom.notify_all();
}

long long TWavePlayer::FramesHandedOver() const {
  std::lock_guard lock(FLock);
  return FHandedOver;
}

void TWavePlayer::Run() {
  const int channels = std::max(1, FFormat.Channels);
  std::unique_lock lock(FLock);
  while (!FStop) {
    if (FDropRequested) {
      FDropRequested = false;
      FOutput->Drop();
      if (FDevicePaused) {
        FOutput->SetPaused(false);
        FDevicePaused = false;
      }
    }
    if (FPaused) {
      if (!FDevicePaused) {
        if (FOutput->SetPaused(true)) {
          FDevicePaused = true;
        } else {
          // The device cannot pause: drop what it holds and write it again
          // on resume, so nothing is lost.
          const long delay = FOutput->Delay();
          FOutput->Drop();
          FWritten = std::max(FQueueBase, FWritten - delay);
          FDevicePaused = true;
        }
      }
      FWake.wait(lock, [&] { return FStop || !FPaused || FDropRequested; });
      if (!FPaused && FDevicePaused && !FDropRequested) {
        FOutput->SetPaused(false);
        FDevicePaused = false;
      }
      continue;
    }

    // What the device has played so far; marks up to there are heard.
    const long delay = FOutput->Delay();
    const long long heard = FWritten - delay;
    while (!FMarks.empty() && FMarks.front().Position <= heard) {
      const TMark mark = FMarks.front();
      if (mark.EndOfStream && (delay > 0 || FWritten < mark.Position)) {
        break;
      }
      FMarks.pop_front();
      const quint64 generation = FGeneration;
      if (mark.EndOfStream) {
        FPlaying = false;
      }
      lock.unlock();
      FListener(mark.EndOfStream ? TEventKind::Drained : TEventKind::Mark, generation, mark.Tag);
      lock.lock();
    }
    // Heard audio is no longer needed for a rewind.
    const long long keepFrom = std::max(FQueueBase, heard);
    const auto dropSamples = static_cast<std::size_t>((keepFrom - FQueueBase) * channels);
    FQueue.erase(FQueue.begin(), FQueue.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(dropSamples, FQueue.size())));
    FQueueBase = keepFrom;
    FRoom.notify_all();

    const long long queuedEnd = FQueueBase + static_cast<long long>(FQueue.size()) / channels;
    const long pending = static_cast<long>(queuedEnd - FWritten);
    if (pending > 0) {
      const long piece = std::min<long>(pending, FFormat.SampleRate / 50);
      std::vector<qint16> chunk(static_cast<std::size_t>(piece) * channels);
      const auto offset = static_cast<std::ptrdiff_t>((FWritten - FQueueBase) * channels);
      std::copy(FQueue.begin() + offset,
                FQueue.begin() + offset + static_cast<std::ptrdiff_t>(chunk.size()), chunk.begin());
      const quint64 generation = FGeneration;
      const bool starting = !FPlaying;
      lock.unlock();
      if (starting) {
        FListener(TEventKind::Started, generation, 0);
      }
      const long written = FOutput->Write(chunk.data(), piece);
      if (written == 0) {
        FOutput->WaitForRoom(10);
      }
      lock.lock();
      if (generation != FGeneration) {
        continue;  // reset while writing: the drop request handles the device
      }
      FPlaying = true;
      if (written > 0) {
        FWritten += written;
        FHandedOver += written;
      } else if (written < 0) {
        // The device is gone: count the audio as heard so the stream ends.
        FWritten = queuedEnd;
      }
      continue;
    }
    // Nothing to write: wait for work, or poll the device's progress while
    // marks or the end of the stream are outstanding.
    if (FMarks.empty()) {
      FWake.wait(lock);
    } else {
      FWake.wait_for(lock, std::chrono::milliseconds(2));
    }
  }
}
