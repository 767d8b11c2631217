// FilterText on growing English texts (the time per MB must stay flat) and
// MapPosition for every word of the largest one, with the step-by-step
// version on 1 MB for contrast; and the pronunciation list applied to 1 MB.
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

#include "PronunciationList.h"
#include "ReferenceFilter.h"
#include "TTSFilter.h"

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kMB = 1 << 20;

// News-like prose: sentences of ordinary words with now and then a web
// address, an all-capitals word, "AP", a state code or an ellipsis.
QString EnglishText(qsizetype size) {
  static const QStringList words = {
      u"the"_s,     u"reader"_s, u"speaks"_s, u"every"_s,  u"article"_s, u"aloud"_s,
      u"and"_s,     u"people"_s, u"in"_s,     u"a"_s,      u"city"_s,    u"said"_s,
      u"that"_s,    u"report"_s, u"Monday"_s, u"market"_s, u"of"_s,      u"to"_s,
      u"council"_s, u"Smith"_s,  u"water"_s,  u"new"_s,    u"school"_s,  u"budget"_s};
  static const QStringList specials = {u"NY"_s,
                                       u"CA"_s,
                                       u"TX"_s,
                                       u"AP"_s,
                                       u"UNICEF"_s,
                                       u"NASA"_s,
                                       u"www.example.com/news/today"_s,
                                       u"http://www.city.gov/budget/2024.html"_s,
                                       u"Example.org/a"_s,
                                       u"FBI"_s};
  std::uint64_t state = 12345;
  const auto next = [&state](std::uint32_t n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>((state >> 33) % n);
  };
  QString text;
  text.reserve(size + 64);
  int inSentence = 0;
  while (text.size() < size) {
    text += next(12) == 0 ? specials[static_cast<int>(next(specials.size()))]
                          : words[static_cast<int>(next(words.size()))];
    if (++inSentence > 8 + static_cast<int>(next(10))) {
      text += next(6) == 0 ? u"... "_s : u". "_s;
      inSentence = 0;
    } else {
      text += next(15) == 0 ? u", "_s : u" "_s;
    }
  }
  text.truncate(size);
  return text;
}

const QString& TextOf(qsizetype megabytes) {
  static std::map<qsizetype, QString> cache;
  auto it = cache.find(megabytes);
  if (it == cache.end()) {
    it = cache.emplace(megabytes, EnglishText(megabytes * kMB)).first;
  }
  return it->second;
}

std::vector<qint32> WordStarts(const QString& text) {
  std::vector<qint32> starts;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u' ' && (i == 0 || text[i - 1] == u' ')) {
      starts.push_back(static_cast<qint32>(i));
    }
  }
  return starts;
}

void SetPerMB(benchmark::State& state, qsizetype megabytes) {
  state.SetBytesProcessed(state.iterations() * megabytes * kMB);
  state.counters["s_per_MB"] = benchmark::Counter(
      static_cast<double>(megabytes),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FilterText(benchmark::State& state) {
  const qsizetype megabytes = state.range(0);
  const QString& text = TextOf(megabytes);
  TTTSFilter filter;
  for (auto _ : state) {
    benchmark::DoNotOptimize(filter.FilterText(0, text, true));
  }
  state.counters["records"] = static_cast<double>(filter.OffsetList().Records().size());
  SetPerMB(state, megabytes);
}
BENCHMARK(BM_FilterText)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_MapPositionEveryWord(benchmark::State& state) {
  TTTSFilter filter;
  const QString filtered = filter.FilterText(0, TextOf(8), true);
  const std::vector<qint32> words = WordStarts(filtered);
  for (auto _ : state) {
    qint64 sum = 0;
    for (const qint32 p : words) {
      sum += filter.MapPosition(p);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_MapPositionEveryWord)->Unit(benchmark::kMillisecond);

// Shapes that make the step-by-step rules quadratic: dotted tokens with no
// space (every word rescans to the end), a 1 MB word at the end of the text
// (rescanned from each of its letters) and back-to-back replacements.
QString Adversarial(int shape) {
  const QString unit = shape == 0   ? u"a."_s
                       : shape == 1 ? u"x..NY."_s
                       : shape == 2 ? u"a"_s
                                    : u"AP "_s;
  QString text = shape == 2 ? u"see http://"_s : QString();
  while (text.size() < kMB) {
    text += unit;
  }
  return text;
}

void BM_FilterTextAdversarial(benchmark::State& state) {
  const QString text = Adversarial(static_cast<int>(state.range(0)));
  TTTSFilter filter;
  for (auto _ : state) {
    benchmark::DoNotOptimize(filter.FilterText(0, text, true));
  }
  SetPerMB(state, 1);
}
BENCHMARK(BM_FilterTextAdversarial)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_ReferenceFilterText(benchmark::State& state) {
  const QString& text = TextOf(1);
  TReferenceFilter reference;
  for (auto _ : state) {
    benchmark::DoNotOptimize(reference.FilterText(0, text, true));
  }
  SetPerMB(state, 1);
}
BENCHMARK(BM_ReferenceFilterText)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReferenceMapPositionEveryWord(benchmark::State& state) {
  TReferenceFilter reference;
  const QString filtered = reference.FilterText(0, TextOf(1), true);
  const std::vector<qint32> words = WordStarts(filtered);
  for (auto _ : state) {
    qint64 sum = 0;
    for (const qint32 p : words) {
      sum += reference.MapPosition(p);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_ReferenceMapPositionEveryWord)->Iterations(1)->Unit(benchmark::kMillisecond);

// The user's pronunciation list of 500 entries on 1 MB: a few dozen of the
// text's own words (replaced often) among made-up ones, every kind of match.
void BM_PronunciationList500(benchmark::State& state) {
  const QString& text = TextOf(1);
  TPronunciationList list;
  const QStringList common = {u"Smith"_s,  u"NASA"_s, u"council"_s, u"Monday"_s, u"AP"_s,
                              u"budget"_s, u"www"_s,  u"city"_s,    u"FBI"_s,    u"water"_s};
  for (int i = 0; i < 500; ++i) {
    const QString written =
        i < common.size() ? common[i] : u"word%1"_s.arg(i) + (i % 3 == 0 ? u"x"_s : QString());
    list.Items.push_back({written, u"said as %1"_s.arg(i), i % 4 != 0, i % 5 == 0,
                          i % 7 == 0 ? u"Flite"_s : QString()});
  }
  TPronunciationMap map;
  QString spoken;
  for (auto _ : state) {
    spoken = list.Apply(text, u"Flite"_s, map);
    benchmark::DoNotOptimize(spoken);
  }
  state.counters["growth"] = static_cast<double>(spoken.size()) / static_cast<double>(text.size());
  SetPerMB(state, 1);
}
BENCHMARK(BM_PronunciationList500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
