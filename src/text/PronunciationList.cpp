#include "PronunciationList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>

#include "AppPaths.h"
#include "AtomicFile.h"

namespace {

bool IsWordChar(QChar c) {
  return c.isLetterOrNumber() || c == u'_';
}

char16_t Fold(QChar c) {
  return c.toCaseFolded().unicode();
}

// The entries that may match at a position, found by the first character
// (case folded), longest written form first.
class TIndex {
 public:
  TIndex(const std::vector<TPronunciation>& items, const QString& engine) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      const TPronunciation& item = items[i];
      if (item.Written.isEmpty() || (!item.Engine.isEmpty() && item.Engine != engine)) {
        continue;
      }
      const char16_t first = Fold(item.Written.at(0));
      std::vector<int>& bucket = first < FSmall.size() ? FSmall[first] : FLarge[first];
      bucket.push_back(static_cast<int>(i));
      FAny = true;
    }
    auto order = [&items](std::vector<int>& bucket) {
      std::stable_sort(bucket.begin(), bucket.end(), [&items](int a, int b) {
        return items[static_cast<std::size_t>(a)].Written.size() >
               items[static_cast<std::size_t>(b)].Written.size();
      });
    };
    for (auto& bucket : FSmall) {
      order(bucket);
    }
    for (auto& bucket : FLarge) {
      order(bucket);
    }
  }

  bool Any() const { return FAny; }

  const std::vector<int>* At(QChar c) const {
    const char16_t key =
        c.unicode() < 0x80 ? (c.isUpper() ? c.unicode() + 32 : c.unicode()) : Fold(c);
    if (key < FSmall.size()) {
      return FSmall[key].empty() ? nullptr : &FSmall[key];
    }
    const auto found = FLarge.constFind(key);
    return found == FLarge.constEnd() ? nullptr : &found.value();
  }

 private:
  std::array<std::vector<int>, 256> FSmall;
  QHash<char16_t, std::vector<int>> FLarge;
  bool FAny = false;
};

bool MatchesAt(const QString& text, qsizetype at, const TPronunciation& item) {
  const qsizetype length = item.Written.size();
  if (at + length > text.size()) {
    return false;
  }
  const QStringView here = QStringView(text).mid(at, length);
  if (item.MatchCase ? here != item.Written
                     : here.compare(item.Written, Qt::CaseInsensitive) != 0) {
    return false;
  }
  if (item.WholeWord) {
    // Only the sides where the written form itself has a word character
    // need a boundary: "C++" still matches in "C++'s".
    if (IsWordChar(item.Written.front()) && at > 0 && IsWordChar(text.at(at - 1))) {
      return false;
    }
    if (IsWordChar(item.Written.back()) && at + length < text.size() &&
        IsWordChar(text.at(at + length))) {
      return false;
    }
  }
  return true;
}

QString Escape(const QString& field) {
  QString result;
  result.reserve(field.size());
  for (const QChar c : field) {
    switch (c.unicode()) {
      case u'\\':
        result += QStringLiteral("\\\\");
        break;
      case u'\t':
        result += QStringLiteral("\\t");
        break;
      case u'\n':
        result += QStringLiteral("\\n");
        break;
      case u'\r':
        result += QStringLiteral("\\r");
        break;
      default:
        result += c;
    }
  }
  return result;
}

bool Unescape(QStringView field, QString& result) {
  result.clear();
  for (qsizetype i = 0; i < field.size(); ++i) {
    const QChar c = field.at(i);
    if (c != u'\\') {
      result += c;
      continue;
    }
    if (++i >= field.size()) {
      return false;
    }
    switch (field.at(i).unicode()) {
      case u'\\':
        result += u'\\';
        break;
      case u't':
        result += u'\t';
        break;
      case u'n':
        result += u'\n';
        break;
      case u'r':
        result += u'\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

bool ParseLine(QStringView line, TPronunciation& item) {
  const QList<QStringView> fields = line.split(u'\t');
  if (fields.size() < 2 || fields.size() > 4) {
    return false;
  }
  if (!Unescape(fields[0], item.Written) || item.Written.isEmpty() ||
      !Unescape(fields[1], item.SayAs)) {
    return false;
  }
  if (fields.size() > 2 && !fields[2].trimmed().isEmpty()) {
    for (QStringView flag : fields[2].split(u',')) {
      flag = flag.trimmed();
      if (flag == u"word") {
        item.WholeWord = true;
      } else if (flag == u"anywhere") {
        item.WholeWord = false;
      } else if (flag == u"case") {
        item.MatchCase = true;
      } else if (flag == u"nocase") {
        item.MatchCase = false;
      } else {
        return false;
      }
    }
  }
  if (fields.size() > 3 && !Unescape(fields[3].trimmed(), item.Engine)) {
    return false;
  }
  return true;
}

}  // namespace

qint32 TPronunciationMap::MapPosition(qint32 position) const {
  const auto after =
      std::upper_bound(FSpans.begin(), FSpans.end(), position,
                       [](qint32 p, const TSpan& span) { return p < span.OutStart; });
  if (after == FSpans.begin()) {
    return position;
  }
  const TSpan& span = *(after - 1);
  if (position < span.OutEnd) {
    return span.InStart;
  }
  return position - span.OutEnd + span.InEnd;
}

QString TPronunciationList::Apply(const QString& text, const QString& engine,
                                  TPronunciationMap& map) const {
  map.Clear();
  const TIndex index(Items, engine);
  if (!index.Any()) {
    return text;
  }
  QString result;
  qsizetype copied = 0;  // text before this is in result
  const qsizetype size = text.size();
  for (qsizetype at = 0; at < size; ++at) {
    const std::vector<int>* candidates = index.At(text.at(at));
    if (candidates == nullptr) {
      continue;
    }
    for (const int i : *candidates) {
      const TPronunciation& item = Items[static_cast<std::size_t>(i)];
      if (!MatchesAt(text, at, item)) {
        continue;
      }
      if (result.isEmpty()) {
        result.reserve(size + size / 8);
      }
      result.append(QStringView(text).mid(copied, at - copied));
      const auto outStart = static_cast<qint32>(result.size());
      result.append(item.SayAs);
      const qsizetype end = at + item.Written.size();
      map.Add(outStart, static_cast<qint32>(result.size()), static_cast<qint32>(at),
              static_cast<qint32>(end));
      copied = end;
      at = end - 1;
      break;
    }
  }
  if (copied == 0) {
    return text;
  }
  result.append(QStringView(text).mid(copied));
  return result;
}

QString TPronunciationList::ToText() const {
  QString text = QStringLiteral("# Verbalune pronunciations: written, say as, flags, engine\n");
  for (const TPronunciation& item : Items) {
    text += Escape(item.Written) + u'\t' + Escape(item.SayAs) + u'\t' +
            (item.WholeWord ? QStringLiteral("word") : QStringLiteral("anywhere")) +
            (item.MatchCase ? QStringLiteral(",case") : QStringLiteral(",nocase")) + u'\t' +
            Escape(item.Engine) + u'\n';
  }
  return text;
}

std::vector<TPronunciation> TPronunciationList::FromText(const QString& text,
                                                         QList<int>* badLines) {
  std::vector<TPronunciation> items;
  int number = 0;
  for (QStringView line : QStringView(text).split(u'\n')) {
    ++number;
    if (line.endsWith(u'\r')) {
      line.chop(1);
    }
    if (line.trimmed().isEmpty() || line.startsWith(u'#')) {
      continue;
    }
    TPronunciation item;
    if (ParseLine(line, item)) {
      items.push_back(std::move(item));
    } else if (badLines != nullptr) {
      badLines->append(number);
    }
  }
  return items;
}

QString TPronunciationList::DefaultPath() {
  return AppPaths::ConfigDirPath() + QStringLiteral("/pronunciations.txt");
}

bool TPronunciationList::Load(const QString& path, QString* error, QList<int>* badLines) {
  Items.clear();
  QFile file(path);
  if (!file.exists()) {
    return true;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) {
      *error = file.errorString();
    }
    return false;
  }
  const QByteArray bytes = file.readAll();
  // Lists written by hand in another editor may not be UTF-8.
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) {
    text = QStringDecoder(QStringDecoder::System)(bytes);
  }
  Items = FromText(text, badLines);
  return true;
}

bool TPronunciationList::Save(const QString& path, QString* error) const {
  QDir().mkpath(QFileInfo(path).absolutePath());
  return WriteFileAtomically(path, ToText().toUtf8(), 0644, error);
}
