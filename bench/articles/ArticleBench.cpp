// Import and export of a saved-articles file of 1,000 articles (5 MB) in
// Multi-Article mode, offscreen, plus the parser alone.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include "ArticleFileFormat.h"
#include "ArticleVoices.h"
#include "MemoListUnit.h"

namespace {

class TBenchVoices final : public TArticleVoiceSource {
 public:
  QList<TArticleVoice> ArticleVoices() const override {
    return {{QStringLiteral("Mary"), true, true}, {QStringLiteral("Mike"), true, true}};
  }
};

// 1,000 articles of about 5,000 characters: lines of prose with blank lines.
const QByteArray& BigFile() {
  static const QByteArray file = [] {
    QByteArray bytes;
    const QString line = QStringLiteral(
        "The committee met on Tuesday to discuss the budget, and na\u00efve estimates were "
        "revised.");
    for (int i = 0; i < 1000; ++i) {
      QString text;
      for (int k = 0; text.size() < 5000; ++k) {
        text += line + (k % 5 == 4 ? QStringLiteral("\n\n") : QStringLiteral("\n"));
      }
      bytes += FormatArticleRecord({QStringLiteral("Article_%1").arg(i),
                                    i % 2 ? QStringLiteral("Mary") : QStringLiteral("Mike"),
                                    text.trimmed()});
    }
    return bytes;
  }();
  return file;
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct TBenchList {
  TBenchVoices Voices;
  QWidget Window;
  TMemoListBox* List;
  TBenchList() : List(new TMemoListBox(&Voices, &Window)) {
    Window.resize(900, 600);
    List->setGeometry(0, 0, 900, 600);
    List->ListMode = TMemoListBox::lmMultiArticle;
    List->SetVisibleEntries(3);
    Window.show();
  }
};

void BM_ImportMultiArticle(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("VLExport.txt"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(BigFile());
  file.close();
  for (auto _ : state) {
    state.PauseTiming();
    auto bench = std::make_unique<TBenchList>();
    state.ResumeTiming();
    bench->List->ImportList(path, nullptr, {}, {}, {});
    state.PauseTiming();
    if (bench->List->VisibleCount() != 1000) {
      state.SkipWithError("wrong article count");
    }
    bench.reset();
    state.ResumeTiming();
  }
  state.counters["file_MB"] = static_cast<double>(BigFile().size()) / 1e6;
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ImportMultiArticle)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportMultiArticle(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("VLExport.txt"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(BigFile());
  file.close();
  TBenchList bench;
  bench.List->ImportList(path, nullptr, {}, {}, {});
  for (auto _ : state) {
    if (!bench.List->ExportList(path)) {
      state.SkipWithError("export failed");
    }
  }
  state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_ExportMultiArticle)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ParseOnly(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseArticleFile(DecodeArticleText(BigFile())));
  }
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

}  // namespace
