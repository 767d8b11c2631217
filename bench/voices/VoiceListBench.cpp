// Building the voice list from every installed espeak-ng mode, as the first
// showing of the main window does it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "EspeakDriver.h"
#include "PreferenceUnit.h"
#include "SpeechSystem.h"
#include "TTSUnit.h"

namespace {

std::shared_ptr<TSpeechSystem> EspeakSystem() {
  auto system = std::make_shared<TSpeechSystem>();
  system->Drivers.push_back(std::make_shared<TEspeakDriver>());
  return system;
}

void BM_InitializeEspeakVoices(benchmark::State& state) {
  if (!TEspeakDriver::Available()) {
    state.SkipWithError("espeak-ng is not installed");
    return;
  }
  TSpeechSystem::SetDefault(EspeakSystem());
  std::size_t voices = 0;
  for (auto _ : state) {
    TPreferences preferences;
    TTTSForm controller(nullptr, &preferences);
    controller.Initialize();
    voices = controller.Voices.size();
    benchmark::DoNotOptimize(voices);
  }
  state.counters["voices"] = static_cast<double>(voices);
  TSpeechSystem::SetDefault(nullptr);
}
BENCHMARK(BM_InitializeEspeakVoices)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Traces and settings go to a scratch folder, never the user's.
  QTemporaryDir scratch;
  AppPaths::SetDataDir(scratch.filePath(QStringLiteral("data")));
  AppPaths::SetConfigDir(scratch.filePath(QStringLiteral("config")));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
