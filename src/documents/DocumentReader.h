#pragma once

#include <QString>

#include "Documents.h"

// What a file is, judged by its first bytes (and a zip container by its
// members). Text files stay with the text-file path.
TDocumentKind DocumentKindOf(const QString& path);

// Reads any document kind but Text; throws EDocumentError with the message
// for the user.
TDocument ReadDocument(const QString& path, const TDocumentProgress& progress = {});

// A web page's bytes: as XHTML when they are well-formed, else as a browser
// reads tag soup. Needs a QGuiApplication.
TDocument ReadHtmlPage(const QByteArray& bytes, const QString& name);

// File dialog filters: "Documents (...)" first, then each kind.
QString DocumentFileFilter();
