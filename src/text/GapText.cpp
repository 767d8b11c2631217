#include "GapText.h"

#include <algorithm>
#include <cstring>

TGapText::TGapText(QStringView text) {
  // The gap starts in front of the text, where the first edits happen.
  FGapLen = std::max<qsizetype>(64, text.size() / 8);
  FBuf.resize(static_cast<size_t>(FGapLen + text.size()));
  std::copy(text.utf16(), text.utf16() + text.size(), FBuf.begin() + FGapLen);
}

void TGapText::MoveGap(qsizetype to) {
  char16_t* buf = FBuf.data();
  if (to < FGapStart) {
    std::memmove(buf + to + FGapLen, buf + to, static_cast<size_t>(FGapStart - to) * 2);
  } else if (to > FGapStart) {
    std::memmove(buf + FGapStart, buf + FGapStart + FGapLen,
                 static_cast<size_t>(to - FGapStart) * 2);
  }
  FGapStart = to;
}

void TGapText::Grow(qsizetype need) {
  if (FGapLen >= need) {
    return;
  }
  const qsizetype tail = static_cast<qsizetype>(FBuf.size()) - FGapStart - FGapLen;
  const qsizetype newGap = std::max(need, Size() / 2 + 64);
  std::vector<char16_t> bigger(static_cast<size_t>(FGapStart + newGap + tail));
  std::copy_n(FBuf.begin(), FGapStart, bigger.begin());
  std::copy_n(FBuf.end() - tail, tail, bigger.end() - tail);
  FBuf.swap(bigger);
  FGapLen = newGap;
}

void TGapText::Replace(qsizetype pos, qsizetype oldLen, QStringView with) {
  if (with.size() == oldLen) {
    for (qsizetype k = 0; k < oldLen; ++k) {
      Set(pos + k, with[k].unicode());
    }
    return;
  }
  MoveGap(pos + oldLen);
  FGapStart = pos;
  FGapLen += oldLen;
  Grow(with.size());
  std::copy(with.utf16(), with.utf16() + with.size(), FBuf.begin() + FGapStart);
  FGapStart += with.size();
  FGapLen -= with.size();
}

QString TGapText::ToString() const {
  QString out(Size(), Qt::Uninitialized);
  char16_t* dst = reinterpret_cast<char16_t*>(out.data());
  std::copy_n(FBuf.begin(), FGapStart, dst);
  std::copy(FBuf.begin() + FGapStart + FGapLen, FBuf.end(), dst + FGapStart);
  return out;
}
