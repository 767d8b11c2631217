#pragma once

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "AppPaths.h"
#include "MessageRecorder.h"
#include "PacedPcmOutput.h"
#include "PreferenceUnit.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "TestEnvironment.h"

// The speech controller over scripted voices, with the program's global
// preferences, on temporary folders. Messages are recorded.
class TScriptedController {
 public:
  explicit TScriptedController(TScriptedEngine::TConfig config = TScriptedEngine::DefaultConfig())
      : Engine(std::make_shared<TScriptedEngine>(std::move(config))),
        System(std::make_shared<TSpeechSystem>()) {
    System->Drivers.push_back(Engine);
    System->WaveOutCount = [] { return 1; };
    System->CreatePcmOutput = [this](int) -> std::unique_ptr<TPcmOutput> {
      return std::make_unique<TPacedPcmOutput>();
    };
    TSpeechSystem::SetDefault(System);
    ResetTTSModule();
    Preferences = &Prefs;
    Controller = std::make_unique<TTTSForm>(nullptr, &Prefs, System);
    TTSForm = Controller.get();
    Controller->Initialize();
    Controller->LoadVoiceSettings();
  }
  ~TScriptedController() {
    Controller.reset();
    TTSForm = nullptr;
    Preferences = nullptr;
    TSpeechSystem::SetDefault(nullptr);
    ResetTTSModule();
  }
  TScriptedController(const TScriptedController&) = delete;
  TScriptedController& operator=(const TScriptedController&) = delete;

  TTempFolders Folders;
  TMessageRecorder Messages;
  TPreferences Prefs;
  std::shared_ptr<TScriptedEngine> Engine;
  std::shared_ptr<TSpeechSystem> System;
  std::unique_ptr<TTTSForm> Controller;
};

// Runs a dialog modally; act plays the user once it shows. A dialog act
// leaves open is cancelled, so no test can hang on it.
template <class TAct>
int RunModal(QDialog& dialog, TAct act) {
  QTimer::singleShot(0, &dialog, [&dialog, act] {
    act();
    if (dialog.isVisible()) {
      dialog.reject();
    }
  });
  return dialog.exec();
}

// Acts on the next modal dialog the code under test opens by itself.
template <class TAct>
void OnNextModal(TAct act) {
  QTimer::singleShot(0, qApp, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      return;
    }
    act(*dialog);
    if (dialog->isVisible()) {
      dialog->reject();
    }
  });
}

// A shipped-data folder of the test's own, for files such as AudioHelp.chl.
class TShareFolder {
 public:
  TShareFolder() { AppPaths::SetShareDir(Dir.path()); }
  ~TShareFolder() { AppPaths::SetShareDir(QString()); }
  TShareFolder(const TShareFolder&) = delete;
  TShareFolder& operator=(const TShareFolder&) = delete;
  bool Write(const QString& name, const QString& text) const {
    return WriteWholeFile(Dir.path() + u'/' + name, text.toUtf8());
  }
  QTemporaryDir Dir;
};
