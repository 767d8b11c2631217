// Throughput of the PCM converter and the MP3 encoder on speech-like audio,
// and how soon Stop ends a long conversion.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

#include "LameUnit.h"
#include "ScratchFile.h"

namespace {

constexpr int kSeconds = 60;

// Voiced bursts of a few hundred milliseconds with pauses between them: the
// encoder sees changing spectra and silences, as with speech.
QString SpeechLikeFile(const QTemporaryDir& folder, int rate) {
  const QString path = folder.filePath(QStringLiteral("speech%1.wav").arg(rate));
  if (QFile::exists(path)) {
    return path;
  }
  TWaveFileWriter writer;
  writer.Create(path, MakePcmFormat(rate, 1, 16));
  QByteArray second(rate * 2, Qt::Uninitialized);
  for (int s = 0; s < kSeconds; ++s) {
    auto* out = reinterpret_cast<qint16*>(second.data());
    for (int i = 0; i < rate; ++i) {
      const double t = s + static_cast<double>(i) / rate;
      const double syllable = std::fmod(t, 0.25) / 0.25;
      const double envelope = std::fmod(t, 3.0) > 2.4 ? 0.0 : std::sin(std::numbers::pi * syllable);
      const double pitch = 110 + 30 * std::sin(t * 1.7);
      double v = 0;
      for (int h = 1; h <= 8; ++h) {
        v += std::sin(2 * std::numbers::pi * pitch * h * t) / h;
      }
      out[i] = static_cast<qint16>(6000 * envelope * v);
    }
    writer.Write(second);
  }
  writer.Finish();
  return path;
}

QTemporaryDir& Folder() {
  static QTemporaryDir folder;
  return folder;
}

void BM_ConvertWaveFile22050To44100(benchmark::State& state) {
  const QString in = SpeechLikeFile(Folder(), 22050);
  const QString out = Folder().filePath(QStringLiteral("up.wav"));
  for (auto _ : state) {
    if (!ConvertWaveFile(in, out, 44100, 1, 16)) {
      state.SkipWithError("conversion failed");
    }
  }
  state.counters["x_realtime"] =
      benchmark::Counter(double(kSeconds) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ConvertWaveFile22050To44100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeMp3(benchmark::State& state) {
  const int bitRate = static_cast<int>(state.range(0));
  const int rate = TargetSampleRate(bitRate);
  const QString in = SpeechLikeFile(Folder(), rate);
  const QString out = Folder().filePath(QStringLiteral("out.mp3"));
  TMp3Encoder encoder;
  for (auto _ : state) {
    if (!encoder.EncodeMp3(in, out, bitRate, rate)) {
      state.SkipWithError("encoding failed");
    }
  }
  state.counters["x_realtime"] =
      benchmark::Counter(double(kSeconds) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeMp3)->Arg(16)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two hours of the speech-like minute over and over, as the engine writes a
// 2-hour text (317 MB at 22050 Hz).
QString TwoHourFile() {
  const QString path = Folder().filePath(QStringLiteral("two-hours.wav"));
  if (QFile::exists(path)) {
    return path;
  }
  QFile minute(SpeechLikeFile(Folder(), 22050));
  minute.open(QIODevice::ReadOnly);
  const QByteArray samples = minute.readAll().mid(44);
  TWaveFileWriter writer;
  writer.Create(path, MakePcmFormat(22050, 1, 16));
  for (int i = 0; i < 7200 / kSeconds; ++i) {
    writer.Write(samples);
  }
  writer.Finish();
  return path;
}

// Stop pressed half a second into the conversion of a 2-hour text, where a
// click arrives (the window's event processing between pieces): the time
// from the press until the conversion has returned and removed its working
// and unfinished files, so the program is idle. Arg 1: while raising the
// rate for 64 kbit/s; arg 0: while encoding at 32 kbit/s.
void BM_StopDuringConversion(benchmark::State& state) {
  const bool resampling = state.range(0) != 0;
  const QString in = TwoHourFile();
  const QString mp3 = Folder().filePath(QStringLiteral("stopped.mp3"));
  for (auto _ : state) {
    TScratchFile raised;
    raised.Create(Folder().path(), QStringLiteral(".wav"));
    bool stop = false;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceStop;
    TMp3Encoder* running = nullptr;
    const auto processEvents = [&] {
      if (!stop && sinceStart.elapsed() >= 500) {
        stop = true;
        sinceStop.start();
        if (running != nullptr) {
          running->SetAbort(true);
        }
      }
    };
    TMp3Encoder encoder({{}, processEvents});
    running = &encoder;
    sinceStart.start();
    bool done = false;
    if (resampling) {
      TConvertHooks hooks;
      hooks.ProcessEvents = processEvents;
      hooks.Aborted = [&stop] { return stop; };
      hooks.WriteInPlace = true;
      hooks.Failed = [](const QString&) {};
      done = ConvertWaveFile(in, raised.Path(), 44100, 1, 16, hooks);
    } else {
      done = encoder.EncodeMp3(in, mp3, 32, 22050);
    }
    raised.Remove();
    QFile::remove(mp3);
    const qint64 toIdle = sinceStop.isValid() ? sinceStop.nsecsElapsed() : 0;
    if (done || !stop) {
      state.SkipWithError("the conversion was not stopped");
      break;
    }
    state.SetIterationTime(static_cast<double>(toIdle) / 1e9);
  }
}
BENCHMARK(BM_StopDuringConversion)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
