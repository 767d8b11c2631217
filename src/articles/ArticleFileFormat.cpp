#include "ArticleFileFormat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include "AtomicFile.h"
#include "TextDecoding.h"

namespace {

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

// How many backslashes stand before a marker that makes up the whole line, or
// -1 when the line is not such a line.
qsizetype MarkerEscapes(QStringView line) {
  if (!line.endsWith(u'|')) {
    return -1;
  }
  for (const QStringView marker : {kArticleStartMarker, kArticleEndMarker}) {
    if (line.endsWith(marker)) {
      const qsizetype escapes = line.size() - marker.size();
      for (qsizetype k = 0; k < escapes; ++k) {
        if (line[k] != u'\\') {
          return -1;
        }
      }
      return escapes;
    }
  }
  return -1;
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
  return DecodeTextFile(bytes);
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
    while (i < n && lines[i] != kArticleStartMarker) {
      // Blank lines between records lose nothing.
      if (!lines[i].trimmed().isEmpty()) {
        ++result.DamagedLines;
      }
      ++i;
    }
    if (i == n) {
      result.End =
          endedByReadError ? TArticleReadEnd::ReadErrorBetween : TArticleReadEnd::EndOfFile;
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
      QStringView line = lines[k];
      if (MarkerEscapes(line) > 0) {
        line = line.sliced(1);
      }
      record.Text += line;
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

namespace {

// The markers as the file's bytes: a line of text reads as one in the file
// exactly when its UTF-8 does, since no other character makes ASCII bytes.
const QByteArray& StartMarkerBytes() {
  static const QByteArray bytes = kArticleStartMarker.toUtf8();
  return bytes;
}

const QByteArray& EndMarkerBytes() {
  static const QByteArray bytes = kArticleEndMarker.toUtf8();
  return bytes;
}

qsizetype MarkerEscapes(QByteArrayView line) {
  if (!line.endsWith('|')) {
    return -1;
  }
  for (const QByteArrayView marker : {StartMarkerBytes(), EndMarkerBytes()}) {
    if (line.endsWith(marker)) {
      const qsizetype escapes = line.size() - marker.size();
      for (qsizetype k = 0; k < escapes; ++k) {
        if (line[k] != '\\') {
          return -1;
        }
      }
      return escapes;
    }
  }
  return -1;
}

// The text is turned into UTF-8 whole and cut into lines as bytes: a long
// article has far too many lines to convert one by one.
void AppendArticleRecord(QByteArray& out, const TArticleRecord& record) {
  const QByteArray text = NormalisedLineBreaks(record.Text).toUtf8();
  out += StartMarkerBytes();
  out += "\r\n";
  out += OneLine(record.Title).toUtf8();
  out += '|';
  out += OneLine(record.Voice).toUtf8();
  out += '|';
  out += QByteArray::number(static_cast<int>(text.count('\n')) + 1);
  out += "\r\n";
  qsizetype start = 0;
  while (true) {
    const qsizetype i = text.indexOf('\n', start);
    const QByteArrayView line =
        QByteArrayView(text).sliced(start, (i < 0 ? text.size() : i) - start);
    if (MarkerEscapes(line) >= 0) {
      out += '\\';
    }
    out += line;
    out += "\r\n";
    if (i < 0) {
      break;
    }
    start = i + 1;
  }
  out += EndMarkerBytes();
  out += "\r\n";
}

}  // namespace

QByteArray FormatArticleRecord(const TArticleRecord& record) {
  QByteArray out;
  out.reserve(record.Text.size() + record.Text.size() / 8 + 120);
  AppendArticleRecord(out, record);
  return out;
}

QByteArray FormatArticleFile(const QList<TArticleRecord>& records) {
  QByteArray out;
  qsizetype size = 0;
  for (const TArticleRecord& record : records) {
    size += record.Text.size() + record.Title.size() + record.Voice.size() + 120;
  }
  out.reserve(size + size / 8);
  for (const TArticleRecord& record : records) {
    AppendArticleRecord(out, record);
  }
  return out;
}

bool SaveArticleBytes(const QString& path, const QByteArray& bytes, QString* error,
                      QString* reason) {
  // A data folder removed while the program runs is made again rather than
  // losing every later save.
  QDir().mkpath(QFileInfo(path).absolutePath());
  // The articles are the user's own texts, often taken from the clipboard.
  TAtomicFileWriter writer(path, 0600);
  if (!(writer.Open() && writer.Write(bytes) && writer.Commit())) {
    if (error != nullptr) {
      *error = writer.ErrorString();
    }
    if (reason != nullptr) {
      *reason = writer.ErrorReason();
    }
    return false;
  }
  RemoveStaleTemporaries(path);
  return true;
}

bool SaveArticleFile(const QString& path, const QList<TArticleRecord>& records, QString* error) {
  return SaveArticleBytes(path, FormatArticleFile(records), error);
}

QString KeepDamagedArticleFile(const QString& path) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString target = path + QStringLiteral(".damaged-") + stamp;
  for (int n = 2; QFileInfo::exists(target); ++n) {
    target = path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
  }
  // A copy leaves the file in place, so a kill before the next save still
  // starts with the user's articles rather than the introduction.
  if (QFile::copy(path, target) || QFile::rename(path, target)) {
    return target;
  }
  return QString();
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
