// Loading and saving every preference plus the per-voice settings, and
// parsing large tagged files.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "GrabBaseClassUnit.h"
#include "PreferenceUnit.h"
#include "TRegistryStore.h"
#include "UserRegistry.h"

namespace {

constexpr int VoiceCount = 150;

// The preferences with the settings engines and voices add at start-up.
std::unique_ptr<TPreferences> FullPreferences() {
  auto prefs = std::make_unique<TPreferences>();
  for (int i = 0; i < VoiceCount; ++i) {
    const QString key = QStringLiteral("eSpeak NG - Voice %1").arg(i);
    prefs->AddItem(QStringLiteral("FAV_") + key, 2, QString(), false, regBool);
    prefs->AddItem(QStringLiteral("SPD_") + key, 2, QString(), 175, regInt);
    prefs->AddItem(QStringLiteral("PIT_") + key, 2, QString(), 50, regInt);
  }
  return prefs;
}

struct TScratch {
  QTemporaryDir Dir;
  TScratch() {
    AppPaths::SetConfigDir(Dir.path() + QStringLiteral("/config"));
    AppPaths::SetDataDir(Dir.path() + QStringLiteral("/data"));
  }
  ~TScratch() { AppPaths::Reset(); }
};

void BM_LoadAll(benchmark::State& state) {
  TScratch scratch;
  auto prefs = FullPreferences();
  prefs->LoadAll();
  prefs->SaveAll();
  for (auto _ : state) {
    prefs->LoadAll();
  }
  state.counters["values"] = static_cast<double>(prefs->Items().size());
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SaveAll(benchmark::State& state) {
  TScratch scratch;
  auto prefs = FullPreferences();
  prefs->LoadAll();
  TRegistryStore& store = UserRegistry();
  int saves = 0;
  const int writesBefore = store.FileWrites();
  for (auto _ : state) {
    // A changed value each time, so every pass really has something to write.
    prefs->SetValue(QStringLiteral("CB_ThreshHold"), saves);
    prefs->SaveAll();
    ++saves;
  }
  state.counters["values"] = static_cast<double>(prefs->Items().size());
  state.counters["file_writes_per_SaveAll"] =
      static_cast<double>(store.FileWrites() - writesBefore) / saves;
}
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Many short sections of values, as the help and engine test files hold.
QByteArray ChlText(qsizetype bytes) {
  QByteArray text;
  text.reserve(bytes + 200);
  for (int n = 0; text.size() < bytes; ++n) {
    text += "<key name=Topic" + QByteArray::number(n) + ">\r\n  <Text>Spoken help topic " +
            QByteArray::number(n) + " reads this sentence aloud,\r\n  line after line.</Text>\r\n" +
            "  <Count>1</Count><Count0>entry</Count0>\r\n</key>\r\n";
  }
  return text;
}

void BM_ParseChl(benchmark::State& state) {
  const QByteArray text = ChlText(state.range(0) << 20);
  for (auto _ : state) {
    GrabBaseClass grab;
    grab.LoadFromBytes(text);
    benchmark::DoNotOptimize(grab.Root().Sections.size());
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ParseChl)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
