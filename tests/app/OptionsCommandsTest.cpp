// Spoken help, the audio device command and voice editing from the tree and
// from an article.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include "MemoEntryUnit.h"
#include "MemoListUnit.h"
#include "OptionsTestRig.h"
#include "ReadCommands.h"
#include "VoiceEditUnit.h"

namespace {

QAction* HelpTopic(const TForm1& form, const QString& topic) {
  for (QAction* item : form.mnuAudioHelp->actions()) {
    if (item->data().toString() == topic) {
      return item;
    }
  }
  return nullptr;
}

TEST(OptionsCommands, AudioHelpIsReadWithAnEnglishVoice) {
  TOptionsRig rig(ThreeVendors(), QStringLiteral("Max (German)"));
  ASSERT_TRUE(rig.Started);
  QAction* topic = HelpTopic(rig.Form(), QStringLiteral("Voices"));
  ASSERT_NE(topic, nullptr) << "the shipped help has a topic on voices";
  topic->trigger();
  ASSERT_EQ(rig.Spoken.size(), 1u);
  // Mary is the English voice the controller prefers.
  EXPECT_EQ(rig.Spoken[0].Voice, QStringLiteral("Mary"));
  EXPECT_EQ(rig.Spoken[0].Text, TAudioHelp::GetTopicText(QStringLiteral("Voices")));
  EXPECT_EQ(rig.Form().StatusPanel0->text(), QStringLiteral("Reading Audio Help"));

  // An English default voice reads the help itself.
  Preferences->TTS_DefaultVoiceName = QStringLiteral("Linda");
  topic->trigger();
  EXPECT_EQ(rig.Spoken.at(1).Voice, QStringLiteral("Linda"));

  // Nothing is started during a reading.
  rig.Form().SetRunState(rsReading);
  EXPECT_FALSE(topic->isEnabled());
  rig.Form().SetRunState(rsIdle);
  EXPECT_TRUE(topic->isEnabled());
}

TEST(OptionsCommands, WithoutAnEnglishVoiceHelpExplainsAndReadsNothing) {
  TScriptedEngine::TConfig german;
  german.Modes << TScriptedEngine::MakeMode(
      QStringLiteral("eSpeak NG"), QStringLiteral("Scripted de Max"), QStringLiteral("Max"), 1031);
  TOptionsRig rig(german, QStringLiteral("Max (German)"));
  ASSERT_TRUE(rig.Started);
  rig.Commands->AudioHelpItemClick(HelpTopic(rig.Form(), QStringLiteral("Voices")));
  EXPECT_TRUE(rig.Spoken.empty());
  EXPECT_EQ(rig.Messages.Errors,
            QStringList{QStringLiteral("An English Voice was not found on your computer.\rAudio "
                                       "Help is currently available in English only")});
}

TEST(OptionsCommands, AHelpTopicWithoutTextReadsNothing) {
  TOptionsRig rig;
  ASSERT_TRUE(rig.Started);
  QAction missing(QStringLiteral("No Such Topic"));
  missing.setData(QStringLiteral("No Such Topic"));
  rig.Commands->AudioHelpItemClick(&missing);
  EXPECT_TRUE(rig.Spoken.empty());
  EXPECT_TRUE(rig.Messages.All.isEmpty());
}

TEST(OptionsCommands, ADeviceIsStoredOnlyWhenTheControllerAcceptsIt) {
  TOptionsRig rig;
  ASSERT_TRUE(rig.Started);
  Preferences->TTS_AudioDeviceID = -1;
  struct TCase {
    bool Confirmed;
    int Chosen;
    int Stored;
  };
  // The scripted system has one device: identifier 5 cannot be opened.
  for (const TCase c :
       {TCase{true, 5, -1}, TCase{false, 0, -1}, TCase{true, 0, 0}, TCase{true, -1, -1}}) {
    int offered = -2;
    rig.Commands->RunDeviceDialog = [&offered, c](TAuDevDlg& request) {
      offered = request.FAudioDeviceID;
      EXPECT_EQ(request.FDlgUse, duTTS);
      request.FAudioDeviceID = c.Chosen;
      return c.Confirmed;
    };
    const int before = Preferences->TTS_AudioDeviceID;
    rig.Commands->SelAudioDevMItmClick();
    EXPECT_EQ(offered, before);
    EXPECT_EQ(Preferences->TTS_AudioDeviceID, c.Stored) << c.Chosen;
    EXPECT_EQ(rig.Speech().TTS1->AudioDeviceID(), c.Stored) << c.Chosen;
  }
}

// Drags the voice edit dialog's pitch slider and answers it.
void EditPitch(int pitch, bool ok) {
  QTimer::singleShot(0, qApp, [pitch, ok] {
    auto* dialog = qobject_cast<TVoiceEditForm*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->PitchSlider->setSliderDown(true);
    dialog->PitchSlider->setValue(pitch);
    dialog->PitchSlider->setSliderDown(false);
    ok ? dialog->OkBtnClick() : dialog->CancelBtnClick();
  });
}

TEST(OptionsCommands, EditedVoicesKeepTheirValuesOnlyOnOkAndAreSaved) {
  TOptionsRig rig;
  ASSERT_TRUE(rig.Started);
  rig.Tree().EngineVoicesTabShow();
  rig.Select(QStringLiteral("Linda"));
  const TVoiceEntry* linda = rig.Speech().FindVoice(QStringLiteral("Linda"));
  EditPitch(70, false);
  rig.Tree().EditVoiceItemClick();
  EXPECT_EQ(linda->Pitch, 50);
  EditPitch(70, true);
  rig.Tree().EditVoiceItemClick();
  EXPECT_EQ(linda->Pitch, 70);
  EXPECT_EQ(Preferences->GetValue(QStringLiteral("PIT_") + linda->SettingsKey).toInt(), 70);

  // The article's voice, from its context menu.
  TMemoEntry* article = rig.Form().Articles->CurrentEntry();
  ASSERT_NE(article, nullptr);
  article->SelectVoice(QStringLiteral("Mike"));
  EditPitch(30, true);
  rig.Form().EditVoiceforSelectedArticle1->trigger();
  EXPECT_EQ(rig.Speech().FindVoice(QStringLiteral("Mike"))->Pitch, 30);
}

}  // namespace

namespace {

// The test button through the real reading commands: a one-off reading that
// ends by itself and marks nothing in the article.
TEST(OptionsCommands, TestReadsThroughTheReadingCommandsWithoutHighlighting) {
  TOptionsRig rig;
  ASSERT_TRUE(rig.Started);
  Preferences->TTS_HighlightPosition = true;
  TReadCommands* commands = AttachReadCommands(rig.Form(), rig.Speech(), *Preferences);
  rig.Commands->SpeakText = [commands](const QString& text, const QString& voiceName) {
    commands->SpeakText(text, voiceName);
  };
  TMemoEntry* article = rig.Form().Articles->CurrentEntry();
  article->SetEditorText(QStringLiteral("Words that must stay unmarked"));
  rig.Tree().EngineVoicesTabShow();
  rig.Select(QStringLiteral("Linda"));
  rig.Tree().TestButtonClick();
  EXPECT_EQ(rig.Form().RunState, rsReading);
  EXPECT_FALSE(rig.Tree().TestButton->isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&rig] { return rig.Form().RunState == rsIdle; }, 20000));
  EXPECT_TRUE(rig.Tree().TestButton->isEnabled());
  EXPECT_FALSE(article->Editor->textCursor().hasSelection());
  EXPECT_TRUE(rig.Messages.All.isEmpty()) << rig.Messages.All.join(u'|').toStdString();
}

}  // namespace
