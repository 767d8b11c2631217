// Saving the list to the saved-articles file and filling it from one.
#include <QFile>
#include <QPointer>

#include "ArticleFileFormat.h"
#include "BaseUtils.h"
#include "MemoListUnit.h"
#include "UserMessages.h"

namespace {

const QString kRestoreFailed = QStringLiteral("Error restoring saved articles");

}  // namespace

bool TMemoListBox::ExportList(const QString& fileName) {
  if (FExporting || FImporting) {
    // Reached through the events an export or import lets run. Writing now
    // would save a list that is still changing, and skipping would lose this
    // change, so the file is written again once the running one is done.
    if (FExporting) {
      UtilsClass::Trace(QStringLiteral("Bypass Export - already in progress"));
    }
    FPendingExport = fileName;
    return true;
  }
  QPointer<TMemoListBox> alive(this);
  bool ok = true;
  QString next = fileName;
  while (!next.isEmpty()) {
    FExporting = true;
    FPendingExport.clear();
    // A snapshot, because events that run while writing may change the list.
    QList<TArticleRecord> records;
    records.reserve(VisibleCount());
    for (const TMemoEntry* entry : std::as_const(FEntries)) {
      if (!entry->Hidden) {
        records.append({entry->Title(), entry->VoiceName(), entry->EditorText()});
      }
    }
    QString error;
    ok = SaveArticleFile(
        next, records,
        [this, &alive] {
          if (alive) {
            PumpMessages();
          }
        },
        &error);
    if (!alive) {
      return ok;  // the list went away while events ran; the file is complete
    }
    if (!ok) {
      UtilsClass::Trace(error.isEmpty() ? QStringLiteral("WriteLn failed writing PropertyString")
                                        : error);
    }
    FExporting = false;
    next = std::exchange(FPendingExport, QString());
  }
  return ok;
}

void TMemoListBox::ImportList(const QString& fileName, QMenu* popupMenu, THandler onRead,
                              THandler onReadToFile, THandler onDelete) {
  if (FImporting) {
    return;
  }
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    return;  // no file simply means no saved articles
  }
  ImportFromDevice(file, popupMenu, std::move(onRead), std::move(onReadToFile),
                   std::move(onDelete));
}

void TMemoListBox::ImportFromDevice(QIODevice& device, QMenu* popupMenu, THandler onRead,
                                    THandler onReadToFile, THandler onDelete) {
  if (FImporting) {
    return;
  }
  FImporting = true;
  bool failed = false;
  const QByteArray bytes = ReadArticleDevice(device, &failed);
  const TArticleFileContents contents = ParseArticleFile(DecodeArticleText(bytes), failed);

  QPointer<TMemoListBox> alive(this);
  bool added = false;
  for (const TArticleRecord& record : contents.Records) {
    PumpMessages();
    if (!alive) {
      return;
    }
    TMemoEntry* entry = nullptr;
    try {
      entry = Add(QString(), record.Voice);
    } catch (const Exception& e) {
      // Single-Article mode cannot replace an article that is being read.
      UtilsClass::Trace(QStringLiteral("Import error - ") + e.Message());
      UserMessages().ShowMessage(kRestoreFailed);
      break;
    }
    added = true;
    entry->SetTitle(record.Title);
    entry->OnRead = onRead;
    entry->OnReadToFile = onReadToFile;
    entry->OnDelete = onDelete;
    entry->SetPopupMenu(popupMenu);
    entry->SetEditorText(record.Text);
  }

  if (contents.End == TArticleReadEnd::ReadErrorBetween ||
      contents.End == TArticleReadEnd::ReadErrorInText) {
    UtilsClass::Trace(contents.End == TArticleReadEnd::ReadErrorBetween
                          ? QStringLiteral("Import error - ReadLn (1)")
                          : QStringLiteral("Import error - ReadLn (2)"));
    UserMessages().ShowMessage(kRestoreFailed);
  }
  for (TMemoEntry* entry : std::as_const(FEntries)) {
    entry->ScrollToStart();
  }
  FImporting = false;
  if (added) {
    ShowLastPage(FCurrentEntry);
  }
  if (!FPendingExport.isEmpty()) {
    ExportList(std::exchange(FPendingExport, QString()));
  }
}
