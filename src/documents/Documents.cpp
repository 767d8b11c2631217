#include "Documents.h"

#include <QFileInfo>

QString TDocument::JoinedText() const {
  QString text;
  for (const TDocumentChapter& chapter : Chapters) {
    if (!text.isEmpty()) {
      text += QStringLiteral("\n\n");
    }
    text += chapter.Text;
  }
  return text;
}

namespace {

// The start of the text after a byte order mark, white space and comments.
QByteArray MarkupStart(const QByteArray& head) {
  QByteArray rest = head;
  if (rest.startsWith("\xEF\xBB\xBF")) {
    rest = rest.mid(3);
  }
  for (;;) {
    rest = rest.trimmed();
    if (!rest.startsWith("<!--")) {
      return rest.left(512).toLower();
    }
    const qsizetype end = rest.indexOf("-->");
    if (end < 0) {
      return QByteArray();
    }
    rest = rest.mid(end + 3);
  }
}

}  // namespace

TDocumentKind DocumentKindOfHead(const QByteArray& head, const QString& fileName) {
  if (head.startsWith("%PDF-")) {
    return TDocumentKind::Pdf;
  }
  if (head.startsWith("PK\x03\x04")) {
    return TDocumentKind::OtherZip;
  }
  // A file the user named .txt is read as text even when it holds markup:
  // someone saving a page's source as text wants to hear the source.
  if (QFileInfo(fileName).suffix().compare(u"txt", Qt::CaseInsensitive) == 0) {
    return TDocumentKind::Text;
  }
  const QByteArray start = MarkupStart(head);
  if (start.startsWith("<!doctype html") || start.startsWith("<html") ||
      start.startsWith("<head") || start.startsWith("<body")) {
    return TDocumentKind::Html;
  }
  if (start.startsWith("<?xml") || start.startsWith("<!doctype")) {
    if (start.contains("<html") || start.contains("xhtml")) {
      return TDocumentKind::Html;
    }
  }
  return TDocumentKind::Text;
}

void TParagraphText::Append(QStringView text) {
  for (const QChar c : text) {
    if (c.isSpace() && c != QChar::Nbsp) {
      if (!FLine.isEmpty() && !FLine.endsWith(u' ')) {
        FLine += u' ';
      }
    } else {
      FLine += c;
    }
  }
}

void TParagraphText::AppendRaw(QStringView text) {
  FLine += text;
}

void TParagraphText::EndParagraph() {
  const QString line = FLine.trimmed();
  FLine.clear();
  if (line.isEmpty()) {
    return;
  }
  if (!FText.isEmpty()) {
    FText += u'\n';
  }
  FText += line;
}

QString TParagraphText::Text() {
  EndParagraph();
  return FText;
}
