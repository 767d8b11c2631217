// The main window's clipboard capture, floating toolbar, tray menu commands
// and start at login, attached to it once it has its preferences.
#include "AutoStartCommands.h"
#include "ClipboardCommands.h"
#include "MainWindow.h"
#include "TrayToolbarCommands.h"

void TForm1::AttachDesktopIntegration() {
  ClipboardCapture = new TClipboardCapture(*this);
  TrayToolbarCommands = new TTrayToolbarCommands(*this);
  RefreshAutoStartEntry();
}

void TForm1::DetachDesktopIntegration() {
  // Leaves the clipboard chain and saves the toolbar's placement.
  delete ClipboardCapture;
  ClipboardCapture = nullptr;
  delete TrayToolbarCommands;
  TrayToolbarCommands = nullptr;
}

void TForm1::WMDrawClipboard() {
  if (ClipboardCapture != nullptr) {
    ClipboardCapture->Watcher().WMDrawClipboard();
  }
}

void TForm1::MonitorCBClick() {
  if (ClipboardCapture != nullptr) {
    ClipboardCapture->MonitorCBClick();
  }
}

void TForm1::CopyClipboardMemo(quint8 action) {
  if (ClipboardCapture != nullptr) {
    ClipboardCapture->Watcher().CopyClipboardMemo(action);
  }
}
