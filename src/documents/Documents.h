#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "Exceptions.h"

// A document that cannot be read; the message says why in words the user
// knows, and nothing of it becomes an article.
class EDocumentError : public Exception {
 public:
  using Exception::Exception;
};

// A document refused for safety: entity expansion, a zip bomb. No other
// reader is tried on it.
class EDocumentUnsafe : public EDocumentError {
 public:
  using EDocumentError::EDocumentError;
};

// One part of a document that becomes an article of its own in Multi-Article
// mode: an EPUB chapter, or the whole of any other document.
struct TDocumentChapter {
  QString Title;
  QString Text;
};

struct TDocument {
  QString Title;
  QString Author;
  QList<TDocumentChapter> Chapters;
  // Parts that could not be read while the rest could (a chapter file
  // missing from an EPUB); the user hears of them once the rest is added.
  QStringList Problems;

  // Every chapter in one text, chapters separated by a blank line.
  QString JoinedText() const;
};

// What a file is, judged by its bytes; the name only breaks a tie between
// text and HTML, so a renamed PDF or EPUB still opens as what it is.
enum class TDocumentKind { Text, Html, Epub, Odt, Docx, Pdf, OtherZip };

// head: the file's first bytes (a few kilobytes are plenty). Zip containers
// are told apart by DocumentKindOfZip.
TDocumentKind DocumentKindOfHead(const QByteArray& head, const QString& fileName);

// Called now and then by readers of long documents: done of total pages.
using TDocumentProgress = std::function<void(int done, int total)>;

// Paragraph text gathered from markup: runs of white space collapse into one
// space, paragraphs are kept one per line, and empty ones dropped.
class TParagraphText final {
 public:
  void Append(QStringView text);
  // Text added as is (preformatted text, tabs, line breaks).
  void AppendRaw(QStringView text);
  void EndParagraph();
  QString Text();
  bool IsEmpty() const { return FText.isEmpty() && FLine.trimmed().isEmpty(); }

 private:
  QString FText;
  QString FLine;
};
