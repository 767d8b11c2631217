#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

// The saved-articles file ("VLExport.txt", also the intro file "VLIntro.chl"):
// a sequence of records, each a start marker, a property line
// "title|voice|line count", the text lines and an end marker, every line ended
// by CR LF. This half needs no widgets, so the parser can be fuzzed and timed
// on its own; the article list turns records into entries.

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
  EndOfFile,         // every record read (the last may lack its end marker)
  Damaged,           // a line stood where a start marker belongs
  ReadErrorBetween,  // the file could not be read further between records
  ReadErrorInText,   // ... or in the middle of a record's text
};

struct TArticleFileContents {
  QList<TArticleRecord> Records;
  TArticleReadEnd End = TArticleReadEnd::EndOfFile;
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

// Number of text lines the record writes (the property line's third field).
int ArticleLineCount(const QString& text);

// Writes the records to path through a temporary file in the same folder that
// replaces the old file only once complete and flushed, so a crash, a kill or a
// full disk part-way leaves the old list intact. pump, when given, runs between
// records. False (with error) leaves the old file untouched.
bool SaveArticleFile(const QString& path, const QList<TArticleRecord>& records,
                     const std::function<void()>& pump = {}, QString* error = nullptr);

class QIODevice;
// Reads the device to its end. failed tells that a read error stopped it; the
// bytes read before the error are returned.
QByteArray ReadArticleDevice(QIODevice& device, bool* failed);
