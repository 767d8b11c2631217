// Clipboard capture wired into the main window.
#include "ClipboardCommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalBlocker>
#include <QTimer>

#include "BaseUtils.h"
#include "CB_PromptUnit.h"
#include "ClipboardSession.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "UserMessages.h"

TClipboardCapture::TClipboardCapture(TForm1& form, TClipboardViewerChain* chain)
    : QObject(&form),
      FForm(form),
      FChain(chain != nullptr ? *chain : TClipboardViewerChain::Instance()) {
  FClock.start();
  FWatcher = std::make_unique<TClipboardWatcher>(FChain, *this, *Preferences, FForm.ClipboardArmed);
  // A window of its own, not the main window's child: it must show while the
  // main window is hidden in the notification area.
  FPrompt = std::make_unique<TCB_PromptForm>();
  CB_PromptForm = FPrompt.get();
  FPrompt->AppendAvailable = [this] { return PromptAppendAvailable(); };
  FPrompt->CopyClipboardMemo = [this](quint8 action) { FWatcher->CopyClipboardMemo(action); };
  SpeakArticle = [this](TMemoEntry* entry) { emit FForm.ArticleReadRequested(entry); };

  for (QAction* item : {FForm.MonClipMItm, FForm.MonClipPoNtry}) {
    connect(item, &QAction::triggered, this, &TClipboardCapture::MonitorCBClick);
  }
  SayWhenWatchingIsLimited();
  if (Preferences->CB_Monitor) {
    FWatcher->JoinChain();
  }
}

TClipboardCapture::~TClipboardCapture() {
  FWatcher->LeaveChain();
  if (CB_PromptForm == FPrompt.get()) {
    CB_PromptForm = nullptr;
  }
}

void TClipboardCapture::SayWhenWatchingIsLimited() {
  if (CurrentClipboardWatching() == TClipboardWatching::Full) {
    return;
  }
  const QString notice = ClipboardWatchingNotice();
  UtilsClass::Trace(notice);
  FForm.MonClipMItm->setToolTip(notice);
  FForm.MonClipPoNtry->setToolTip(notice);
  // Once, on the status line, after start-up has shown the article count.
  auto* once = new QTimer(this);
  connect(once, &QTimer::timeout, this, [this, once, notice] {
    if (FForm.Initialized) {
      once->stop();
      once->deleteLater();
      FForm.ShowStatus(notice);
    }
  });
  once->start(500);
}

void TClipboardCapture::ShowMonitoring(bool on) {
  auto* monitorCB = FForm.findChild<QAbstractButton*>(QStringLiteral("MonitorCB"));
  // Setting the controls must not call the command again.
  const QSignalBlocker a(FForm.MonClipMItm), b(FForm.MonClipPoNtry), c(monitorCB);
  if (monitorCB != nullptr) {
    monitorCB->setChecked(on);
  }
  FForm.MonClipPoNtry->setChecked(on);
  FForm.MonClipMItm->setChecked(on);
}

void TClipboardCapture::MonitorCBClick() {
  if (!FForm.Initialized || Preferences == nullptr) {
    // The control's own toggle is undone: nothing changed.
    ShowMonitoring(Preferences != nullptr && Preferences->CB_Monitor);
    return;
  }
  Preferences->CB_Monitor = !Preferences->CB_Monitor;
  const bool on = Preferences->CB_Monitor;
  ShowMonitoring(on);
  FForm.ClipboardArmed = false;
  if (on) {
    FWatcher->JoinChain();
  } else {
    FWatcher->LeaveChain();
  }
  UtilsClass::Trace(on ? QStringLiteral("Watching the clipboard")
                       : QStringLiteral("Not watching the clipboard"));
}

bool TClipboardCapture::PromptAppendAvailable() const {
  const TMemoListBox* list = FForm.Articles;
  if (list == nullptr) {
    return false;
  }
  const TMemoEntry* first = list->Entries().value(0);
  return ::PromptAppendAvailable(list->CurrentEntry() != nullptr, list->VisibleCount(),
                                 first != nullptr && first->EditorText().trimmed().isEmpty());
}

bool TClipboardCapture::Initialized() const {
  return FForm.Initialized && FForm.RunState != rsExiting && FForm.Articles != nullptr;
}

bool TClipboardCapture::ClipboardHasText() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText();
}

bool TClipboardCapture::PromptVisible() const {
  return FPrompt->isVisible();
}

bool TClipboardCapture::SingleArticleBusy() const {
  const TMemoListBox* list = FForm.Articles;
  if (list == nullptr || Preferences->ML_ListMode != TMemoListBox::lmSingleArticle) {
    return false;
  }
  // The article that new text would replace.
  const TMemoEntry* shown = list->ShownArticle();
  return shown != nullptr && shown->Locked;
}

void TClipboardCapture::Beep() {
  QApplication::beep();
}

void TClipboardCapture::ShowBusyDialog() {
  UserMessages().ShowModalDialog(QStringLiteral("SIBusy"));
}

void TClipboardCapture::ProcessMessages() {
  QCoreApplication::processEvents();
}

QString TClipboardCapture::ClipboardText() const {
  return QGuiApplication::clipboard()->text();
}

void TClipboardCapture::ShowPrompt() {
  FPrompt->show();
}

bool TClipboardCapture::HasCurrentArticle() const {
  return FForm.Articles != nullptr && FForm.Articles->CurrentEntry() != nullptr;
}

QString TClipboardCapture::CurrentArticleText() const {
  return HasCurrentArticle() ? FForm.Articles->CurrentEntry()->EditorText() : QString();
}

void TClipboardCapture::SetCurrentArticleText(const QString& text) {
  if (!HasCurrentArticle()) {
    return;
  }
  FForm.Articles->CurrentEntry()->SetEditorText(text);
  FForm.ExportArticles();
}

bool TClipboardCapture::AddArticle(const QString& text) {
  TMemoEntry* entry = FForm.AddMemo(text, FForm.ChooseVoice());
  if (entry == nullptr) {
    return false;
  }
  // Wired exactly as a new empty article is.
  entry->OnDelete = [form = &FForm](TMemoEntry* sender) { form->ArticleDeleteClick(sender); };
  entry->OnRead = [form = &FForm](TMemoEntry* sender) { emit form->ArticleReadRequested(sender); };
  entry->OnReadToFile = [form = &FForm](TMemoEntry* sender) {
    emit form->ArticleReadToFileRequested(sender);
  };
  entry->SetPopupMenu(FForm.PopupMenu1);
  return true;
}

void TClipboardCapture::SpeakCurrentArticle() {
  if (HasCurrentArticle() && SpeakArticle) {
    SpeakArticle(FForm.Articles->CurrentEntry());
  }
}

void TClipboardCapture::ClearClipboard() {
  QGuiApplication::clipboard()->clear();
}

qint64 TClipboardCapture::NowMs() const {
  return FClock.elapsed();
}
