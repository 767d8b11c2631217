#include "ReadingRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include "BaseUtils.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "ReadingHost.h"
#include "TTS.h"
#include "TTSFilter.h"
#include "TTSUnit.h"
#include "UserMessages.h"

namespace {

const QString kTitleForFile = QStringLiteral(
    "A title is required to output speech to a file\r\rIn Single Article mode, "
    "you can use the Generate\rDefault Article Titles option to generate titles\r"
    "automatically");
const QString kTitleForMultipleFiles =
    QStringLiteral("A title is required for each item entry when\routputting to multiple files");

// A wave file the engine completed without a sample: speech skipped or
// stopped before its first word. There is nothing to encode.
bool HoldsNoSpeech(const QString& waveFile) {
  try {
    TWaveFileReader reader;
    reader.Open(waveFile);
    return reader.DataSize() == 0;
  } catch (const Exception&) {
    return false;
  }
}

bool IsFileDestination(quint8 destination) {
  return destination == rdSingleFile || destination == rdMultipleFiles;
}

}  // namespace

TReadingRun::TReadingRun(TReadingHost& host, TTTSForm& speech, TPreferences& preferences,
                         QObject* parent)
    : QObject(parent),
      ProcessEvents([] { QCoreApplication::processEvents(); }),
      FHost(host),
      FSpeech(speech),
      FPreferences(preferences),
      FEncoder(TEncodeCallbacks{[this](int position) {
                                  if (QProgressBar* gauge = FHost.ProgressGauge()) {
                                    gauge->setValue(position);
                                  }
                                },
                                [this] {
                                  if (ProcessEvents) {
                                    ProcessEvents();
                                  }
                                },
                                [this](const QString& message) { FConversionFailure = message; }}) {
}

TReadingRun::~TReadingRun() {
  if (FSpeech.TTS1 != nullptr) {
    FSpeech.TTS1->OnWordPosition = nullptr;
  }
}

TRunState TReadingRun::State() const {
  return FHost.RunState();
}

bool TReadingRun::EngineActive() const {
  return FSpeech.TTS1 != nullptr && FSpeech.TTS1->Active();
}

TAudioTags TReadingRun::TagsFor(const TMemoEntry& article, int track, int total) {
  TAudioTags tags;
  tags.Title = article.Title().trimmed();
  tags.Album =
      article.DocumentTitle.isEmpty() ? QStringLiteral("Verbalune MP3") : article.DocumentTitle;
  tags.Artist = article.DocumentAuthor.isEmpty() ? article.VoiceName() : article.DocumentAuthor;
  if (total > 0) {
    tags.Track = QStringLiteral("%1/%2").arg(track).arg(total);
  }
  tags.Genre = QStringLiteral("Speech");
  return tags;
}

void TReadingRun::StopConversion() {
  FConversionAborted = true;
  FEncoder.SetAbort(true);
  if (State() == rsExiting && (FFileOutputOpen || FConverting)) {
    // Nothing of this output will be finished: the engine is reset and the
    // program ends.
    FFileOutputOpen = false;
    DiscardOutput();
  }
}

void TReadingRun::BeginFileRun() {
  FRunOutputs.clear();
  FRunOutputList.clear();
  // Working files of a run that was killed; those of a run still going (in
  // this folder by another instance or a render) are locked and stay.
  const int stale = RemoveStaleScratchFiles(FPreferences.OUT_Directory);
  if (stale > 0) {
    UtilsClass::Trace(QStringLiteral("Removed %1 working files of an earlier run").arg(stale));
  }
}

// --- starting ---

void TReadingRun::TitleRequired(TMemoEntry* article, const QString& message) {
  if (!FHost.WindowVisible()) {
    FHost.RestoreWindow();
  }
  article->ChangeVoice();
  UserMessages().ShowMessage(message);
}

void TReadingRun::ReadAllArticles() {
  TMemoListBox* list = FHost.Articles();
  if (list == nullptr) {
    return;
  }
  const TReadDestination destination = FHost.ReadDestination();
  if (destination == rdMultipleFiles) {
    for (int i = 0; i < list->VisibleCount(); ++i) {
      TMemoEntry* entry = list->Entries().at(i);
      if (entry->Title().trimmed().isEmpty()) {
        if (!FHost.WindowVisible()) {
          FHost.RestoreWindow();
        }
        list->MarkEntry(i + 1);
        entry->ChangeVoice();
        UserMessages().ShowMessage(kTitleForMultipleFiles);
        return;
      }
    }
  }
  if (list->VisibleCount() == 0) {
    return;
  }
  if (IsFileDestination(destination)) {
    BeginFileRun();
  }
  TMemoEntry* first = list->Entries().first();
  list->MarkEntry(1);
  FTrack = 0;
  FTrackTotal = destination == rdMultipleFiles ? list->VisibleCount() : 0;
  FSpeech.OnSpeechDone = [this](QObject*) { ArticleRunDone(); };
  if (PrepareOutput(first, destination)) {
    StartReading(first, destination, -1, -1);
  }
}

void TReadingRun::ReadArticle(TMemoEntry* article, TReadDestination destination, int length,
                              int start) {
  // A conversion lets events run; a reading started in the middle of it
  // would be overtaken by the run continuing after it.
  if (State() == rsConverting || State() == rsExiting) {
    UtilsClass::Trace(QStringLiteral("ReadArticle ignored while converting or exiting"));
    return;
  }
  TMemoListBox* list = FHost.Articles();
  if (list == nullptr) {
    return;
  }
  list->UnlockAllEntries();
  if (article == nullptr) {
    article = list->CurrentEntry();
  }
  if (article == nullptr) {
    return;
  }
  FSpeech.OnSpeechDone = [this](QObject*) { SingleReadDone(); };
  FTrackTotal = 0;
  if (IsFileDestination(destination)) {
    BeginFileRun();
  }
  if (PrepareOutput(article, destination)) {
    StartReading(article, destination, start, length);
  }
}

void TReadingRun::ReadFromCursor(TMemoEntry* article) {
  if (article == nullptr && FHost.Articles() != nullptr) {
    article = FHost.Articles()->CurrentEntry();
  }
  if (article == nullptr) {
    return;
  }
  ReadArticle(article, rdSpeakers, -1, article->Editor->textCursor().position());
}

void TReadingRun::ReadSelection(TMemoEntry* article) {
  if (article == nullptr && FHost.Articles() != nullptr) {
    article = FHost.Articles()->CurrentEntry();
  }
  if (article == nullptr) {
    return;
  }
  // The cursor's own start and end are the same whichever way the
  // selection was dragged.
  const QTextCursor cursor = article->Editor->textCursor();
  const int length = cursor.selectionEnd() - cursor.selectionStart();
  if (length <= 0) {
    return;
  }
  ReadArticle(article, rdSpeakers, length, cursor.selectionStart());
}

bool TReadingRun::PrepareOutput(TMemoEntry* article, TReadDestination destination) {
  if (FFileOutputOpen) {
    AbandonFileOutput();
  }
  if (destination != rdSpeakers && article->Title().trimmed().isEmpty()) {
    TitleRequired(article, kTitleForFile);
    return false;
  }
  if (destination == rdSpeakers) {
    return true;
  }
  const TMemoListBox* list = FHost.Articles();
  const int number = list != nullptr ? qMax(1, list->FindEntry(article)) : 1;
  const bool mp3 = FPreferences.OUT_FileFormat == kOutputMp3;
  const QString directory = FPreferences.OUT_Directory;
  FOutputPath = OutputFilePath(directory, FileTitle(article->Title(), number),
                               mp3 ? QStringLiteral(".mp3") : QStringLiteral(".wav"), FRunOutputs);
  FRunOutputs.insert(FOutputPath);
  FRunOutputList << FOutputPath;
  if (mp3) {
    // The engine's wave goes to a working file of our own; a missing folder
    // is told by the controller, as for WAV output.
    if (QDir(directory).exists() && !FWaveScratch.Create(directory, QStringLiteral(".wav"))) {
      UtilsClass::Trace(FWaveScratch.ErrorString());
      UserMessages().ShowError(FWaveScratch.ErrorString(), ErrorCaption());
      ResetAfterFailure(article);
      return false;
    }
    FHost.WavePath() = FWaveScratch.Path().isEmpty()
                           ? ReduceDoubledSlashes(directory + QStringLiteral("/.verbalune.wav"))
                           : FWaveScratch.Path();
    FHost.Wave44Path().clear();
    FHost.Mp3Path() = FOutputPath;
  } else {
    FHost.WavePath() = FOutputPath;
  }
  bool started = false;
  try {
    started = FSpeech.PlayToFileInit(article->VoiceName(), FHost.WavePath());
  } catch (const Exception& error) {
    // The controller has shown the message already.
    UtilsClass::Trace(QStringLiteral("PlayToFileInit: ") + error.Message());
  } catch (const std::exception& error) {
    UtilsClass::Trace(QStringLiteral("PlayToFileInit: ") + QString::fromUtf8(error.what()));
  }
  if (!started) {
    UtilsClass::Trace(QStringLiteral("Play to file initialization failed"));
    // A file of the user's that could not be opened stays as it is.
    FWaveScratch.Remove();
    ResetAfterFailure(article);
    return false;
  }
  FFileOutputOpen = true;
  FTags = TagsFor(*article, ++FTrack, FTrackTotal);
  return true;
}

void TReadingRun::StartReading(TMemoEntry* article, TReadDestination destination, int start,
                               int length) {
  if (FHost.WindowVisible()) {
    article->Editor->setFocus();
  }
  FSpeech.TTS1->OnWordPosition = [this](TTTS*, quint64, quint32 byteOffset) {
    WordPositionHandler(byteOffset);
  };
  FSpeech.TTS1->Tag = reinterpret_cast<qintptr>(article);
  FSpeech.CurrentDestination = destination;
  FArticle = article;
  if (QLabel* panel = FHost.StatusPanel1()) {
    panel->setText(QStringLiteral(" "));
  }
  const QString text = article->EditorText();
  const int end = length > 0 ? qMin(start + length, int(text.size())) : int(text.size());

  if (IsFileDestination(destination) && !QDir(FPreferences.OUT_Directory).exists()) {
    UserMessages().ShowMessage(QStringLiteral("Output directory ") + FPreferences.OUT_Directory +
                               QStringLiteral(" is not valid"));
    // Nothing will end this reading: close the file and go back to idle.
    FinishFileOutput(true);
    ResetAfterFailure(article);
    FHost.ResetStatus();
    return;
  }

  article->Locked = true;
  if (start > 0 || length > 0) {
    FHost.ReadStart() = qBound(0, start, end);
  } else {
    FHost.ReadStart() = 0;
  }
  const int readStart = FHost.ReadStart();
  if (QProgressBar* gauge = FHost.ProgressGauge()) {
    gauge->setTextVisible(false);
    gauge->setRange(0, end - readStart);
    gauge->setValue(0);
    gauge->show();
  }
  if (State() != rsReading) {
    FHost.SetRunState(rsReading);
  }
  TArticleEditor* editor = article->Editor;
  FHighlighter.Begin(FHost.FollowsWords() ? editor : nullptr, readStart, end);
  const QString spoken = readStart > 0 || length > 0 ? text.mid(readStart, end - readStart) : text;

  bool started = false;
  try {
    if (destination == rdSpeakers) {
      started = FSpeech.Play(spoken, article->VoiceName());
    } else {
      started = FSpeech.PlayToFile(article->VoiceName(), spoken);
    }
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("StartReading: ") + error.Message());
  } catch (const std::exception& error) {
    UtilsClass::Trace(QStringLiteral("StartReading: ") + QString::fromUtf8(error.what()));
  }
  if (!started) {
    ResetAfterFailure(article);
  }
  FHost.ShowStatus(QString());
}

void TReadingRun::ResetAfterFailure(TMemoEntry* article) {
  FHost.SetRunState(rsIdle);
  if (article != nullptr) {
    article->Locked = false;
  }
  if (QProgressBar* gauge = FHost.ProgressGauge()) {
    gauge->hide();
  }
}

// --- word positions ---

void TReadingRun::WordPositionHandler(quint32 byteOffset) {
  if (FArticle == nullptr || FSpeech.Filter == nullptr) {
    return;
  }
  const qint32 mapped = FSpeech.Filter->MapPosition(static_cast<qint32>(byteOffset / 2));
  const int progress =
      FHighlighter.Show(mapped + FHost.ReadStart(), FPreferences.TTS_HighlightPosition);
  if (QProgressBar* gauge = FHost.ProgressGauge()) {
    gauge->setValue(progress);
  }
}

// --- end of speech ---

void TReadingRun::ArticleRunDone() {
  const bool multipleFiles = FSpeech.CurrentDestination == rdMultipleFiles;
  // A file that could not be written ends the run at once, also one file
  // shared by the whole run.
  const bool writeFailed =
      FFileOutputOpen && EngineActive() && !FSpeech.TTS1->OutputFileError().isEmpty();
  if ((multipleFiles || writeFailed) && !FinishFileOutput(false)) {
    if (State() != rsExiting) {
      EndRun();
    }
    return;
  }
  if (State() == rsExiting) {
    return;
  }
  TMemoListBox* list = FHost.Articles();
  TMemoEntry* finished = FArticle;
  FHighlighter.Clear();
  int n = 0;
  if (finished != nullptr) {
    finished->Locked = false;
    n = list->FindEntry(finished);
  }
  if (n > 0 && FPreferences.AutoDelete()) {
    try {
      list->HideEntry(finished);
    } catch (const EMemoEntryLocked& error) {
      UtilsClass::Trace(error.Message());
      ++n;
    }
    FHost.ExportArticles();
  } else if (n > 0) {
    ++n;
  }
  if (n > 0 && list->VisibleCount() > 0 && n <= list->VisibleCount()) {
    TMemoEntry* next = list->Entries().at(n - 1);
    list->MarkEntry(n);
    if (multipleFiles && !PrepareOutput(next, rdMultipleFiles)) {
      // Nothing is being read any more: the run must not wait for an end.
      EndRun();
      return;
    }
    StartReading(next, FHost.ReadDestination(), -1, -1);
    return;
  }
  ForgetArticle();
  const bool fileRun = IsFileDestination(FSpeech.CurrentDestination);
  bool written = true;
  if (!multipleFiles) {
    written = FinishFileOutput(false);
  }
  if (State() != rsExiting) {
    if (list->VisibleCount() == 0) {
      FHost.AddNew();
    }
    FHost.SetRunState(rsIdle);
    FHost.ResetStatus();
    if (fileRun && written) {
      FHost.FileRunFinished(FPreferences.OUT_Directory);
    }
  }
}

void TReadingRun::ForgetArticle() {
  // The status line looks the article up through the component's tag; an
  // article deleted after its reading must not be found there.
  FArticle = nullptr;
  FHighlighter.Clear();
  if (FSpeech.TTS1 != nullptr) {
    FSpeech.TTS1->Tag = 0;
  }
}

void TReadingRun::EndRun() {
  FHighlighter.Clear();
  if (QProgressBar* gauge = FHost.ProgressGauge()) {
    gauge->hide();
  }
  ForgetArticle();
  if (FHost.Articles() != nullptr) {
    FHost.Articles()->UnlockAllEntries();
  }
  if (State() != rsExiting) {
    FHost.SetRunState(rsIdle);
    FHost.ResetStatus();
  }
}

void TReadingRun::SingleReadDone() {
  FHighlighter.Clear();
  if (FHost.Articles() != nullptr) {
    FHost.Articles()->UnlockAllEntries();
  }
  FHost.ResetStatus();
  const bool fileRun = FFileOutputOpen;
  const bool written = FinishFileOutput(false);
  if (State() == rsExiting) {
    return;
  }
  FHost.SetRunState(rsIdle);
  FHost.ResetStatus();
  ForgetArticle();
  if (fileRun && written) {
    FHost.FileRunFinished(FPreferences.OUT_Directory);
  }
}

void TReadingRun::SpeakTextDone() {
  try {
    FSpeech.TTS1->SetActive(false);
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("SpeakTextDone: ") + error.Message());
  }
  if (State() == rsExiting) {
    return;
  }
  FHost.SetRunState(rsIdle);
  FHost.ResetStatus();
}

bool TReadingRun::DeleteFileTraced(const QString& fileName) {
  if (QFile::remove(fileName) || !QFile::exists(fileName)) {
    return true;
  }
  UtilsClass::Trace(QStringLiteral("Delete Failed"));
  return false;
}

void TReadingRun::DiscardOutput() {
  if (FWaveScratch.Path().isEmpty() && !FOutputPath.isEmpty() && FHost.WavePath() == FOutputPath) {
    DeleteFileTraced(FOutputPath);
  }
  FWaveScratch.Remove();
  FWave44Scratch.Remove();
}

void TReadingRun::AbandonFileOutput() {
  UtilsClass::Trace(QStringLiteral("File output replaced before its end: ") + FOutputPath);
  FSpeech.Timer1->stop();
  if (EngineActive()) {
    try {
      FSpeech.TTS1->SetActive(false);
    } catch (const Exception& error) {
      UtilsClass::Trace(QStringLiteral("AbandonFileOutput: ") + error.Message());
    }
  }
  FFileOutputOpen = false;
  DiscardOutput();
}

bool TReadingRun::OutputFailed(const QString& reason) {
  UtilsClass::Trace(QStringLiteral("Output failed: ") + reason);
  DiscardOutput();
  UserMessages().ShowError(
      QStringLiteral("Cannot write file \"") + FOutputPath + QStringLiteral("\": ") + reason,
      ErrorCaption());
  return false;
}

void TReadingRun::KeepSpeechAfterFailedEncoding(const QString& message) {
  // The speech itself is fine: keep it under the article's name rather than
  // lose it with the MP3.
  QFileInfo mp3(FOutputPath);
  const QString title = mp3.completeBaseName();
  QString kept;
  for (int n = 1; n < 1000 && kept.isEmpty(); ++n) {
    const QString candidate = mp3.dir().filePath(
        n == 1 ? title + QStringLiteral(".wav") : title + QStringLiteral(" (%1).wav").arg(n));
    if (!QFileInfo::exists(candidate)) {
      kept = candidate;
    }
  }
  if (!kept.isEmpty() && FWaveScratch.KeepAs(kept)) {
    UserMessages().ShowError(message + QStringLiteral("\r\rThe speech was kept as ") + kept,
                             ErrorCaption());
    return;
  }
  UtilsClass::Trace(FWaveScratch.ErrorString());
  UserMessages().ShowError(message, ErrorCaption());
}

bool TReadingRun::ConvertToMp3() {
  FHost.SetRunState(rsConverting);
  FHost.ShowStatus(QString());
  QProgressBar* gauge = FHost.ProgressGauge();
  if (gauge != nullptr) {
    gauge->setRange(0, 100);
    gauge->setValue(0);
    if (QLabel* panel = FHost.StatusPanel1()) {
      gauge->setFormat(panel->text());
    }
    gauge->show();
  }
  const auto hideGauge = [gauge] {
    if (gauge != nullptr) {
      gauge->hide();
    }
  };
  const int target = TargetSampleRate(FPreferences.BitRate);
  const int rate = GetWaveSampleRate(FHost.WavePath());
  FConversionAborted = false;
  FConversionSkipped = false;
  FEncoder.SetAbort(false);
  FEncoder.SetTags(FTags);
  QString& failure = FConversionFailure;
  failure.clear();
  const auto stopped = [this] {
    return FConversionAborted || FConversionSkipped || State() == rsExiting;
  };
  bool encoded = false;
  FConverting = true;
  if (rate < target) {
    TConvertHooks hooks;
    hooks.ProcessEvents = ProcessEvents;
    hooks.Aborted = stopped;
    hooks.WriteInPlace = true;
    hooks.Failed = [&failure](const QString& message) { failure = message; };
    const QString directory = QFileInfo(FHost.WavePath()).absolutePath();
    if (!FWave44Scratch.Create(directory, QStringLiteral(".wav"))) {
      failure = FWave44Scratch.ErrorString();
    } else {
      FHost.Wave44Path() = FWave44Scratch.Path();
      if (ConvertWaveFile(FHost.WavePath(), FHost.Wave44Path(), target, 1, 16, hooks) &&
          !stopped()) {
        encoded =
            FEncoder.EncodeMp3(FHost.Wave44Path(), FHost.Mp3Path(), FPreferences.BitRate, target);
      }
    }
  } else {
    encoded = FEncoder.EncodeMp3(FHost.WavePath(), FHost.Mp3Path(), FPreferences.BitRate, rate);
  }
  FConverting = false;
  FWave44Scratch.Remove();
  if (State() == rsExiting) {
    DiscardOutput();
    return false;
  }
  hideGauge();
  if (stopped()) {
    // Stop or Skip: the unfinished MP3 was thrown away; the speech goes too.
    UtilsClass::Trace(QStringLiteral("Conversion stopped: ") + FHost.Mp3Path());
    DiscardOutput();
    return FConversionSkipped && !FConversionAborted;
  }
  if (!encoded) {
    KeepSpeechAfterFailedEncoding(failure.isEmpty() ? QStringLiteral("Unable to convert wave file")
                                                    : failure);
    DiscardOutput();
    return false;
  }
  UtilsClass::Trace(QStringLiteral("Deleting wav file ") + FHost.WavePath());
  FWaveScratch.Remove();
  return true;
}

bool TReadingRun::FinishFileOutput(bool deleteWave) {
  QString failure;
  if (EngineActive()) {
    failure = FSpeech.TTS1->OutputFileError();
    try {
      FSpeech.TTS1->SetActive(false);
    } catch (const Exception& error) {
      // Completing the file failed: what is on disk is not the speech.
      UtilsClass::Trace(QStringLiteral("FinishFileOutput: ") + error.Message());
      if (failure.isEmpty()) {
        failure = FSpeech.TTS1->OutputFileError();
      }
      if (failure.isEmpty()) {
        failure = error.Message();
      }
    }
  }
  const bool fileOutput = FFileOutputOpen;
  FFileOutputOpen = false;
  bool goOn = true;
  if (fileOutput && deleteWave) {
    DiscardOutput();
  } else if (fileOutput && !failure.isEmpty()) {
    goOn = OutputFailed(failure);
  } else if (fileOutput && FPreferences.OUT_FileFormat == kOutputMp3 &&
             HoldsNoSpeech(FHost.WavePath())) {
    UtilsClass::Trace(QStringLiteral("Nothing was spoken into ") + FHost.WavePath());
    DiscardOutput();
  } else if (fileOutput && FPreferences.OUT_FileFormat == kOutputMp3) {
    goOn = ConvertToMp3();
  } else if (fileOutput) {
    QString tagError;
    if (!AppendWaveInfo(FHost.WavePath(), FTags, &tagError)) {
      // The sound is complete without its title; the file is kept.
      UtilsClass::Trace(QStringLiteral("No title written into ") + FHost.WavePath() +
                        QStringLiteral(": ") + tagError);
    }
  }
  if (State() != rsExiting) {
    if (QLabel* panel = FHost.StatusPanel1()) {
      panel->setText(QStringLiteral(" "));
    }
    if (FHost.Articles() != nullptr) {
      FHost.Articles()->DeleteHiddenEntries();
    }
  }
  return goOn;
}

// --- pause, skip, stop ---

void TReadingRun::PauseReading() {
  UtilsClass::Trace(QStringLiteral("Pause"));
  FSpeech.Pause();
  FHost.SetRunState(rsPaused);
}

void TReadingRun::ResumeReading() {
  UtilsClass::Trace(QStringLiteral("Resume"));
  if (FArticle != nullptr && FArticle->isVisible()) {
    FArticle->Editor->setFocus();
  }
  FSpeech.Resume();
  FHost.SetRunState(rsReading);
}

void TReadingRun::SkipArticle() {
  UtilsClass::Trace(QStringLiteral("Skip"));
  if (State() == rsConverting) {
    // The conversion ends after its current piece and the run goes on.
    FConversionSkipped = true;
    FEncoder.SetAbort(true);
    return;
  }
  // Skipping paused speech goes on with the next article, which must not
  // start paused; an end already waiting is reported now.
  if (State() == rsPaused) {
    FSpeech.Resume();
    FHost.SetRunState(rsReading);
  }
  try {
    FSpeech.TTS1->AudioReset();
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("Skip: ") + error.Message());
  }
}

void TReadingRun::AbortReading() {
  UtilsClass::Trace(QStringLiteral("Abort"));
  // The end of the stopped speech must not start the next article.
  FSpeech.OnSpeechDone = nullptr;
  FSpeech.Timer1->stop();
  if (State() == rsConverting) {
    // The conversion below us ends after its current piece and removes its
    // files.
    FConversionAborted = true;
    FEncoder.SetAbort(true);
  }
  if (EngineActive()) {
    try {
      FSpeech.TTS1->AudioReset();
    } catch (const Exception& error) {
      UtilsClass::Trace(QStringLiteral("Abort: ") + error.Message());
    }
  }
  FinishFileOutput(true);
  ForgetArticle();
}

// --- other speech ---

void TReadingRun::SpeakText(const QString& text, const QString& voiceName) {
  if (FFileOutputOpen) {
    AbandonFileOutput();
  }
  FSpeech.TTS1->OnWordPosition = nullptr;
  ForgetArticle();
  FSpeech.OnSpeechDone = [this](QObject*) { SpeakTextDone(); };
  if (State() != rsReading) {
    FHost.SetRunState(rsReading);
  }
  FHost.DisableSkipGroup();
  bool started = false;
  try {
    started = FSpeech.Play(text, voiceName);
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("SpeakText: ") + error.Message());
  } catch (const std::exception& error) {
    UtilsClass::Trace(QStringLiteral("SpeakText: ") + QString::fromUtf8(error.what()));
  }
  if (!started) {
    FHost.SetRunState(rsIdle);
    FHost.ResetStatus();
  }
}
