#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "AppPaths.h"
#include "PreferenceUnit.h"
#include "SettingsTestSupport.h"

namespace {

const QString PrefKey = QStringLiteral("Software\\KelmorSoft\\Verbalune");

struct PreferencesTest : ::testing::Test, TSettingsFixture {
  void Stored(const QString& name, const QString& text) {
    Store().CreateKey(PrefKey);
    Store().SetValue(PrefKey, name, RegStringValue(text));
  }
  std::unique_ptr<TPreferences> Loaded() {
    auto prefs = std::make_unique<TPreferences>();
    prefs->LoadAll();
    prefs->ReadFields();
    return prefs;
  }
};

TEST_F(PreferencesTest, FreshUserGetsEveryDefault) {
  const auto p = Loaded();
  EXPECT_EQ(p->Version(), QStringLiteral("1.21"));
  EXPECT_TRUE(p->ShowOptions && p->ShowToolbar && p->SI_ShowBusyDialog);
  EXPECT_FALSE(p->SI_AutoSpeak || p->ML_AutoDelete || p->CB_ClearOnCopy || p->ToolbarOnTop);
  EXPECT_EQ(p->SI_Voice, 0);
  EXPECT_EQ(p->MI_Voice, 0);
  EXPECT_EQ(p->ML_VisibleEntries, 3);
  EXPECT_EQ(p->ML_ListMode, 0);
  EXPECT_EQ(p->TTS_DefaultVoiceName, QString());
  EXPECT_TRUE(p->TTS_HighlightPosition && p->TTS_FilterSymbols && p->TTS_SoundCardCheckErr);
  EXPECT_EQ(p->TTS_AudioDeviceID, -1);
  EXPECT_TRUE(p->CB_Monitor && p->CB_Prompt);
  EXPECT_EQ(p->CB_PromptDelay, 3);
  EXPECT_EQ(p->CB_ThreshHold, 10);
  EXPECT_EQ(p->CB_PromptTop, -1);
  EXPECT_EQ(p->CB_PromptLeft, -1);
  EXPECT_EQ(p->CB_DfltPromptAction, 2);
  EXPECT_EQ(p->CB_LastPromptAction, 2);
  EXPECT_EQ(p->OUT_FileDest, 0);
  EXPECT_EQ(p->OUT_FileFormat, 0);
  EXPECT_EQ(p->DefaultOutDir, Folders.DataDir() + QStringLiteral("/Files"));
  EXPECT_EQ(p->OUT_Directory, p->DefaultOutDir);
  EXPECT_TRUE(QFileInfo(p->DefaultOutDir).isDir());
  EXPECT_EQ(p->OpenDlgInitialDir, QDir::homePath());
  EXPECT_EQ(p->ToolbarOnMinOption, 1);
  EXPECT_TRUE(p->FirstTimeUser && p->ShowPronEditWarning && p->SI_DefaultTitles);
  EXPECT_EQ(p->BitRate, 32);
}

TEST_F(PreferencesTest, StoredTextsReachTheMembers) {
  Stored(QStringLiteral("SI_Voice"), QStringLiteral("258"));
  Stored(QStringLiteral("OUT_Directory"), QStringLiteral("   "));
  Stored(QStringLiteral("TTS_DefaultVoiceName"), QString::fromUtf8("Grüße \"A\\B\""));
  Stored(QStringLiteral("ML_VisibleEntries"), QStringLiteral("not a number"));
  Stored(QStringLiteral("BitRate"), QStringLiteral("64"));
  const auto p = Loaded();
  EXPECT_EQ(p->SI_Voice, 2) << "low eight bits";
  EXPECT_EQ(p->OUT_Directory, p->DefaultOutDir);
  EXPECT_EQ(p->TTS_DefaultVoiceName, QString::fromUtf8("Grüße \"A\\B\""));
  EXPECT_EQ(p->ML_VisibleEntries, 3) << "an unreadable value falls back to its default";
  EXPECT_EQ(p->BitRate, 64) << "later settings still load";
}

TEST_F(PreferencesTest, AccessorsFollowTheListMode) {
  auto p = Loaded();
  p->SI_AutoSpeak = true;
  p->ML_AutoDelete = true;
  p->ML_VisibleEntries = 7;
  p->OUT_FileDest = 1;
  p->SI_Voice = 1;
  p->MI_Voice = 2;
  p->SI_DefaultTitles = false;

  p->ML_ListMode = 0;
  EXPECT_TRUE(p->AutoSpeak());
  EXPECT_FALSE(p->AutoDelete());
  EXPECT_EQ(p->VisibleEntries(), 1);
  EXPECT_EQ(p->FileDest(), 0);
  EXPECT_EQ(p->Voice(), 1);
  EXPECT_FALSE(p->DefaultTitles());
  p->SetVoice(0);
  EXPECT_EQ(p->SI_Voice, 0);
  EXPECT_EQ(p->MI_Voice, 2);

  p->ML_ListMode = 1;
  EXPECT_FALSE(p->AutoSpeak());
  EXPECT_TRUE(p->AutoDelete());
  EXPECT_EQ(p->VisibleEntries(), 7);
  EXPECT_EQ(p->FileDest(), 1);
  EXPECT_EQ(p->Voice(), 2);
  EXPECT_TRUE(p->DefaultTitles());
  EXPECT_FALSE(p->SI_DefaultTitles);
  p->SetVoice(1);
  EXPECT_EQ(p->MI_Voice, 1);
  p->SetDefaultTitles(true);
  p->SetAutoSpeak(false);
  EXPECT_TRUE(p->SI_DefaultTitles);
  EXPECT_FALSE(p->SI_AutoSpeak);
}

TEST_F(PreferencesTest, NormalRunStoresEveryPreferenceAsText) {
  {
    auto p = Loaded();
    p->AddItem(QStringLiteral("FAV_voice"), 2, QString(), false, regBool);
    p->CB_ThreshHold = 25;
    p->TTS_DefaultVoiceName = QStringLiteral("Voice\nwith break");
    p->WriteFields();
    p->SaveAll();
  }
  const QStringList names = Store().ValueNames(PrefKey);
  EXPECT_EQ(names.size(), 35);
  EXPECT_TRUE(names.contains(QStringLiteral("RunMinimized")));
  for (const QString& name : names) {
    EXPECT_EQ(Store().Value(PrefKey, name)->Type, REG_SZ) << name.toStdString();
  }
  EXPECT_EQ(*Store().Value(PrefKey, QStringLiteral("CB_ThreshHold")),
            RegStringValue(QStringLiteral("25")));

  // And everything comes back through the file.
  Store().BindFile(QString());
  const auto p = Loaded();
  EXPECT_EQ(p->CB_ThreshHold, 25);
  EXPECT_EQ(p->TTS_DefaultVoiceName, QStringLiteral("Voice\nwith break"));
}

}  // namespace
