#include "SampleDocuments.h"

#include <zip.h>

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <stdexcept>

QByteArray MakeZip(const TZipEntries& entries) {
  QTemporaryFile file;
  if (!file.open()) {
    throw std::runtime_error("no temporary file");
  }
  const QByteArray path = file.fileName().toLocal8Bit();
  file.close();
  int code = 0;
  zip_t* archive = zip_open(path.constData(), ZIP_TRUNCATE | ZIP_CREATE, &code);
  if (archive == nullptr) {
    throw std::runtime_error("zip_open");
  }
  for (qsizetype i = 0; i < entries.size(); ++i) {
    const QByteArray& data = entries.at(i).second;
    zip_source_t* source =
        zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    const zip_int64_t index =
        zip_file_add(archive, entries.at(i).first.constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      throw std::runtime_error("zip_file_add");
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                             i == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
  }
  if (zip_close(archive) != 0) {
    throw std::runtime_error("zip_close");
  }
  QFile written(file.fileName());
  written.open(QIODevice::ReadOnly);
  return written.readAll();
}

QByteArray XhtmlPage(const QString& heading, const QStringList& paragraphs) {
  QString page = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>page</title>"
      "<style>p { color: red }</style></head>\n<body>");
  if (!heading.isEmpty()) {
    page += QStringLiteral("<h1>") + heading + QStringLiteral("</h1>\n");
  }
  for (const QString& p : paragraphs) {
    page += QStringLiteral("<p>") + p + QStringLiteral("</p>\n");
  }
  page += QStringLiteral("<script>var hidden = 1;</script></body></html>");
  return page.toUtf8();
}

QByteArray MakeEpub(const QString& title, const QString& author,
                    const QList<TSampleChapter>& chapters, bool epub3, const QStringList& missing) {
  QString manifest;
  QString spine;
  QString toc;
  for (qsizetype i = chapters.size() - 1; i >= 0; --i) {
    manifest +=
        QStringLiteral("<item id=\"c%1\" href=\"%2\" media-type=\"application/xhtml+xml\"/>\n")
            .arg(i)
            .arg(chapters.at(i).File);
  }
  for (qsizetype i = 0; i < chapters.size(); ++i) {
    spine += QStringLiteral("<itemref idref=\"c%1\"/>\n").arg(i);
    if (chapters.at(i).Label.isEmpty()) {
      continue;
    }
    if (epub3) {
      toc += QStringLiteral("<li><a href=\"%1#start\">%2</a></li>\n")
                 .arg(chapters.at(i).File, chapters.at(i).Label);
    } else {
      toc += QStringLiteral(
                 "<navPoint id=\"n%1\" playOrder=\"%1\"><navLabel><text>%2</text></navLabel>"
                 "<content src=\"%3\"/></navPoint>\n")
                 .arg(i + 1)
                 .arg(chapters.at(i).Label, chapters.at(i).File);
    }
  }
  QString opf = QStringLiteral(
                    "<?xml version=\"1.0\"?>\n<package xmlns=\"http://www.idpf.org/2007/opf\" "
                    "version=\"%1\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
                    "<dc:title>%2</dc:title><dc:creator>%3</dc:creator></metadata>\n<manifest>\n")
                    .arg(epub3 ? QStringLiteral("3.0") : QStringLiteral("2.0"), title, author);
  opf += manifest;
  opf += epub3 ? QStringLiteral(
                     "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
                     "properties=\"nav\"/>\n</manifest><spine>\n")
               : QStringLiteral(
                     "<item id=\"ncx\" href=\"toc.ncx\" "
                     "media-type=\"application/x-dtbncx+xml\"/>\n</manifest><spine toc=\"ncx\">\n");
  opf += spine + QStringLiteral("</spine></package>\n");

  TZipEntries entries;
  entries << qMakePair(QByteArray("mimetype"), QByteArray("application/epub+zip"));
  entries << qMakePair(
      QByteArray("META-INF/container.xml"),
      QByteArray("<?xml version=\"1.0\"?><container version=\"1.0\" "
                 "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
                 "<rootfile full-path=\"OEBPS/content.opf\" "
                 "media-type=\"application/oebps-package+xml\"/></rootfiles></container>"));
  entries << qMakePair(QByteArray("OEBPS/content.opf"), opf.toUtf8());
  if (epub3) {
    entries << qMakePair(
        QByteArray("OEBPS/nav.xhtml"),
        (QStringLiteral("<?xml version=\"1.0\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
                        "xmlns:epub=\"http://www.idpf.org/2007/ops\"><body>"
                        "<nav epub:type=\"landmarks\"><ol><li><a href=\"c_wrong.xhtml\">Wrong</a>"
                        "</li></ol></nav><nav epub:type=\"toc\"><ol>") +
         toc + QStringLiteral("</ol></nav></body></html>"))
            .toUtf8());
  } else {
    entries << qMakePair(
        QByteArray("OEBPS/toc.ncx"),
        (QStringLiteral(
             "<?xml version=\"1.0\"?><ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" "
             "version=\"2005-1\"><navMap>") +
         toc + QStringLiteral("</navMap></ncx>"))
            .toUtf8());
  }
  for (const TSampleChapter& chapter : chapters) {
    if (!missing.contains(chapter.File)) {
      entries << qMakePair((QStringLiteral("OEBPS/") + chapter.File).toUtf8(), chapter.Body);
    }
  }
  return MakeZip(entries);
}

void WritePdf(const QString& path, const QString& title, const QList<QStringList>& pages) {
  QPdfWriter writer(path);
  writer.setTitle(title);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(72);
  QPainter painter(&writer);
  QFont font = painter.font();
  font.setPointSize(10);
  painter.setFont(font);
  for (qsizetype i = 0; i < pages.size(); ++i) {
    if (i > 0) {
      writer.newPage();
    }
    int y = 30;
    for (const QString& line : pages.at(i)) {
      painter.drawText(30, y, line);
      y += 18;
    }
  }
}
