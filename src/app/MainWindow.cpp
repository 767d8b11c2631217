// The main window's layout: the top panel with the toolbar and the option
// panels, the article area and the status bar.
#include "MainWindow.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "AppIcons.h"
#include "BaseUtils.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "TTSUnit.h"
#include "UserMessages.h"
#include "WaveDevices.h"

TForm1* Form1 = nullptr;

namespace {

QWidget* MakeSheet(const QString& name, QWidget* parent) {
  auto* sheet = new QWidget(parent);
  sheet->setObjectName(name);
  return sheet;
}

}  // namespace

TForm1::TForm1(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), CommandLine(std::move(arguments)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("TmpVerbalune"));
  setWindowIcon(AppIcon(QStringLiteral("verbalune")));
  // Wide enough for the toolbar's captions in common Linux desktop fonts; a
  // stored placement replaces it.
  setGeometry(289, 152, 780, 604);
  WaveOutCount = [] { return waveOutGetNumDevs(); };
  TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

  Timer1 = new QTimer(this);
  Timer1->setSingleShot(false);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
  AutosaveTimer = new QTimer(this);
  AutosaveTimer->setObjectName(QStringLiteral("AutosaveTimer"));
  AutosaveTimer->setSingleShot(true);
  AutosaveTimer->setInterval(kAutosaveMs);
  connect(AutosaveTimer, &QTimer::timeout, this, &TForm1::AutosaveTimerTimer);

  BuildLayout();
  BuildMainMenu();
  BuildPopupMenus();
  FormCreate();
}

TForm1::~TForm1() {
  FormDestroy();
  // Before the other children go, which may still look at the list.
  delete Articles;
  Articles = nullptr;
  QObject::disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
  if (Form1 == this) {
    Form1 = nullptr;
  }
}

void TForm1::BuildLayout() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  Panel2 = new QWidget(central);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  auto* top = new QVBoxLayout(Panel2);
  top->setContentsMargins(0, 0, 0, 0);
  top->setSpacing(0);
  BuildToolBar();
  top->addWidget(ToolBar1);

  // The option pages are filled by the options code; the containers stay here
  // so the layout and the mode switch work without them.
  Panel3 = new QWidget(Panel2);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  auto* panels = new QHBoxLayout(Panel3);
  panels->setContentsMargins(2, 2, 2, 2);
  MISIOptionsPage = new QStackedWidget(Panel3);
  MISIOptionsPage->setObjectName(QStringLiteral("MISIOptionsPage"));
  MISIOptionsPage->setFixedWidth(289);
  MISIOptionsPage->setFrameShape(QFrame::StyledPanel);
  SIOptionsSheet = MakeSheet(QStringLiteral("SIOptionsSheet"), MISIOptionsPage);
  MIOptionsSheet = MakeSheet(QStringLiteral("MIOptionsSheet"), MISIOptionsPage);
  MISIOptionsPage->addWidget(SIOptionsSheet);
  MISIOptionsPage->addWidget(MIOptionsSheet);
  PageControl1 = new QTabWidget(Panel3);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  ClipboardSheet = MakeSheet(QStringLiteral("ClipboardSheet"), PageControl1);
  EngineVoicesTab = MakeSheet(QStringLiteral("EngineVoicesTab"), PageControl1);
  TabSheet2 = MakeSheet(QStringLiteral("TabSheet2"), PageControl1);
  MiscSheet = MakeSheet(QStringLiteral("MiscSheet"), PageControl1);
  PageControl1->addTab(ClipboardSheet, QStringLiteral("Clipboard"));
  PageControl1->addTab(EngineVoicesTab, QStringLiteral("Engines / Voices"));
  PageControl1->addTab(TabSheet2, QStringLiteral("File Options"));
  PageControl1->addTab(MiscSheet, QStringLiteral("Misc"));
  panels->addWidget(MISIOptionsPage);
  panels->addWidget(PageControl1, 1);
  top->addWidget(Panel3, 1);
  Panel2->setFixedHeight(FullPanelHeight(qRound(screen()->logicalDotsPerInch())));
  column->addWidget(Panel2);

  MainTextPanel = new QFrame(central);
  MainTextPanel->setObjectName(QStringLiteral("MainTextPanel"));
  auto* text = new QVBoxLayout(MainTextPanel);
  text->setContentsMargins(0, 0, 0, 0);
  column->addWidget(MainTextPanel, 1);
  setCentralWidget(central);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  StatusPanel0 = new QLabel(StatusBar1);
  StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
  StatusPanel1 = new QLabel(QStringLiteral(" "), StatusBar1);
  StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
  // Three quarters and the rest, kept by the layout itself: fixed widths would
  // also fix the window's smallest width at its largest size so far.
  for (QLabel* panel : {StatusPanel0, StatusPanel1}) {
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panel->setMinimumWidth(0);
  }
  OpenFolderLabel = new QLabel(StatusBar1);
  OpenFolderLabel->setObjectName(QStringLiteral("OpenFolderLabel"));
  OpenFolderLabel->setText(QStringLiteral("<a href=\"folder\">Open folder</a>"));
  OpenFolderLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                           Qt::LinksAccessibleByKeyboard);
  OpenFolderLabel->hide();
  connect(OpenFolderLabel, &QLabel::linkActivated, this, [this] {
    // Without a file manager the click would otherwise do nothing at all.
    const QString folder = OpenFolderLabel->toolTip();
    if (!UtilsClass::ShellOpen(folder)) {
      UserMessages().ShowMessage(QStringLiteral("Cannot open the folder ") + folder);
    }
  });
  StatusBar1->addWidget(StatusPanel0, 3);
  StatusBar1->addWidget(StatusPanel1, 1);
  StatusBar1->addPermanentWidget(OpenFolderLabel);
  setStatusBar(StatusBar1);
}

void TForm1::BuildToolBar() {
  ToolBar1 = new QToolBar(Panel2);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->setIconSize(QSize(32, 32));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);

  const auto button = [this](const char16_t* name, const QString& caption, const QString& hint,
                             const QString& icon) {
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromUtf16(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setIcon(AppIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // At least the designed 60 pixels, and never narrower than the caption,
    // which Qt would otherwise cut short in the middle.
    b->setMinimumWidth(std::max(60, b->sizeHint().width()));
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
  };
  ToolButton1 = button(u"ToolButton1", QStringLiteral("    Single    "),
                       QStringLiteral("Single-Article Mode"), QStringLiteral("single"));
  ToolButton2 = button(u"ToolButton2", QStringLiteral("Multi "),
                       QStringLiteral("Multi-Article Mode"), QStringLiteral("multi"));
  for (QToolButton* b : {ToolButton1, ToolButton2}) {
    b->setCheckable(true);
    b->setAutoExclusive(true);
  }
  ToolButton1->setChecked(true);
  ToolBar1->addSeparator();
  ReadFileBtn = button(u"ReadFileBtn", QStringLiteral("Text File"),
                       QStringLiteral("Read text file"), QStringLiteral("textfile"));
  PasteBtn = button(u"PasteBtn", QStringLiteral("Paste"), QString(), QStringLiteral("paste"));
  ToolBar1->addSeparator();
  PlayToolBtn = button(u"PlayToolBtn", QStringLiteral("Aloud"), QStringLiteral("Read text aloud"),
                       QStringLiteral("aloud"));
  PlayFileBtn = button(u"PlayFileBtn", QStringLiteral("File"), QStringLiteral("Read text to file"),
                       QStringLiteral("file"));
  PauseBtn = button(u"PauseBtn", QStringLiteral("Pause"), QStringLiteral("Pause / Resume "),
                    QStringLiteral("pause"));
  SkipBtn = button(u"SkipBtn", QStringLiteral("Skip"), QStringLiteral("Skip to next article"),
                   QStringLiteral("skip"));
  StopBtn = button(u"StopBtn", QStringLiteral("Stop"), QStringLiteral("Stop reading"),
                   QStringLiteral("stop"));
  ToolBar1->addSeparator();
  OptionsBtn = button(u"OptionsBtn", QStringLiteral("Options"),
                      QStringLiteral("Display / Hide Options Panels"), QStringLiteral("options"));
  OptionsBtn->setCheckable(true);

  connect(ToolButton1, &QToolButton::clicked, this, &TForm1::ToolButton1Click);
  connect(ToolButton2, &QToolButton::clicked, this, &TForm1::ToolButton2Click);
  connect(OptionsBtn, &QToolButton::clicked, this, [this] {
    // The button's own toggle is undone: MMLabel1Click decides its state.
    OptionsBtn->setChecked(!OptionsBtn->isChecked());
    MMLabel1Click();
  });
}

int TForm1::FullPanelHeight(int logicalDpi) {
  return logicalDpi == 120 ? kPanelHeightAt120Dpi : kPanelHeight;
}

int TForm1::Panel2Height(bool toolbar, bool panels, int fullHeight) {
  if (panels) {
    return toolbar ? fullHeight : fullHeight - kToolBarHeight;
  }
  return toolbar ? kToolBarHeight : 0;
}

QList<TArticleVoice> TForm1::ArticleVoices() const {
  return TTSForm != nullptr ? TTSForm->ArticleVoices() : QList<TArticleVoice>();
}
