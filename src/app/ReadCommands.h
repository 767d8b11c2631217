#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QMimeData;
class TForm1;
class TMemoEntry;
class TPreferences;
class TReadingHost;
class TReadingRun;
class TTTSForm;

// The main window's reading commands: Read Aloud, Read to File, Pause,
// Skip, Stop, reading from the cursor or the selection, an article's own
// Read buttons and opening text files. Wired to the toolbar, the Read menu
// and the article menu; the notification-area menu and the floating toolbar
// trigger the Read menu's items. The run itself is TReadingRun.
class TReadCommands final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TReadCommands)

 public:
  TReadCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences);
  ~TReadCommands() override;

  TReadingRun& Run() const { return *FRun; }

  void PlayAllBtnClick();
  void PlayFileBtnClick();
  void PauseBtnClick();
  void SkipBtnClick();
  void StopBtnClick();
  void ReadfromCursor1Click();
  void ReadHighlighted1Click();
  void ArticleReadClick(TMemoEntry* entry);
  void ArticleReadToFileClick(TMemoEntry* entry);
  void ReadFileBtnClick();
  // The open dialog's work once files are chosen (also files dropped on the
  // window): text files as one article each, documents as one article or,
  // in Multi-Article mode, one per chapter.
  void OpenTextFiles(const QStringList& files);
  // Files given to the program (its command line, a second start): opened
  // like the open dialog's choice once the saved list is in and no other
  // open is under way; until then they wait, in the order they came.
  void OpenFilesWhenReady(const QStringList& files);
  void SpeakText(const QString& text, const QString& voiceName);

  // Asks for the text files to open (several only when multiple is set),
  // starting in directory; empty when cancelled. An open dialog by default.
  std::function<QStringList(bool multiple, const QString& directory)> ChooseTextFiles;

  // The local files in a drag, empty when it carries none.
  static QStringList DroppedFiles(const QMimeData* data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Read to File needs an existing output folder; otherwise the File
  // Options page is brought up with the reason.
  bool CheckOutputDirectory();
  void SetPauseCaptions(bool paused);
  void OpenText(const QString& file);
  void OpenDocument(const QString& file);
  // Reads an opened article at once when the user asked for that.
  void AutoSpeak(TMemoEntry* entry);

  TForm1& FForm;
  TTTSForm& FSpeech;
  TPreferences& FPreferences;
  std::unique_ptr<TReadingHost> FHost;
  TReadingRun* FRun;
  bool FOpening = false;
  QStringList FWaitingFiles;
};

// The main window's reading commands; null before the forms are created.
extern TReadCommands* ReadCommands;
// Creates them for the main window and the speech controller.
TReadCommands* AttachReadCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences);
