#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Sample documents the tests build for themselves.
using TZipEntries = QList<QPair<QByteArray, QByteArray>>;  // name (UTF-8), bytes

// A zip file with these members, the first stored, the rest deflated.
QByteArray MakeZip(const TZipEntries& entries);

struct TSampleChapter {
  QString File;   // inside OEBPS/
  QString Label;  // table-of-contents label, may be empty
  QByteArray Body;
};

// An EPUB 3 book (nav document) or an EPUB 2 book (NCX). The spine lists the
// chapters in the given order; the manifest lists them reversed. Chapters
// named in missing are listed but not stored.
QByteArray MakeEpub(const QString& title, const QString& author,
                    const QList<TSampleChapter>& chapters, bool epub3,
                    const QStringList& missing = {});

// An XHTML chapter with a heading and paragraphs.
QByteArray XhtmlPage(const QString& heading, const QStringList& paragraphs);

// An A4 PDF with one page per list entry, each page the given lines in order
// (lines of up to about 90 characters fit its width).
void WritePdf(const QString& path, const QString& title, const QList<QStringList>& pages);
