#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextList>

#include "DocumentReader.h"
#include "PdfReader.h"
#include "SampleDocuments.h"
#include "XmlDocuments.h"
#include "ZipArchive.h"

namespace {

class DocumentsTest : public ::testing::Test {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = FDir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QString Path(const QString& name) const { return FDir.filePath(name); }

  // The message ReadDocument gives, empty when it reads the file.
  static QString Refusal(const QString& path) {
    try {
      ReadDocument(path);
    } catch (const EDocumentError& error) {
      return error.Message();
    }
    return QString();
  }

  QTemporaryDir FDir;
};

QList<TSampleChapter> ThreeChapters() {
  return {
      {QStringLiteral("one.xhtml"), QStringLiteral("The Start"),
       XhtmlPage(QStringLiteral("Chapter One"),
                 {QStringLiteral("First  words\n here."), QStringLiteral("Second &amp; last.")})},
      {QStringLiteral("cover.xhtml"), QString(),
       QByteArray("<html xmlns=\"http://www.w3.org/1999/xhtml\"><body><img src=\"c.png\"/>"
                  "</body></html>")},
      {QStringLiteral("sub/two.xhtml"), QString(),
       XhtmlPage(QStringLiteral("Chapter Two"), {QStringLiteral("Middle&nbsp;text.")})},
      {QStringLiteral("three.xhtml"), QStringLiteral("The End"),
       XhtmlPage(QString(), {QStringLiteral("Final words.")})},
  };
}

TEST_F(DocumentsTest, EpubChaptersFollowTheSpineAndTakeTheirTitlesFromTheContents) {
  for (const bool epub3 : {true, false}) {
    SCOPED_TRACE(epub3 ? "EPUB 3" : "EPUB 2");
    // Named .txt: a book is known by its bytes.
    const QString path = Write(
        QStringLiteral("book.txt"),
        MakeEpub(QStringLiteral("A Book"), QStringLiteral("Ann Author"), ThreeChapters(), epub3));
    ASSERT_EQ(DocumentKindOf(path), TDocumentKind::Epub);
    const TDocument book = ReadDocument(path);
    EXPECT_EQ(book.Title, u"A Book");
    EXPECT_EQ(book.Author, u"Ann Author");
    EXPECT_TRUE(book.Problems.isEmpty());
    // The cover holds no text and is left out.
    ASSERT_EQ(book.Chapters.size(), 3);
    EXPECT_EQ(book.Chapters[0].Title, u"The Start");
    EXPECT_EQ(book.Chapters[0].Text, u"Chapter One\nFirst words here.\nSecond & last.");
    EXPECT_EQ(book.Chapters[1].Title, u"Chapter Two");  // no label: its heading
    EXPECT_EQ(book.Chapters[1].Text, QStringLiteral("Chapter Two\nMiddle\u00A0text."));
    EXPECT_EQ(book.Chapters[2].Title, u"The End");
    EXPECT_EQ(book.Chapters[2].Text, u"Final words.");
    EXPECT_EQ(book.JoinedText(), book.Chapters[0].Text + QStringLiteral("\n\n") +
                                     book.Chapters[1].Text + QStringLiteral("\n\n") +
                                     book.Chapters[2].Text);
  }
}

TEST_F(DocumentsTest, EpubWithAMissingChapterReadsTheOthersAndNamesIt) {
  const QString path =
      Write(QStringLiteral("gap.epub"), MakeEpub(QStringLiteral("Gap"), QString(), ThreeChapters(),
                                                 true, {QStringLiteral("sub/two.xhtml")}));
  const TDocument book = ReadDocument(path);
  ASSERT_EQ(book.Chapters.size(), 2);
  EXPECT_EQ(book.Chapters[1].Title, u"The End");
  ASSERT_EQ(book.Problems.size(), 1);
  EXPECT_TRUE(book.Problems[0].contains(u"OEBPS/sub/two.xhtml")) << book.Problems[0].toStdString();
}

TEST_F(DocumentsTest, HtmlPagesGiveTheirVisibleTextOnly) {
  struct TCase {
    const char* Name;
    QByteArray Bytes;
  };
  const TCase cases[] = {
      {"page.xhtml",
       "<?xml version=\"1.0\"?><html xmlns=\"http://www.w3.org/1999/xhtml\"><head>"
       "<title>The Page</title><meta name=\"author\" content=\"Bo Writer\"/>"
       "<script>alert('no')</script></head><body><h2>Head</h2><p>One <b>bold</b> word.</p>"
       "<ul><li>Item a</li><li>Item b</li></ul><style>p{}</style><p>Two&mdash;end.</p>"
       "</body></html>"},
      // Not XML at all: unclosed tags and attributes without quotes.
      {"page.htm",
       "<!DOCTYPE html>\n<HTML><head><title>The Page</title><meta name=author content=\"Bo "
       "Writer\"><script>alert('no')</script></head><body><h2>Head</h2><p>One <b>bold</b> word."
       "<ul><li>Item a<li>Item b</ul><style>p{}</style><p>Two&mdash;end.</body></html>"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString path = Write(QString::fromLatin1(c.Name), c.Bytes);
    ASSERT_EQ(DocumentKindOf(path), TDocumentKind::Html);
    const TDocument page = ReadDocument(path);
    EXPECT_EQ(page.Title, u"The Page");
    ASSERT_EQ(page.Chapters.size(), 1);
    const QString text = page.Chapters[0].Text;
    EXPECT_FALSE(text.contains(u"alert") || text.contains(u"p{}")) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Head\nOne bold word.\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Item a")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Two\u2014end."))) << text.toStdString();
  }
}

TEST_F(DocumentsTest, OdtGivesParagraphsHeadingsListsAndNotesAtTheEnd) {
  // One written by Qt's own ODF writer...
  QTextDocument source;
  QTextCursor cursor(&source);
  cursor.insertHtml(QStringLiteral("<h1>Report</h1><p>Opening line.</p>"));
  cursor.insertList(QTextListFormat::ListDisc);
  cursor.insertText(QStringLiteral("First point"));
  cursor.insertBlock();
  cursor.insertText(QStringLiteral("Second point"));
  const QString written = Path(QStringLiteral("qt.odt"));
  QTextDocumentWriter writer(written, "odf");
  ASSERT_TRUE(writer.write(&source));
  ASSERT_EQ(DocumentKindOf(written), TDocumentKind::Odt);
  const QString text = ReadDocument(written).Chapters.value(0).Text;
  EXPECT_EQ(text, u"Report\nOpening line.\nFirst point\nSecond point");

  // ...and one with a footnote and metadata, as office suites write them.
  const QByteArray content =
      "<?xml version=\"1.0\"?><office:document-content "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
      "<text:sequence-decls><text:sequence-decl text:name=\"Figure\"/></text:sequence-decls>"
      "<text:h text:outline-level=\"1\">Title line</text:h><text:p>A<text:s text:c=\"2\"/>b"
      "<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
      "<text:note-body><text:p>The note.</text:p></text:note-body></text:note> c.</text:p>"
      "<text:list><text:list-item><text:p>Listed</text:p></text:list-item></text:list>"
      "</office:text></office:body></office:document-content>";
  const QByteArray meta =
      "<?xml version=\"1.0\"?><office:document-meta "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\"><office:meta>"
      "<dc:title>Odd Title</dc:title><meta:initial-creator>Cy First</meta:initial-creator>"
      "<dc:creator>Di Last</dc:creator></office:meta></office:document-meta>";
  const QString crafted = Write(QStringLiteral("notes.bin"),
                                MakeZip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                                         {"content.xml", content},
                                         {"meta.xml", meta}}));
  const TDocument document = ReadDocument(crafted);
  EXPECT_EQ(document.Title, u"Odd Title");
  EXPECT_EQ(document.Author, u"Cy First");
  EXPECT_EQ(document.Chapters.value(0).Text,
            u"Title line\nA  b[1] c.\nListed\n\nNotes\n[1] The note.");
}

TEST_F(DocumentsTest, DocxGivesParagraphsInOrderAndFootnotesAtTheEnd) {
  const QByteArray body =
      "<?xml version=\"1.0\"?><w:document "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>"
      "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr><w:r><w:t>Big heading</w:t></w:r></w:p>"
      "<w:p><w:r><w:t xml:space=\"preserve\">Split </w:t></w:r><w:r><w:t>run</w:t></w:r>"
      "<w:del><w:r><w:delText>gone</w:delText></w:r></w:del>"
      "<w:r><w:footnoteReference w:id=\"2\"/></w:r><w:r><w:t>.</w:t></w:r></w:p>"
      "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/></w:numPr></w:pPr><w:r><w:t>A list item</w:t>"
      "<w:tab/><w:t>tabbed</w:t></w:r></w:p>"
      "</w:body></w:document>";
  const QByteArray notes =
      "<?xml version=\"1.0\"?><w:footnotes "
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
      "<w:footnote w:type=\"separator\" w:id=\"0\"><w:p><w:r><w:t>---</w:t></w:r></w:p>"
      "</w:footnote><w:footnote w:id=\"2\"><w:p><w:r><w:t>Foot text.</w:t></w:r></w:p>"
      "</w:footnote></w:footnotes>";
  const QByteArray core =
      "<?xml version=\"1.0\"?><cp:coreProperties "
      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Word Title</dc:title>"
      "<dc:creator>Ed Author</dc:creator></cp:coreProperties>";
  const QString path =
      Write(QStringLiteral("doc.docx"), MakeZip({{"[Content_Types].xml", "<Types/>"},
                                                 {"word/document.xml", body},
                                                 {"word/footnotes.xml", notes},
                                                 {"docProps/core.xml", core}}));
  ASSERT_EQ(DocumentKindOf(path), TDocumentKind::Docx);
  const TDocument document = ReadDocument(path);
  EXPECT_EQ(document.Title, u"Word Title");
  EXPECT_EQ(document.Author, u"Ed Author");
  EXPECT_EQ(document.Chapters.value(0).Text,
            u"Big heading\nSplit run[1].\nA list item\ttabbed\n\nNotes\n[1] Foot text.");
}

TEST_F(DocumentsTest, PdfPagesJoinBrokenWordsAndDropRunningHeaders) {
  const QStringList names{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three"),
                          QStringLiteral("Four")};
  QList<QStringList> pages;
  for (int i = 1; i <= 4; ++i) {
    pages << QStringList{QStringLiteral("My Running Header"),
                         names.at(i - 1) + QStringLiteral(" starts with a hyphen-"),
                         QStringLiteral("ated word and ends."), QStringLiteral("- %1 -").arg(i)};
  }
  pages[3].insert(3, QStringLiteral("Closing line."));
  const QString path = Path(QStringLiteral("book.epub"));  // named wrongly on purpose
  WritePdf(path, QStringLiteral("Pdf Title"), pages);
  ASSERT_EQ(DocumentKindOf(path), TDocumentKind::Pdf);
  QList<QPair<int, int>> progress;
  const TDocument document =
      ReadPdf(path, [&](int done, int total) { progress << qMakePair(done, total); });
  EXPECT_EQ(document.Title, u"Pdf Title");
  QString expected;
  for (const QString& name : names) {
    expected += name + QStringLiteral(" starts with a hyphenated word and ends.\n");
  }
  expected += QStringLiteral("Closing line.");
  EXPECT_EQ(document.Chapters.value(0).Text, expected);
  ASSERT_FALSE(progress.isEmpty());
  EXPECT_EQ(progress.last(), qMakePair(4, 4));

  // A word broken over a page end joins too; a capital after the hyphen
  // starts a new line. Typeset ligatures become their letters.
  EXPECT_EQ(
      JoinPdfPages({{QStringLiteral("end of hyph-")},
                    {QStringLiteral("enation here"), QStringLiteral("x-"), QStringLiteral("Ray")}}),
      u"end of hyphenation here\nx-\nRay");
  EXPECT_EQ(JoinPdfPages({{QStringLiteral("a di\uFB00erent \uFB02our, e\uFB03-"),
                           QStringLiteral("cient \uFB01ve")}}),
            u"a different flour, efficient five");
}

TEST_F(DocumentsTest, BadDocumentsAreRefusedWithAReason) {
  const QByteArray book = MakeEpub(QStringLiteral("B"), QString(), ThreeChapters(), true);
  // Two megabytes of one letter pack into a few kilobytes.
  const QByteArray bomb = MakeZip(
      {{"mimetype", "application/epub+zip"}, {"META-INF/container.xml", QByteArray(2 << 20, 'a')}});
  const QByteArray laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE html [<!ENTITY a \"aaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><html><body><p>&b;</p></body></html>";
  const QByteArray external =
      "<?xml version=\"1.0\"?><!DOCTYPE html [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
      "<html><body><p>&x;</p></body></html>";

  QString blank = Path(QStringLiteral("blank.pdf"));
  {
    QPdfWriter writer(blank);
    QPainter painter(&writer);
    painter.fillRect(QRect(10, 10, 200, 200), Qt::black);  // a "scanned" page
  }
  QString locked;
  const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
  if (!qpdf.isEmpty()) {
    const QString plain = Path(QStringLiteral("plain.pdf"));
    WritePdf(plain, QString(), {{QStringLiteral("Secret words")}});
    locked = Path(QStringLiteral("locked.pdf"));
    ASSERT_EQ(QProcess::execute(qpdf, {QStringLiteral("--encrypt"), QStringLiteral("user"),
                                       QStringLiteral("owner"), QStringLiteral("256"),
                                       QStringLiteral("--"), plain, locked}),
              0);
  }
  struct TCase {
    QString Path;
    const char* Reason;
  };
  const TCase cases[] = {
      {Write(QStringLiteral("cut.epub"), book.left(book.size() / 2)), "damaged"},
      {Write(QStringLiteral("bomb.epub"), bomb), "for safety"},
      {Write(QStringLiteral("laughs.xhtml"), laughs), "for safety"},
      {Write(QStringLiteral("external.html"), external), "for safety"},
      {Write(QStringLiteral("soup.html"), "<html><body><p>" + QByteArray(9 << 20, 'a')), "too big"},
      {Write(QStringLiteral("other.zip"), MakeZip({{"a.txt", "x"}})), "no document"},
      {Write(QStringLiteral("broken.pdf"), "%PDF-1.4\n1 0 obj garbage"), "damaged"},
      {blank, "no text"},
      {locked, "password"},
  };
  for (const TCase& c : cases) {
    if (c.Path.isEmpty()) {
      continue;  // no qpdf to lock a PDF with
    }
    SCOPED_TRACE(c.Path.toStdString());
    const QString reason = Refusal(c.Path);
    EXPECT_TRUE(reason.contains(QLatin1String(c.Reason))) << reason.toStdString();
  }
}

}  // namespace
