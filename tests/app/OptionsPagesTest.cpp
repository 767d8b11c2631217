// The option pages: each control writes its preference at once, and loads
// the value the preferences give.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include "AppPaths.h"
#include "AutoStartCommands.h"
#include "KelmorAuDevFrm.h"
#include "MemoEntryUnit.h"
#include "MemoListUnit.h"
#include "OptionsTestRig.h"
#include "RadioGroup.h"

namespace {

class OptionsPages : public ::testing::Test {
 protected:
  OptionsPages() { EXPECT_TRUE(Rig.Started); }
  TOptionsPages& P() const { return Rig.Pages(); }

  // Types into an edit as a user does, replacing its text.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  TOptionsRig Rig;
};

TEST_F(OptionsPages, OutputDirectoryIsStoredTrimmedWithoutItsTrailingSeparator) {
  const struct {
    const char* Typed;
    const char* Stored;
  } cases[] = {
      {"/home/me/Speech/", "/home/me/Speech"},
      {"  /home/me/Speech  ", "/home/me/Speech"},
      {"  /home/me/Speech/  ", "/home/me/Speech"},
      {"C:\\Speech\\", "C:\\Speech"},
      {"/", "/"},
      {"/home/me//", "/home/me/"},
  };
  for (const auto& c : cases) {
    Type(P().OutDirEdit, QString::fromUtf8(c.Typed));
    EXPECT_EQ(Preferences->OUT_Directory, QString::fromUtf8(c.Stored)) << c.Typed;
  }
}

TEST_F(OptionsPages, QualityStoresTheItemsBitRateAndFollowsTheFileFormat) {
  const int forty = P().AudioQltyCbx->findText(QStringLiteral("40 kbps / 22.05 KHz"));
  P().AudioQltyCbx->setCurrentIndex(forty);
  emit P().AudioQltyCbx->activated(forty);
  EXPECT_EQ(Preferences->BitRate, 40);
  for (int i = 0; i < P().AudioQltyCbx->count(); ++i) {
    EXPECT_EQ(TOptionsPages::BitRateOfItem(P().AudioQltyCbx->itemText(i)),
              QList<int>({16, 32, 40, 48, 56, 64}).at(i));
  }

  P().FileFormatRGrp->findChildren<QAbstractButton*>().at(0)->click();  // Wav
  EXPECT_EQ(Preferences->OUT_FileFormat, 0);
  EXPECT_FALSE(P().AudioQltyCbx->isEnabled());
  P().FileFormatRGrp->findChildren<QAbstractButton*>().at(1)->click();  // MP3
  EXPECT_EQ(Preferences->OUT_FileFormat, 1);
  EXPECT_TRUE(P().AudioQltyCbx->isEnabled());
}

TEST_F(OptionsPages, StartValuesComeFromThePreferences) {
  struct TCase {
    int BitRate;
    int Item;
  };
  for (const TCase c : {TCase{56, 4}, TCase{16, 0}, TCase{99, 1}}) {
    Preferences->BitRate = c.BitRate;
    Preferences->OUT_FileFormat = 0;
    Preferences->CB_ThreshHold = 123;
    Preferences->OUT_Directory = QStringLiteral("/tmp/out");
    Preferences->ToolbarOnMinOption = 2;
    P().LoadStartValues();
    EXPECT_EQ(P().AudioQltyCbx->currentIndex(), c.Item) << c.BitRate;
    // Loading never writes back.
    EXPECT_EQ(Preferences->BitRate, c.BitRate);
    EXPECT_FALSE(P().AudioQltyCbx->isEnabled());
    EXPECT_EQ(P().ThreshHoldEdit->text(), QStringLiteral("123"));
    EXPECT_EQ(P().OutDirEdit->text(), QStringLiteral("/tmp/out"));
    EXPECT_EQ(P().ToolbarMinCB->currentIndex(), 2);
  }
}

TEST_F(OptionsPages, NumberEditsTakeWholeNumbersAndKeepTheLastOne) {
  Type(P().ThreshHoldEdit, QStringLiteral("250"));
  EXPECT_EQ(Preferences->CB_ThreshHold, 250);
  Type(P().PromptDelayEdit, QStringLiteral("12"));
  EXPECT_EQ(Preferences->CB_PromptDelay, 12);
  // Letters are refused; an emptied edit keeps the value in force and
  // shows it again when left.
  Type(P().ThreshHoldEdit, QStringLiteral("x"));
  EXPECT_EQ(Preferences->CB_ThreshHold, 250);
  emit P().ThreshHoldEdit->editingFinished();
  EXPECT_EQ(P().ThreshHoldEdit->text(), QStringLiteral("250"));
  EXPECT_TRUE(Rig.Messages.All.isEmpty());
}

TEST_F(OptionsPages, VoiceGroupsWriteTheCurrentModesSelection) {
  P().SIVoiceGrp->findChildren<QAbstractButton*>().at(1)->click();
  EXPECT_EQ(Preferences->SI_Voice, 1);
  EXPECT_EQ(Preferences->MI_Voice, 0);

  Rig.Form().ToolButton2Click();
  EXPECT_EQ(Rig.Form().MISIOptionsPage->currentWidget(), Rig.Form().MIOptionsSheet);
  P().MIOptionsSheetShow();
  EXPECT_EQ(P().MIVoiceGrp->ItemIndex(), 0);
  P().MIVoiceGrp->findChildren<QAbstractButton*>().at(2)->click();
  EXPECT_EQ(Preferences->MI_Voice, 2);
  EXPECT_EQ(Preferences->SI_Voice, 1);

  P().ODestGrp->findChildren<QAbstractButton*>().at(1)->click();
  EXPECT_EQ(Preferences->OUT_FileDest, 1);
  EXPECT_EQ(Rig.Form().ReadDestination, rdMultipleFiles);
  P().AutoDeleteCB->click();
  EXPECT_TRUE(Preferences->ML_AutoDelete);
}

TEST_F(OptionsPages, PagesShowTheEffectiveValuesOfTheirMode) {
  Preferences->SI_AutoSpeak = true;
  Preferences->ML_AutoDelete = true;
  Preferences->OUT_FileDest = 1;
  Preferences->SI_DefaultTitles = false;
  // Single-Article mode: auto delete and multiple files do not apply.
  P().SIOptionsSheetShow();
  P().MIOptionsSheetShow();
  EXPECT_TRUE(P().AutoSpeakCB->isChecked());
  EXPECT_FALSE(P().AutoTitleCB->isChecked());
  EXPECT_FALSE(P().AutoDeleteCB->isChecked());
  EXPECT_EQ(P().ODestGrp->ItemIndex(), 0);

  Preferences->ML_ListMode = 1;
  P().SIOptionsSheetShow();
  P().MIOptionsSheetShow();
  EXPECT_FALSE(P().AutoSpeakCB->isChecked());
  EXPECT_TRUE(P().AutoTitleCB->isChecked());
  EXPECT_TRUE(P().AutoDeleteCB->isChecked());
  EXPECT_EQ(P().ODestGrp->ItemIndex(), 1);
}

TEST_F(OptionsPages, CheckBoxesWriteTheirPreferences) {
  const struct {
    QCheckBox* Box;
    bool* Preference;
  } cases[] = {
      {P().ClearClipboardCB, &Preferences->CB_ClearOnCopy},
      {P().PromptCkbx, &Preferences->CB_Prompt},
      {P().TBOnTopCB, &Preferences->ToolbarOnTop},
      {P().HighlightCB, &Preferences->TTS_HighlightPosition},
      {P().FilterCB, &Preferences->TTS_FilterSymbols},
      {P().AutoSpeakCB, &Preferences->SI_AutoSpeak},
      {P().AutoTitleCB, &Preferences->SI_DefaultTitles},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 2; ++i) {
      c.Box->click();
      EXPECT_EQ(*c.Preference, c.Box->isChecked()) << c.Box->objectName().toStdString();
    }
  }
  P().PromptDfltActCBox->setCurrentIndex(3);
  emit P().PromptDfltActCBox->activated(3);
  EXPECT_EQ(Preferences->CB_DfltPromptAction, 3);
  P().ToolbarMinCB->setCurrentIndex(1);
  emit P().ToolbarMinCB->activated(1);
  EXPECT_EQ(Preferences->ToolbarOnMinOption, 1);
}

TEST_F(OptionsPages, WatchClipboardIsTheSharedCommand) {
  const bool before = Preferences->CB_Monitor;
  P().MonitorCB->click();
  EXPECT_NE(Preferences->CB_Monitor, before);
  EXPECT_EQ(P().MonitorCB->isChecked(), Preferences->CB_Monitor);
  EXPECT_EQ(Rig.Form().MonClipMItm->isChecked(), Preferences->CB_Monitor);
}

TEST_F(OptionsPages, StartAtLoginBoxShowsAndChangesTheEntry) {
  P().AutoStartAppCB->click();
  EXPECT_TRUE(AutoStartAppEnabled());
  P().AutoStartAppCB->setChecked(false);
  P().MiscSheetShow();
  EXPECT_TRUE(P().AutoStartAppCB->isChecked());
  P().AutoStartAppCB->click();
  EXPECT_FALSE(AutoStartAppEnabled());
}

}  // namespace

namespace {

TEST_F(OptionsPages, HighlightSwitchedOnDuringAReadingBringsTheArticleIntoView) {
  Rig.Form().ToolButton2Click();
  TMemoListBox* list = Rig.Form().Articles;
  list->SetVisibleEntries(1);
  for (int i = 0; i < 3; ++i) {
    Rig.Form().AddMemo(QStringLiteral("Article %1").arg(i), QStringLiteral("Adam"));
  }
  TMemoEntry* last = list->Entries().last();
  list->ScrollToTop(1);
  ASSERT_FALSE(last->isVisible());
  Preferences->TTS_HighlightPosition = false;
  P().HighlightCB->setChecked(false);
  // Not reading: only the preference changes.
  P().HighlightCB->click();
  EXPECT_TRUE(Preferences->TTS_HighlightPosition);
  EXPECT_FALSE(last->isVisible());

  Rig.Form().SetRunState(rsReading);
  Rig.Speech().TTS1->Tag = reinterpret_cast<qintptr>(last);
  Rig.Form().activateWindow();
  // Switched off while reading: nothing to show, the list stays.
  P().HighlightCB->click();
  EXPECT_FALSE(Preferences->TTS_HighlightPosition);
  EXPECT_FALSE(last->isVisible());
  P().HighlightCB->click();
  EXPECT_TRUE(last->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([last] { return last->Editor->hasFocus(); }, 2000));
  Rig.Speech().TTS1->Tag = 0;
  Rig.Form().SetRunState(rsIdle);
}

// Every text the program itself shows (menus, pages, the device dialog, the
// help and the intro) speaks of the Linux desktop it runs on.
TEST(VisibleTexts, SpeakOfLinuxNotWindows) {
  TOptionsRig rig(TScriptedEngine::DefaultConfig());
  ASSERT_TRUE(rig.Started);
  QStringList texts;
  const auto collect = [&texts](const QWidget& root) {
    texts << root.windowTitle() << root.toolTip();
    for (const QAction* action : root.findChildren<QAction*>()) {
      texts << action->text() << action->toolTip();
    }
    for (const QAbstractButton* button : root.findChildren<QAbstractButton*>()) {
      texts << button->text() << button->toolTip();
    }
    for (const QLabel* label : root.findChildren<QLabel*>()) {
      texts << label->text();
    }
    for (const QGroupBox* box : root.findChildren<QGroupBox*>()) {
      texts << box->title();
    }
    for (const QTabWidget* tabs : root.findChildren<QTabWidget*>()) {
      for (int i = 0; i < tabs->count(); ++i) {
        texts << tabs->tabText(i);
      }
    }
    for (const QComboBox* box : root.findChildren<QComboBox*>()) {
      for (int i = 0; i < box->count(); ++i) {
        texts << box->itemText(i);
      }
    }
    for (const QListWidget* list : root.findChildren<QListWidget*>()) {
      for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
      }
    }
  };
  collect(rig.Form());
  TAudioDeviceSource devices;
  devices.OutputCount = [] { return 1; };
  devices.OutputCaps = [](int id, TWaveOutCaps& caps) {
    caps = TWaveOutCaps{};
    caps.DeviceID = id;
    caps.Formats = 0xFFF;
    return true;
  };
  TMyAudioDeviceDlg device(&rig.Form(), devices);
  device.FillList();
  device.SelectDeviceID(-1);
  collect(device);
  for (const char* file : {"VLIntro.chl", "AudioHelp.chl", "help/index.html"}) {
    QFile shipped(AppPaths::SharedFile(QLatin1String(file)));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << file;
    texts << QString::fromUtf8(shipped.readAll());
  }
  // "Windows-1252" names an encoding, not the desktop.
  static const QRegularExpression windowsWords(
      QStringLiteral("\\bWindows\\b(?!-1252)|Microsoft|Wave_Mapper|MS Default|Control Panel|"
                     "\\.exe\\b|Start menu|[Tt]askbar|[Rr]egistry|SAPI|OLE"));
  for (const QString& text : texts) {
    EXPECT_FALSE(windowsWords.match(text).hasMatch()) << text.toStdString();
  }
  EXPECT_TRUE(texts.contains(QStringLiteral("Start Verbalune at Login")));
  EXPECT_TRUE(texts.contains(QStringLiteral("Default output (system mixer)")));
}

}  // namespace
