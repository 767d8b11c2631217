// The main menu, the article context menu and the notification-area menu.
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "AppIcons.h"
#include "MainWindow.h"
#include "MemoListUnit.h"

namespace {

QAction* AddItem(QMenu* menu, const char16_t* name, const QString& caption,
                 const QKeySequence& shortcut = QKeySequence()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromUtf16(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
  }
  return action;
}

}  // namespace

void TForm1::BuildMainMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

  FileMenu = MainMenu1->addMenu(QStringLiteral("&File"));
  Open1 = AddItem(FileMenu, u"Open1", QStringLiteral("&Open Text File"),
                  QKeySequence(Qt::CTRL | Qt::Key_O));
  TellaFriend1 = AddItem(FileMenu, u"TellaFriend1", QStringLiteral("Tell a Friend"));
  FileMenu->addSeparator();
  ExitVerbalune1 = AddItem(FileMenu, u"ExitVerbalune1", QStringLiteral("E&xit Verbalune"));

  ViewMenu = MainMenu1->addMenu(QStringLiteral("&View"));
  ShowToolbarMItm = AddItem(ViewMenu, u"ShowToolbarMItm", QStringLiteral("&Toolbar"));
  ShowOptionsMItm = AddItem(ViewMenu, u"ShowOptionsMItm", QStringLiteral("&Options Panels"));
  FloatToolbarMItm = AddItem(ViewMenu, u"FloatToolbarMItm", QStringLiteral("&Show Toolbar"));
  ShowToolbarMItm->setCheckable(true);
  ShowOptionsMItm->setCheckable(true);

  OptionsMenu = MainMenu1->addMenu(QStringLiteral("&Options"));
  MonClipMItm = AddItem(OptionsMenu, u"MonClipMItm", QStringLiteral("&Watch Clipboard"));
  MonClipMItm->setCheckable(true);
  OptionsMenu->addSeparator();
  SingleMItm = AddItem(OptionsMenu, u"SingleMItm", QStringLiteral("&Single Article"));
  MultiMItm = AddItem(OptionsMenu, u"MultiMItm", QStringLiteral("&Multi Article"));
  auto* modes = new QActionGroup(this);
  for (QAction* a : {SingleMItm, MultiMItm}) {
    a->setCheckable(true);
    modes->addAction(a);
  }
  OptionsMenu->addSeparator();
  SelAudioDevMItm =
      AddItem(OptionsMenu, u"SelAudioDevMItm", QStringLiteral("&Select Audio Device"));
  PronunciationMItm =
      AddItem(OptionsMenu, u"PronunciationMItm", QStringLiteral("&Pronunciation Editor"));

  ReadMenu = MainMenu1->addMenu(QStringLiteral("&Read"));
  PlaySpkrMItm = AddItem(ReadMenu, u"PlaySpkrMItm", QStringLiteral("Read &Aloud"),
                         QKeySequence(Qt::CTRL | Qt::Key_F6));
  PlayFileMItm = AddItem(ReadMenu, u"PlayFileMItm", QStringLiteral("Read to &File"),
                         QKeySequence(Qt::CTRL | Qt::Key_F7));
  PauseMItm = AddItem(ReadMenu, u"PauseMItm", QStringLiteral("&Pause"),
                      QKeySequence(Qt::CTRL | Qt::Key_F8));
  SkipMItm =
      AddItem(ReadMenu, u"SkipMItm", QStringLiteral("S&kip"), QKeySequence(Qt::CTRL | Qt::Key_F9));
  StopMItm =
      AddItem(ReadMenu, u"StopMItm", QStringLiteral("&Stop"), QKeySequence(Qt::CTRL | Qt::Key_F10));

  // Filled with the spoken help topics by the audio help code.
  mnuAudioHelp = MainMenu1->addMenu(QStringLiteral("&Audio Help"));
  mnuAudioHelp->setObjectName(QStringLiteral("mnuAudioHelp"));

  HelpMenu = MainMenu1->addMenu(QStringLiteral("&Help"));
  Contents1 = AddItem(HelpMenu, u"Contents1", QStringLiteral("&Contents"));
  HelpMenu->addSeparator();
  VisitKelmorTechnologies1 =
      AddItem(HelpMenu, u"VisitKelmorTechnologies1", QStringLiteral("&Visit Kelmor Technologies"));
  PortableMP3 = AddItem(HelpMenu, u"PortableMP3", QStringLiteral("&Portable MP3 Players"));
  HelpMenu->addSeparator();
  About1 = AddItem(HelpMenu, u"About1", QStringLiteral("&About"));

  // Paste is an action of the window, so Ctrl+V works wherever the focus is.
  Paste1 = new QAction(QStringLiteral("&Paste"), this);
  Paste1->setObjectName(QStringLiteral("Paste1"));
  Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  Paste1->setShortcutContext(Qt::WindowShortcut);
  Paste1->setToolTip(QString());
  Paste1->setIcon(AppIcon(QStringLiteral("paste")));
  addAction(Paste1);
  PasteBtn->setDefaultAction(Paste1);
  PasteBtn->setText(QStringLiteral("Paste"));

  connect(TellaFriend1, &QAction::triggered, this, &TForm1::TellaFriend1Click);
  connect(ExitVerbalune1, &QAction::triggered, this, &TForm1::ExitVerbaluneClick);
  connect(ShowToolbarMItm, &QAction::triggered, this, [this] {
    // The item's own toggle is undone: ShowToolbarMItmClick decides its state.
    ShowToolbarMItm->setChecked(!ShowToolbarMItm->isChecked());
    ShowToolbarMItmClick();
  });
  connect(ShowOptionsMItm, &QAction::triggered, this, [this] {
    ShowOptionsMItm->setChecked(!ShowOptionsMItm->isChecked());
    MMLabel1Click();
  });
  connect(SingleMItm, &QAction::triggered, this, &TForm1::ToolButton1Click);
  connect(MultiMItm, &QAction::triggered, this, &TForm1::ToolButton2Click);
  connect(Contents1, &QAction::triggered, this, &TForm1::Contents1Click);
  connect(VisitKelmorTechnologies1, &QAction::triggered, this,
          &TForm1::VisitKelmorTechnologies1Click);
  connect(PortableMP3, &QAction::triggered, this, &TForm1::PortableMP3Click);
  connect(About1, &QAction::triggered, this, &TForm1::About1Click);
  connect(Paste1, &QAction::triggered, this, &TForm1::Paste1Execute);
  // The window's own article commands update Paste at once. The list also
  // changes its current article by itself (focus, marking during a run):
  // like any action's state, Paste's is brought up to date whenever the
  // program falls idle.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &TForm1::Paste1Update);
}

void TForm1::Paste1Execute() {
  if (Articles != nullptr && Articles->CurrentEntry() != nullptr) {
    Articles->CurrentEntry()->Editor->paste();
  }
}

void TForm1::Paste1Update() {
  if (FDestroyed) {
    return;
  }
  const bool current =
      Articles != nullptr && Articles->CurrentEntry() != nullptr && RunState != rsExiting;
  if (Paste1->isEnabled() != current) {
    Paste1->setEnabled(current);
  }
  if (PastePopup != nullptr) {
    PastePopup->setEnabled(current);
  }
}

void TForm1::BuildPopupMenus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  AddNewPopup = AddItem(PopupMenu1, u"AddNewPopup", QStringLiteral("&Add New"));
  DelSelPopup = AddItem(PopupMenu1, u"DelSelPopup", QStringLiteral("&Delete Selected"));
  PopupMenu1->addSeparator();
  PastePopup = AddItem(PopupMenu1, u"PastePopup", QStringLiteral("&Paste"));
  PopupMenu1->addSeparator();
  ReadfromCursor1 =
      AddItem(PopupMenu1, u"ReadfromCursor1", QStringLiteral("Read from Cursor Aloud"));
  ReadHighlighted1 =
      AddItem(PopupMenu1, u"ReadHighlighted1", QStringLiteral("Read Selected Text Aloud"));
  PopupMenu1->addSeparator();
  EditVoiceforSelectedArticle1 =
      AddItem(PopupMenu1, u"EditVoiceforSelectedArticle1", QStringLiteral("Edit Selected Voice"));
  connect(AddNewPopup, &QAction::triggered, this, &TForm1::AddNewPopupClick);
  connect(DelSelPopup, &QAction::triggered, this, &TForm1::DelSelPopupClick);
  connect(PastePopup, &QAction::triggered, Paste1, &QAction::trigger);
  connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
    Paste1Update();
    const TMemoEntry* entry = Articles != nullptr ? Articles->CurrentEntry() : nullptr;
    ReadHighlighted1->setEnabled(entry != nullptr && entry->Editor->textCursor().hasSelection());
  });

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  RestoreMItm = AddItem(PopupMenu2, u"RestoreMItm", QStringLiteral("Restore"));
  PopupMenu2->setDefaultAction(RestoreMItm);
  ToolBarPONtry = AddItem(PopupMenu2, u"ToolBarPONtry", QStringLiteral("Show &Toolbar"));
  PopupMenu2->addSeparator();
  Options2 = PopupMenu2->addMenu(QStringLiteral("&Options"));
  Options2->setObjectName(QStringLiteral("Options2"));
  MonClipPoNtry = AddItem(Options2, u"MonClipPoNtry", QStringLiteral("&Watch Clipboard"));
  MonClipPoNtry->setCheckable(true);
  Options2->addSeparator();
  SIPoNtry = AddItem(Options2, u"SIPoNtry", QStringLiteral("&Single Article"));
  MIPoNtry = AddItem(Options2, u"MIPoNtry", QStringLiteral("&Multi Article"));
  auto* modes = new QActionGroup(this);
  for (QAction* a : {SIPoNtry, MIPoNtry}) {
    a->setCheckable(true);
    modes->addAction(a);
  }
  PopupMenu2->addSeparator();
  PlayPoNtry = AddItem(PopupMenu2, u"PlayPoNtry", QStringLiteral("Read &Aloud"));
  PlayFilePoNtry = AddItem(PopupMenu2, u"PlayFilePoNtry", QStringLiteral("Read to &File"));
  SkipPoNtry = AddItem(PopupMenu2, u"SkipPoNtry", QStringLiteral("S&kip"));
  PausePoNtry = AddItem(PopupMenu2, u"PausePoNtry", QStringLiteral("&Pause"));
  StopPoNtry = AddItem(PopupMenu2, u"StopPoNtry", QStringLiteral("&Stop"));
  PopupMenu2->addSeparator();
  AboutPONtry = AddItem(PopupMenu2, u"AboutPONtry", QStringLiteral("A&bout"));
  PopupMenu2->addSeparator();
  ExitVerbalune = AddItem(PopupMenu2, u"ExitVerbalune", QStringLiteral("E&xit Verbalune"));
  connect(RestoreMItm, &QAction::triggered, this, &TForm1::RestoreFromTray);
  connect(SIPoNtry, &QAction::triggered, this, &TForm1::ToolButton1Click);
  connect(MIPoNtry, &QAction::triggered, this, &TForm1::ToolButton2Click);
  connect(AboutPONtry, &QAction::triggered, this, &TForm1::About1Click);
  connect(ExitVerbalune, &QAction::triggered, this, &TForm1::ExitVerbaluneClick);
}
