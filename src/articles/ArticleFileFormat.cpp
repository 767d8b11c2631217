#include "ArticleFileFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QStringDecoder>
#include <array>

#include "AtomicFile.h"

namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the same code point,
// as Windows itself converts them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
  }
  return text;
}

bool IsDecimal(QStringView s) {
  if (s.isEmpty()) {
    return false;
  }
  for (const QChar c : s) {
    if (c < u'0' || c > u'9') {
      return false;
    }
  }
  return true;
}

// Title and voice are single lines in the file; a line break in either would
// shift every later line of the record.
QString OneLine(const QString& s) {
  QString out = s;
  out.replace(u'\r', u' ');
  out.replace(u'\n', u' ');
  return out;
}

QString NormalisedLineBreaks(const QString& text) {
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(u'\r', u'\n');
  return out;
}

// Temporary files of exports that were killed part-way.
void RemoveStaleTemporaries(const QString& path) {
  const QFileInfo info(path);
  QDir dir = info.absoluteDir();
  const QStringList stale =
      dir.entryList({info.fileName() + QStringLiteral(".tmp-??????")}, QDir::Files | QDir::Hidden);
  for (const QString& name : stale) {
    dir.remove(name);
  }
}

}  // namespace

QString DecodeArticleText(const QByteArray& bytes) {
  QByteArrayView view(bytes);
  if (view.startsWith("\xEF\xBB\xBF")) {
    view = view.sliced(3);
  }
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(view);
  if (!utf8.hasError()) {
    return text;
  }
  return DecodeCp1252(bytes);
}

QList<QStringView> SplitArticleLines(QStringView text) {
  QList<QStringView> lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == u'\n' || c == u'\r') {
      lines.append(text.sliced(start, i - start));
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
        ++i;
      }
      start = i + 1;
    }
  }
  if (start < n) {
    lines.append(text.sliced(start));
  }
  return lines;
}

TArticleProperties SplitPropertyLine(QStringView line) {
  // Titles may hold "|" (pasted into the title edit); voice names never do.
  // So when the line ends in "|voice|count", everything before is the title.
  const qsizetype last = line.lastIndexOf(u'|');
  if (last > 0 && line.count(u'|') >= 3 && IsDecimal(line.sliced(last + 1))) {
    const qsizetype beforeLast = line.lastIndexOf(u'|', last - 1);
    return {line.first(beforeLast).toString(),
            line.sliced(beforeLast + 1, last - beforeLast - 1).toString()};
  }
  TArticleProperties props;
  const qsizetype first = line.indexOf(u'|');
  if (first < 0) {
    props.Title = line.toString();
    return props;
  }
  props.Title = line.first(first).toString();
  const qsizetype second = line.indexOf(u'|', first + 1);
  props.Voice =
      (second < 0 ? line.sliced(first + 1) : line.sliced(first + 1, second - first - 1)).toString();
  return props;
}

TArticleFileContents ParseArticleFile(QStringView text, bool endedByReadError) {
  TArticleFileContents result;
  QList<QStringView> lines = SplitArticleLines(text);
  // A read that failed inside a line never delivered that line.
  if (endedByReadError && !lines.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r')) {
    lines.removeLast();
  }
  const qsizetype n = lines.size();
  qsizetype i = 0;
  while (true) {
    if (i == n) {
      result.End =
          endedByReadError ? TArticleReadEnd::ReadErrorBetween : TArticleReadEnd::EndOfFile;
      return result;
    }
    if (lines[i] != kArticleStartMarker) {
      result.End = TArticleReadEnd::Damaged;
      return result;
    }
    ++i;
    if (i == n && endedByReadError) {
      result.End = TArticleReadEnd::ReadErrorBetween;
      return result;
    }
    // At the very end of the file the property line reads as empty.
    const TArticleProperties props = i < n ? SplitPropertyLine(lines[i++]) : TArticleProperties{};
    TArticleRecord record{props.Title, props.Voice, QString()};
    const qsizetype firstLine = i;
    while (i < n && lines[i] != kArticleEndMarker) {
      ++i;
    }
    qsizetype size = 0;
    for (qsizetype k = firstLine; k < i; ++k) {
      size += lines[k].size() + 1;
    }
    record.Text.reserve(size);
    for (qsizetype k = firstLine; k < i; ++k) {
      if (k > firstLine) {
        record.Text += u'\n';
      }
      record.Text += lines[k];
    }
    result.Records.append(std::move(record));
    if (i == n) {
      result.End = endedByReadError ? TArticleReadEnd::ReadErrorInText : TArticleReadEnd::EndOfFile;
      return result;
    }
    ++i;  // the end marker
  }
}

int ArticleLineCount(const QString& text) {
  const QString normalised = NormalisedLineBreaks(text);
  return static_cast<int>(normalised.count(u'\n')) + 1;
}

QByteArray FormatArticleRecord(const TArticleRecord& record) {
  const QString text = NormalisedLineBreaks(record.Text);
  QString out;
  out.reserve(text.size() + text.count(u'\n') + record.Title.size() + record.Voice.size() + 120);
  out += kArticleStartMarker;
  out += QStringLiteral("\r\n");
  out += OneLine(record.Title);
  out += u'|';
  out += OneLine(record.Voice);
  out += u'|';
  out += QString::number(static_cast<int>(text.count(u'\n')) + 1);
  out += QStringLiteral("\r\n");
  qsizetype start = 0;
  for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', start)) {
    out += QStringView(text).sliced(start, i - start);
    out += QStringLiteral("\r\n");
    start = i + 1;
  }
  out += QStringView(text).sliced(start);
  out += QStringLiteral("\r\n");
  out += kArticleEndMarker;
  out += QStringLiteral("\r\n");
  return out.toUtf8();
}

bool SaveArticleFile(const QString& path, const QList<TArticleRecord>& records,
                     const std::function<void()>& pump, QString* error) {
  // The articles are the user's own texts, often taken from the clipboard.
  TAtomicFileWriter writer(path, 0600);
  bool ok = writer.Open();
  for (qsizetype i = 0; ok && i < records.size(); ++i) {
    ok = writer.Write(FormatArticleRecord(records[i]));
    if (ok && pump) {
      pump();
    }
  }
  ok = ok && writer.Commit();
  if (!ok) {
    if (error != nullptr) {
      *error = writer.ErrorString();
    }
    return false;
  }
  RemoveStaleTemporaries(path);
  return true;
}

QByteArray ReadArticleDevice(QIODevice& device, bool* failed) {
  QByteArray bytes;
  *failed = false;
  if (!device.isSequential()) {
    bytes.reserve(static_cast<qsizetype>(qMax<qint64>(0, device.size() - device.pos())));
  }
  char buffer[65536];
  while (true) {
    const qint64 n = device.read(buffer, sizeof buffer);
    if (n < 0) {
      *failed = true;
      return bytes;
    }
    if (n == 0) {
      // A sequential device may simply have nothing yet.
      if (device.atEnd() || !device.isSequential() || !device.waitForReadyRead(1000)) {
        return bytes;
      }
      continue;
    }
    bytes.append(buffer, n);
  }
}
