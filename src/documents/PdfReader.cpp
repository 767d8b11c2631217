#include "PdfReader.h"

#include <poppler-qt6.h>

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <memory>

namespace {

// A header or footer line with its page number blanked out, so "Page 3" and
// "Page 4" count as the same line.
QString LineKey(const QString& line) {
  static const QRegularExpression kDigits(QStringLiteral("\\d+"));
  QString key = line.simplified().toLower();
  key.replace(kDigits, QStringLiteral("#"));
  return key;
}

// How many lines at the top and at the bottom of a page may be a header or
// a footer.
constexpr int kEdgeLines = 2;

bool EndsInBrokenWord(const QString& line) {
  if (line.size() < 2) {
    return false;
  }
  const QChar last = line.back();
  const bool hyphen = last == u'-' || last == QChar(0x2010) || last == QChar(0x00AD);
  return hyphen && line.at(line.size() - 2).isLetter();
}

// Typesetters print "fi", "fl", "ff" and the like as one glyph, and a PDF's
// text holds that glyph's own character, which some speech engines skip and
// a pronunciation list never matches.
QString SplitLigatures(const QString& line) {
  static const QHash<char16_t, QString> kLigatures{
      {0xFB00, QStringLiteral("ff")},  {0xFB01, QStringLiteral("fi")},
      {0xFB02, QStringLiteral("fl")},  {0xFB03, QStringLiteral("ffi")},
      {0xFB04, QStringLiteral("ffl")}, {0xFB05, QStringLiteral("st")},
      {0xFB06, QStringLiteral("st")}};
  QString plain;
  plain.reserve(line.size());
  for (const QChar c : line) {
    const auto ligature = kLigatures.constFind(c.unicode());
    if (ligature != kLigatures.cend()) {
      plain += *ligature;
    } else {
      plain += c;
    }
  }
  return plain;
}

}  // namespace

QString JoinPdfPages(const QList<QStringList>& pages) {
  // Lines found at a page's edges on at least half the pages (and three) are
  // running headers, footers and page numbers.
  QHash<QString, int> edgeCount;
  for (const QStringList& lines : pages) {
    QSet<QString> seen;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i < kEdgeLines || i >= lines.size() - kEdgeLines) {
        seen.insert(LineKey(lines.at(i)));
      }
    }
    for (const QString& key : std::as_const(seen)) {
      ++edgeCount[key];
    }
  }
  const int needed = qMax(3, static_cast<int>((pages.size() + 1) / 2));

  QString text;
  QString line;  // the line being built, possibly from joined pieces
  const auto flush = [&] {
    if (!line.isEmpty()) {
      if (!text.isEmpty()) {
        text += u'\n';
      }
      text += line;
      line.clear();
    }
  };
  for (const QStringList& lines : pages) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const QString piece = SplitLigatures(lines.at(i).trimmed());
      const bool edge = i < kEdgeLines || i >= lines.size() - kEdgeLines;
      if (piece.isEmpty() || (edge && edgeCount.value(LineKey(piece)) >= needed)) {
        continue;
      }
      if (EndsInBrokenWord(line) && piece.at(0).isLower()) {
        line.chop(1);
        // The rest of the word joins it; the rest of the line follows on
        // the same line so the word is whole.
        line += piece;
        continue;
      }
      flush();
      line = piece;
    }
  }
  flush();
  return text;
}

TDocument ReadPdf(const QString& path, const TDocumentProgress& progress) {
  // poppler prints what it finds wrong with a file to stderr; the user gets
  // one message from us instead.
  Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
  std::unique_ptr<Poppler::Document> pdf = Poppler::Document::load(path);
  if (!pdf) {
    throw EDocumentError(QStringLiteral("The PDF file is damaged and cannot be read"));
  }
  if (pdf->isLocked()) {
    throw EDocumentError(
        QStringLiteral("The PDF file is protected by a password and cannot be read"));
  }
  TDocument document;
  document.Title = pdf->info(QStringLiteral("Title")).simplified();
  document.Author = pdf->info(QStringLiteral("Author")).simplified();
  const int count = pdf->numPages();
  QList<QStringList> pages;
  pages.reserve(count);
  for (int i = 0; i < count; ++i) {
    if (progress && (i % 10 == 0)) {
      progress(i, count);
    }
    std::unique_ptr<Poppler::Page> page = pdf->page(i);
    pages << (page ? page->text(QRectF()).split(u'\n') : QStringList());
  }
  if (progress) {
    progress(count, count);
  }
  const QString text = JoinPdfPages(pages);
  if (text.trimmed().isEmpty()) {
    throw EDocumentError(
        QStringLiteral("The PDF file holds no text to read; its pages may be scanned images"));
  }
  document.Chapters << TDocumentChapter{document.Title, text};
  return document;
}
