// Start-up of the main window: creation, first showing and first activation.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <random>

#include "AppIcons.h"
#include "AppPaths.h"
#include "ArticleFileFormat.h"
#include "BaseUtils.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "ScratchFile.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "UserMessages.h"

namespace {

// When no window manager activates the window, start-up must still finish.
constexpr int kActivateFallbackMs = 1500;
constexpr int kAutoMinimizeMs = 500;

}  // namespace

void TForm1::FormCreate() {
  HelpFile = HelpContentsPath();
  Initialized = false;
  Activated = false;
  ListInfoReady = false;
  ClipboardArmed = false;
  VoicesTreeBuilt = false;

  FPreferences = std::make_unique<TPreferences>();
  Preferences = FPreferences.get();
  Preferences->LoadAll();
  Preferences->RestoreWindowPlacement(*this);
  Preferences->ReadFields();
  UtilsClass::Trace(QStringLiteral("Version: ") + Preferences->Version());

  ProgressGauge = new QProgressBar(StatusPanel1);
  ProgressGauge->setObjectName(QStringLiteral("ProgressGauge"));
  ProgressGauge->setTextVisible(false);
  ProgressGauge->setGeometry(0, 2, StatusPanel1->width(), 15);
  ProgressGauge->hide();
  StatusPanel1->setText(QStringLiteral(" "));
  StatusPanel1->installEventFilter(this);
  FormResize();

  setWindowTitle(QStringLiteral("Verbalune MP3"));
  MainTextPanel->setFrameShape(QFrame::NoFrame);

  const bool multi = Preferences->ML_ListMode == TMemoListBox::lmMultiArticle;
  Articles = new TMemoListBox(this, MainTextPanel);
  Articles->setObjectName(QStringLiteral("Articles"));
  Articles->ListMode = multi ? TMemoListBox::lmMultiArticle : TMemoListBox::lmSingleArticle;
  Articles->SetVisibleEntries(multi ? Preferences->ML_VisibleEntries : 1);
  Articles->SingleArticleDefaultTitles = [] {
    return Preferences != nullptr && Preferences->SI_DefaultTitles;
  };
  MainTextPanel->layout()->addWidget(Articles);
  connect(Articles, &TMemoListBox::ArticleEdited, this, &TForm1::ScheduleAutosave);

  ShowToolbarMItm->setChecked(Preferences->ShowToolbar);
  OptionsBtn->setChecked(Preferences->ShowOptions);
  ShowOptionsMItm->setChecked(Preferences->ShowOptions);
  const int full = FullPanelHeight(qRound(screen()->logicalDotsPerInch()));
  Panel3->setVisible(Preferences->ShowOptions);
  ToolBar1->setVisible(Preferences->ShowToolbar);
  Panel2->setFixedHeight(Panel2Height(Preferences->ShowToolbar, Preferences->ShowOptions, full));

  ApplyMode(multi);
  UtilsClass::Trace(multi ? QStringLiteral("Current Mode is Multi-Article")
                          : QStringLiteral("Current Mode is Single-Article"));
  MonClipMItm->setChecked(Preferences->CB_Monitor);
  MonClipPoNtry->setChecked(Preferences->CB_Monitor);
  ClipboardArmed = Preferences->CB_Monitor;

  ToolBarPONtry->setEnabled(false);
  RoundRobinIndex = -1;
  ReadDestination = rdSpeakers;
  PageControl1->setCurrentWidget(ClipboardSheet);
  AttachDesktopIntegration();
}

void TForm1::ApplyMode(bool multi) {
  (multi ? ToolButton2 : ToolButton1)->setChecked(true);
  (multi ? MultiMItm : SingleMItm)->setChecked(true);
  (multi ? MIPoNtry : SIPoNtry)->setChecked(true);
  MISIOptionsPage->setCurrentWidget(multi ? MIOptionsSheet : SIOptionsSheet);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!Initialized && !Terminated) {
    FormShow();
  }
}

void TForm1::FormShow() {
  UtilsClass::Trace(QStringLiteral("Entered FormShow"));
  if (WaveOutCount() <= 0) {
    UserMessages().ShowMessage(QStringLiteral(
        "Sound Card not found\r\rA Sound Card is required for Verbalune to operate\r\rVerbalune "
        "will exit now."));
    Terminate();
    return;
  }
  if (TTSForm == nullptr) {
    UserMessages().ShowModalDialog(QStringLiteral("EngineWarning"));
    Terminate();
    return;
  }
  try {
    TTSForm->Initialize();
  } catch (const std::exception& error) {
    // A missing or broken engine installation: the same warning as no voice,
    // and nothing may escape into the event loop, which would abort.
    UtilsClass::Trace(QStringLiteral("Listing the speech engines failed: ") +
                      QString::fromUtf8(error.what()));
    TTSForm->Voices.clear();
  }
  if (TTSForm->Voices.empty()) {
    UserMessages().ShowModalDialog(QStringLiteral("EngineWarning"));
    Terminate();
    return;
  }
  Preferences->LoadAll();
  TTSForm->LoadVoiceSettings();
  // A run killed during a conversion left its working files (as big as the
  // speech) in the output folder.
  RemoveStaleScratchFiles(Preferences->OUT_Directory);

  LoadFavoriteVoices();
  FRandom.seed(std::random_device{}());

  ImportSavedArticles();
  // An activation that came while the import let events run has already
  // passed over the list info; without it here the list would stay unmarked
  // and an empty list without its one empty article.
  if (!ListInfoReady && (isActiveWindow() || Activated)) {
    UtilsClass::Trace(QStringLiteral("FormShow - Initialize list info and mark entry"));
    ShowListInfo();
  }
  SetupTrayIcon();
  // A signal may have ended the program while the import let events run.
  if (RunState != rsExiting) {
    SetRunState(rsIdle);
  }
  Initialized = true;
  UtilsClass::Trace(QStringLiteral("Exiting FormShow"));

  QTimer::singleShot(kActivateFallbackMs, this, [this] {
    if (!Activated && !Terminated) {
      UtilsClass::Trace(QStringLiteral("Window not activated by the desktop; continuing start-up"));
      FormActivate();
    }
  });
}

void TForm1::ImportSavedArticles() {
  // The introduction comes only when there are no saved articles at all: a
  // lost or damaged settings file must not put it in place of the user's own.
  const QString saved = ExportFileName();
  const bool intro = !QFileInfo::exists(saved);
  Preferences->FirstTimeUser = false;
  const QString file = intro ? IntroFileName() : saved;
  UtilsClass::Trace(QStringLiteral("Importing ") + file);
  const TArticleImport result = Articles->ImportList(
      file, PopupMenu1, [this](TMemoEntry* entry) { emit ArticleReadRequested(entry); },
      [this](TMemoEntry* entry) { emit ArticleReadToFileRequested(entry); },
      [this](TMemoEntry* entry) { ArticleDeleteClick(entry); });
  if (intro) {
    // The shipped articles cannot name a voice of this machine: they take the
    // default voice, so they can be read at once.
    for (TMemoEntry* entry : Articles->Entries()) {
      if (entry->VoiceName().isEmpty()) {
        entry->SelectVoice(Preferences->TTS_DefaultVoiceName);
      }
    }
  } else if (!result.Complete && Articles != nullptr) {
    KeepDamagedArticles(saved, result.Problem);
  }
}

void TForm1::KeepDamagedArticles(const QString& file, const QString& problem) {
  const QString kept = KeepDamagedArticleFile(file);
  UtilsClass::Trace(QStringLiteral("Saved articles %1 could not be read completely (%2); %3")
                        .arg(file, problem,
                             kept.isEmpty() ? QStringLiteral("it could not be kept aside")
                                            : QStringLiteral("kept as ") + kept));
  if (kept.isEmpty()) {
    // Neither copied nor moved: the folder does not take new files, so no
    // save can replace it either.
    UserMessages().ShowError(
        QStringLiteral("Some saved articles could not be read from \"%1\" (%2), and the file "
                       "could not be kept aside.")
            .arg(QDir::toNativeSeparators(file), problem),
        QStringLiteral("Verbalune MP3"));
    return;
  }
  UserMessages().ShowError(
      QStringLiteral("Some saved articles could not be read from \"%1\" (%2).\r\rThe file as "
                     "it was is kept as \"%3\"; the articles that could be read are shown.")
          .arg(QDir::toNativeSeparators(file), problem, QDir::toNativeSeparators(kept)),
      QStringLiteral("Verbalune MP3"));
  // Saved at once, so the next start reads a whole file and keeps nothing aside again.
  ExportArticles();
}

void TForm1::ShowListInfo() {
  ListInfoReady = true;
  ShowStatus(ArticleCountText());
  if (Articles->VisibleCount() > 0) {
    Articles->ScrollToTop(1);
    Articles->MarkEntry(1);
  } else {
    AddNew();
  }
  Paste1Update();
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !Activated) {
    FormActivate();
  } else if (event->type() == QEvent::WindowStateChange && isMinimized() && Initialized &&
             RunState != rsExiting) {
    // The window manager's minimise button: the program goes to the
    // notification area as with the close box.
    QTimer::singleShot(0, this, &TForm1::MinimizeToTray);
  } else if (event->type() == QEvent::WindowStateChange && !isMinimized() && isVisible() &&
             Initialized && RunState != rsExiting && TrayIcon == nullptr) {
    // Without a notification area the window came back from its taskbar
    // entry: the floating toolbar was standing in for it.
    emit FloatingToolbarUnwanted();
  }
}

void TForm1::FormActivate() {
  // Also while FormShow's import lets events run: "-auto" then waits for the
  // import through Timer1.
  if (Activated || Terminated) {
    return;
  }
  Activated = true;
  UtilsClass::Trace(AppPaths::ProgramPath());
  const QString first = CommandLine.value(1);
  UtilsClass::Trace(first);
  if (!ListInfoReady && Initialized) {
    UtilsClass::Trace(QStringLiteral("FormActivate - Initialize list info and mark entry"));
    ShowListInfo();
  }
  if (first == QStringLiteral("-auto")) {
    UtilsClass::Trace(QStringLiteral("Minimizing ..."));
    Timer1->start(kAutoMinimizeMs);
  }
  UtilsClass::Trace(QStringLiteral("Exiting FormActivate"));
}

void TForm1::Timer1Timer() {
  UtilsClass::Trace(QStringLiteral("FormActivate Timer popped"));
  // Before FormShow is done the import has not even begun.
  if ((Articles != nullptr && Articles->Importing()) || !Initialized) {
    UtilsClass::Trace(QStringLiteral("Import in progress.  Resetting timer"));
    Timer1->start(kAutoMinimizeMs);
    return;
  }
  UtilsClass::Trace(QStringLiteral("FormActivate Timer: Minimizing now."));
  Timer1->stop();
  MinimizeToTray();
}

void TForm1::SetupTrayIcon() {
  if (TrayIcon != nullptr) {
    return;
  }
  // Without a notification area the icon would be an invisible no-op.
  if (!TrayAvailable()) {
    if (TrayWatchTimer == nullptr) {
      UtilsClass::Trace(QStringLiteral("No notification area yet: watching for one"));
      TrayWatchTimer = new QTimer(this);
      TrayWatchTimer->setInterval(3000);
      connect(TrayWatchTimer, &QTimer::timeout, this, &TForm1::WatchForTray);
      TrayWatchTimer->start();
    }
    return;
  }
  if (TrayWatchTimer != nullptr) {
    TrayWatchTimer->stop();
  }
  TrayIcon = new QSystemTrayIcon(AppIcon(QStringLiteral("tray")), this);
  TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
  TrayIcon->setToolTip(QStringLiteral("Verbalune MP3"));
  TrayIcon->setContextMenu(PopupMenu2);
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) { TrayIconMessage(reason); });
  TrayIcon->show();
}

void TForm1::WatchForTray() {
  if (RunState == rsExiting || TrayIcon != nullptr || !TrayAvailable()) {
    return;
  }
  UtilsClass::Trace(QStringLiteral("A notification area appeared: adding the icon"));
  SetupTrayIcon();
}

void TForm1::TrayIconMessage(int reason) {
  if (!Initialized) {
    return;
  }
  if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) {
    RestoreFromTray();
  }
}

void TForm1::RemoveTrayIcon() {
  if (TrayIcon != nullptr) {
    TrayIcon->hide();
    delete TrayIcon;
    TrayIcon = nullptr;
  }
}

void TForm1::Terminate() {
  Terminated = true;
  UtilsClass::Trace(QStringLiteral("Start-up ends the program"));
  QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
}
