#include "ReadCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <utility>

#include "BaseUtils.h"
#include "DocumentReader.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "ReadingHost.h"
#include "ReadingRun.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "TextDecoding.h"
#include "UserMessages.h"

TReadCommands* ReadCommands = nullptr;

namespace {

// The reading run's view of the main window.
class TFormReadingHost final : public TReadingHost {
 public:
  explicit TFormReadingHost(TForm1& form) : FForm(form) {}

  TMemoListBox* Articles() const override { return FForm.Articles; }
  TRunState RunState() const override { return FForm.RunState; }
  void SetRunState(TRunState state) override { FForm.SetRunState(state); }
  void DisableSkipGroup() override {
    FForm.SkipBtn->setEnabled(false);
    FForm.SkipMItm->setEnabled(false);
    FForm.SkipPoNtry->setEnabled(false);
    // The floating toolbar follows the Read menu on every change.
    emit FForm.RunStateChanged(FForm.RunState);
  }
  void ShowStatus(const QString& message) override { FForm.ShowStatus(message); }
  void ResetStatus() override { FForm.ResetStatus(); }
  QString ArticleCountText() const override { return FForm.ArticleCountText(); }
  QProgressBar* ProgressGauge() const override { return FForm.ProgressGauge; }
  QLabel* StatusPanel1() const override { return FForm.StatusPanel1; }
  bool WindowVisible() const override { return FForm.isVisible(); }
  void RestoreWindow() override { FForm.RestoreFromTray(); }
  TMemoEntry* AddNew() override { return FForm.AddNew(); }
  void FileRunFinished(const QString& folder) override { FForm.ShowOutputFolder(folder); }
  bool ExportArticles() override { return FForm.ExportArticles(); }
  TReadDestination& ReadDestination() override { return FForm.ReadDestination; }
  int& ReadStart() override { return FForm.ReadStart; }
  QString& WavePath() override { return FForm.WavePath; }
  QString& Wave44Path() override { return FForm.Wave44Path; }
  QString& Mp3Path() override { return FForm.Mp3Path; }

 private:
  TForm1& FForm;
};

// An image or a program opened by mistake would become an article of
// garbage that the engine reads as one long noise.
bool IsPlainlyNotText(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    return false;  // reading it reports the failure
  }
  return LooksLikeBinary(file.read(64 * 1024));
}

QStringList OpenTextFileDialog(QWidget* parent, bool multiple, const QString& directory) {
  const QString filter = DocumentFileFilter();
  if (multiple) {
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("Open Text File"), directory,
                                         filter);
  }
  const QString file =
      QFileDialog::getOpenFileName(parent, QStringLiteral("Open Text File"), directory, filter);
  return file.isEmpty() ? QStringList() : QStringList{file};
}

}  // namespace

TReadCommands* AttachReadCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences) {
  ReadCommands = new TReadCommands(form, speech, preferences);
  return ReadCommands;
}

TReadCommands::TReadCommands(TForm1& form, TTTSForm& speech, TPreferences& preferences)
    : QObject(&form),
      FForm(form),
      FSpeech(speech),
      FPreferences(preferences),
      FHost(std::make_unique<TFormReadingHost>(form)),
      FRun(new TReadingRun(*FHost, speech, preferences, this)) {
  setObjectName(QStringLiteral("ReadCommands"));
  ChooseTextFiles = [this](bool multiple, const QString& directory) {
    return OpenTextFileDialog(&FForm, multiple, directory);
  };
  connect(form.PlayToolBtn, &QToolButton::clicked, this, &TReadCommands::PlayAllBtnClick);
  connect(form.PlaySpkrMItm, &QAction::triggered, this, &TReadCommands::PlayAllBtnClick);
  connect(form.PlayFileBtn, &QToolButton::clicked, this, &TReadCommands::PlayFileBtnClick);
  connect(form.PlayFileMItm, &QAction::triggered, this, &TReadCommands::PlayFileBtnClick);
  connect(form.PauseBtn, &QToolButton::clicked, this, &TReadCommands::PauseBtnClick);
  connect(form.PauseMItm, &QAction::triggered, this, &TReadCommands::PauseBtnClick);
  connect(form.SkipBtn, &QToolButton::clicked, this, &TReadCommands::SkipBtnClick);
  connect(form.SkipMItm, &QAction::triggered, this, &TReadCommands::SkipBtnClick);
  connect(form.StopBtn, &QToolButton::clicked, this, &TReadCommands::StopBtnClick);
  connect(form.StopMItm, &QAction::triggered, this, &TReadCommands::StopBtnClick);
  connect(form.ReadfromCursor1, &QAction::triggered, this, &TReadCommands::ReadfromCursor1Click);
  connect(form.ReadHighlighted1, &QAction::triggered, this, &TReadCommands::ReadHighlighted1Click);
  connect(form.ReadFileBtn, &QToolButton::clicked, this, &TReadCommands::ReadFileBtnClick);
  connect(form.Open1, &QAction::triggered, this, &TReadCommands::ReadFileBtnClick);
  connect(&form, &TForm1::ArticleReadRequested, this, &TReadCommands::ArticleReadClick);
  connect(&form, &TForm1::ArticleReadToFileRequested, this, &TReadCommands::ArticleReadToFileClick);
  connect(&form, &TForm1::Exiting, this, [this] { FRun->StopConversion(); });
  // Files dropped anywhere on the window open as the Text File command opens
  // them; the editors would otherwise paste the files' addresses.
  form.setAcceptDrops(true);
  QCoreApplication::instance()->installEventFilter(this);
}

QStringList TReadCommands::DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (data == nullptr || !data->hasUrls()) {
    return files;
  }
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
      files << url.toLocalFile();
    }
  }
  return files;
}

bool TReadCommands::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &FForm) {
    return false;
  }
  auto* drop = static_cast<QDropEvent*>(event);
  const QStringList files = DroppedFiles(drop->mimeData());
  if (files.isEmpty()) {
    return false;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop && FForm.RunState != rsExiting) {
    const bool multiple = FPreferences.ML_ListMode == TMemoListBox::lmMultiArticle;
    // Opened after the drop has ended, so the file manager is not kept
    // waiting while a long document is read.
    QTimer::singleShot(
        0, this, [this, files, multiple] { OpenTextFiles(multiple ? files : files.mid(0, 1)); });
  }
  return true;
}

TReadCommands::~TReadCommands() {
  if (ReadCommands == this) {
    ReadCommands = nullptr;
  }
  // The controller outlives the window; it must not call back into the run.
  FSpeech.OnSpeechDone = nullptr;
}

bool TReadCommands::CheckOutputDirectory() {
  const QString directory = FPreferences.OUT_Directory;
  if (!directory.trimmed().isEmpty() && QDir(directory).exists()) {
    return true;
  }
  if (!FForm.isVisible()) {
    FForm.RestoreFromTray();
  }
  if (!FPreferences.ShowOptions) {
    FForm.MMLabel1Click();
  }
  FForm.PageControl1->setCurrentWidget(FForm.TabSheet2);
  UserMessages().ShowMessage(QStringLiteral("File Output Directory is invalid"));
  return false;
}

void TReadCommands::PlayAllBtnClick() {
  if (FRun->EngineActive() || FForm.RunState == rsExiting) {
    return;
  }
  FForm.ReadDestination = rdSpeakers;
  FRun->ReadAllArticles();
}

void TReadCommands::PlayFileBtnClick() {
  if (FForm.RunState == rsExiting || !CheckOutputDirectory() || FRun->EngineActive()) {
    return;
  }
  FForm.ReadDestination = static_cast<TReadDestination>(FPreferences.FileDest());
  FRun->ReadAllArticles();
}

void TReadCommands::SetPauseCaptions(bool paused) {
  FForm.PauseMItm->setText(paused ? QStringLiteral("&Resume") : QStringLiteral("&Pause"));
  FForm.PauseBtn->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
  FForm.PausePoNtry->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
}

void TReadCommands::PauseBtnClick() {
  if (!FRun->EngineActive()) {
    return;
  }
  if (FForm.PauseBtn->text() == u"Pause") {
    SetPauseCaptions(true);
    FForm.StatusPanel1->setText(QStringLiteral("Pause"));
    FRun->PauseReading();
  } else {
    SetPauseCaptions(false);
    FForm.StatusPanel1->clear();
    FRun->ResumeReading();
  }
}

void TReadCommands::SkipBtnClick() {
  if (!FRun->EngineActive() && FForm.RunState != rsConverting) {
    return;
  }
  FForm.PauseBtn->setText(QStringLiteral("Pause"));
  FRun->SkipArticle();
}

void TReadCommands::StopBtnClick() {
  if (!FRun->EngineActive() && FForm.RunState != rsConverting) {
    return;
  }
  SetPauseCaptions(false);
  if (FForm.Articles != nullptr) {
    FForm.Articles->UnlockAllEntries();
  }
  FRun->AbortReading();
  FForm.SetRunState(rsIdle);
  FForm.ResetStatus();
}

void TReadCommands::ReadfromCursor1Click() {
  FRun->ReadFromCursor(nullptr);
}

void TReadCommands::ReadHighlighted1Click() {
  FRun->ReadSelection(nullptr);
}

void TReadCommands::ArticleReadClick(TMemoEntry* entry) {
  FRun->ReadArticle(entry, rdSpeakers, -1, -1);
}

void TReadCommands::ArticleReadToFileClick(TMemoEntry* entry) {
  if (!CheckOutputDirectory()) {
    return;
  }
  FRun->ReadArticle(entry, rdSingleFile, -1, -1);
}

void TReadCommands::SpeakText(const QString& text, const QString& voiceName) {
  FRun->SpeakText(text, voiceName);
}

void TReadCommands::ReadFileBtnClick() {
  if (FForm.RunState == rsExiting) {
    return;
  }
  const bool multiple = FPreferences.ML_ListMode == TMemoListBox::lmMultiArticle;
  const QStringList files = ChooseTextFiles(multiple, FPreferences.OpenDlgInitialDir);
  if (files.isEmpty()) {
    return;
  }
  OpenTextFiles(multiple ? files : files.mid(0, 1));
}

void TReadCommands::OpenTextFiles(const QStringList& files) {
  if (files.isEmpty() || FOpening) {
    return;
  }
  // Long documents let events run while they are read; a second open
  // started meanwhile would interleave its articles with these.
  FOpening = true;
  FPreferences.OpenDlgInitialDir = QFileInfo(files.first()).absolutePath();
  for (const QString& file : files) {
    if (DocumentKindOf(file) != TDocumentKind::Text) {
      OpenDocument(file);
    } else {
      OpenText(file);
    }
    FRun->ProcessEvents();
    if (FForm.RunState == rsExiting) {
      FOpening = false;
      return;
    }
  }
  FOpening = false;
  FForm.ExportArticles();
  // The count shown by AddNew was taken while the new article was still
  // empty; the status line must count the text just opened.
  FForm.ShowStatus(QString());
  if (!FWaitingFiles.isEmpty()) {
    QTimer::singleShot(0, this, [this] { OpenFilesWhenReady({}); });
  }
}

void TReadCommands::OpenFilesWhenReady(const QStringList& files) {
  FWaitingFiles += files;
  if (FWaitingFiles.isEmpty() || FOpening || !FForm.Initialized || FForm.Terminated ||
      FForm.RunState == rsExiting) {
    return;
  }
  const bool multiple = FPreferences.ML_ListMode == TMemoListBox::lmMultiArticle;
  const QStringList waiting = std::exchange(FWaitingFiles, QStringList());
  OpenTextFiles(multiple ? waiting : waiting.mid(0, 1));
}

namespace {

// A file's name up to its first dot: the title the Text File command gives.
QString TitleFromFileName(const QString& file) {
  QString name = QFileInfo(file).fileName();
  const qsizetype dot = name.indexOf(u'.');
  if (dot >= 0) {
    name.truncate(dot);
  }
  return name;
}

}  // namespace

void TReadCommands::OpenText(const QString& file) {
  if (IsPlainlyNotText(file)) {
    UtilsClass::Trace(QStringLiteral("Not a text file: ") + file);
    UserMessages().ShowMessage(file + QStringLiteral(" is not a text file"));
    return;
  }
  TMemoEntry* entry = FForm.AddNew();
  if (entry == nullptr) {
    return;
  }
  entry->SetTitleFrom(TitleFromFileName(file), TMemoListBox::TitleLength);
  if (!entry->LoadFromFile(file)) {
    UtilsClass::Trace(QStringLiteral("Cannot open ") + file);
    UserMessages().ShowMessage(QStringLiteral("Error reading input file"));
  } else {
    AutoSpeak(entry);
  }
}

void TReadCommands::AutoSpeak(TMemoEntry* entry) {
  if (FPreferences.AutoSpeak()) {
    FSpeech.OnSpeechDone = [run = FRun](QObject*) { run->SingleReadDone(); };
    if (FRun->PrepareOutput(entry, rdSpeakers)) {
      FRun->StartReading(entry, rdSpeakers, -1, -1);
    }
  }
}

void TReadCommands::OpenDocument(const QString& file) {
  const QString name = QFileInfo(file).fileName();
  TDocument document;
  try {
    document = ReadDocument(file, [this, &name](int done, int total) {
      FForm.ShowStatus(QStringLiteral("Reading page %1 of %2 of ").arg(done).arg(total) + name);
      FRun->ProcessEvents();
      // Exit chosen meanwhile: the program ends now, not after the last page.
      if (FForm.RunState == rsExiting) {
        throw EDocumentError(QStringLiteral("Reading stopped by Exit"));
      }
    });
  } catch (const EDocumentError& error) {
    if (FForm.RunState == rsExiting) {
      return;
    }
    UtilsClass::Trace(QStringLiteral("Cannot open ") + file + QStringLiteral(": ") +
                      error.Message());
    UserMessages().ShowMessage(QStringLiteral("Error reading input file\r\r") + error.Message() +
                               QStringLiteral("\r") + file);
    FForm.ShowStatus(QString());
    return;
  }
  if (FForm.RunState == rsExiting) {
    return;
  }
  const QString documentTitle = document.Title.isEmpty() ? TitleFromFileName(file) : document.Title;
  QList<TDocumentChapter> parts = document.Chapters;
  if (FPreferences.ML_ListMode != TMemoListBox::lmMultiArticle || parts.size() == 1) {
    parts = {TDocumentChapter{documentTitle, document.JoinedText()}};
  }
  TMemoEntry* last = nullptr;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    TMemoEntry* entry = FForm.AddNew();
    if (entry == nullptr) {
      break;
    }
    QString title = parts.at(i).Title;
    if (title.isEmpty()) {
      title = documentTitle + QStringLiteral(" %1").arg(i + 1);
    }
    entry->SetEditorText(parts.at(i).Text);
    entry->SetTitleFrom(title, TMemoListBox::TitleLength);
    entry->DocumentTitle = document.Title;
    entry->DocumentAuthor = document.Author;
    last = entry;
  }
  for (const QString& problem : std::as_const(document.Problems)) {
    UserMessages().ShowMessage(problem + QStringLiteral("\r") + file);
  }
  if (last != nullptr && parts.size() == 1) {
    AutoSpeak(last);
  }
}
