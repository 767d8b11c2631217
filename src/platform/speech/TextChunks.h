#pragma once

#include <QStringView>

// Cuts text into the pieces a synthesiser speaks one at a time: whole
// sentences, so the first sound of a long text comes at once, pitch and speed
// changes apply at the next sentence, and a reset never waits for a long text.
class TTextChunker final {
 public:
  explicit TTextChunker(QStringView text) : FText(text) {}
  // The next piece as [start, start + length); false at the end.
  bool Next(qsizetype& start, qsizetype& length);

 private:
  QStringView FText;
  qsizetype FPos = 0;
};
