#pragma once

#include <QPlainTextEdit>
#include <QPointer>

class QTextDocument;

// Follows the spoken word in an article's editor. Engines report word
// positions imperfectly: some words get none, numbers get several
// overlapping positions, a word may be reported inside the one before. Every
// position is taken as the whole word it falls in, and the progress never
// runs backwards. Looks at single characters of the document, never at its
// whole text, so a long article costs no more per word than a short one.
class TWordHighlighter final {
 public:
  // Words longer than this (a text without blanks) are cut here, so one
  // word position never walks a megabyte of text.
  static constexpr int kMaxWordScan = 4096;

  struct TSpan {
    int Start = 0;
    int End = 0;
  };

  // The word around position: back to the previous blank (not before floor)
  // and forward to the next NUL, line feed, carriage return or space (not
  // after limit).
  static TSpan WordAt(const QTextDocument& document, int position, int floor, int limit);

  // A reading of editor's characters readStart .. readEnd begins.
  void Begin(QPlainTextEdit* editor, int readStart, int readEnd);
  void Clear();

  // Moves the caret to the word at position (a character offset into the
  // whole article), selecting it when highlight is set. Returns the progress
  // value: characters from the reading's start to the end of the word plus
  // one, never less than before, at most the characters read.
  int Show(int position, bool highlight);

  int Progress() const { return FProgress; }

 private:
  QPointer<QPlainTextEdit> FEditor;
  int FReadStart = 0;
  int FReadEnd = 0;
  int FProgress = 0;
};
