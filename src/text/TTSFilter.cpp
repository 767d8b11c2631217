#include "TTSFilter.h"

#include <limits>

#include "AddressScan.h"
#include "CharClasses.h"
#include "GapText.h"
#include "LookupTable.h"

using namespace TextChars;

namespace {

constexpr qsizetype None = -1;

// One pass of the filter over a working copy. Positions are 1-based as in
// the filter's rules; the copy itself is 0-based.
class TFilterRun final {
 public:
  TFilterRun(QStringView text, TOffsetList& offsets, bool stateNames, bool filterSymbols)
      : S(text), Offsets(offsets), StateNames(stateNames), FilterSymbols(filterSymbols) {}

  QString Run();

 private:
  char16_t C(qsizetype p) const { return S.At(p - 1); }
  qsizetype Len() const { return S.Size(); }

  void Overwrite(qsizetype p, char16_t c);
  void Replace(qsizetype p, qsizetype oldLen, QStringView with);
  void AddOffset(qsizetype start, qsizetype end, qsizetype delta) {
    Offsets.AddOffset(static_cast<qint32>(start), static_cast<qint32>(end),
                      static_cast<qint32>(delta));
  }

  void CollapseRun(qsizetype runStart, qsizetype runEnd);
  bool StartsWithHttp(qsizetype p) const;
  qsizetype ReplaceWebPath(qsizetype start);
  void ReplaceWord(qsizetype start, qsizetype end, bool noLower, qsizetype& pos);
  bool ReadsAsAddress(qsizetype start, qsizetype end) const;
  bool IsSignedNumber(qsizetype p) const { return C(p) == u'-' && p < Len() && IsDigit(C(p + 1)); }

  TGapText S;
  TOffsetList& Offsets;
  const bool StateNames;
  const bool FilterSymbols;
  TAddressScan Scan;
};

void TFilterRun::Overwrite(qsizetype p, char16_t c) {
  S.Set(p - 1, c);
  Scan.Edited(p, 1, 1);
}

void TFilterRun::Replace(qsizetype p, qsizetype oldLen, QStringView with) {
  S.Replace(p - 1, oldLen, with);
  Scan.Edited(p, oldLen, with.size());
}

void TFilterRun::CollapseRun(qsizetype runStart, qsizetype runEnd) {
  // Only marks and spaces lie in a run; it collapses when a second mark
  // follows the full stop, so "end. Next" keeps its full stop.
  bool secondMark = false;
  for (qsizetype k = runStart + 1; k < runEnd && !secondMark; ++k) {
    secondMark = C(k) != u' ';
  }
  if (!secondMark) {
    return;
  }
  S.Set(runStart - 1, u',');
  for (qsizetype k = runStart + 1; k < runEnd; ++k) {
    S.Set(k - 1, u' ');
  }
  Scan.Edited(runStart, runEnd - runStart, runEnd - runStart);
}

bool TFilterRun::StartsWithHttp(qsizetype p) const {
  static constexpr char16_t prefix[] = u"http://";
  if (p + 6 > Len()) {
    return false;
  }
  for (qsizetype k = 0; k < 7; ++k) {
    if (C(p + k) != prefix[k]) {
      return false;
    }
  }
  return true;
}

qsizetype TFilterRun::ReplaceWebPath(qsizetype start) {
  bool letterSeen = false;
  qsizetype from = start;
  if (start + 2 <= Len() && C(start) == u'w' && C(start + 1) == u'w' && C(start + 2) == u'w') {
    Replace(start, 3, u"w w w");
    AddOffset(start - 1, start + 4, -2);
    letterSeen = true;
    from = start + 5;
  }
  const TAddressScan::TResult scan = Scan.Query(S, from);
  const qsizetype stop = scan.Stop;
  if (stop > Len() || C(stop) != u'/') {
    return 0;
  }
  letterSeen = letterSeen || scan.Letter;
  if (!scan.Dot || !letterSeen) {
    return 0;
  }
  Overwrite(stop, u' ');
  const qsizetype pathStart = stop + 1;
  qsizetype pathEnd = pathStart;
  // A line break ends the address too; the next line's first word is no
  // part of its path.
  while (pathEnd <= Len() && !IsWhiteSpace(C(pathEnd))) {
    ++pathEnd;
  }
  const qsizetype pathLen = pathEnd - pathStart;
  if (pathLen == 0) {
    return 0;
  }
  Replace(pathStart, pathLen, u"web link ");
  if (pathLen != 9) {
    AddOffset(pathStart - 1, pathStart + 8, pathLen - 9);
  }
  return pathStart + 8;
}

bool TFilterRun::ReadsAsAddress(qsizetype start, qsizetype end) const {
  // Two capitals are a state only in an address: before a ZIP code
  // ("Springfield, IL 62701") or after a town and a comma ("Albany, NY").
  // "COME IN OR GO HOME" and "say OK" keep their words.
  qsizetype k = end + 1;
  if (k <= Len() && C(k) == u' ') {
    while (k <= Len() && C(k) == u' ') {
      ++k;
    }
    qsizetype digits = 0;
    while (k + digits <= Len() && IsDigit(C(k + digits))) {
      ++digits;
    }
    if (digits == 5 && (k + 5 > Len() || !IsWordChar(C(k + 5)))) {
      return true;
    }
  }
  k = start - 1;
  if (k < 1 || C(k) != u' ') {
    return false;
  }
  while (k >= 1 && C(k) == u' ') {
    --k;
  }
  if (k < 1 || C(k) != u',') {
    return false;
  }
  // The town is written like a name ("Albany", not "big" or "SO"); a capital
  // word before the comma makes this a run of capitals.
  bool lower = false;
  for (--k; k >= 1 && IsWordChar(C(k)); --k) {
    lower = lower || IsLower(C(k));
  }
  return lower && IsUpper(C(k + 1));
}

void TFilterRun::ReplaceWord(qsizetype start, qsizetype end, bool noLower, qsizetype& pos) {
  const qsizetype len = end >= start ? end - start + 1 : 0;
  QString result;
  if (len == 2 && C(start) == u'A' && C(start + 1) == u'P') {
    result = QStringLiteral("Associated Press");
  } else if (len > 4 && noLower) {
    // Same length: lower the capitals where they stand.
    bool changed = false;
    for (qsizetype k = start; k <= end; ++k) {
      const char16_t c = C(k);
      if (IsUpper(c)) {
        S.Set(k - 1, static_cast<char16_t>(c + (u'a' - u'A')));
        changed = true;
      }
    }
    if (changed) {
      Scan.Edited(start, len, len);
    }
    pos = end;
    return;
  } else if (noLower && StateNames && len == 2 && ReadsAsAddress(start, end)) {
    char16_t word[4];
    for (qsizetype k = 0; k < len; ++k) {
      word[k] = C(start + k);
    }
    result = StateNamesTable().Lookup(QStringView(word, len));
  }
  if (result.isEmpty()) {
    pos = end;
    return;
  }
  Replace(start, len, result);
  if (result.size() != len) {
    AddOffset(start - 1, start - 1 + result.size(), len - result.size());
  }
  pos = start + result.size() - 1;
}

QString TFilterRun::Run() {
  qsizetype pos = 0;
  qsizetype wordStart = None;
  qsizetype wordEnd = None;
  qsizetype runStart = None;
  qsizetype runEnd = None;
  bool noLower = false;
  bool addressDone = false;

  for (;;) {
    ++pos;
    if (pos > Len()) {
      break;
    }
    const char16_t c = C(pos);
    if (c == u' ') {
      continue;
    }
    if (runStart != None) {
      // "fell. -5 degrees": a minus before a digit is the number's sign, not
      // one more mark of the run.
      if (IsSentenceMark(c) && !IsSignedNumber(pos)) {
        continue;
      }
      runEnd = pos;
      CollapseRun(runStart, runEnd);
      runStart = runEnd = None;
    }
    if (wordStart == None) {
      if (c == u'.') {
        runStart = pos;
        continue;
      }
      if (IsWordChar(c)) {
        wordStart = pos;
        noLower = !IsLower(c);
        addressDone = false;
      }
    }
    if (FilterSymbols && IsFilteredSymbol(c)) {
      Overwrite(pos, u' ');
    }

    if (wordStart != None && wordEnd == None) {
      qsizetype i = pos;
      for (;;) {
        char16_t ch = C(i);
        if (noLower && IsLower(ch)) {
          noLower = false;
        }
        if (ch == u':' && wordStart != None && StartsWithHttp(wordStart)) {
          Replace(wordStart, 7, u"       ");
          i = wordStart + 7;
          wordEnd = None;
          if (i > Len()) {
            wordStart = None;
            break;
          }
          wordStart = IsWordChar(C(i)) ? i : None;
          continue;
        }
        if (ch == u'.' && !addressDone && wordStart != None) {
          const qsizetype next = ReplaceWebPath(wordStart);
          if (next > 0) {
            i = next;
            wordStart = None;
            wordEnd = None;
            addressDone = true;
            continue;
          }
          ch = C(i);  // a "www" in front may have moved the text under us
        }
        if (!IsWordChar(ch)) {
          if (FilterSymbols && IsFilteredSymbol(ch)) {
            Overwrite(i, u' ');
          }
          wordEnd = i - 1;
          break;
        }
        ++i;
        if (i > Len()) {
          // The rest of the text is this word's letters and digits (behind
          // blanked "http://" prefixes at most); a word with nothing after it
          // is never replaced, so nothing is left to do.
          if (wordStart != None) {
            return S.ToString();
          }
          break;
        }
      }
    }

    if (wordStart != None && wordEnd != None) {
      ReplaceWord(wordStart, wordEnd, noLower, pos);
      wordStart = wordEnd = None;
    }
  }
  return S.ToString();
}

}  // namespace

TTTSFilter::TTTSFilter() : FOffsets(std::make_unique<TOffsetList>()) {
  StateNamesTable();
}

TTTSFilter::~TTTSFilter() = default;

QString TTTSFilter::FilterText(quint32 engineFlags, const QString& original, bool filterSymbols,
                               const TPronunciationList* pronunciations, const QString& engine) {
  FOffsets->Clear();
  FPronunciationMap.Clear();
  const QString text = pronunciations != nullptr
                           ? pronunciations->Apply(original, engine, FPronunciationMap)
                           : original;
  // Positions are 32-bit and the text can grow at most about sixfold; a text
  // too long for that is spoken as it stands.
  if (text.size() > std::numeric_limits<qint32>::max() / 8) {
    FOffsets->Finish();
    return text;
  }
  TFilterRun run(text, *FOffsets, (engineFlags & NoStateNamesFlag) == 0, filterSymbols);
  QString filtered = run.Run();
  FOffsets->Finish();
  return filtered;
}

qint32 TTTSFilter::MapPosition(qint32 position) const {
  return FPronunciationMap.MapPosition(FOffsets->MapPosition(position));
}
