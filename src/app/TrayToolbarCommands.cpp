// The floating toolbar and the notification-area menu, wired to the main window.
#include "TrayToolbarCommands.h"

#include <QAction>
#include <QEvent>
#include <QProgressBar>
#include <QToolButton>

#include "BaseUtils.h"
#include "MainWindow.h"
#include "PreferenceUnit.h"
#include "ToolBarForm.h"

TTrayToolbarCommands::TTrayToolbarCommands(TForm1& form) : QObject(&form), FForm(form) {
  // Its own top-level window with a taskbar entry, not a transient of the
  // main window, which is hidden whenever the toolbar matters.
  FToolbar = std::make_unique<TToolBarForm>();
  ToolBarForm = FToolbar.get();

  connect(FToolbar.get(), &TToolBarForm::Shown, this,
          [this] { FForm.ToolBarPONtry->setEnabled(false); });
  connect(FToolbar.get(), &TToolBarForm::ClosedByUser, this,
          [this] { FForm.ToolBarPONtry->setEnabled(true); });
  connect(FForm.ToolBarPONtry, &QAction::triggered, FToolbar.get(), &TToolBarForm::ShowNormal);
  connect(FForm.FloatToolbarMItm, &QAction::triggered, FToolbar.get(), &TToolBarForm::ShowNormal);
  connect(FToolbar->RestoreBtn, &QToolButton::clicked, &FForm, &TForm1::RestoreFromTray);

  connect(&FForm, &TForm1::FloatingToolbarWanted, FToolbar.get(), &TToolBarForm::ShowNormal);
  connect(&FForm, &TForm1::FloatingToolbarUnwanted, FToolbar.get(), &QWidget::hide);
  connect(&FForm, &TForm1::Exiting, FToolbar.get(), &TToolBarForm::CloseForExit);
  connect(&FForm, &TForm1::ShortStatusChanged, FToolbar.get(), &TToolBarForm::SetStatusText);
  connect(&FForm, &TForm1::RunStateChanged, this, &TTrayToolbarCommands::FollowRunState);
  connect(&FForm, &TForm1::ProgressReset, this, &TTrayToolbarCommands::SyncGauge);
  if (FForm.ProgressGauge != nullptr) {
    connect(FForm.ProgressGauge, &QProgressBar::valueChanged, this,
            &TTrayToolbarCommands::SyncGauge);
    // Shown and hidden with the main window's bar, even while that window is hidden.
    FForm.ProgressGauge->installEventFilter(this);
  }
  WireReadingCommands();
  FollowRunState();
}

TTrayToolbarCommands::~TTrayToolbarCommands() {
  if (FForm.ProgressGauge != nullptr) {
    FForm.ProgressGauge->removeEventFilter(this);
  }
  // The toolbar saves its placement as it goes, while the preferences live.
  FToolbar.reset();
}

void TTrayToolbarCommands::WireReadingCommands() {
  // The notification-area menu and the floating toolbar start, pause, skip
  // and stop a reading exactly as the Read menu does: each triggers the Read
  // menu's item, which carries the main window's reading command and shares
  // its enabled state.
  const std::pair<QAction*, QAction*> menuItems[] = {
      {FForm.PlayPoNtry, FForm.PlaySpkrMItm}, {FForm.PlayFilePoNtry, FForm.PlayFileMItm},
      {FForm.SkipPoNtry, FForm.SkipMItm},     {FForm.PausePoNtry, FForm.PauseMItm},
      {FForm.StopPoNtry, FForm.StopMItm},
  };
  // Named copies: older compilers cannot capture structured bindings.
  for (const auto& pair : menuItems) {
    QAction* item = pair.first;
    QAction* command = pair.second;
    connect(item, &QAction::triggered, command, [item, command] {
      UtilsClass::Trace(QStringLiteral("Tray menu: ") + item->text().remove(u'&'));
      command->trigger();
    });
  }
  const std::pair<QToolButton*, QAction*> buttons[] = {
      {FToolbar->PlayToolBtn, FForm.PlaySpkrMItm}, {FToolbar->PlayFileBtn, FForm.PlayFileMItm},
      {FToolbar->PauseBtn, FForm.PauseMItm},       {FToolbar->SkipBtn, FForm.SkipMItm},
      {FToolbar->StopBtn, FForm.StopMItm},
  };
  for (const auto& [button, command] : buttons) {
    connect(button, &QToolButton::clicked, command, &QAction::trigger);
  }
}

void TTrayToolbarCommands::FollowRunState() {
  FToolbar->PlayToolBtn->setEnabled(FForm.PlaySpkrMItm->isEnabled());
  FToolbar->PlayFileBtn->setEnabled(FForm.PlayFileMItm->isEnabled());
  FToolbar->PauseBtn->setEnabled(FForm.PauseMItm->isEnabled());
  FToolbar->SkipBtn->setEnabled(FForm.SkipMItm->isEnabled());
  FToolbar->StopBtn->setEnabled(FForm.StopMItm->isEnabled());
  SyncGauge();
  // "When minimized and reading starts": a reading begun from the
  // notification area brings the toolbar up.
  if (FForm.RunState == rsReading && Preferences != nullptr &&
      Preferences->ToolbarOnMinOption == 2 && (!FForm.isVisible() || FForm.isMinimized()) &&
      !FToolbar->isVisible()) {
    UtilsClass::Trace(QStringLiteral("Reading started while hidden: showing the toolbar"));
    FToolbar->ShowNormal();
  }
}

void TTrayToolbarCommands::SyncGauge() {
  const QProgressBar* main = FForm.ProgressGauge;
  if (main == nullptr) {
    return;
  }
  FToolbar->Gauge1->setRange(main->minimum(), main->maximum());
  FToolbar->Gauge1->setValue(main->value());
  FToolbar->Gauge1->setVisible(!main->isHidden());
}

bool TTrayToolbarCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FForm.ProgressGauge &&
      (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
    SyncGauge();
  }
  return QObject::eventFilter(watched, event);
}
