#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTest>
#include <memory>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "MainWindow.h"
#include "MessageRecorder.h"
#include "PacedPcmOutput.h"
#include "PreferenceUnit.h"
#include "ScriptedEngine.h"
#include "SpeechSystem.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "TestEnvironment.h"

// A speech system of scripted voices on a silent paced device.
inline std::shared_ptr<TSpeechSystem> ScriptedSystem(
    TScriptedEngine::TConfig config = TScriptedEngine::DefaultConfig()) {
  auto system = std::make_shared<TSpeechSystem>();
  system->Drivers.push_back(std::make_shared<TScriptedEngine>(std::move(config)));
  system->WaveOutCount = [] { return 1; };
  system->CreatePcmOutput = [](int) { return std::make_unique<TPacedPcmOutput>(); };
  return system;
}

// The main window and the speech controller as start-up creates them, on
// temporary folders, with messages recorded instead of shown.
class TStartedReader {
 public:
  explicit TStartedReader(QStringList arguments = {QStringLiteral("verbalune")},
                          std::shared_ptr<TSpeechSystem> system = ScriptedSystem())
      : FSystem(std::move(system)) {
    TSpeechSystem::SetDefault(FSystem);
    ResetTTSModule();
    Form = std::make_unique<TForm1>(std::move(arguments));
    Form1 = Form.get();
    Speech = std::make_unique<TTTSForm>(nullptr, Preferences, FSystem);
    TTSForm = Speech.get();
    Form->TrayAvailable = [this] { return Tray; };
  }
  ~TStartedReader() { Free(); }
  TStartedReader(const TStartedReader&) = delete;
  TStartedReader& operator=(const TStartedReader&) = delete;

  // Shows the window and waits until the first activation's work is done.
  bool ShowAndActivate() {
    Form->show();
    Form->activateWindow();
    return QTest::qWaitFor([this] { return Form->Activated || Form->Terminated; }, 10000) &&
           !Form->Terminated;
  }

  // Frees the forms as the program does at its end.
  void Free() {
    Form.reset();
    Speech.reset();
    TSpeechSystem::SetDefault(nullptr);
    ResetTTSModule();
  }

  bool Tray = true;
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TTTSForm> Speech;

 private:
  std::shared_ptr<TSpeechSystem> FSystem;
};

inline QString TraceText() {
  return QString::fromUtf8(ReadWholeFile(UtilsClass::TraceFileName()));
}

// Preferences as a later start would find them in the registry.
inline std::unique_ptr<TPreferences> StoredPreferences() {
  auto stored = std::make_unique<TPreferences>();
  stored->LoadAll();
  stored->ReadFields();
  return stored;
}

// Stores preferences before the window is created, as an earlier run would.
// A run past the first start also left its saved articles, empty at least.
template <class TChange>
void StorePreferences(TChange change) {
  TPreferences stored;
  stored.LoadAll();
  stored.ReadFields();
  change(stored);
  stored.WriteFields();
  stored.SaveAll();
  if (!stored.FirstTimeUser && !QFileInfo::exists(TForm1::ExportFileName())) {
    WriteWholeFile(TForm1::ExportFileName(), QByteArray());
  }
}
