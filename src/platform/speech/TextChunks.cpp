#include "TextChunks.h"

namespace {

// Pieces shorter than this are joined with the next sentence (fewer engine
// start-ups); longer ones are cut at a space even without a sentence end.
constexpr qsizetype kMinPiece = 1000;
constexpr qsizetype kMaxPiece = 4000;

bool EndsSentence(QChar c) {
  return c == u'.' || c == u'!' || c == u'?' || c == u'\n' || c == u'\r';
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
  for (qsizetype i = start; i < size; ++i) {
    const QChar c = FText.at(i);
    if (c.isSpace()) {
      lastSpace = i;
      if (i > start && EndsSentence(FText.at(i - 1)) && i - start >= minimum) {
        end = i + 1;
        break;
      }
      if (c == u'\n' && i - start >= minimum) {
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
