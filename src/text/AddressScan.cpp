#include "AddressScan.h"

#include "CharClasses.h"
#include "GapText.h"

TAddressScan::TResult TAddressScan::Query(const TGapText& text, qsizetype from) {
  if (!FValid || from < FFrom || from > FStop) {
    FValid = true;
    FFrom = from;
    FLastDot = 0;
    FLastLetter = 0;
    qsizetype i = from;
    for (; i <= text.Size(); ++i) {
      const char16_t c = text.At(i - 1);
      if (TextChars::IsWhiteSpace(c) || c == u'/') {
        break;
      }
      if (c == u'.') {
        FLastDot = i;
      } else if (TextChars::IsLetter(c)) {
        FLastLetter = i;
      }
    }
    FStop = i;
  }
  return {FStop, FLastDot >= from, FLastLetter >= from};
}

void TAddressScan::Edited(qsizetype p, qsizetype oldLen, qsizetype newLen) {
  if (!FValid) {
    return;
  }
  const qsizetype end = p + oldLen;
  const qsizetype d = newLen - oldLen;
  if (end <= FFrom) {
    FFrom += d;
  } else if (p > FStop) {
    return;
  } else if (end <= FStop) {
    // Only what follows the edit is still known to be free of stops.
    FFrom = p + newLen;
  } else {
    FValid = false;
    return;
  }
  FStop += d;
  const auto move = [&](qsizetype& v) { v = v >= end ? v + d : 0; };
  move(FLastDot);
  move(FLastLetter);
}
