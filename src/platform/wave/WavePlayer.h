#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "PcmOutput.h"

// Plays PCM on a device in real time from a worker thread and tells when the
// audio at a mark has actually been heard (using the device's delay), when
// playing starts and when the queue has drained.
//
// Writers tag their calls with a generation; Reset moves to a newer one, so
// audio and marks a synthesiser produces after the reset are discarded
// without any race between the two threads.
class TWavePlayer final {
 public:
  enum class TEventKind { Started, Mark, Drained };
  // Called on the worker thread; must not block.
  using TListener = std::function<void(TEventKind kind, quint64 generation, quint64 tag)>;

  TWavePlayer(std::unique_ptr<TPcmOutput> output, TListener listener);
  ~TWavePlayer();
  TWavePlayer(const TWavePlayer&) = delete;
  TWavePlayer& operator=(const TWavePlayer&) = delete;

  // Opens the device; 0 or a negative errno.
  int Open(const TPcmFormat& format);
  void Close();

  // Queues frames, waiting while more than two seconds are queued. False when
  // the generation is stale or the player is closed.
  bool Write(const qint16* frames, long count, quint64 generation);
  // A mark at the current end of the queue.
  void Mark(quint64 tag, quint64 generation);
  // Drained is reported once everything queued so far has been heard.
  void EndOfStream(quint64 generation);

  void SetPaused(bool paused);
  // Silence at once; everything of older generations is dropped.
  void Reset(quint64 newGeneration);

  // Frames handed to the device since opening (for measurements).
  long long FramesHandedOver() const;

 private:
  struct TMark {
    long long Position;
    quint64 Tag;
    bool EndOfStream;
  };
  void Run();

  std::unique_ptr<TPcmOutput> FOutput;
  TListener FListener;
  TPcmFormat FFormat;

  mutable std::mutex FLock;
  std::condition_variable FWake;  // worker waits for work
  std::condition_variable FRoom;  // writers wait for queue space
  std::deque<qint16> FQueue;      // samples from FQueueBase on (kept until heard)
  long long FQueueBase = 0;       // frame position of FQueue.front()
  long long FWritten = 0;         // frames handed to the device
  std::deque<TMark> FMarks;
  quint64 FGeneration = 0;
  bool FPaused = false;
  bool FDevicePaused = false;
  bool FPlaying = false;
  bool FStop = false;
  bool FDropRequested = false;
  bool FOpen = false;
  long long FHandedOver = 0;
  std::thread FWorker;
};
