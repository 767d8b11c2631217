#pragma once

#include <QByteArray>
#include <QString>

#include "Documents.h"

class TZipArchive;

// Readers of the XML-based formats. Each throws EDocumentError with a message
// for the user when the document cannot be read. None resolves entities a
// document declares itself, nor anything outside the document.

// An XHTML or well-formed HTML page: its visible text, its <title>, its author
// meta tag and its first heading. Throws when the bytes are not well-formed.
struct THtmlPage {
  QString Title;
  QString Author;
  QString Heading;
  QString Text;
};
THtmlPage ReadXhtml(const QByteArray& bytes, const QString& name);

// The containers, read from an open archive.
TDocument ReadEpub(TZipArchive& archive);
TDocument ReadOdt(TZipArchive& archive);
TDocument ReadDocx(TZipArchive& archive);

// The whole file, by kind; Text, Html and Pdf are left to the callers that
// own those readers.
TDocument ReadZipDocument(TZipArchive& archive);
