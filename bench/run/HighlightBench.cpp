// The UI thread's work per spoken word on a 1 MB and a 10 MB article: mapping the
// engine's position back through the filter, moving the caret and the
// selection in the editor, and advancing the progress bar. Shown and
// offscreen, so the editor lays out and repaints as it would on screen; filled
// as an article's editor is; and read-only, as the article being read is.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProgressBar>
#include <QVector>
#include <map>

#include "ArticleEditor.h"
#include "TTSFilter.h"
#include "WordHighlighter.h"

namespace {

struct TArticle {
  QString Text;
  QVector<int> WordStarts;  // in the filtered text, as the engine reports them
  TTTSFilter Filter;
  QString Filtered;
};

TArticle& Article(int megabytes) {
  static std::map<int, TArticle*> articles;
  TArticle*& article = articles[megabytes];
  if (article == nullptr) {
    auto* a = new TArticle;
    const QString line = QStringLiteral(
        "The committee met on Tuesday, 12 March, to discuss the budget; e-mail "
        "questions to board@example.org before the vote.\n");
    while (a->Text.size() < megabytes * 1024 * 1024) {
      a->Text += line;
    }
    a->Filtered = a->Filter.FilterText(0, a->Text, true);
    for (qsizetype i = 0; i < a->Filtered.size(); ++i) {
      if (!a->Filtered.at(i).isSpace() && (i == 0 || a->Filtered.at(i - 1).isSpace())) {
        a->WordStarts << static_cast<int>(i);
      }
    }
    article = a;
  }
  return *article;
}

void BM_WordPosition(benchmark::State& state) {
  TArticle& article = Article(static_cast<int>(state.range(1)));
  TArticleEditor editor(nullptr);
  editor.resize(600, 400);
  editor.SetArticleText(article.Text);
  editor.setReadOnly(true);
  editor.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  editor.show();
  QProgressBar gauge;
  gauge.setRange(0, static_cast<int>(article.Text.size()));
  gauge.show();
  QApplication::processEvents();
  TWordHighlighter highlighter;
  highlighter.Begin(&editor, 0, static_cast<int>(article.Text.size()));
  const bool highlight = state.range(0) != 0;
  qsizetype word = 0;
  for (auto _ : state) {
    const int position = article.Filter.MapPosition(article.WordStarts.at(word));
    gauge.setValue(highlighter.Show(position, highlight));
    // Each word event is followed by a repaint before the next arrives.
    QApplication::processEvents();
    word = (word + 1) % article.WordStarts.size();
    if (word == 0) {
      highlighter.Begin(&editor, 0, static_cast<int>(article.Text.size()));
    }
  }
  state.counters["words"] = static_cast<double>(article.WordStarts.size());
}
// Arguments: highlight on or off, article megabytes.
BENCHMARK(BM_WordPosition)
    ->Args({1, 1})
    ->Args({0, 1})
    ->Args({1, 10})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
