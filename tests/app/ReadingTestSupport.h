#pragma once

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "AppTestSupport.h"
#include "DiscardPcmOutput.h"
#include "MemoListUnit.h"
#include "ReadCommands.h"
#include "ReadingRun.h"

// Scripted voices "Adam", "Linda" and "Max (German)" speaking at sampleRate
// on an instant sound card.
inline std::shared_ptr<TSpeechSystem> InstantSystem(int sampleRate = 22050) {
  TScriptedEngine::TConfig config = TScriptedEngine::DefaultConfig();
  config.SampleRate = sampleRate;
  config.WordMs = 40;
  config.GapMs = 10;
  auto system = std::make_shared<TSpeechSystem>();
  system->Drivers.push_back(std::make_shared<TScriptedEngine>(config));
  system->WaveOutCount = [] { return 1; };
  system->CreatePcmOutput = [](int) { return std::make_unique<TDiscardPcmOutput>(); };
  return system;
}

struct TArticleSpec {
  QString Title;
  QString Text;
  QString Voice = QStringLiteral("Adam");
};

// The main window started on an empty list with its reading commands, the
// output folder in the test's data folder.
class TReadingRig {
 public:
  explicit TReadingRig(int sampleRate = 22050, bool multi = true)
      : Reader({QStringLiteral("verbalune")}, InstantSystem(sampleRate)) {
    Ok = Reader.ShowAndActivate();
    Form = Reader.Form.get();
    Commands = AttachReadCommands(*Form, *Reader.Speech, *Preferences);
    Run = &Commands->Run();
    OutDir = QDir(AppPaths::DataDir()).filePath(QStringLiteral("out"));
    QDir().mkpath(OutDir);
    Preferences->OUT_Directory = OutDir;
    if (multi) {
      Form->ToolButton2Click();
    }
  }

  // Stores what a rig's start needs: no intro, no saved articles.
  static void PrepareStart(const std::function<void(TPreferences&)>& change = {}) {
    StorePreferences([&](TPreferences& p) {
      p.FirstTimeUser = false;
      if (change) {
        change(p);
      }
    });
    WriteWholeFile(TForm1::ExportFileName(), QByteArray());
  }

  QList<TMemoEntry*> AddArticles(const QList<TArticleSpec>& specs) {
    QList<TMemoEntry*> made;
    for (const TArticleSpec& article : specs) {
      TMemoEntry* entry = Form->AddMemo(article.Text, article.Voice);
      entry->SetTitle(article.Title);
      entry->SelectVoice(article.Voice);
      made << entry;
    }
    return made;
  }

  bool WaitIdle(int limitMs = 30000) const {
    return QTest::qWaitFor([this] { return Form->RunState == rsIdle && !Run->EngineActive(); },
                           limitMs);
  }
  TMemoEntry* Reading() const { return reinterpret_cast<TMemoEntry*>(Reader.Speech->TTS1->Tag); }
  QString Out(const QString& name) const { return QDir(OutDir).filePath(name); }
  QStringList OutFiles() const { return QDir(OutDir).entryList(QDir::Files, QDir::Name); }
  // With hidden working files, which must never be left behind.
  QStringList AllOutFiles() const {
    return QDir(OutDir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }

  TStartedReader Reader;
  bool Ok = false;
  TForm1* Form = nullptr;
  TReadCommands* Commands = nullptr;
  TReadingRun* Run = nullptr;
  QString OutDir;
};
