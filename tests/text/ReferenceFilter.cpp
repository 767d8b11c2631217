#include "ReferenceFilter.h"

#include <algorithm>

#include "LookupTable.h"

namespace {

const QString kSentenceMarks = QStringLiteral("!,-.;?");
const QString kFilteredSymbols = QStringLiteral("()*<=>[\\]^_`{|}~");

// 1-based access; outside the text reads as NUL.
QChar At(const QString& s, int p) {
  return p >= 1 && p <= s.size() ? s[p - 1] : QChar(0);
}
bool IsAlnum(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
}
bool IsLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}
bool IsDigit(QChar c) {
  return c.unicode() >= '0' && c.unicode() <= '9';
}
bool IsLower(QChar c) {
  return c.unicode() >= 'a' && c.unicode() <= 'z';
}
bool IsSentenceMark(QChar c) {
  return c.unicode() != 0 && kSentenceMarks.contains(c);
}
bool IsFilteredSymbol(QChar c) {
  return c.unicode() != 0 && kFilteredSymbols.contains(c);
}
// Copy(s, p, n) on 1-based positions.
QString Copy(const QString& s, int p, int n) {
  return s.mid(p - 1, n);
}
QString Trim(const QString& s) {
  int b = 0;
  int e = s.size();
  while (b < e && s[b].unicode() <= ' ') {
    ++b;
  }
  while (e > b && s[e - 1].unicode() <= ' ') {
    --e;
  }
  return s.mid(b, e - b);
}

}  // namespace

void TReferenceFilter::AddOffset(qint32 start, qint32 end, qint32 delta) {
  Offsets.append({start, end, delta});
  for (TOffsetRecord& r : Offsets) {
    if (r.StartPos > start) {
      r.StartPos -= delta;
      r.EndPos -= delta;
    }
  }
}

// A two-letter state code counts only in an address: followed by a ZIP code,
// or behind "Town, " where the town is written like a name.
bool TReferenceFilter::ReadsAsAddress(const QString& s, int wordStart, int wordEnd) {
  int k = wordEnd + 1;
  if (At(s, k) == u' ') {
    while (At(s, k) == u' ') {
      ++k;
    }
    int digits = 0;
    while (IsDigit(At(s, k + digits))) {
      ++digits;
    }
    if (digits == 5 && !IsAlnum(At(s, k + 5))) {
      return true;
    }
  }
  k = wordStart - 1;
  if (At(s, k) != u' ') {
    return false;
  }
  while (At(s, k) == u' ') {
    --k;
  }
  if (At(s, k) != u',') {
    return false;
  }
  const int townEnd = k - 1;
  int townStart = townEnd + 1;
  while (IsAlnum(At(s, townStart - 1))) {
    --townStart;
  }
  const QString town = Copy(s, townStart, townEnd - townStart + 1);
  return !town.isEmpty() && town[0].unicode() >= 'A' && town[0].unicode() <= 'Z' &&
         std::any_of(town.begin(), town.end(), IsLower);
}

QString TReferenceFilter::ReplaceWord(const QString& word, bool noLower, quint32 engineFlags,
                                      bool address) const {
  if (word == QStringLiteral("AP")) {
    return QStringLiteral("Associated Press");
  }
  if (word.size() > 4 && noLower) {
    QString lower = word;
    for (QChar& c : lower) {
      if (c.unicode() >= 'A' && c.unicode() <= 'Z') {
        c = QChar(c.unicode() + 32);
      }
    }
    return lower;
  }
  if (noLower && (engineFlags & 2) == 0 && word.size() == 2 && address) {
    const QString state = StateNamesTable().Lookup(word);
    if (!state.isEmpty()) {
      return state;
    }
  }
  return word;
}

int TReferenceFilter::ReplaceWebPath(QString& s, int start) {
  bool letterSeen;
  int i;
  if (Copy(s, start, 3) == QStringLiteral("www")) {
    s.replace(start - 1, 3, QStringLiteral("w w w"));
    AddOffset(start - 1, start + 4, -2);
    letterSeen = true;
    i = start + 5;
  } else {
    letterSeen = false;
    i = start;
  }
  int dots = 0;
  int pathStart = 0;
  int pathLen = 0;
  while (i <= s.size()) {
    const QChar c = At(s, i);
    if (IsLetter(c)) {
      letterSeen = true;
    }
    if (c.isSpace()) {
      break;
    }
    if (c == u'.') {
      ++dots;
    }
    if (c == u'/') {
      if (dots == 0 || !letterSeen) {
        break;
      }
      s[i - 1] = u' ';
      pathStart = i + 1;
      int k = pathStart;
      while (k <= s.size() && !At(s, k).isSpace()) {
        ++k;
      }
      pathLen = k - pathStart;
      break;
    }
    ++i;
  }
  if (pathLen == 0) {
    return 0;
  }
  s.replace(pathStart - 1, pathLen, QStringLiteral("web link "));
  if (pathLen != 9) {
    AddOffset(pathStart - 1, pathStart + 8, pathLen - 9);
  }
  return pathStart + 8;
}

QString TReferenceFilter::FilterText(quint32 engineFlags, const QString& text, bool filterSymbols) {
  Offsets.clear();
  QString s = text;
  int pos = 0;
  int len = s.size();
  const int none = -1;
  int wordStart = none;
  int wordEnd = none;
  int runStart = none;
  int runEnd = none;
  bool noLower = false;
  bool addressDone = false;

  for (;;) {
    // 1
    ++pos;
    if (pos > len) {
      break;
    }
    // 2
    if (At(s, pos) == u' ') {
      continue;
    }
    // 3
    if (runStart != none) {
      const bool sign = At(s, pos) == u'-' && IsDigit(At(s, pos + 1));
      if (IsSentenceMark(At(s, pos)) && !sign) {
        continue;
      }
      runEnd = pos;
    }
    // 4
    if (runStart != none && runEnd != none) {
      const QString run = Copy(s, runStart, runEnd - runStart);
      if (run.size() > 1 && Trim(run).size() > 1) {
        s[runStart - 1] = u',';
        for (int k = runStart + 1; k < runEnd; ++k) {
          s[k - 1] = u' ';
        }
      }
      runStart = none;
      runEnd = none;
    }
    // 5
    if (wordStart == none) {
      if (At(s, pos) == u'.') {
        runStart = pos;
        continue;
      }
      if (IsAlnum(At(s, pos))) {
        wordStart = pos;
        noLower = !IsLower(At(s, pos));
        addressDone = false;
      }
    }
    // 6
    if (filterSymbols && IsFilteredSymbol(At(s, pos))) {
      s[pos - 1] = u' ';
    }
    // 7
    if (wordStart != none && wordEnd == none) {
      int i = pos;
      for (;;) {
        // 7.1
        if (noLower && IsLower(At(s, i))) {
          noLower = false;
        }
        // 7.2
        if (At(s, i) == u':' && wordStart != none &&
            Copy(s, wordStart, 7) == QStringLiteral("http://")) {
          s.replace(wordStart - 1, 7, QStringLiteral("       "));
          i = wordStart + 7;
          wordEnd = none;
          if (i > len) {
            wordStart = none;
            break;
          }
          wordStart = IsAlnum(At(s, i)) ? i : none;
          continue;
        }
        // 7.3
        if (At(s, i) == u'.' && !addressDone && wordStart != none) {
          const int next = ReplaceWebPath(s, wordStart);
          len = s.size();
          if (next > 0) {
            i = next;
            wordStart = none;
            wordEnd = none;
            addressDone = true;
            continue;
          }
        }
        // 7.4
        if (!IsAlnum(At(s, i))) {
          if (filterSymbols && IsFilteredSymbol(At(s, i))) {
            s[i - 1] = u' ';
          }
          wordEnd = i - 1;
          break;
        }
        // 7.5
        ++i;
        if (i > len) {
          break;
        }
      }
    }
    // 8
    if (wordStart != none && wordEnd != none) {
      const QString word =
          wordEnd >= wordStart ? Copy(s, wordStart, wordEnd - wordStart + 1) : QString();
      const QString result =
          ReplaceWord(word, noLower, engineFlags, ReadsAsAddress(s, wordStart, wordEnd));
      if (result != word) {
        s.replace(wordStart - 1, word.size(), result);
        if (result.size() != word.size()) {
          AddOffset(wordStart - 1, wordStart - 1 + result.size(), word.size() - result.size());
        }
        pos = wordStart + result.size() - 1;
        len = s.size();
      } else {
        pos = wordEnd;
      }
      wordStart = none;
      wordEnd = none;
    }
    // 9: on to the next position
  }
  std::stable_sort(
      Offsets.begin(), Offsets.end(),
      [](const TOffsetRecord& a, const TOffsetRecord& b) { return a.StartPos < b.StartPos; });
  return s;
}

qint32 TReferenceFilter::MapPosition(qint32 position) const {
  qint32 sum = 0;
  for (const TOffsetRecord& r : Offsets) {
    if (r.StartPos <= position && r.EndPos >= position) {
      return r.StartPos + sum;
    }
    if (r.StartPos < position) {
      sum += r.Delta;
    }
    if (r.StartPos > position) {
      break;
    }
  }
  return position + sum;
}
