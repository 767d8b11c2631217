#pragma once

#include <QString>
#include <functional>

// Class-level utilities: the trace file every part of the program appends to,
// hand-offs of links and mail to the desktop, and a chunked file copy.
class UtilsClass final {
 public:
  UtilsClass() = delete;

  // Appends one time-stamped line to the current trace file. Never fails
  // towards the caller: an I/O error loses the line and nothing else.
  static void Trace(const QString& message);
  // Shifts the three previous runs' traces down one generation; called once at
  // start-up by the first instance only. A failed copy is traced into the fresh
  // current file and start-up goes on.
  static void RotateTraceFiles();

  static void OpenLink(const QString& target);
  static void SendMailLink(const QString& address, const QString& subject, const QString& body);
  static QString RemoveChar(const QString& text, QChar ch);

  // Copies source to dest (a folder means folder/source-file-name) in 8 KiB
  // chunks. Throws EFileError "Cannot open file %s" / "Cannot create file %s".
  static void CopyFileChunked(const QString& source, const QString& dest);

  // Hands a URL or document to the desktop; at most 1000 characters go through.
  static bool ShellOpen(const QString& file);

  // The desktop hand-off. The GUI installs one built on QDesktopServices; tests
  // install a recorder. Without one, ShellOpen does nothing and returns false.
  using TShellHandler = std::function<bool(const QString& url)>;
  static void SetShellHandler(TShellHandler handler);

  // File name of the current trace: base + ".dbg".
  static QString TraceFileName();
  // Time stamp as a trace line shows it (locale short date, long time; the
  // time is left out at exactly midnight).
  static QString TraceTimeStamp(const class QDateTime& when);
  static QString TraceTimeStamp(const class QDateTime& when, const class QLocale& locale);
};
