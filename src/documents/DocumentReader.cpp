#include "DocumentReader.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringConverter>
#include <QTextDocument>

#include "PdfReader.h"
#include "TextDecoding.h"
#include "XmlDocuments.h"
#include "ZipArchive.h"

namespace {

// Web pages and books are small; a bigger file is no page but a mistake.
constexpr qint64 kMaxHtmlBytes = 64LL * 1024 * 1024;
// Qt's HTML reader builds a laid-out document of some 70 bytes per byte of
// the page: 8 MB of tag soup already take about half a gigabyte.
constexpr qint64 kMaxTagSoupBytes = 8LL * 1024 * 1024;

QString CannotOpen(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot open ") + path + QStringLiteral(" (") + reason +
         QStringLiteral(")");
}

QByteArray ReadHead(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return QByteArray();
  }
  return file.read(4096);
}

// Pages that are no well-formed XML go through Qt's forgiving HTML reader,
// which drops scripts and styles as a browser does.
TDocument ReadTagSoup(const QByteArray& bytes) {
  QString html;
  if (const auto encoding = QStringConverter::encodingForHtml(bytes)) {
    html = QStringDecoder(*encoding).decode(bytes);
  } else {
    html = DecodeTextFile(bytes);
  }
  QTextDocument page;
  page.setHtml(html);
  TDocument document;
  document.Title = page.metaInformation(QTextDocument::DocumentTitle).simplified();
  static const QRegularExpression kAuthor(
      QStringLiteral(R"(<meta\s+name\s*=\s*["']?author["']?\s+content\s*=\s*["']([^"']*)["'])"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch author = kAuthor.match(html);
  if (author.hasMatch()) {
    document.Author = author.captured(1).simplified();
  }
  TParagraphText text;
  const QStringList lines = page.toPlainText().split(u'\n');
  for (const QString& line : lines) {
    text.Append(line);
    text.EndParagraph();
  }
  document.Chapters << TDocumentChapter{document.Title, text.Text()};
  return document;
}

TDocument ReadHtml(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw EDocumentError(CannotOpen(path, file.errorString()));
  }
  if (file.size() > kMaxHtmlBytes) {
    throw EDocumentError(QStringLiteral("The web page ") + path +
                         QStringLiteral(" is too big to be a page"));
  }
  return ReadHtmlPage(file.readAll(), QFileInfo(path).fileName());
}

}  // namespace

TDocument ReadHtmlPage(const QByteArray& bytes, const QString& name) {
  try {
    const THtmlPage page = ReadXhtml(bytes, name);
    TDocument document;
    document.Title = page.Title.isEmpty() ? page.Heading : page.Title;
    document.Author = page.Author;
    document.Chapters << TDocumentChapter{document.Title, page.Text};
    return document;
  } catch (const EDocumentUnsafe&) {
    throw;
  } catch (const EDocumentError&) {
    if (bytes.size() > kMaxTagSoupBytes) {
      throw EDocumentError(
          QStringLiteral("The web page ") + name +
          QStringLiteral(" is too big to be read: a page that is not well-formed XHTML may hold "
                         "8 MB at most"));
    }
    return ReadTagSoup(bytes);
  }
}

TDocumentKind DocumentKindOf(const QString& path) {
  const TDocumentKind kind = DocumentKindOfHead(ReadHead(path), path);
  if (kind != TDocumentKind::OtherZip) {
    return kind;
  }
  try {
    return DocumentKindOfZip(*TZipArchive::FromFile(path));
  } catch (const EDocumentError&) {
    return TDocumentKind::OtherZip;
  }
}

TDocument ReadDocument(const QString& path, const TDocumentProgress& progress) {
  TDocument document;
  switch (DocumentKindOfHead(ReadHead(path), path)) {
    case TDocumentKind::Pdf:
      document = ReadPdf(path, progress);
      break;
    case TDocumentKind::Html:
      document = ReadHtml(path);
      break;
    case TDocumentKind::OtherZip:
    case TDocumentKind::Epub:
    case TDocumentKind::Odt:
    case TDocumentKind::Docx:
      document = ReadZipDocument(*TZipArchive::FromFile(path));
      break;
    case TDocumentKind::Text:
      throw EDocumentError(CannotOpen(path, QStringLiteral("a text file, no document")));
  }
  bool empty = true;
  for (const TDocumentChapter& chapter : std::as_const(document.Chapters)) {
    empty = empty && chapter.Text.trimmed().isEmpty();
  }
  if (empty) {
    throw EDocumentError(QStringLiteral("The document holds no text to read"));
  }
  return document;
}

QString DocumentFileFilter() {
  return QStringLiteral(
      "Documents (*.txt *.text *.html *.htm *.xhtml *.epub *.odt *.docx *.pdf);;"
      "Text files (*.txt *.text);;"
      "Web pages (*.html *.htm *.xhtml);;"
      "EPUB books (*.epub);;"
      "OpenDocument text (*.odt);;"
      "Word documents (*.docx);;"
      "PDF files (*.pdf);;"
      "All files (*)");
}
