// Following the spoken word through imperfect word positions.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextDocument>

#include "ReadingRun.h"
#include "WordHighlighter.h"

namespace {

struct TWordCase {
  const char* Text;
  int Position;
  int Floor;
  int Limit;
  int Start;
  int End;
};

}  // namespace

TEST(WordHighlighter, WordAtFindsTheWholeWordAroundAPosition) {
  const TWordCase cases[] = {
      {"one two three", 0, 0, 13, 0, 3},    // at a word's start
      {"one two three", 5, 0, 13, 4, 7},    // inside a word: back to its start
      {"one two three", 3, 0, 13, 3, 3},    // on the blank after a word
      {"one two three", 99, 0, 13, 8, 13},  // past the end: the last word
      {"one two three", -4, 0, 13, 0, 3},   // before the start
      {"one two three", 10, 8, 13, 8, 13},  // never before the reading's start
      {"one two three", 9, 0, 10, 8, 10},   // nor after its end
      {"1995 and", 2, 0, 8, 0, 4},          // a number reported piece by piece
      {"a\nbee\rc", 3, 0, 7, 2, 5},         // line ends end words
      {"tab\there", 1, 0, 8, 0, 8},         // a tab does not
  };
  for (const TWordCase& c : cases) {
    QTextDocument document(QString::fromLatin1(c.Text));
    const auto span = TWordHighlighter::WordAt(document, c.Position, c.Floor, c.Limit);
    EXPECT_EQ(span.Start, c.Start) << c.Text << " @" << c.Position;
    EXPECT_EQ(span.End, c.End) << c.Text << " @" << c.Position;
  }
}

TEST(WordHighlighter, AWordWithoutBlanksIsCutSoOnePositionStaysCheap) {
  const QString text(3 * TWordHighlighter::kMaxWordScan, u'x');
  QTextDocument document(text);
  const int middle = static_cast<int>(text.size() / 2);
  const auto span = TWordHighlighter::WordAt(document, middle, 0, int(text.size()));
  EXPECT_EQ(span.Start, middle - TWordHighlighter::kMaxWordScan);
  EXPECT_EQ(span.End, span.Start + TWordHighlighter::kMaxWordScan);
}

TEST(WordHighlighter, ProgressNeverRunsBackOverRepeatedOrEarlierPositions) {
  QPlainTextEdit editor(QStringLiteral("intro one two three"));
  TWordHighlighter highlighter;
  highlighter.Begin(&editor, 6, 19);
  // Positions as an engine reports them: a repeat, one inside the word
  // before, one missing word, one past the end.
  const struct {
    int Position;
    int Progress;
    const char* Selected;
  } steps[] = {
      {6, 4, "one"}, {6, 4, "one"}, {11, 8, "two"}, {8, 8, "one"}, {40, 13, "three"},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(highlighter.Show(step.Position, true), step.Progress) << step.Position;
    EXPECT_EQ(editor.textCursor().selectedText(), QString::fromLatin1(step.Selected));
  }
  highlighter.Clear();
  EXPECT_EQ(highlighter.Show(6, true), 0);
}
