#pragma once

#include <QString>
#include <QStringList>

#include "Documents.h"

// A PDF's text through poppler: every page in reading order, words broken
// over a line end by a hyphen joined again, and the header and footer lines
// that repeat on most pages dropped. Throws EDocumentError for a damaged or
// locked file and for one whose pages hold no text.
TDocument ReadPdf(const QString& path, const TDocumentProgress& progress = {});

// The text of pages given as lines, cleaned as above. Kept apart from
// poppler so the cleaning can be checked on its own.
QString JoinPdfPages(const QList<QStringList>& pages);
