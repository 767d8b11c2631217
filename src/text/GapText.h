#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// The filter's working copy. Replacements that change the length land close
// to each other and move forward through the text, so a gap kept at the last
// edit makes each one cost the distance from the previous edit instead of the
// whole tail of the text.
class TGapText final {
 public:
  explicit TGapText(QStringView text);

  qsizetype Size() const { return static_cast<qsizetype>(FBuf.size()) - FGapLen; }
  // 0-based.
  char16_t At(qsizetype i) const {
    return FBuf[static_cast<size_t>(i < FGapStart ? i : i + FGapLen)];
  }
  void Set(qsizetype i, char16_t c) {
    FBuf[static_cast<size_t>(i < FGapStart ? i : i + FGapLen)] = c;
  }
  void Replace(qsizetype pos, qsizetype oldLen, QStringView with);
  QString ToString() const;

 private:
  void MoveGap(qsizetype to);
  void Grow(qsizetype need);

  std::vector<char16_t> FBuf;
  qsizetype FGapStart = 0;
  qsizetype FGapLen = 0;
};
