#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "AppTestSupport.h"
#include "OptionsCommands.h"
#include "OptionsPages.h"
#include "TAudioHelpUnit.h"
#include "TTSEngineUnit.h"
#include "VoicesTree.h"

// Voices of three vendors: eSpeak NG (Adam, Linda in US English, Max in
// German), Microsoft (Mary, Mike, and Zed who is no favourite) and Digalo
// (Juliette in French).
inline TScriptedEngine::TConfig ThreeVendors() {
  TScriptedEngine::TConfig config = TScriptedEngine::DefaultConfig();
  for (const char16_t* name : {u"Mary", u"Mike", u"Zed"}) {
    const QString n = QString::fromUtf16(name);
    config.Modes << TScriptedEngine::MakeMode(QStringLiteral("Microsoft"), n, n, 1033);
  }
  config.Modes << TScriptedEngine::MakeMode(QStringLiteral("ELAN Informatique"),
                                            QStringLiteral("Digalo Juliette"),
                                            QStringLiteral("Juliette"), 1036);
  return config;
}

// The started main window with its option pages; spoken texts are recorded.
class TOptionsRig {
 public:
  explicit TOptionsRig(TScriptedEngine::TConfig config = ThreeVendors(),
                       const QString& defaultVoice = QStringLiteral("Adam")) {
    StorePreferences([&defaultVoice](TPreferences& p) {
      p.FirstTimeUser = false;
      p.TTS_DefaultVoiceName = defaultVoice;
    });
    Reader = std::make_unique<TStartedReader>(QStringList{QStringLiteral("verbalune")},
                                              ScriptedSystem(std::move(config)));
    Commands = AttachOptions(*Reader->Form, *Reader->Speech, *Preferences);
    Commands->SpeakText = [this](const QString& text, const QString& voiceName) {
      Spoken.push_back({text, voiceName});
    };
    Started = Reader->ShowAndActivate();
  }

  TForm1& Form() const { return *Reader->Form; }
  TTTSForm& Speech() const { return *Reader->Speech; }
  TOptionsPages& Pages() const { return Commands->Pages(); }
  TVoicesTree& Tree() const { return Commands->Tree(); }

  // The tree node captioned so, vendor or voice.
  QTreeWidgetItem* Node(const QString& caption) const {
    const auto found =
        Tree().EngineVoicesTV->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
  }
  // Selects a node as a click on it does.
  void Select(const QString& caption) const {
    QTreeWidgetItem* node = Node(caption);
    Tree().EngineVoicesTV->setCurrentItem(node);
    Tree().EngineVoicesTVMouseDown(node);
  }
  int Image(const QString& caption) const { return TVoicesTree::ImageOf(Node(caption)); }
  QStringList DefaultVoiceList() const {
    QStringList names;
    for (int i = 0; i < Pages().DfltVoiceCB->count(); ++i) {
      names << Pages().DfltVoiceCB->itemText(i);
    }
    return names;
  }

  struct TSpoken {
    QString Text;
    QString Voice;
  };

  TTempFolders Folders;
  TMessageRecorder Messages;
  std::unique_ptr<TStartedReader> Reader;
  TOptionsCommands* Commands = nullptr;
  std::vector<TSpoken> Spoken;
  bool Started = false;
};
