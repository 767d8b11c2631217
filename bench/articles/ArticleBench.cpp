// Import and export of a saved-articles file of 1,000 articles (5 MB) in
// Multi-Article mode, offscreen, plus the parser alone; the next article of a
// reading run over 2,000 articles of 10 KB with auto-delete; and opening the
// long text file named by VERBALUNE_BENCH_BOOK as one article
// (bench/app/big-lists.sh makes it and runs these side by side). The export
// is timed twice: what the UI thread spends (taking the texts and making the
// file's bytes, which every autosave costs a typing user) and the whole save
// until the file is flushed to disk by the writer thread.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

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

// count articles of about size characters: lines of prose with blank lines.
QByteArray MakeFile(int count, int size) {
  QByteArray bytes;
  const QString line = QStringLiteral(
      "The committee met on Tuesday to discuss the budget, and na\u00efve estimates were "
      "revised.");
  for (int i = 0; i < count; ++i) {
    QString text;
    for (int k = 0; text.size() < size; ++k) {
      text += line + (k % 5 == 4 ? QStringLiteral("\n\n") : QStringLiteral("\n"));
    }
    bytes += FormatArticleRecord({QStringLiteral("Article_%1").arg(i),
                                  i % 2 ? QStringLiteral("Mary") : QStringLiteral("Mike"),
                                  text.trimmed()});
  }
  return bytes;
}

// 1,000 articles of about 5,000 characters.
const QByteArray& BigFile() {
  static const QByteArray file = MakeFile(1000, 5000);
  return file;
}

// The saved-articles file in dir holding bytes; its path.
QString WriteSavedList(const QTemporaryDir& dir, const QByteArray& bytes) {
  const QString path = dir.filePath(QStringLiteral("VLExport.txt"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    qFatal("Cannot write %s", qPrintable(path));
  }
  return path;
}

// Words of real prose: the licence texts every Debian system ships.
const QStringList& Words() {
  static const QStringList words = [] {
    QStringList found;
    const QDir dir(QStringLiteral("/usr/share/common-licenses"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z'-]*[A-Za-z]|[0-9]+"));
    for (const QString& name : dir.entryList(QDir::Files)) {
      QFile file(dir.filePath(name));
      if (file.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : word.globalMatch(text)) {
          found << m.captured();
        }
      }
    }
    if (found.isEmpty()) {
      found << QStringLiteral("words");
    }
    return found;
  }();
  return words;
}

// About chars characters of sentences in lines of 60 to 100 characters and
// paragraphs of a few sentences.
QString Prose(qsizetype chars, QRandomGenerator& random) {
  const QStringList& words = Words();
  QString text;
  text.reserve(chars + 200);
  qsizetype lineStart = 0;
  while (text.size() < chars) {
    const int sentenceWords = 5 + static_cast<int>(random.bounded(20));
    for (int i = 0; i < sentenceWords; ++i) {
      QString w = words.at(random.bounded(static_cast<int>(words.size())));
      if (i == 0) {
        w[0] = w[0].toUpper();
      }
      if (text.size() - lineStart > 60 + random.bounded(40)) {
        text += u'\n';
        lineStart = text.size();
      } else if (text.size() > lineStart) {
        text += u' ';
      }
      text += w;
    }
    text += u'.';
    if (random.bounded(5) == 0) {
      text += QStringLiteral("\n");
      lineStart = text.size();
    }
  }
  return text;
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
  const QString path = WriteSavedList(dir, BigFile());
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

// Arguments: article count, characters per article.
void BM_ExportUiThread(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = WriteSavedList(
      dir, MakeFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  TBenchList bench;
  bench.List->ImportList(path, nullptr, {}, {}, {});
  if (bench.List->VisibleCount() != state.range(0)) {
    state.SkipWithError("wrong article count");
  }
  for (auto _ : state) {
    bench.List->ExportList(path);
    state.PauseTiming();
    if (!bench.List->WaitForExport()) {
      state.SkipWithError("export failed");
    }
    state.ResumeTiming();
  }
  state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_ExportUiThread)
    ->Args({1000, 5000})
    ->Args({2000, 10000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_ExportToDisk(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = WriteSavedList(
      dir, MakeFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  TBenchList bench;
  bench.List->ImportList(path, nullptr, {}, {}, {});
  for (auto _ : state) {
    bench.List->ExportList(path);
    if (!bench.List->WaitForExport()) {
      state.SkipWithError("export failed");
    }
  }
  state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
}
BENCHMARK(BM_ExportToDisk)
    ->Args({1000, 5000})
    ->Args({2000, 10000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// What typing feels during an autosave of the same list: the export's whole
// time on the UI thread, and the longest stretch in it without a chance for a
// keystroke to be handled (between two runs of pending events, or to the end).
void BM_AutosaveUiThread(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = WriteSavedList(dir, BigFile());
  TBenchList bench;
  bench.List->ImportList(path, nullptr, {}, {}, {});
  QElapsedTimer sinceEvents;
  qint64 longest = 0;
  // The list's own pump, measured: it runs events at most every 15 ms.
  bench.List->ProcessMessages = [&] {
    if (sinceEvents.elapsed() < 15) {
      return;
    }
    longest = std::max(longest, sinceEvents.nsecsElapsed());
    QCoreApplication::processEvents();
    sinceEvents.restart();
  };
  for (auto _ : state) {
    sinceEvents.start();
    if (!bench.List->ExportList(path)) {
      state.SkipWithError("export failed");
    }
    longest = std::max(longest, sinceEvents.nsecsElapsed());
  }
  state.counters["longest_stall_ms"] = static_cast<double>(longest) / 1e6;
}
BENCHMARK(BM_AutosaveUiThread)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ParseOnly(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseArticleFile(DecodeArticleText(BigFile())));
  }
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

// What the reading run does on the UI thread between two articles with
// auto-delete: hide the one read, mark the next (scrolling it on screen) and
// take its text. The export that follows is measured on its own above.
void BM_NextArticleAutoDelete(benchmark::State& state) {
  QRandomGenerator random(17);
  QByteArray file;
  for (int i = 0; i < 2000; ++i) {
    file += FormatArticleRecord({QStringLiteral("Article_%1").arg(i),
                                 i % 2 ? QStringLiteral("Mary") : QStringLiteral("Mike"),
                                 Prose(10000, random)});
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("VLExport.txt"));
  QFile out(path);
  out.open(QIODevice::WriteOnly);
  out.write(file);
  out.close();
  TBenchList bench;
  bench.List->ImportList(path, nullptr, {}, {}, {});
  bench.List->ScrollToTop(1);
  bench.List->MarkEntry(1);
  QCoreApplication::processEvents();
  QElapsedTimer clock;
  qint64 nanoseconds = 0;
  qint64 articles = 0;
  for (auto _ : state) {
    clock.start();
    TMemoEntry* read = bench.List->Entries().first();
    bench.List->HideEntry(read);
    bench.List->MarkEntry(1);
    benchmark::DoNotOptimize(bench.List->CurrentEntry()->EditorText());
    nanoseconds += clock.nsecsElapsed();
    ++articles;
    // Painting the new page is the event loop's, as in the program.
    QCoreApplication::processEvents();
  }
  state.counters["ui_ms_per_article"] = static_cast<double>(nanoseconds) / 1e6 / articles;
}
BENCHMARK(BM_NextArticleAutoDelete)->Unit(benchmark::kMillisecond)->Iterations(300);

// Opens a long text file as a new article the way File > Open does, and
// lets the window paint it once.
void BM_OpenTextFile(benchmark::State& state) {
  const QString book = qEnvironmentVariable("VERBALUNE_BENCH_BOOK");
  if (book.isEmpty()) {
    state.SkipWithError("VERBALUNE_BENCH_BOOK names no text file");
    return;
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("VLExport.txt"));
  for (auto _ : state) {
    TBenchList bench;
    TMemoEntry* entry = bench.List->Add(QString(), QStringLiteral("Mary"));
    bench.List->ExportList(path);
    entry->SetTitleFrom(QFileInfo(book).baseName(), TMemoListBox::TitleLength);
    if (!entry->LoadFromFile(book)) {
      state.SkipWithError("cannot open the book");
    }
    bench.List->ExportList(path);
    QCoreApplication::processEvents();
  }
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_OpenTextFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
