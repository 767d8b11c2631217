// Shows three articles in Multi-Article mode in a window, for a screenshot of
// the list as the user sees it (tests/articles/screenshot.sh).
#include <QApplication>
#include <QTimer>

#include "ArticleVoices.h"
#include "MemoListUnit.h"

namespace {

class TSampleVoices final : public TArticleVoiceSource {
 public:
  QList<TArticleVoice> ArticleVoices() const override {
    return {{QStringLiteral("eSpeak NG - English (America)"), true, true},
            {QStringLiteral("eSpeak NG - English (Great Britain)"), true, true},
            {QStringLiteral("eSpeak NG - Deutsch"), true, true}};
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TSampleVoices voices;
  TMemoListBox list(&voices);
  list.setWindowTitle(QStringLiteral("Articles"));
  list.resize(900, 600);
  list.ListMode = TMemoListBox::lmMultiArticle;
  list.SetVisibleEntries(3);
  list.show();
  list.Add(QStringLiteral("The quick brown fox jumps over the lazy dog. This first article is read "
                          "with the American English voice.\n\nA second paragraph follows a "
                          "blank line."),
           QStringLiteral("eSpeak NG - English (America)"));
  list.Add(QStringLiteral("Weather report: sunny spells this morning, showers later on, and a "
                          "fresh breeze from the west."),
           QStringLiteral("eSpeak NG - English (Great Britain)"));
  list.Add(QStringLiteral("Gr\u00fc\u00dfe aus Berlin! Der Zug f\u00e4hrt um 9 Uhr ab."),
           QStringLiteral("eSpeak NG - Deutsch"));
  list.MarkEntry(2);
  const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
  QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
  return QApplication::exec();
}
