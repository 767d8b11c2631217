#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// The saved-articles file ("VLExport.txt", also the intro file "VLIntro.chl"):
// a sequence of records, each a start marker, a property line
// "title|voice|line count", the text lines and an end marker, every line ended
// by CR LF. This half needs no widgets, so the parser can be fuzzed and timed
// on its own; the article list turns records into entries.
//
// A text line that reads as a marker, after any number of backslashes, is
// written with one backslash more and read with one less, so no article text
// can end its record early, and files without such lines read as they always did.

inline constexpr QStringView kArticleStartMarker = u"||||||Verbalune MP3 Start of Article||||||";
inline constexpr QStringView kArticleEndMarker = u"||||||Verbalune MP3 End of Article||||||";

struct TArticleRecord {
  QString Title;
  QString Voice;
  QString Text;  // lines joined with "\n"

  bool operator==(const TArticleRecord&) const = default;
};

// How reading a file came to an end.
enum class TArticleReadEnd {
  EndOfFile,         // read to the end (the last record may lack its end marker)
  ReadErrorBetween,  // the file could not be read further between records
  ReadErrorInText,   // ... or in the middle of a record's text
};

struct TArticleFileContents {
  QList<TArticleRecord> Records;
  TArticleReadEnd End = TArticleReadEnd::EndOfFile;
  // Lines with text that stood where a start marker belongs. Reading skips
  // them and goes on at the next start marker, so one damaged line costs no
  // article after it.
  qsizetype DamagedLines = 0;

  // Everything in the file reached the records.
  bool Complete() const { return End == TArticleReadEnd::EndOfFile && DamagedLines == 0; }
};

// Text of a file we read: UTF-8 (a leading byte order mark is dropped), or
// Windows-1252 when the bytes are not valid UTF-8, so files written by the
// Windows program still open. An incomplete UTF-8 sequence at the very end
// counts as invalid.
QString DecodeArticleText(const QByteArray& bytes);

// Splits text into lines at CR LF, LF or a lone CR. A final line break does not
// start another line; empty text has no lines.
QList<QStringView> SplitArticleLines(QStringView text);

// Title and voice of a property line. The line count is not needed by readers.
struct TArticleProperties {
  QString Title;
  QString Voice;
};
TArticleProperties SplitPropertyLine(QStringView line);

// Parses decoded text. endedByReadError tells that the bytes stop where a read
// failed, so running out of lines is a read failure rather than the file's end.
TArticleFileContents ParseArticleFile(QStringView text, bool endedByReadError = false);

// The record's lines as written: markers, property line, text, CR LF after each.
QByteArray FormatArticleRecord(const TArticleRecord& record);
// The whole file: every record in order.
QByteArray FormatArticleFile(const QList<TArticleRecord>& records);

// Number of text lines the record writes (the property line's third field).
int ArticleLineCount(const QString& text);

// Writes a whole file through a temporary file in the same folder that
// replaces the old file only once complete and flushed, so a crash, a kill or a
// full disk part-way leaves the old list intact. False leaves the old file
// untouched; error then tells what failed and where, reason only why (the
// system's words, e.g. "Permission denied").
bool SaveArticleBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                      QString* reason = nullptr);
bool SaveArticleFile(const QString& path, const QList<TArticleRecord>& records,
                     QString* error = nullptr);

// Keeps a saved-articles file that did not read completely as
// "<path>.damaged-<time>" before anything replaces it: a copy, or when no copy
// can be made, the file itself moved. Returns where it was kept, or an empty
// string when it could be neither copied nor moved.
QString KeepDamagedArticleFile(const QString& path);

class QIODevice;
// Reads the device to its end. failed tells that a read error stopped it; the
// bytes read before the error are returned.
QByteArray ReadArticleDevice(QIODevice& device, bool* failed);
