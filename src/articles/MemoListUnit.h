#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFrame>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "ArticleFileWriter.h"
#include "Exceptions.h"
#include "MemoEntryUnit.h"
#include "UserMessages.h"

class QIODevice;
class QMenu;
class QScrollBar;
class TArticleVoiceSource;

// Whether everything a saved-articles file holds became articles. A missing
// file is complete: there was nothing to read.
struct TArticleImport {
  bool Complete = true;
  QString Problem;  // why not, in a few words for the user
};

// Deleting or hiding an article that is being read.
class EMemoEntryLocked final : public Exception {
 public:
  using Exception::Exception;
};

// The main window's list of articles: entries stacked top to bottom, a fixed
// number shown at once, a scroll bar moving the window over the list, one
// current entry. Entries hidden after being read wait at the end of the list
// until DeleteHiddenEntries. Positions are 1-based among the shown entries.
class TMemoListBox final : public QFrame {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMemoListBox)

 public:
  using THandler = TMemoEntry::THandler;
  static constexpr int TitleLength = 20;
  static constexpr quint8 lmSingleArticle = 0;
  static constexpr quint8 lmMultiArticle = 1;

  // voices may be null; it must outlive the list.
  explicit TMemoListBox(const TArticleVoiceSource* voices, QWidget* parent = nullptr);
  ~TMemoListBox() override;

  // Entries shown at once (values below 1 count as 1); lays the list out again.
  void SetVisibleEntries(int count);
  int VisibleEntries() const { return FVisibleEntries; }

  // Puts text into the first blank shown entry, or into a new entry (after
  // deleting the article on screen in Single-Article mode), makes it current
  // and scrolls to the last page. Throws EMemoEntryLocked when Single-Article
  // mode would have to delete the article being read.
  TMemoEntry* Add(const QString& text, const QString& voiceName);
  void MarkEntry(int position);
  // Deletes the current entry; without one, beeps and says so.
  void DeleteSelected();
  // These throw EMemoEntryLocked, changing nothing, for an entry being read.
  void DeleteMemoEntry(TMemoEntry* entry);
  void DeleteAll();
  void HideEntry(TMemoEntry* entry);
  void DeleteHiddenEntries();
  // Removes blank entries from the end of the list (after the hidden ones).
  void DeleteBlankEntries();
  void UnlockAllEntries();
  void ScrollToTop(int position);
  void Relayout();
  // The article on screen that Single-Article mode replaces with new text:
  // the current entry when it is on screen, else the first on screen; before
  // any layout, the current entry, else the last one.
  TMemoEntry* ShownArticle() const;
  // 1-based position in the whole list (hidden entries included), or 0.
  int FindEntry(const TMemoEntry* entry) const;
  TMemoEntry* CurrentEntry() const { return FCurrentEntry; }
  int VisibleCount() const { return static_cast<int>(FEntries.size()) - FHiddenCount; }
  int HiddenCount() const { return FHiddenCount; }
  const QList<TMemoEntry*>& Entries() const { return FEntries; }
  // The focus has come into entry: it becomes current.
  void OnEntryHandler(TMemoEntry* entry);

  // Saves the shown entries: their text is taken at once and written to disk
  // in the background (an export asked for during an import waits for its
  // end). A failed write keeps the old file and is told to the user once,
  // until a later write succeeds. True once the write is under way.
  bool ExportList(const QString& fileName);
  // Waits until every export asked for is on disk; false when the last failed.
  bool WaitForExport();
  // Appends the file's articles through Add. A missing file adds nothing.
  TArticleImport ImportList(const QString& fileName, QMenu* popupMenu, THandler onRead,
                            THandler onReadToFile, THandler onDelete);
  TArticleImport ImportFromDevice(QIODevice& device, QMenu* popupMenu, THandler onRead,
                                  THandler onReadToFile, THandler onDelete);
  bool Exporting() const { return FExporting; }
  bool Importing() const { return FImporting; }

  quint8 ListMode = lmSingleArticle;
  bool ShowProperties = true;
  QColor CurrentColor;
  QColor OtherColor;
  QString LastTitle = QStringLiteral(" ");
  // Whether Single-Article mode gives new articles default titles; unset, the
  // preference SI_DefaultTitles decides. Multi-Article mode always does.
  std::function<bool()> SingleArticleDefaultTitles;
  // Lets pending events run during long operations; by default at most every
  // 15 ms, so a long import spends its time importing.
  std::function<void()> ProcessMessages;

  QScrollBar* ScrollBar;
  QWidget* ClientArea;

 signals:
  // The text or the title of an article changed (typing, pasting, or
  // the program setting it).
  void ArticleEdited();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool DefaultTitlesOn() const;
  bool IsShownOnScreen(const TMemoEntry* entry) const { return !entry->isHidden(); }
  void PlaceClientArea();
  void SetScrollMaximum(int maximum);
  void LowerScrollMaximum();
  void SetScrollPosition(int position);
  void RelayoutOrTop();
  // Scrolls so the last page shows, giving entry the focus when it is there.
  void ShowLastPage(TMemoEntry* entry);
  void FreeEntry(TMemoEntry* entry);
  void ThrottledProcessEvents();
  void PumpMessages();
  void ReportExportResults();

  const TArticleVoiceSource* FVoices;
  QList<TMemoEntry*> FEntries;
  TMemoEntry* FCurrentEntry = nullptr;
  int FVisibleEntries = 1;
  int FHiddenCount = 0;
  bool FExporting = false;
  bool FImporting = false;
  QString FPendingExport;
  QElapsedTimer FPumpClock;
  TSaveFailureNotice FSaveFailure;
  bool FLastExportOk = true;
  // Last, so it is destroyed first: it finishes its writes while the list
  // they report to still stands.
  std::unique_ptr<TArticleFileWriter> FWriter;
};
