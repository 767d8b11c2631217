#pragma once

#include <QList>
#include <QString>

#include "OffsetList.h"

// The filter's rules written out step by step, the slow way: every length
// change shifts the later records and every mapping walks them all. The
// filter under test must agree with it on every text.
class TReferenceFilter final {
 public:
  TReferenceFilter() = default;

  QString FilterText(quint32 engineFlags, const QString& text, bool filterSymbols);
  qint32 MapPosition(qint32 position) const;

  QList<TOffsetRecord> Offsets;

 private:
  void AddOffset(qint32 start, qint32 end, qint32 delta);
  int ReplaceWebPath(QString& s, int start);
  static bool ReadsAsAddress(const QString& s, int wordStart, int wordEnd);
  QString ReplaceWord(const QString& word, bool noLower, quint32 engineFlags, bool address) const;
};
