#include "BaseUtils.h"

#include "AppPaths.h"
#include "Exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr qint64 kCopyChunk = 8192;
constexpr int kShellMaxChars = 1000;
constexpr int kMailSubjectMax = 100;

UtilsClass::TShellHandler& ShellHandler() {
  static UtilsClass::TShellHandler handler;
  return handler;
}

QString TraceFile(const QString& suffix) {
  return AppPaths::TraceBaseName() + suffix;
}

// Windows' long time format has no time zone; Qt's long format adds one.
QString LongTimeFormat(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  format.remove(u't');
  return format.trimmed();
}

// Windows' short dates carry the full year (12/7/2026); Qt's short formats
// often have two digits only, which makes old traces ambiguous.
QString ShortDateFormat(const QLocale& locale) {
  QString format = locale.dateFormat(QLocale::ShortFormat);
  if (!format.contains(QStringLiteral("yyyy"))) {
    format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
  }
  return format;
}

}  // namespace

QString UtilsClass::TraceFileName() {
  return TraceFile(QStringLiteral(".dbg"));
}

QString UtilsClass::TraceTimeStamp(const QDateTime& when) {
  return TraceTimeStamp(when, QLocale::system());
}

QString UtilsClass::TraceTimeStamp(const QDateTime& when, const QLocale& locale) {
  QString stamp = locale.toString(when.date(), ShortDateFormat(locale));
  if (when.time() != QTime(0, 0)) {
    stamp += u' ' + locale.toString(when.time(), LongTimeFormat(locale));
  }
  return stamp;
}

void UtilsClass::Trace(const QString& message) {
  // Opened and closed for every line so the file on disk is complete even if
  // the program later dies.
  QFile file(TraceFileName());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    return;
  }
  const QString line =
      TraceTimeStamp(QDateTime::currentDateTime()) + QStringLiteral(" - ") + message;
  file.write(line.toUtf8());
  file.write("\r\n", 2);
  file.close();
}

void UtilsClass::RotateTraceFiles() {
  // Copied (not moved), oldest first, so each step overwrites a file the
  // previous step has already preserved.
  QFile::remove(TraceFile(QStringLiteral("3.dbg")));
  QString failure;
  const struct {
    const char* from;
    const char* to;
  } steps[] = {{"2.dbg", "3.dbg"}, {"1.dbg", "2.dbg"}, {".dbg", "1.dbg"}};
  for (const auto& step : steps) {
    const QString from = TraceFile(QString::fromLatin1(step.from));
    if (!QFileInfo::exists(from)) {
      continue;
    }
    try {
      CopyFileChunked(from, TraceFile(QString::fromLatin1(step.to)));
    } catch (const EFileError& e) {
      failure = e.Message();
      break;
    }
  }
  if (!failure.isEmpty()) {
    // The last run's trace was not preserved: this run appends to it rather
    // than deleting the one file a report of that run's trouble needs.
    Trace(QStringLiteral("Trace rotation failed: ") + failure);
    return;
  }
  QFile::remove(TraceFileName());
}

void UtilsClass::CopyFileChunked(const QString& source, const QString& dest) {
  QString target = QFileInfo(dest).absoluteFilePath();
  if (QFileInfo(target).isDir()) {
    target = QDir::cleanPath(target + u'/' + QFileInfo(source).fileName());
  }
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) {
    throw EFileError(QStringLiteral("Cannot open file %1").arg(source));
  }
  QFile out(target);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw EFileError(QStringLiteral("Cannot create file %1").arg(target));
  }
  QByteArray buffer(kCopyChunk, Qt::Uninitialized);
  for (;;) {
    const qint64 n = in.read(buffer.data(), kCopyChunk);
    if (n > 0 && out.write(buffer.constData(), n) != n) {
      throw EFileError(QStringLiteral("Cannot create file %1").arg(target));
    }
    if (n < kCopyChunk) {
      break;
    }
  }
}

bool UtilsClass::ShellOpen(const QString& file) {
  const TShellHandler& handler = ShellHandler();
  if (!handler) {
    return false;
  }
  return handler(file.left(kShellMaxChars));
}

void UtilsClass::SetShellHandler(TShellHandler handler) {
  ShellHandler() = std::move(handler);
}

void UtilsClass::OpenLink(const QString& target) {
  ShellOpen(target);
}

QString UtilsClass::RemoveChar(const QString& text, QChar ch) {
  QString result = text;
  result.remove(ch);
  return result;
}

void UtilsClass::SendMailLink(const QString& address, const QString& subject, const QString& body) {
  // A quote breaks a command line and "&" would end the query field early.
  QString cleanSubject = RemoveChar(RemoveChar(subject, u'\''), u'&');
  const QString cleanBody = RemoveChar(RemoveChar(body, u'\''), u'&');
  if (cleanSubject.size() > kMailSubjectMax) {
    cleanSubject = cleanSubject.left(kMailSubjectMax) + QStringLiteral("...");
  }
  ShellOpen(QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") + cleanSubject +
            QStringLiteral("&Body=") + cleanBody);
}
