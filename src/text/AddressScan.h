#pragma once

#include <QtGlobal>

class TGapText;

// Where a scan for an address path from a 1-based position stops (the first
// white space or slash, or one past the end) and whether a full stop and a letter
// lie before it. Every word of a long dotted token asks again from its own
// start; one answer serves every start in [From, Stop] until an edit touches
// that stretch, which keeps such tokens linear.
class TAddressScan final {
 public:
  struct TResult {
    qsizetype Stop = 0;
    bool Dot = false;
    bool Letter = false;
  };

  TAddressScan() = default;

  TResult Query(const TGapText& text, qsizetype from);
  // The text from p (1-based) had oldLen characters replaced by newLen.
  void Edited(qsizetype p, qsizetype oldLen, qsizetype newLen);

 private:
  bool FValid = false;
  qsizetype FFrom = 0;
  qsizetype FStop = 0;
  // 0 when there is none (or it lies before FFrom).
  qsizetype FLastDot = 0;
  qsizetype FLastLetter = 0;
};
