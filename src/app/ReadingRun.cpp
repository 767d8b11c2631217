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

QString TitleCannotNameFile(const QString& title) {
  return QStringLiteral("The title \"") + title +
         QStringLiteral("\" cannot name a file\r\rUse letters, digits or _ in the title");
}

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
                                }}) {}

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

QString TReadingRun::FileTitle(const QString& title) {
  QString name;
  name.reserve(title.size());
  for (const QChar c : title) {
    if (IsTitleChar(c)) {
      name += c;
    }
  }
  return name;
}

void TReadingRun::StopConversion() {
  FConversionAborted = true;
  FEncoder.SetAbort(true);
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
      const QString title = entry->Title();
      if (title.trimmed().isEmpty() || FileTitle(title).isEmpty()) {
        if (!FHost.WindowVisible()) {
          FHost.RestoreWindow();
        }
        list->MarkEntry(i + 1);
        entry->ChangeVoice();
        UserMessages().ShowMessage(title.trimmed().isEmpty() ? kTitleForMultipleFiles
                                                             : TitleCannotNameFile(title));
        return;
      }
    }
  }
  if (list->VisibleCount() == 0) {
    return;
  }
  TMemoEntry* first = list->Entries().first();
  list->MarkEntry(1);
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
  if (destination != rdSpeakers && article->Title().trimmed().isEmpty()) {
    TitleRequired(article, kTitleForFile);
    return false;
  }
  if (destination == rdSpeakers) {
    return true;
  }
  const QString fileTitle = FileTitle(article->Title());
  if (fileTitle.isEmpty()) {
    TitleRequired(article, TitleCannotNameFile(article->Title()));
    return false;
  }
  const TOutputPaths paths =
      MakeOutputPaths(FPreferences.OUT_Directory, fileTitle, FPreferences.OUT_FileFormat);
  FHost.WavePath() = paths.WavePath;
  if (FPreferences.OUT_FileFormat == kOutputMp3) {
    FHost.Wave44Path() = paths.Wave44Path;
    FHost.Mp3Path() = paths.Mp3Path;
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
    ResetAfterFailure(article);
    return false;
  }
  FFileOutputOpen = true;
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
  if (multipleFiles) {
    FinishFileOutput(false);
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
  if (!multipleFiles) {
    FinishFileOutput(false);
  }
  if (State() != rsExiting) {
    if (list->VisibleCount() == 0) {
      FHost.AddNew();
    }
    FHost.SetRunState(rsIdle);
    FHost.ResetStatus();
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
  FinishFileOutput(false);
  if (State() == rsExiting) {
    return;
  }
  FHost.SetRunState(rsIdle);
  FHost.ResetStatus();
  ForgetArticle();
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

void TReadingRun::FinishFileOutput(bool deleteWave) {
  if (EngineActive()) {
    try {
      FSpeech.TTS1->SetActive(false);
    } catch (const Exception& error) {
      // The engine could not complete the file; it is still worth keeping.
      UtilsClass::Trace(QStringLiteral("FinishFileOutput: ") + error.Message());
    }
  }
  const bool fileOutput = FFileOutputOpen;
  FFileOutputOpen = false;
  if (deleteWave && fileOutput) {
    DeleteFileTraced(FHost.WavePath());
  }
  if (!deleteWave && fileOutput && FPreferences.OUT_FileFormat == kOutputMp3 &&
      HoldsNoSpeech(FHost.WavePath())) {
    UtilsClass::Trace(QStringLiteral("Nothing was spoken into ") + FHost.WavePath());
    DeleteFileTraced(FHost.WavePath());
  } else if (!deleteWave && fileOutput && FPreferences.OUT_FileFormat == kOutputMp3) {
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
    const int target = TargetSampleRate(FPreferences.BitRate);
    const int rate = GetWaveSampleRate(FHost.WavePath());
    bool resampled = false;
    FConversionAborted = false;
    FEncoder.SetAbort(false);
    if (rate < target) {
      TConvertHooks hooks;
      hooks.ProcessEvents = ProcessEvents;
      hooks.Aborted = [this] { return FConversionAborted || State() == rsExiting; };
      if (!ConvertWaveFile(FHost.WavePath(), FHost.Wave44Path(), target, 1, 16, hooks) ||
          State() == rsExiting) {
        return;
      }
      resampled = true;
      FEncoder.EncodeMp3(FHost.Wave44Path(), FHost.Mp3Path(), FPreferences.BitRate, target);
    } else {
      FEncoder.EncodeMp3(FHost.WavePath(), FHost.Mp3Path(), FPreferences.BitRate, rate);
    }
    if (State() == rsExiting) {
      return;
    }
    if (gauge != nullptr) {
      gauge->hide();
    }
    UtilsClass::Trace(QStringLiteral("Deleting wav file ") + FHost.WavePath());
    DeleteFileTraced(FHost.WavePath());
    if (resampled) {
      DeleteFileTraced(FHost.Wave44Path());
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
