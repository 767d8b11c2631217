#include "XmlDocuments.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QUrl>
#include <QXmlStreamEntityResolver>
#include <QXmlStreamReader>

#include "ZipArchive.h"

namespace {

// The named characters of HTML that XHTML pages use without declaring them.
class THtmlEntities final : public QXmlStreamEntityResolver {
 public:
  QString resolveUndeclaredEntity(const QString& name) override {
    static const QHash<QString, char16_t> kNames = {
        {QStringLiteral("nbsp"), 0x00A0},   {QStringLiteral("shy"), 0x00AD},
        {QStringLiteral("copy"), 0x00A9},   {QStringLiteral("reg"), 0x00AE},
        {QStringLiteral("deg"), 0x00B0},    {QStringLiteral("middot"), 0x00B7},
        {QStringLiteral("laquo"), 0x00AB},  {QStringLiteral("raquo"), 0x00BB},
        {QStringLiteral("ndash"), 0x2013},  {QStringLiteral("mdash"), 0x2014},
        {QStringLiteral("lsquo"), 0x2018},  {QStringLiteral("rsquo"), 0x2019},
        {QStringLiteral("sbquo"), 0x201A},  {QStringLiteral("ldquo"), 0x201C},
        {QStringLiteral("rdquo"), 0x201D},  {QStringLiteral("bdquo"), 0x201E},
        {QStringLiteral("hellip"), 0x2026}, {QStringLiteral("bull"), 0x2022},
        {QStringLiteral("euro"), 0x20AC},   {QStringLiteral("pound"), 0x00A3},
        {QStringLiteral("trade"), 0x2122},  {QStringLiteral("times"), 0x00D7},
        {QStringLiteral("eacute"), 0x00E9}, {QStringLiteral("egrave"), 0x00E8},
        {QStringLiteral("aacute"), 0x00E1}, {QStringLiteral("agrave"), 0x00E0},
        {QStringLiteral("auml"), 0x00E4},   {QStringLiteral("ouml"), 0x00F6},
        {QStringLiteral("uuml"), 0x00FC},   {QStringLiteral("szlig"), 0x00DF},
        {QStringLiteral("ccedil"), 0x00E7}, {QStringLiteral("thinsp"), 0x2009},
        {QStringLiteral("ensp"), 0x2002},   {QStringLiteral("emsp"), 0x2003},
    };
    const auto it = kNames.constFind(name);
    return it == kNames.constEnd() ? QString() : QString(QChar(*it));
  }
};

// An XML reader that refuses documents declaring their own entities: with
// them a few hundred bytes can expand to gigabytes, and nothing a document
// reader needs uses them.
class TXmlInput final {
 public:
  TXmlInput(const QByteArray& bytes, QString name) : Reader(bytes), FName(std::move(name)) {
    Reader.setNamespaceProcessing(true);
    Reader.setEntityResolver(&FEntities);
  }

  // The next token; throws on a malformed document or an entity declaration.
  QXmlStreamReader::TokenType Next() {
    const QXmlStreamReader::TokenType token = Reader.readNext();
    if (token == QXmlStreamReader::DTD && !Reader.entityDeclarations().isEmpty()) {
      throw EDocumentUnsafe(QStringLiteral("The document's part ") + FName +
                            QStringLiteral(" declares XML entities; it is not read, for safety"));
    }
    if (token == QXmlStreamReader::Invalid) {
      throw EDocumentError(QStringLiteral("The document's part ") + FName +
                           QStringLiteral(" is damaged (line %1: %2)")
                               .arg(Reader.lineNumber())
                               .arg(Reader.errorString()));
    }
    return token;
  }
  bool AtEnd() const { return Reader.atEnd(); }

  // The text inside the current element, markup dropped.
  QString ElementText() {
    QString text;
    for (int depth = 1; depth > 0 && !AtEnd();) {
      switch (Next()) {
        case QXmlStreamReader::StartElement:
          ++depth;
          break;
        case QXmlStreamReader::EndElement:
          --depth;
          break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
          text += Reader.text();
          break;
        default:
          break;
      }
    }
    return text.simplified();
  }

  void SkipElement() {
    for (int depth = 1; depth > 0 && !AtEnd();) {
      const QXmlStreamReader::TokenType token = Next();
      if (token == QXmlStreamReader::StartElement) {
        ++depth;
      } else if (token == QXmlStreamReader::EndElement) {
        --depth;
      }
    }
  }

  QXmlStreamReader Reader;

 private:
  THtmlEntities FEntities;
  QString FName;
};

const QString kDc = QStringLiteral("http://purl.org/dc/elements/1.1/");

QString Lower(QStringView s) {
  return s.toString().toLower();
}

// --- XHTML ---

bool IsHtmlBlock(const QString& name) {
  static const QSet<QString> kBlocks = {
      QStringLiteral("p"),       QStringLiteral("div"),        QStringLiteral("h1"),
      QStringLiteral("h2"),      QStringLiteral("h3"),         QStringLiteral("h4"),
      QStringLiteral("h5"),      QStringLiteral("h6"),         QStringLiteral("li"),
      QStringLiteral("ul"),      QStringLiteral("ol"),         QStringLiteral("dl"),
      QStringLiteral("dt"),      QStringLiteral("dd"),         QStringLiteral("blockquote"),
      QStringLiteral("pre"),     QStringLiteral("section"),    QStringLiteral("article"),
      QStringLiteral("header"),  QStringLiteral("footer"),     QStringLiteral("aside"),
      QStringLiteral("nav"),     QStringLiteral("table"),      QStringLiteral("tr"),
      QStringLiteral("figure"),  QStringLiteral("figcaption"), QStringLiteral("caption"),
      QStringLiteral("address"), QStringLiteral("hr"),         QStringLiteral("main"),
      QStringLiteral("body"),    QStringLiteral("details"),    QStringLiteral("summary"),
  };
  return kBlocks.contains(name);
}

bool IsHtmlHidden(const QString& name) {
  static const QSet<QString> kHidden = {
      QStringLiteral("script"),   QStringLiteral("style"),  QStringLiteral("noscript"),
      QStringLiteral("template"), QStringLiteral("svg"),    QStringLiteral("rt"),
      QStringLiteral("rp"),       QStringLiteral("object"), QStringLiteral("iframe"),
  };
  return kHidden.contains(name);
}

bool IsHeading(const QString& name) {
  return name.size() == 2 && name.at(0) == u'h' && name.at(1) >= u'1' && name.at(1) <= u'6';
}

}  // namespace

THtmlPage ReadXhtml(const QByteArray& bytes, const QString& name) {
  TXmlInput input(bytes, name);
  THtmlPage page;
  TParagraphText text;
  int pre = 0;
  QString heading;
  int headingDepth = 0;  // > 0 while inside the first heading
  int depth = 0;
  while (!input.AtEnd()) {
    const QXmlStreamReader::TokenType token = input.Next();
    if (token == QXmlStreamReader::StartElement) {
      const QString tag = Lower(input.Reader.name());
      if (tag == u"head") {
        // Only the title and the author are wanted from the head.
        for (int d = 1; d > 0 && !input.AtEnd();) {
          const QXmlStreamReader::TokenType t = input.Next();
          if (t == QXmlStreamReader::StartElement) {
            const QString inner = Lower(input.Reader.name());
            if (inner == u"title") {
              page.Title = input.ElementText();
              continue;
            }
            if (inner == u"meta" && input.Reader.attributes()
                                            .value(QStringLiteral("name"))
                                            .compare(u"author", Qt::CaseInsensitive) == 0) {
              page.Author = input.Reader.attributes()
                                .value(QStringLiteral("content"))
                                .toString()
                                .simplified();
            }
            ++d;
          } else if (t == QXmlStreamReader::EndElement) {
            --d;
          }
        }
        continue;
      }
      if (IsHtmlHidden(tag)) {
        input.SkipElement();
        continue;
      }
      ++depth;
      if (tag == u"br") {
        text.EndParagraph();
      } else if (tag == u"td" || tag == u"th") {
        text.AppendRaw(u" ");
      } else if (IsHtmlBlock(tag)) {
        text.EndParagraph();
      }
      if (tag == u"pre") {
        ++pre;
      }
      if (headingDepth == 0 && heading.isEmpty() && IsHeading(tag)) {
        headingDepth = depth;
      }
    } else if (token == QXmlStreamReader::EndElement) {
      const QString tag = Lower(input.Reader.name());
      if (IsHtmlBlock(tag)) {
        text.EndParagraph();
      }
      if (tag == u"pre" && pre > 0) {
        --pre;
      }
      if (headingDepth == depth) {
        headingDepth = -1;  // only the first heading names the page
      }
      --depth;
    } else if (token == QXmlStreamReader::Characters ||
               token == QXmlStreamReader::EntityReference) {
      const QStringView chars = input.Reader.text();
      if (pre > 0) {
        // Preformatted lines stay lines.
        const QStringList lines = chars.toString().split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
          if (i > 0) {
            text.EndParagraph();
          }
          text.AppendRaw(lines.at(i));
        }
      } else {
        text.Append(chars);
      }
      if (headingDepth > 0) {
        heading += chars;
      }
    }
  }
  page.Heading = heading.simplified();
  page.Text = text.Text();
  return page;
}

// --- EPUB ---

namespace {

// A path inside the container from an href relative to the file holding it;
// empty when it leads out of the container.
QString ResolveHref(const QString& baseFile, const QString& href) {
  QString path = QUrl::fromPercentEncoding(href.section(u'#', 0, 0).toUtf8());
  if (path.isEmpty()) {
    return QString();
  }
  const qsizetype slash = baseFile.lastIndexOf(u'/');
  if (!path.startsWith(u'/') && slash >= 0) {
    path = baseFile.left(slash + 1) + path;
  }
  path = QDir::cleanPath(path);
  while (path.startsWith(u'/')) {
    path.remove(0, 1);
  }
  if (path == u".." || path.startsWith(QStringLiteral("../"))) {
    return QString();
  }
  return path;
}

struct TManifestItem {
  QString Path;
  QString MediaType;
  QString Properties;
};

// The table of contents: chapter file -> its first label.
void ReadNcx(const QByteArray& bytes, const QString& file, QHash<QString, QString>& labels) {
  TXmlInput input(bytes, file);
  QString label;
  while (!input.AtEnd()) {
    if (input.Next() != QXmlStreamReader::StartElement) {
      continue;
    }
    const QStringView tag = input.Reader.name();
    if (tag == u"text") {
      label = input.ElementText();
    } else if (tag == u"content") {
      const QString path =
          ResolveHref(file, input.Reader.attributes().value(QStringLiteral("src")).toString());
      if (!path.isEmpty() && !label.isEmpty() && !labels.contains(path)) {
        labels.insert(path, label);
      }
      label.clear();
    }
  }
}

void ReadNav(const QByteArray& bytes, const QString& file, QHash<QString, QString>& labels) {
  TXmlInput input(bytes, file);
  int navDepth = 0;  // inside the table-of-contents nav
  int depth = 0;
  while (!input.AtEnd()) {
    const QXmlStreamReader::TokenType token = input.Next();
    if (token == QXmlStreamReader::EndElement) {
      if (depth == navDepth) {
        navDepth = 0;
      }
      --depth;
      continue;
    }
    if (token != QXmlStreamReader::StartElement) {
      continue;
    }
    ++depth;
    const QStringView tag = input.Reader.name();
    const QXmlStreamAttributes attributes = input.Reader.attributes();
    if (tag == u"nav" && navDepth == 0) {
      QString type;
      for (const QXmlStreamAttribute& a : attributes) {
        if (a.name() == u"type") {
          type = a.value().toString();
        }
      }
      if (type.split(u' ').contains(QStringLiteral("toc"))) {
        navDepth = depth;
      }
    } else if (tag == u"a" && navDepth > 0) {
      const QString path = ResolveHref(file, attributes.value(QStringLiteral("href")).toString());
      const QString label = input.ElementText();
      --depth;
      if (!path.isEmpty() && !label.isEmpty() && !labels.contains(path)) {
        labels.insert(path, label);
      }
    }
  }
}

QString EpubPackagePath(TZipArchive& archive) {
  TXmlInput input(archive.Read(QStringLiteral("META-INF/container.xml")),
                  QStringLiteral("META-INF/container.xml"));
  while (!input.AtEnd()) {
    if (input.Next() == QXmlStreamReader::StartElement && input.Reader.name() == u"rootfile") {
      const QString path = input.Reader.attributes().value(QStringLiteral("full-path")).toString();
      if (!path.isEmpty()) {
        return QDir::cleanPath(path);
      }
    }
  }
  throw EDocumentError(QStringLiteral("The EPUB book names no package file"));
}

}  // namespace

TDocument ReadEpub(TZipArchive& archive) {
  const QString opf = EpubPackagePath(archive);
  TDocument document;
  QHash<QString, TManifestItem> manifest;
  QStringList spine;
  QString ncxId;
  {
    TXmlInput input(archive.Read(opf), opf);
    while (!input.AtEnd()) {
      if (input.Next() != QXmlStreamReader::StartElement) {
        continue;
      }
      const QStringView tag = input.Reader.name();
      const QXmlStreamAttributes attributes = input.Reader.attributes();
      if (input.Reader.namespaceUri() == kDc && tag == u"title" && document.Title.isEmpty()) {
        document.Title = input.ElementText();
      } else if (input.Reader.namespaceUri() == kDc && tag == u"creator" &&
                 document.Author.isEmpty()) {
        document.Author = input.ElementText();
      } else if (tag == u"item") {
        manifest.insert(
            attributes.value(QStringLiteral("id")).toString(),
            TManifestItem{ResolveHref(opf, attributes.value(QStringLiteral("href")).toString()),
                          attributes.value(QStringLiteral("media-type")).toString(),
                          attributes.value(QStringLiteral("properties")).toString()});
      } else if (tag == u"spine") {
        ncxId = attributes.value(QStringLiteral("toc")).toString();
      } else if (tag == u"itemref") {
        spine << attributes.value(QStringLiteral("idref")).toString();
      }
    }
  }
  if (spine.isEmpty()) {
    throw EDocumentError(QStringLiteral("The EPUB book lists no chapters"));
  }

  // Labels from the table of contents; a book without one (or with a damaged
  // one) still reads, titled by its headings.
  QHash<QString, QString> labels;
  for (const TManifestItem& item : std::as_const(manifest)) {
    try {
      if (item.Properties.split(u' ').contains(QStringLiteral("nav"))) {
        ReadNav(archive.Read(item.Path), item.Path, labels);
      }
    } catch (const EDocumentError&) {
    }
  }
  if (labels.isEmpty() && manifest.contains(ncxId)) {
    try {
      const QString path = manifest.value(ncxId).Path;
      ReadNcx(archive.Read(path), path, labels);
    } catch (const EDocumentError&) {
    }
  }

  QStringList missing;
  for (const QString& id : std::as_const(spine)) {
    const TManifestItem item = manifest.value(id);
    if (item.Path.isEmpty() || !archive.Contains(item.Path)) {
      missing << (item.Path.isEmpty() ? id : item.Path);
      continue;
    }
    const THtmlPage page = ReadXhtml(archive.Read(item.Path), item.Path);
    if (page.Text.trimmed().isEmpty()) {
      continue;  // a cover picture or a blank page
    }
    TDocumentChapter chapter;
    chapter.Title = labels.value(item.Path);
    if (chapter.Title.isEmpty()) {
      chapter.Title = !page.Heading.isEmpty() ? page.Heading : page.Title;
    }
    chapter.Text = page.Text;
    document.Chapters << chapter;
  }
  if (!missing.isEmpty()) {
    document.Problems << QStringLiteral("These chapter files are missing from the book: ") +
                             missing.join(QStringLiteral(", "));
  }
  if (document.Chapters.isEmpty() && !missing.isEmpty()) {
    throw EDocumentError(document.Problems.first());
  }
  return document;
}

// --- OpenDocument text ---

namespace {

const QString kOdfText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kOdfOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kOdfMeta = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0");

void ReadOdfMeta(TZipArchive& archive, TDocument& document) {
  if (!archive.Contains(QStringLiteral("meta.xml"))) {
    return;
  }
  TXmlInput input(archive.Read(QStringLiteral("meta.xml")), QStringLiteral("meta.xml"));
  QString initialCreator;
  while (!input.AtEnd()) {
    if (input.Next() != QXmlStreamReader::StartElement) {
      continue;
    }
    const QStringView tag = input.Reader.name();
    if (input.Reader.namespaceUri() == kDc && tag == u"title") {
      document.Title = input.ElementText();
    } else if (input.Reader.namespaceUri() == kDc && tag == u"creator") {
      document.Author = input.ElementText();
    } else if (input.Reader.namespaceUri() == kOdfMeta && tag == u"initial-creator") {
      initialCreator = input.ElementText();
    }
  }
  // The one who wrote it, rather than the one who saved it last.
  if (!initialCreator.isEmpty()) {
    document.Author = initialCreator;
  }
}

// Paragraph text of an ODF body, notes gathered apart.
class TOdfText final {
 public:
  explicit TOdfText(TXmlInput& input) : FInput(input) {}

  void ReadBody() {
    while (!FInput.AtEnd()) {
      const QXmlStreamReader::TokenType token = FInput.Next();
      if (token == QXmlStreamReader::StartElement) {
        Start(FBody);
      } else if (token == QXmlStreamReader::EndElement) {
        End(FBody);
      } else if (token == QXmlStreamReader::Characters) {
        FBody.Append(FInput.Reader.text());
      }
    }
  }

  QString Text() {
    QString text = FBody.Text();
    if (!FNotes.IsEmpty()) {
      text += QStringLiteral("\n\nNotes\n") + FNotes.Text();
    }
    return text;
  }

 private:
  bool IsText() const { return FInput.Reader.namespaceUri() == kOdfText; }

  void Start(TParagraphText& out) {
    const QStringView tag = FInput.Reader.name();
    const bool text = IsText();
    if (text && (tag == u"p" || tag == u"h")) {
      out.EndParagraph();
    } else if (text && tag == u"s") {
      const int count = FInput.Reader.attributes().value(kOdfText, QStringLiteral("c")).toInt();
      out.AppendRaw(QString(qBound(1, count, 100), u' '));
    } else if (text && tag == u"tab") {
      out.AppendRaw(u"\t");
    } else if (text && tag == u"line-break") {
      out.EndParagraph();
    } else if (text && (tag == u"note")) {
      ReadNote(out);
    } else if ((text && (tag == u"tracked-changes" || tag == u"sequence-decls")) ||
               (FInput.Reader.namespaceUri() == kOdfOffice && tag == u"annotation")) {
      FInput.SkipElement();
    }
  }

  void End(TParagraphText& out) {
    const QStringView tag = FInput.Reader.name();
    if (IsText() && (tag == u"p" || tag == u"h")) {
      out.EndParagraph();
    }
  }

  // <text:note><text:note-citation>1</text:note-citation><text:note-body>...
  void ReadNote(TParagraphText& out) {
    QString citation;
    TParagraphText body;
    for (int depth = 1; depth > 0 && !FInput.AtEnd();) {
      const QXmlStreamReader::TokenType token = FInput.Next();
      if (token == QXmlStreamReader::StartElement) {
        if (IsText() && FInput.Reader.name() == u"note-citation") {
          citation = FInput.ElementText();
          continue;
        }
        ++depth;
        Start(body);
      } else if (token == QXmlStreamReader::EndElement) {
        --depth;
        if (depth > 0) {
          End(body);
        }
      } else if (token == QXmlStreamReader::Characters) {
        body.Append(FInput.Reader.text());
      }
    }
    const QString mark = QStringLiteral("[") + citation + QStringLiteral("]");
    out.AppendRaw(mark);
    FNotes.Append(mark + QStringLiteral(" ") + body.Text());
    FNotes.EndParagraph();
  }

  TXmlInput& FInput;
  TParagraphText FBody;
  TParagraphText FNotes;
};

}  // namespace

TDocument ReadOdt(TZipArchive& archive) {
  TDocument document;
  ReadOdfMeta(archive, document);
  TXmlInput input(archive.Read(QStringLiteral("content.xml")), QStringLiteral("content.xml"));
  // Skip to the text body: styles and declarations come first.
  while (!input.AtEnd()) {
    if (input.Next() == QXmlStreamReader::StartElement &&
        input.Reader.namespaceUri() == kOdfOffice && input.Reader.name() == u"body") {
      break;
    }
  }
  TOdfText text(input);
  text.ReadBody();
  document.Chapters << TDocumentChapter{document.Title, text.Text()};
  return document;
}

// --- Word documents ---

namespace {

const QString kWord =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// Paragraphs of a WordprocessingML part. Note references become "[n]".
class TWordText final {
 public:
  // Reads every paragraph, or with notesElement (footnote / endnote) every
  // note, keyed by id.
  void Read(TXmlInput& input, const QString& notesElement = QString()) {
    QString noteId;
    while (!input.AtEnd()) {
      const QXmlStreamReader::TokenType token = input.Next();
      const bool word = input.Reader.namespaceUri() == kWord;
      // A copy: skipping an element moves the reader's buffer under a view.
      const QString tag = input.Reader.name().toString();
      if (token == QXmlStreamReader::StartElement && word) {
        if (tag == notesElement) {
          noteId = input.Reader.attributes().value(kWord, QStringLiteral("id")).toString();
          const QStringView type = input.Reader.attributes().value(kWord, QStringLiteral("type"));
          if (!type.isEmpty() && type != u"normal") {
            input.SkipElement();  // separators
            noteId.clear();
          }
        } else if (tag == u"p") {
          FOut.EndParagraph();
        } else if (tag == u"tab") {
          FOut.AppendRaw(u"\t");
        } else if (tag == u"br" || tag == u"cr") {
          FOut.EndParagraph();
        } else if (tag == u"footnoteReference" || tag == u"endnoteReference") {
          const QString id =
              input.Reader.attributes().value(kWord, QStringLiteral("id")).toString();
          FReferences << qMakePair(tag == u"footnoteReference", id);
          FOut.AppendRaw(QStringLiteral("[%1]").arg(FReferences.size()));
        } else if (tag == u"delText" || tag == u"instrText") {
          input.SkipElement();
        }
      } else if (token == QXmlStreamReader::EndElement && word) {
        if (tag == u"p") {
          FOut.EndParagraph();
        } else if (tag == notesElement && !noteId.isEmpty()) {
          Notes.insert(noteId, FOut.Text().replace(u'\n', u' '));
          FOut = TParagraphText();
        }
      } else if (token == QXmlStreamReader::Characters && FInText) {
        FOut.AppendRaw(input.Reader.text());
      }
      // w:t holds text exactly as written, spaces included.
      if (word && tag == u"t") {
        FInText = token == QXmlStreamReader::StartElement;
      }
    }
  }

  QString Text() { return FOut.Text(); }

  QList<QPair<bool, QString>> FReferences;  // (footnote?, id) in reading order
  QHash<QString, QString> Notes;

 private:
  TParagraphText FOut;
  bool FInText = false;
};

QString WordMainPart(TZipArchive& archive) {
  const QString standard = QStringLiteral("word/document.xml");
  if (archive.Contains(standard) || !archive.Contains(QStringLiteral("_rels/.rels"))) {
    return standard;
  }
  TXmlInput input(archive.Read(QStringLiteral("_rels/.rels")), QStringLiteral("_rels/.rels"));
  while (!input.AtEnd()) {
    if (input.Next() == QXmlStreamReader::StartElement && input.Reader.name() == u"Relationship" &&
        input.Reader.attributes().value(QStringLiteral("Type")).endsWith(u"/officeDocument")) {
      return ResolveHref(QString(),
                         input.Reader.attributes().value(QStringLiteral("Target")).toString());
    }
  }
  return standard;
}

QHash<QString, QString> ReadWordNotes(TZipArchive& archive, const QString& part,
                                      const QString& element) {
  if (!archive.Contains(part)) {
    return {};
  }
  TXmlInput input(archive.Read(part), part);
  TWordText notes;
  notes.Read(input, element);
  return notes.Notes;
}

}  // namespace

TDocument ReadDocx(TZipArchive& archive) {
  TDocument document;
  const QString core = QStringLiteral("docProps/core.xml");
  if (archive.Contains(core)) {
    TXmlInput input(archive.Read(core), core);
    while (!input.AtEnd()) {
      if (input.Next() != QXmlStreamReader::StartElement || input.Reader.namespaceUri() != kDc) {
        continue;
      }
      if (input.Reader.name() == u"title") {
        document.Title = input.ElementText();
      } else if (input.Reader.name() == u"creator") {
        document.Author = input.ElementText();
      }
    }
  }
  const QString main = WordMainPart(archive);
  TXmlInput input(archive.Read(main), main);
  TWordText body;
  body.Read(input);
  QString text = body.Text();
  if (!body.FReferences.isEmpty()) {
    const QString folder = main.left(main.lastIndexOf(u'/') + 1);
    const QHash<QString, QString> footnotes = ReadWordNotes(
        archive, folder + QStringLiteral("footnotes.xml"), QStringLiteral("footnote"));
    const QHash<QString, QString> endnotes =
        ReadWordNotes(archive, folder + QStringLiteral("endnotes.xml"), QStringLiteral("endnote"));
    QString notes;
    for (qsizetype i = 0; i < body.FReferences.size(); ++i) {
      const auto& [footnote, id] = body.FReferences.at(i);
      const QString note = (footnote ? footnotes : endnotes).value(id);
      if (!note.isEmpty()) {
        notes += QStringLiteral("\n[%1] ").arg(i + 1) + note;
      }
    }
    if (!notes.isEmpty()) {
      text += QStringLiteral("\n\nNotes") + notes;
    }
  }
  document.Chapters << TDocumentChapter{document.Title, text};
  return document;
}

TDocument ReadZipDocument(TZipArchive& archive) {
  switch (DocumentKindOfZip(archive)) {
    case TDocumentKind::Epub:
      return ReadEpub(archive);
    case TDocumentKind::Odt:
      return ReadOdt(archive);
    case TDocumentKind::Docx:
      return ReadDocx(archive);
    default:
      throw EDocumentError(
          QStringLiteral("The file is a zip archive but no document this program reads "
                         "(EPUB, ODT or DOCX)"));
  }
}
