// Saving the list to the saved-articles file and filling it from one.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include "ArticleFileFormat.h"
#include "BaseUtils.h"
#include "MemoListUnit.h"
#include "UserMessages.h"

namespace {

const QString kRestoreFailed = QStringLiteral("Error restoring saved articles");
const QString kSaveFailed = QStringLiteral(
    "Your articles could not be saved to \"%1\": %2.\r\rThe articles saved there before are "
    "kept. Verbalune tries again at the next change.");

}  // namespace

bool TMemoListBox::ExportList(const QString& fileName) {
  if (FImporting) {
    // Writing now would save half the list; the import writes it once done.
    FPendingExport = fileName;
    return true;
  }
  if (FExporting) {
    UtilsClass::Trace(QStringLiteral("Bypass Export - already in progress"));
    FPendingExport = fileName;
    return true;
  }
  FExporting = true;
  QList<TArticleRecord> records;
  records.reserve(VisibleCount());
  for (const TMemoEntry* entry : std::as_const(FEntries)) {
    if (!entry->Hidden) {
      records.append({entry->Title(), entry->VoiceName(), entry->EditorText()});
    }
  }
  // Only the text is made here; the slow part, flushing it to disk, happens
  // on the writer's thread.
  QByteArray bytes = FormatArticleFile(records);
  records.clear();
  if (!FWriter) {
    FWriter = std::make_unique<TArticleFileWriter>([this] {
      QMetaObject::invokeMethod(this, &TMemoListBox::ReportExportResults, Qt::QueuedConnection);
    });
  }
  FWriter->Write(fileName, std::move(bytes));
  FExporting = false;
  if (!FPendingExport.isEmpty()) {
    ExportList(std::exchange(FPendingExport, QString()));
  }
  return true;
}

bool TMemoListBox::WaitForExport() {
  if (FWriter) {
    FWriter->Wait();
  }
  ReportExportResults();
  return FLastExportOk;
}

void TMemoListBox::ReportExportResults() {
  if (!FWriter) {
    return;
  }
  for (const TArticleFileWriter::TResult& result : FWriter->TakeResults()) {
    FLastExportOk = result.Ok;
    if (result.Ok) {
      FSaveFailure.Succeeded();
      continue;
    }
    UtilsClass::Trace(QStringLiteral("WriteLn failed writing PropertyString: ") + result.Error);
    FSaveFailure.Failed(kSaveFailed.arg(QDir::toNativeSeparators(result.Path), result.Reason));
  }
}

TArticleImport TMemoListBox::ImportList(const QString& fileName, QMenu* popupMenu, THandler onRead,
                                        THandler onReadToFile, THandler onDelete) {
  if (FImporting) {
    return {};
  }
  QFile file(fileName);
  if (!QFileInfo::exists(fileName)) {
    return {};  // no file simply means no saved articles
  }
  if (!file.open(QIODevice::ReadOnly)) {
    return {false, file.errorString()};
  }
  return ImportFromDevice(file, popupMenu, std::move(onRead), std::move(onReadToFile),
                          std::move(onDelete));
}

TArticleImport TMemoListBox::ImportFromDevice(QIODevice& device, QMenu* popupMenu, THandler onRead,
                                              THandler onReadToFile, THandler onDelete) {
  if (FImporting) {
    return {};
  }
  FImporting = true;
  bool failed = false;
  const QByteArray bytes = ReadArticleDevice(device, &failed);
  const TArticleFileContents contents = ParseArticleFile(DecodeArticleText(bytes), failed);
  TArticleImport result;
  if (failed) {
    result = {false, device.errorString()};
  } else if (contents.DamagedLines > 0) {
    result = {false, QStringLiteral("%1 damaged lines skipped").arg(contents.DamagedLines)};
  }

  QPointer<TMemoListBox> alive(this);
  bool added = false;
  for (const TArticleRecord& record : contents.Records) {
    PumpMessages();
    if (!alive) {
      return result;
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
  return result;
}
