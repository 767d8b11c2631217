#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "PacedPcmOutput.h"
#include "WavePlayer.h"

namespace {

using namespace std::chrono_literals;

// A device that cannot pause and plays whatever it holds the next time it is
// written to; it records what was heard, in order.
class TRecordingOutput final : public TPcmOutput {
 public:
  int Open(const TPcmFormat&) override { return 0; }
  void Close() override {}
  long Write(const qint16* frames, long count) override {
    std::lock_guard lock(Lock);
    Heard.insert(Heard.end(), Pending.begin(), Pending.end());
    Pending.assign(frames, frames + count);
    return count;
  }
  long Delay() override {
    std::lock_guard lock(Lock);
    if (!Paused) {  // when idle, the device plays out
      Heard.insert(Heard.end(), Pending.begin(), Pending.end());
      Pending.clear();
    }
    return static_cast<long>(Pending.size());
  }
  void WaitForRoom(int) override {}
  bool SetPaused(bool paused) override {
    std::lock_guard lock(Lock);
    Paused = paused;
    return false;
  }
  void Drop() override {
    std::lock_guard lock(Lock);
    Pending.clear();
  }

  std::mutex Lock;
  std::vector<qint16> Heard;
  std::vector<qint16> Pending;
  bool Paused = false;
};

struct TEvents {
  std::mutex Lock;
  std::vector<std::pair<TWavePlayer::TEventKind, quint64>> List;
  std::atomic<int> Drained{0};
  TWavePlayer::TListener Listener() {
    return [this](TWavePlayer::TEventKind kind, quint64, quint64 tag) {
      std::lock_guard lock(Lock);
      List.emplace_back(kind, tag);
      if (kind == TWavePlayer::TEventKind::Drained) {
        ++Drained;
      }
    };
  }
};

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    std::this_thread::sleep_for(5ms);
  }
  return done();
}

std::vector<qint16> Ramp(int count) {
  std::vector<qint16> data(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    data[static_cast<std::size_t>(i)] = static_cast<qint16>(i % 30000);
  }
  return data;
}

TEST(WavePlayer, MarksFireOnlyOnceTheirAudioHasBeenHeard) {
  auto output = std::make_unique<TPacedPcmOutput>(50);
  TPacedPcmOutput* device = output.get();
  TEvents events;
  std::atomic<long long> heardAtMark{-1};
  TWavePlayer player(std::move(output), [&](TWavePlayer::TEventKind kind, quint64, quint64 tag) {
    if (kind == TWavePlayer::TEventKind::Mark && tag == 7) {
      heardAtMark = device->FramesPlayed();
    }
    events.Listener()(kind, 0, tag);
  });
  ASSERT_EQ(player.Open({8000, 1}), 0);
  const auto audio = Ramp(1600);
  ASSERT_TRUE(player.Write(audio.data(), 800, 0));
  player.Mark(7, 0);
  ASSERT_TRUE(player.Write(audio.data() + 800, 800, 0));
  player.EndOfStream(0);
  ASSERT_TRUE(WaitFor([&] { return events.Drained > 0; }));
  EXPECT_GE(heardAtMark.load(), 800);
  std::lock_guard lock(events.Lock);
  ASSERT_EQ(events.List.size(), 3u);
  EXPECT_EQ(events.List[0].first, TWavePlayer::TEventKind::Started);
  EXPECT_EQ(events.List[1].first, TWavePlayer::TEventKind::Mark);
  EXPECT_EQ(events.List[2].first, TWavePlayer::TEventKind::Drained);
}

TEST(WavePlayer, PauseOnADeviceThatCannotPauseLosesNothing) {
  auto output = std::make_unique<TRecordingOutput>();
  TRecordingOutput* device = output.get();
  TEvents events;
  TWavePlayer player(std::move(output), events.Listener());
  ASSERT_EQ(player.Open({8000, 1}), 0);
  const auto audio = Ramp(20000);
  std::thread writer([&] {
    for (int at = 0; at < 20000; at += 1000) {
      player.Write(audio.data() + at, 1000, 0);
      if (at == 5000) {
        player.SetPaused(true);
        std::this_thread::sleep_for(20ms);
        player.SetPaused(false);
      }
    }
    player.EndOfStream(0);
  });
  writer.join();
  ASSERT_TRUE(WaitFor([&] { return events.Drained > 0; }));
  std::lock_guard lock(device->Lock);
  EXPECT_EQ(device->Heard, audio);
}

TEST(WavePlayer, ResetDropsQueuedAudioAndMarksOfTheOldGeneration) {
  TEvents events;
  TWavePlayer player(std::make_unique<TPacedPcmOutput>(50), events.Listener());
  ASSERT_EQ(player.Open({8000, 1}), 0);
  const auto audio = Ramp(8000);
  ASSERT_TRUE(player.Write(audio.data(), 8000, 0));
  player.Mark(1, 0);
  player.EndOfStream(0);
  player.Reset(1);
  // Writers of the old generation are turned away; the new one plays.
  EXPECT_FALSE(player.Write(audio.data(), 100, 0));
  ASSERT_TRUE(player.Write(audio.data(), 100, 1));
  player.Mark(2, 1);
  player.EndOfStream(1);
  ASSERT_TRUE(WaitFor([&] { return events.Drained > 0; }));
  std::this_thread::sleep_for(20ms);
  std::lock_guard lock(events.Lock);
  for (const auto& [kind, tag] : events.List) {
    EXPECT_NE(tag, 1u) << "mark from before the reset was reported";
  }
  EXPECT_EQ(events.Drained, 1);
}

}  // namespace
