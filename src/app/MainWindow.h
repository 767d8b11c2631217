#pragma once

#include <QCloseEvent>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <random>

#include "ArticleVoices.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class TClipboardCapture;
class TMemoEntry;
class TMemoListBox;
class TPreferences;
class TTrayToolbarCommands;

// Run state of the main window and where a reading goes.
enum TRunState : quint8 {
  rsIdle = 0,
  rsPaused = 1,
  rsReading = 2,
  rsConverting = 3,
  rsExiting = 4
};
enum TReadDestination : quint8 { rdSingleFile = 0, rdMultipleFiles = 1, rdSpeakers = 2 };

// The main window: layout, menus, toolbar and status bar (MainWindow.cpp,
// MainMenu.cpp), start-up (StartUp.cpp), the option panels and toolbar
// height (PanelLayout.cpp), hiding, restoring and exiting (Shutdown.cpp), the
// Help menu (HelpCommands.cpp), the status line and run state (StatusLine.cpp)
// and the article commands start-up needs (ArticleCommands.cpp). Reading,
// options, tray and clipboard handling live in files of their own and attach
// to the public controls and signals here.
class TForm1 final : public QMainWindow, public TArticleVoiceSource {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm1)

 public:
  // arguments: the command line; only the first argument after the program
  // name matters ("-auto").
  explicit TForm1(QStringList arguments, QWidget* parent = nullptr);
  ~TForm1() override;

  // Designed panel heights; see FullPanelHeight.
  static constexpr int kPanelHeight = 257;
  static constexpr int kPanelHeightAt120Dpi = 316;
  static constexpr int kToolBarHeight = 56;
  // Height of the option panels with the toolbar, for the screen's logical
  // dots per inch (Qt's own high-DPI scaling already applied).
  static int FullPanelHeight(int logicalDpi);
  // Panel2's height for a combination of toolbar and option panels.
  static int Panel2Height(bool toolbar, bool panels, int fullHeight);

  // Window events.
  void FormCreate();
  void FormShow();
  void FormActivate();
  void Timer1Timer();
  void FormResize();
  // closeAllowed: in/out, the close action.
  void FormClose(bool& closeAllowed);
  void FormDestroy();

  void MinimizeToTray();
  void RestoreFromTray();
  // A panel that starts after the program (at login) brings its notification
  // area late: until one exists this looks again every few seconds and adds
  // the icon when it appears.
  void WatchForTray();
  void ExitVerbaluneClick();
  // A signal or the desktop session ends the program: the Exit command, with
  // the reason traced first.
  void EndProgram(const QString& reason);
  // What Exit saves, without ending: the articles (once start-up has read
  // them), the window placement and the preferences. For the session
  // manager's request to save, which may come well before the end.
  void SaveArticlesAndSettings();
  void MMLabel1Click();
  void ShowToolbarMItmClick();

  // Help menu.
  void Contents1Click();
  void VisitKelmorTechnologies1Click();
  void PortableMP3Click();
  void About1Click();
  void TellaFriend1Click();
  static QString TellAFriendText();
  // The HTML help's start page.
  static QString HelpContentsPath();
  // The help the Contents item opens; set when the window is created.
  QString HelpFile;

  // Status line and run state.
  void SetRunState(TRunState state);
  void ShowStatus(const QString& message);
  // Offers the folder a run has just written files into, until the next run.
  void ShowOutputFolder(const QString& folder);
  void ResetStatus();
  QString ArticleCountText() const;

  // Articles.
  TMemoEntry* AddNew();
  TMemoEntry* AddMemo(const QString& text, const QString& voiceName);
  QString ChooseVoice();
  // The names of the favourite voices of enabled engines, in voice-list order.
  void LoadFavoriteVoices();
  void ArticleDeleteClick(TMemoEntry* entry);
  void AddNewPopupClick();
  void DelSelPopupClick();
  // Exports the list to the saved-articles file; false when it failed.
  bool ExportArticles();
  static QString ExportFileName();
  static QString IntroFileName();
  // Typed text is saved this long after the last change to an article's
  // text or title, so a crash or a kill loses at most that much typing.
  static constexpr int kAutosaveMs = 2000;
  // (Re)starts the autosave countdown; AutosaveTimerTimer exports.
  void ScheduleAutosave();
  void AutosaveTimerTimer();

  // Paste pastes into the current article's editor; it is enabled only
  // while there is one.
  void Paste1Execute();
  void Paste1Update();

  // Mode switch.
  void ToolButton1Click();
  void ToolButton2Click();

  // Clipboard capture (ClipboardCommands.cpp), the floating toolbar with the
  // notification-area menu's commands (TrayToolbarCommands.cpp) and start at
  // login: attached at the end of FormCreate, detached in FormDestroy before
  // the preferences go (DesktopIntegration.cpp).
  void WMDrawClipboard();
  void MonitorCBClick();
  void CopyClipboardMemo(quint8 action);
  TClipboardCapture* ClipboardCapture = nullptr;
  TTrayToolbarCommands* TrayToolbarCommands = nullptr;

  // TArticleVoiceSource: the speech controller's voices once it exists.
  QList<TArticleVoice> ArticleVoices() const override;

  bool Initialized = false;
  bool Activated = false;
  bool ListInfoReady = false;
  bool VoicesTreeBuilt = false;
  bool ClipboardArmed = false;
  TRunState RunState = rsIdle;
  TReadDestination ReadDestination = rdSpeakers;
  int ReadStart = 0;
  QString WavePath;
  QString Wave44Path;
  QString Mp3Path;
  int RoundRobinIndex = -1;
  QStringList FavoriteVoices;
  // True once start-up decided the program must end (no sound card, no voice).
  bool Terminated = false;

  // How many wave output devices there are; the speech system's count by default.
  std::function<int()> WaveOutCount;
  // Whether closing may hide the window into a notification area.
  std::function<bool()> TrayAvailable;

  QStringList CommandLine;
  TMemoListBox* Articles = nullptr;

  // Layout.
  QMenuBar* MainMenu1;
  QWidget* Panel2;
  QToolBar* ToolBar1;
  QWidget* Panel3;
  QStackedWidget* MISIOptionsPage;
  QWidget* SIOptionsSheet;
  QWidget* MIOptionsSheet;
  QTabWidget* PageControl1;
  QWidget* ClipboardSheet;
  QWidget* EngineVoicesTab;
  QWidget* TabSheet2;
  QWidget* MiscSheet;
  QFrame* MainTextPanel;
  QStatusBar* StatusBar1;
  QLabel* StatusPanel0;
  QLabel* StatusPanel1;
  // "Open folder" after a run into files; hidden until then.
  QLabel* OpenFolderLabel;
  QProgressBar* ProgressGauge;
  QTimer* Timer1;
  QTimer* TrayWatchTimer = nullptr;
  QTimer* AutosaveTimer = nullptr;

  // Toolbar buttons.
  QToolButton* ToolButton1;
  QToolButton* ToolButton2;
  QToolButton* ReadFileBtn;
  QToolButton* PasteBtn;
  QToolButton* PlayToolBtn;
  QToolButton* PlayFileBtn;
  QToolButton* PauseBtn;
  QToolButton* SkipBtn;
  QToolButton* StopBtn;
  QToolButton* OptionsBtn;

  // Main menu items.
  QMenu* FileMenu;
  QMenu* ViewMenu;
  QMenu* OptionsMenu;
  QMenu* ReadMenu;
  QMenu* mnuAudioHelp;
  QMenu* HelpMenu;
  QAction* Open1;
  QAction* TellaFriend1;
  QAction* ExitVerbalune1;
  QAction* ShowToolbarMItm;
  QAction* ShowOptionsMItm;
  // The floating toolbar, reachable also where no notification area exists.
  QAction* FloatToolbarMItm;
  QAction* MonClipMItm;
  QAction* SingleMItm;
  QAction* MultiMItm;
  QAction* SelAudioDevMItm;
  QAction* PronunciationMItm;
  QAction* PlaySpkrMItm;
  QAction* PlayFileMItm;
  QAction* PauseMItm;
  QAction* SkipMItm;
  QAction* StopMItm;
  QAction* Contents1;
  QAction* VisitKelmorTechnologies1;
  QAction* PortableMP3;
  QAction* About1;
  QAction* Paste1;  // the paste action of the toolbar, menu and Ctrl+V

  // Article context menu.
  QMenu* PopupMenu1;
  QAction* AddNewPopup;
  QAction* DelSelPopup;
  QAction* PastePopup = nullptr;
  QAction* ReadfromCursor1;
  QAction* ReadHighlighted1;
  QAction* EditVoiceforSelectedArticle1;

  // Notification-area icon and its menu.
  QSystemTrayIcon* TrayIcon = nullptr;
  QMenu* PopupMenu2;
  QAction* RestoreMItm;
  QAction* ToolBarPONtry;
  QMenu* Options2;
  QAction* MonClipPoNtry;
  QAction* SIPoNtry;
  QAction* MIPoNtry;
  QAction* PlayPoNtry;
  QAction* PlayFilePoNtry;
  QAction* SkipPoNtry;
  QAction* PausePoNtry;
  QAction* StopPoNtry;
  QAction* AboutPONtry;
  QAction* ExitVerbalune;

 signals:
  // An article's own Read and Read to File buttons.
  void ArticleReadRequested(TMemoEntry* entry);
  void ArticleReadToFileRequested(TMemoEntry* entry);
  // Minimising wants the floating toolbar shown (by its option), restoring
  // wants it hidden.
  void FloatingToolbarWanted();
  void FloatingToolbarUnwanted();
  // SetRunState has enabled and disabled the main window's controls; other
  // windows with reading controls follow.
  void RunStateChanged(TRunState state);
  // The short status text, for windows smaller than the status bar.
  void ShortStatusChanged(const QString& text);
  // ResetStatus hid the progress bar and set it to 0.
  void ProgressReset();
  // The Exit command has begun: whatever runs (an encoding) must stop.
  void Exiting();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void BuildToolBar();
  void BuildMainMenu();
  void BuildPopupMenus();
  void ApplyMode(bool multi);
  void ShowListInfo();
  // Adds the notification-area icon with its tip and menu.
  void SetupTrayIcon();
  // The icon's clicks: a double click (or the single click some trays send
  // instead) restores the window; the menu opens by itself.
  void TrayIconMessage(int reason);
  void RemoveTrayIcon();
  void SavePlacementAndPreferences();
  void ImportSavedArticles();
  // Keeps a saved-articles file that did not read completely and tells the user.
  void KeepDamagedArticles(const QString& file, const QString& problem);
  void Terminate();
  void BringToFront();
  void AttachDesktopIntegration();
  void DetachDesktopIntegration();

  std::unique_ptr<TPreferences> FPreferences;
  bool FDestroyed = false;
  std::mt19937 FRandom;
};

// The one main window; null before it is created.
extern TForm1* Form1;
