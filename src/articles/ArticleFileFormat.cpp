#include "ArticleFileFormat.h"

#include <QDir>
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
