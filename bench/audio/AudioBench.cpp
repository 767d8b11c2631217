// Throughput of the PCM converter and the MP3 encoder on speech-like audio.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

#include "LameUnit.h"

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

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
