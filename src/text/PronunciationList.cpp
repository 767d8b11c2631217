#include "PronunciationList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <utility>

#include "AppPaths.h"
#include "AtomicFile.h"

namespace {

bool IsWordChar(QChar c) {
  return c.isLetterOrNumber() || c == u'_';
}

// The case-folded code unit at i. A surrogate pair is folded as the one
// character it is (as QString::compare does), so that letters beyond the
// first 65,536 match in either case too.
char16_t FoldAt(QStringView s, qsizetype i) {
  const char16_t u = s[i].unicode();
  if (u < 0x80) {
    return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + 32) : u;
  }
  if (QChar::isHighSurrogate(u)) {
    if (i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
      return QChar::highSurrogate(
          QChar::toCaseFolded(QChar::surrogateToUcs4(u, s[i + 1].unicode())));
    }
    return u;
  }
  if (QChar::isLowSurrogate(u)) {
    if (i > 0 && s[i - 1].isHighSurrogate()) {
      return QChar::lowSurrogate(
          QChar::toCaseFolded(QChar::surrogateToUcs4(s[i - 1].unicode(), u)));
    }
    return u;
  }
  return static_cast<char16_t>(QChar::toCaseFolded(u));
}

// The written forms as a tree of case-folded characters, so that the
// entries matching at a position are found by walking the text once from
// there, however many entries share a beginning.
class TIndex {
 public:
  TIndex(const std::vector<TPronunciation>& items, const QString& engine) {
    FNodes.emplace_back();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const TPronunciation& item = items[i];
      if (item.Written.isEmpty() || (!item.Engine.isEmpty() && item.Engine != engine)) {
        continue;
      }
      int node = 0;
      for (qsizetype k = 0; k < item.Written.size(); ++k) {
        node = Child(node, FoldAt(item.Written, k), true);
      }
      FNodes[static_cast<std::size_t>(node)].Ends.push_back(static_cast<int>(i));
    }
  }

  bool Any() const { return FNodes.size() > 1; }

  // The next node along c, or -1.
  int Child(int node, char16_t c, bool add = false) {
    if (const int found = std::as_const(*this).Child(node, c); found >= 0 || !add) {
      return found;
    }
    const int created = static_cast<int>(FNodes.size());
    FNodes.emplace_back();
    TNode& parent = FNodes[static_cast<std::size_t>(node)];
    if (c < kDirect) {
      if (parent.Direct.empty()) {
        parent.Direct.assign(kDirect, -1);
      }
      parent.Direct[c] = created;
    } else {
      parent.Others.emplace_back(c, created);
    }
    return created;
  }
  int Child(int node, char16_t c) const {
    const TNode& parent = FNodes[static_cast<std::size_t>(node)];
    if (c < kDirect) {
      return parent.Direct.empty() ? -1 : parent.Direct[c];
    }
    for (const auto& [key, next] : parent.Others) {
      if (key == c) {
        return next;
      }
    }
    return -1;
  }
  const std::vector<int>& Ends(int node) const {
    return FNodes[static_cast<std::size_t>(node)].Ends;
  }

 private:
  static constexpr char16_t kDirect = 128;
  struct TNode {
    std::vector<int> Direct;  // children by ASCII character, when it has any
    std::vector<std::pair<char16_t, int>> Others;
    std::vector<int> Ends;  // entries whose written form ends here, in list order
  };
  std::vector<TNode> FNodes;
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
    // The deepest node with a matching entry is the longest written form;
    // within a node the earliest entry wins.
    const TPronunciation* best = nullptr;
    int node = 0;
    for (qsizetype k = at; k < size; ++k) {
      node = index.Child(node, FoldAt(text, k));
      if (node < 0) {
        break;
      }
      for (const int i : index.Ends(node)) {
        const TPronunciation& item = Items[static_cast<std::size_t>(i)];
        if (MatchesAt(text, at, item)) {
          best = &item;
          break;
        }
      }
    }
    if (best == nullptr) {
      continue;
    }
    if (result.isEmpty()) {
      result.reserve(size + size / 8);
    }
    result.append(QStringView(text).mid(copied, at - copied));
    const auto outStart = static_cast<qint32>(result.size());
    result.append(best->SayAs);
    const qsizetype end = at + best->Written.size();
    map.Add(outStart, static_cast<qint32>(result.size()), static_cast<qint32>(at),
            static_cast<qint32>(end));
    copied = end;
    at = end - 1;
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
  // A picture or program picked by mistake would otherwise give a few
  // entries of junk wherever a line happens to hold a tab.
  if (bytes.contains('\0')) {
    if (error != nullptr) {
      *error = QStringLiteral("it is not a text file");
    }
    return false;
  }
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
