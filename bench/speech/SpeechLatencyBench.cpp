// Speech on a device, measured from the UI thread's point of view:
//  - Speak to the first audio frame handed to the device, for a 1 MB text;
//  - AudioReset to the device buffer being dropped (silence);
//  - word positions against the audio actually played on a paced device.
// Prints one line per figure; takes (and ignores) the benchmark runner's flags.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "AlsaPcmOutput.h"
#include "EspeakDriver.h"
#include "FliteDriver.h"
#include "PacedPcmOutput.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"
#include "WaveDevices.h"

namespace {

using TClock = std::chrono::steady_clock;

// Notes when the device first receives audio and when its buffer is dropped.
class TTimedOutput final : public TPcmOutput {
 public:
  explicit TTimedOutput(std::unique_ptr<TPcmOutput> inner) : FInner(std::move(inner)) {}
  int Open(const TPcmFormat& format) override { return FInner->Open(format); }
  void Close() override { FInner->Close(); }
  long Write(const qint16* frames, long count) override {
    const long n = FInner->Write(frames, count);
    if (n > 0 && FirstWrite.load() == 0) {
      FirstWrite = Now();
    }
    return n;
  }
  long Delay() override { return FInner->Delay(); }
  void WaitForRoom(int ms) override { FInner->WaitForRoom(ms); }
  bool SetPaused(bool paused) override { return FInner->SetPaused(paused); }
  void Drop() override {
    FInner->Drop();
    LastDrop = Now();
  }
  static long long Now() {
    return std::chrono::duration_cast<std::chrono::microseconds>(TClock::now().time_since_epoch())
        .count();
  }
  std::atomic<long long> FirstWrite{0};
  std::atomic<long long> LastDrop{0};

 private:
  std::unique_ptr<TPcmOutput> FInner;
};

template <typename TDone>
bool Pump(TDone done, int limitMs = 30000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < limitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QThread::usleep(200);
  }
  return done();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The ALSA null device when it is there, else a paced silent device.
std::unique_ptr<TPcmOutput> DeviceOutput() {
  const auto names = TWaveDevices::OutputNames();
  if (names.contains(QStringLiteral("null"))) {
    return std::make_unique<TAlsaPcmOutput>(QStringLiteral("null"));
  }
  return std::make_unique<TPacedPcmOutput>();
}

void FirstAudioAndReset(const char* engine, const std::shared_ptr<ISpeechDriver>& driver,
                        const QString& modeName) {
  QString text;
  const QString sentence = QStringLiteral("The quick brown fox jumps over the lazy dog again. ");
  while (text.size() < 1024 * 1024) {
    text += sentence;
  }
  std::vector<double> first;
  std::vector<double> reset;
  for (int run = 0; run < 7; ++run) {
    TTimedOutput* timed = nullptr;
    auto system = std::make_shared<TSpeechSystem>();
    system->Drivers.push_back(driver);
    system->WaveOutCount = [] { return 1; };
    system->CreatePcmOutput = [&timed](int) {
      auto out = std::make_unique<TTimedOutput>(DeviceOutput());
      timed = out.get();
      return out;
    };
    TTTS tts(nullptr, system);
    tts.SetModeName(modeName);
    int stops = 0;
    tts.OnAudioStop = [&stops](TTTS*, quint64) { ++stops; };
    tts.SetActive(true);
    const long long t0 = TTimedOutput::Now();
    tts.Speak(text);
    Pump([&] { return timed->FirstWrite.load() != 0; });
    first.push_back((timed->FirstWrite - t0) / 1000.0);
    QThread::msleep(100);  // let it play
    const long long dropsBefore = timed->LastDrop;
    const long long t1 = TTimedOutput::Now();
    tts.AudioReset();
    Pump([&] { return timed->LastDrop.load() != dropsBefore && timed->LastDrop >= t1; });
    reset.push_back((timed->LastDrop - t1) / 1000.0);
    Pump([&] { return stops > 0; });
    tts.SetActive(false);
  }
  std::printf(
      "speech_first_audio_1MB_ms   median %.2f  max %.2f  (%s, %s)\n", Median(first),
      *std::max_element(first.begin(), first.end()), engine,
      TWaveDevices::OutputNames().contains(QStringLiteral("null")) ? "ALSA null" : "paced device");
  std::printf("speech_reset_to_silence_ms  median %.2f  max %.2f\n", Median(reset),
              *std::max_element(reset.begin(), reset.end()));
}

void WordTiming() {
  // Words of known length, so the frame where each begins is known exactly.
  TScriptedEngine::TConfig config;
  config.Modes = {TScriptedEngine::MakeMode(QStringLiteral("Bench"), QStringLiteral("Timer"),
                                            QStringLiteral("Timer"), 1033)};
  config.SampleRate = 22050;
  config.WordMs = 200;
  config.GapMs = 50;
  const long wordFrames = 22050 * 200 / 1000 + 22050 * 50 / 1000;
  TTimedOutput* timed = nullptr;
  auto system = std::make_shared<TSpeechSystem>();
  system->Drivers.push_back(std::make_shared<TScriptedEngine>(config));
  system->WaveOutCount = [] { return 1; };
  system->CreatePcmOutput = [&timed](int) {
    auto out = std::make_unique<TTimedOutput>(std::make_unique<TPacedPcmOutput>(100));
    timed = out.get();
    return out;
  };
  TTTS tts(nullptr, system);
  std::vector<double> errors;
  int words = 0;
  tts.OnWordPosition = [&](TTTS*, quint64, quint32) {
    const double expected = timed->FirstWrite / 1000.0 + words * wordFrames * 1000.0 / 22050;
    errors.push_back(TTimedOutput::Now() / 1000.0 - expected);
    ++words;
  };
  int stops = 0;
  tts.OnAudioStop = [&stops](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  QString text;
  for (int i = 0; i < 40; ++i) {
    text += QStringLiteral("word ");
  }
  tts.Speak(text);
  Pump([&] { return stops > 0; });
  tts.SetActive(false);
  std::vector<double> magnitudes;
  for (double e : errors) {
    magnitudes.push_back(std::abs(e));
  }
  std::printf(
      "speech_word_timing_error_ms median %.2f  max %.2f  (%zu words, paced device, "
      "positive = late)\n",
      Median(errors), *std::max_element(magnitudes.begin(), magnitudes.end()), errors.size());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  FirstAudioAndReset("espeak-ng", std::make_shared<TEspeakDriver>(),
                     QStringLiteral("eSpeak NG en-us Adam"));
  // Flite's voices differ most in how long their first sentence takes: the
  // small diphone voice and the larger statistical ones.
  FirstAudioAndReset("Flite kal16", std::make_shared<TFliteDriver>(),
                     QStringLiteral("Flite Kal16"));
  FirstAudioAndReset("Flite slt", std::make_shared<TFliteDriver>(), QStringLiteral("Flite Slt"));
  WordTiming();
  return 0;
}
