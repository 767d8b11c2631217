#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include "LameUnit.h"
#include "MainWindow.h"
#include "MemoEntryUnit.h"
#include "ScratchFile.h"
#include "WordHighlighter.h"

class TMemoEntry;
class TPreferences;
class TReadingHost;
class TTTSForm;

// The reading run: reads articles aloud or into wave and MP3 files, one
// after the other, through the speech controller, and finishes file output
// with resampling and encoding. It holds the order of events between the
// window's commands and the controller's end-of-speech calls; the window
// (or the command line) supplies the list, the status line and the controls.
class TReadingRun final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TReadingRun)

 public:
  TReadingRun(TReadingHost& host, TTTSForm& speech, TPreferences& preferences,
              QObject* parent = nullptr);
  ~TReadingRun() override;

  // A run over all articles to the host's ReadDestination.
  void ReadAllArticles();
  // One article (the current one when null). length -1 reads to the end,
  // start -1 from the beginning.
  void ReadArticle(TMemoEntry* article, TReadDestination destination, int length, int start);
  // From the caret to the end, and only the selected characters (whichever
  // way the selection was made).
  void ReadFromCursor(TMemoEntry* article);
  void ReadSelection(TMemoEntry* article);

  bool PrepareOutput(TMemoEntry* article, TReadDestination destination);
  void StartReading(TMemoEntry* article, TReadDestination destination, int start, int length);
  // Completes the file output (deleteWave: throws it away). False when the
  // run must not go on: the output failed (the user has been told and no
  // unfinished file is left), or its conversion was stopped.
  bool FinishFileOutput(bool deleteWave);
  void ResetAfterFailure(TMemoEntry* article);

  // End-of-speech handlers given to the controller.
  void ArticleRunDone();
  void SingleReadDone();
  void SpeakTextDone();

  void WordPositionHandler(quint32 byteOffset);

  void PauseReading();
  void ResumeReading();
  void SkipArticle();
  // Stops whatever is spoken now; no end-of-speech handler runs for it.
  void AbortReading();

  // Speaks a text that is no article (voice test, spoken help).
  void SpeakText(const QString& text, const QString& voiceName);

  // Whether the controller's engine is open.
  bool EngineActive() const;
  // The article being read, null when none.
  TMemoEntry* Article() const { return FArticle; }
  // A file output opened by PrepareOutput and not yet finished.
  bool FileOutputOpen() const { return FFileOutputOpen; }
  // The files the last file run was to write, in order.
  QStringList RunOutputs() const { return FRunOutputList; }

  // The tags of an audio file read from article: its title; the document's
  // title and author, or the program's name and the voice; track "N/M" when
  // total > 0.
  static TAudioTags TagsFor(const TMemoEntry& article, int track, int total);

  // The Exit command: a running resampling or encoding stops, and what the
  // unfinished output wrote is removed.
  void StopConversion();

  // Lets pending events run during resampling and encoding; the program's
  // event loop by default.
  std::function<void()> ProcessEvents;

 private:
  TRunState State() const;
  void TitleRequired(TMemoEntry* article, const QString& message);
  void EndRun();
  void ForgetArticle();
  bool DeleteFileTraced(const QString& fileName);
  // A file output still open when another reading starts: what it wrote is
  // cut off and must not pass for a whole file.
  void AbandonFileOutput();
  // Removes what an unfinished output wrote: the working files and, for
  // WAV output, the article's file itself.
  void DiscardOutput();
  bool OutputFailed(const QString& reason);
  bool ConvertToMp3();
  void KeepSpeechAfterFailedEncoding(const QString& message);
  void BeginFileRun();

  TReadingHost& FHost;
  TTTSForm& FSpeech;
  TPreferences& FPreferences;
  QPointer<TMemoEntry> FArticle;
  TWordHighlighter FHighlighter;
  TMp3Encoder FEncoder;
  bool FFileOutputOpen = false;
  bool FConversionAborted = false;
  bool FConversionSkipped = false;
  bool FConverting = false;
  // Why the running conversion failed, to be told with what became of the
  // speech.
  QString FConversionFailure;
  // The article's own file of the output being written, and the working
  // files of an MP3 output.
  QString FOutputPath;
  TScratchFile FWaveScratch;
  TScratchFile FWave44Scratch;
  // Files written by this run: a later article of the same title gets a
  // numbered name instead of replacing them.
  QSet<QString> FRunOutputs;
  QStringList FRunOutputList;
  // Tags of the file being written; a multiple-files run numbers its files.
  TAudioTags FTags;
  int FTrack = 0;
  int FTrackTotal = 0;
};
