// Writes sample documents and opens documents, for the end-to-end tests and
// the benchmarks:
//   documents_cli epub PATH CHAPTERS [MISSING [PARAGRAPHS]]
//                                      a book of CHAPTERS chapters of two
//                                      paragraphs (or PARAGRAPHS), chapter
//                                      MISSING (0: none) listed but left out
//   documents_cli pdf PATH PAGES       a PDF of PAGES pages
//   documents_cli open PATH            reads PATH, prints chapters and characters
//   documents_cli chapters PATH DIR    writes each chapter's text to DIR/N.txt
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "DocumentReader.h"
#include "SampleDocuments.h"

namespace {

const char* const kSentences[] = {
    "The lighthouse keeper wrote down the weather every morning before the gulls woke.",
    "A small boat came in with the tide, its sail patched with a flour sack.",
    "Nobody in the village remembered who had planted the crooked pear tree.",
    "By noon the fog had lifted and the hills stood sharp against the sky.",
    "She counted the steps to the lamp room twice, and got two different answers.",
    "In the evening the wind turned, and the smell of rain came over the water.",
};

QString Paragraph(int seed, int sentences) {
  QString text;
  for (int i = 0; i < sentences; ++i) {
    if (i > 0) {
      text += u' ';
    }
    text += QString::fromLatin1(kSentences[(seed + i) % std::size(kSentences)]);
  }
  return text;
}

int Usage() {
  std::fputs(
      "usage: documents_cli epub PATH CHAPTERS [MISSING [PARAGRAPHS]] | pdf PATH PAGES |"
      " open PATH |"
      " chapters PATH DIR\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 3) {
    return Usage();
  }
  const QString& command = args.at(1);
  const QString& path = args.at(2);
  const int count = args.size() > 3 ? args.at(3).toInt() : 0;
  if (command == u"epub" && count > 0) {
    const int paragraphs = args.size() > 5 ? args.at(5).toInt() : 0;
    QList<TSampleChapter> chapters;
    for (int i = 1; i <= count; ++i) {
      QStringList text{Paragraph(i, 4), Paragraph(i + 2, 3)};
      for (int p = 2; p < paragraphs; ++p) {
        text << Paragraph(i + p, 4);
      }
      chapters << TSampleChapter{QStringLiteral("chapter%1.xhtml").arg(i),
                                 QStringLiteral("Chapter %1").arg(i),
                                 XhtmlPage(QStringLiteral("Chapter %1").arg(i), text)};
    }
    QStringList missing;
    if (args.size() > 4 && args.at(4).toInt() > 0) {
      missing << QStringLiteral("chapter%1.xhtml").arg(args.at(4).toInt());
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(MakeEpub(QStringLiteral("The Lighthouse"), QStringLiteral("A. Keeper"), chapters,
                            true, missing)) < 0) {
      return 1;
    }
    return 0;
  }
  if (command == u"pdf" && count > 0) {
    QList<QStringList> pages;
    for (int i = 1; i <= count; ++i) {
      QStringList lines{QStringLiteral("The Lighthouse")};
      for (int line = 0; line < 20; ++line) {
        lines << QString::fromLatin1(kSentences[(i + line) % std::size(kSentences)]);
      }
      lines << QStringLiteral("Page %1").arg(i);
      pages << lines;
    }
    WritePdf(path, QStringLiteral("The Lighthouse"), pages);
    return 0;
  }
  if (command == u"chapters" && args.size() > 3) {
    try {
      const TDocument document = ReadDocument(path);
      for (qsizetype i = 0; i < document.Chapters.size(); ++i) {
        QFile out(
            QDir(args.at(3)).filePath(QStringLiteral("%1.txt").arg(i + 1, 3, 10, QChar(u'0'))));
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(document.Chapters.at(i).Text.toUtf8()) < 0) {
          return 1;
        }
      }
      return 0;
    } catch (const EDocumentError& error) {
      std::fprintf(stderr, "%s\n", error.what());
      return 1;
    }
  }
  if (command == u"open") {
    try {
      const TDocument document = ReadDocument(path);
      qsizetype characters = 0;
      for (const TDocumentChapter& chapter : document.Chapters) {
        characters += chapter.Text.size();
      }
      std::printf("%lld chapters, %lld characters\n",
                  static_cast<long long>(document.Chapters.size()),
                  static_cast<long long>(characters));
      return 0;
    } catch (const EDocumentError& error) {
      std::fprintf(stderr, "%s\n", error.what());
      return 1;
    }
  }
  return Usage();
}
