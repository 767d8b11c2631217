#include "WordHighlighter.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The characters that end a word. The document keeps its line breaks as
// paragraph and line separators where the article's text has line feeds.
bool EndsWord(QChar c) {
  const char16_t u = c.unicode();
  return u == 0 || u == 10 || u == 13 || u == 32 || u == QChar::ParagraphSeparator ||
         u == QChar::LineSeparator;
}

}  // namespace

TWordHighlighter::TSpan TWordHighlighter::WordAt(const QTextDocument& document, int position,
                                                 int floor, int limit) {
  const int textEnd = document.characterCount() - 1;
  limit = qBound(0, limit, textEnd);
  floor = qBound(0, floor, limit);
  TSpan span;
  span.Start = qBound(floor, position, limit);
  const int backStop = qMax(floor, span.Start - kMaxWordScan);
  // A position past the reading's end stands for its last word.
  if (span.Start == limit || !EndsWord(document.characterAt(span.Start))) {
    while (span.Start > backStop && !EndsWord(document.characterAt(span.Start - 1))) {
      --span.Start;
    }
  }
  span.End = span.Start;
  const int forwardStop = qMin(limit, span.Start + kMaxWordScan);
  while (span.End < forwardStop && !EndsWord(document.characterAt(span.End))) {
    ++span.End;
  }
  return span;
}

void TWordHighlighter::Begin(QPlainTextEdit* editor, int readStart, int readEnd) {
  FEditor = editor;
  FReadStart = readStart;
  FReadEnd = qMax(readStart, readEnd);
  FProgress = 0;
}

void TWordHighlighter::Clear() {
  FEditor = nullptr;
  FProgress = 0;
}

int TWordHighlighter::Show(int position, bool highlight) {
  if (FEditor == nullptr) {
    return FProgress;
  }
  QTextDocument* document = FEditor->document();
  const TSpan word = WordAt(*document, position, FReadStart, FReadEnd);
  QTextCursor cursor(document);
  cursor.setPosition(word.Start);
  if (highlight) {
    cursor.setPosition(word.End, QTextCursor::KeepAnchor);
  }
  FEditor->setTextCursor(cursor);
  if (highlight) {
    FEditor->ensureCursorVisible();
  }
  const int progress = qMin(word.End + 1 - FReadStart, FReadEnd - FReadStart);
  FProgress = qMax(FProgress, progress);
  return FProgress;
}
