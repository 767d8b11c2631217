// Hiding to the notification area, restoring, closing and the Exit command.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QSystemTrayIcon>
#include <QTimer>

#include "BaseUtils.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "TTS.h"
#include "TTSUnit.h"

void TForm1::MinimizeToTray() {
  if (RunState == rsExiting) {
    return;
  }
  if (!TrayAvailable()) {
    // Hiding without a notification area would leave no way back to the
    // window; an ordinary minimised window keeps its taskbar entry.
    UtilsClass::Trace(
        QStringLiteral("No notification area: minimizing the window instead of hiding it"));
    if (!isMinimized()) {
      showMinimized();
    }
  } else {
    UtilsClass::Trace(QStringLiteral("Minimizing to the notification area"));
    hide();
    if (Articles != nullptr) {
      Articles->hide();
    }
  }
  // The floating toolbar follows its option whether the window went to the
  // notification area or only to the taskbar.
  const quint8 option = Preferences != nullptr ? Preferences->ToolbarOnMinOption : 0;
  if (option == 1 || (option == 2 && RunState == rsReading)) {
    emit FloatingToolbarWanted();
  } else {
    ToolBarPONtry->setEnabled(true);
  }
}

void TForm1::RestoreFromTray() {
  if (RunState == rsExiting) {
    return;
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  emit FloatingToolbarUnwanted();
  show();
  if (Articles != nullptr) {
    Articles->show();
  }
  ToolBarPONtry->setEnabled(false);
  BringToFront();
}

void TForm1::BringToFront() {
  raise();
  activateWindow();
  QCoreApplication::processEvents();
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool closeAllowed = true;
  FormClose(closeAllowed);
  if (closeAllowed) {
    event->accept();
    // Not quit(): that asks every window to close first, and one window
    // refusing (the floating toolbar only hides) would cancel the Exit and
    // leave a program that can neither be restored nor exited.
    QCoreApplication::exit(Terminated ? 1 : 0);
  } else {
    event->ignore();
  }
}

void TForm1::FormClose(bool& closeAllowed) {
  SavePlacementAndPreferences();
  if (RunState == rsExiting) {
    closeAllowed = true;
    return;
  }
  closeAllowed = false;
  MinimizeToTray();
}

void TForm1::SavePlacementAndPreferences() {
  if (Preferences == nullptr) {
    return;
  }
  Preferences->SaveWindowPlacement(*this);
  Preferences->WriteFields();
  Preferences->SaveAll();
}

void TForm1::ExitVerbaluneClick() {
  if (RunState == rsExiting) {
    return;
  }
  UtilsClass::Trace(QStringLiteral("Entered ExitVerbaluneClick"));
  if (TTSForm != nullptr) {
    TTSForm->OnSpeechDone = nullptr;
    if (TTSForm->TTS1 != nullptr) {
      TTSForm->TTS1->OnWordPosition = nullptr;
    }
  }
  SetRunState(rsExiting);
  AutosaveTimer->stop();
  // The reading run stops its encoder and anything else still under way.
  emit Exiting();
  QCoreApplication::processEvents();
  if (TTSForm != nullptr && TTSForm->TTS1 != nullptr && TTSForm->TTS1->Active()) {
    try {
      TTSForm->TTS1->AudioReset();
    } catch (const Exception& error) {
      UtilsClass::Trace(QStringLiteral("AudioReset on exit failed: ") + error.Message());
    }
  }
  if (Articles != nullptr) {
    // Before start-up has read the saved articles the list holds none of
    // them, and saving it would empty the file.
    if (Initialized) {
      ExportArticles();
    }
    // The program may end right after: the list must be on disk, and a failed
    // write told, before it goes.
    Articles->WaitForExport();
    Articles->UnlockAllEntries();
    // The list is not freed here but with the window, once the event loop
    // has ended: an export, an import, a message box or a clipboard capture
    // that let this command run still hold its entries further down the
    // stack, and they return into them.
    Paste1Update();
  }
  close();
}

void TForm1::EndProgram(const QString& reason) {
  if (RunState == rsExiting) {
    return;
  }
  UtilsClass::Trace(reason);
  ExitVerbaluneClick();
}

void TForm1::SaveArticlesAndSettings() {
  if (Initialized && Articles != nullptr && RunState != rsExiting) {
    ExportArticles();
  }
  SavePlacementAndPreferences();
}

void TForm1::FormDestroy() {
  if (FDestroyed) {
    return;
  }
  FDestroyed = true;
  UtilsClass::Trace(QStringLiteral("Entered Form1 Destroy"));
  SavePlacementAndPreferences();
  DetachDesktopIntegration();
  RemoveTrayIcon();
  UtilsClass::Trace(QStringLiteral("Exitting FormDestroy"));
  if (Preferences == FPreferences.get()) {
    Preferences = nullptr;
  }
  FPreferences.reset();
}
