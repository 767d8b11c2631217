#include "TextChunks.h"

namespace {

// Pieces shorter than this are joined with the next sentence (fewer engine
// start-ups); longer ones are cut at a space even without a sentence end.
constexpr qsizetype kMinPiece = 1000;
constexpr qsizetype kMaxPiece = 4000;

bool EndsSentence(QChar c) {
  return c == u'.' || c == u'!' || c == u'?';
}

}  // namespace

bool TTextChunker::Next(qsizetype& start, qsizetype& length) {
  const qsizetype size = FText.size();
  if (FPos >= size) {
    return false;
  }
  start = FPos;
  // The first piece ends at the first sentence end, so speech starts at once.
  const qsizetype minimum = start == 0 ? 1 : kMinPiece;
  qsizetype end = -1;
  qsizetype lastSpace = -1;
  // Line ends since the last visible character. Text copied from mail or a
  // page is wrapped in mid-sentence, and the engines read a single line end
  // as a space: only an empty line ends a paragraph.
  int lineEnds = 0;
  for (qsizetype i = start; i < size; ++i) {
    const QChar c = FText.at(i);
    if (!c.isSpace()) {
      lineEnds = 0;
    } else {
      lastSpace = i;
      if (c == u'\n' || (c == u'\r' && (i + 1 == size || FText.at(i + 1) != u'\n'))) {
        ++lineEnds;
      }
      if (i - start >= minimum && ((i > start && EndsSentence(FText.at(i - 1))) || lineEnds >= 2)) {
        end = i + 1;
        break;
      }
    }
    if (i - start >= kMaxPiece) {
      end = lastSpace > start ? lastSpace + 1 : i;
      // Never split a surrogate pair.
      if (end < size && FText.at(end).isLowSurrogate()) {
        ++end;
      }
      break;
    }
  }
  if (end < 0) {
    end = size;
  }
  length = end - start;
  FPos = end;
  return true;
}
