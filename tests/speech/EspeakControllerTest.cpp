#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "EspeakDriver.h"
#include "SpeechTestRig.h"
#include "TTSEngineUnit.h"
#include "TTSFilter.h"
#include "TTSUnit.h"
#include "TestEnvironment.h"

// The controller over the real espeak-ng engine, on an instant sound card.
class EspeakController : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TEspeakDriver::Available()) {
      GTEST_SKIP() << "espeak-ng is not installed";
    }
    Rig = std::make_unique<TSpeechRig>(std::make_shared<TEspeakDriver>());
    Form = std::make_unique<TTTSForm>(nullptr, &Prefs, Rig->System);
    Form->Initialize();
    Prefs.LoadAll();
    Form->LoadVoiceSettings();
  }
  void TearDown() override {
    Form.reset();
    Rig.reset();
  }

  TMessageRecorder Messages;
  TPreferences Prefs;
  std::unique_ptr<TSpeechRig> Rig;
  std::unique_ptr<TTTSForm> Form;
};

TEST_F(EspeakController, EveryVoiceIsNamedOnceAndEnglishIsAFavourite) {
  ASSERT_GT(Form->Voices.size(), 10u);
  QSet<QString> names;
  for (const auto& voice : Form->Voices) {
    EXPECT_EQ(voice->Engine->Vendor, u"eSpeak NG");
    EXPECT_TRUE(voice->SettingsKey.startsWith(u"Espk")) << voice->SettingsKey.toStdString();
    EXPECT_FALSE(names.contains(voice->Name)) << voice->Name.toStdString();
    names.insert(voice->Name);
    const bool english = voice->Engine->LanguageID == 1033;
    EXPECT_EQ(english, !voice->Name.contains(u" (")) << voice->Name.toStdString();
    if (english) {
      EXPECT_TRUE(voice->Favorite) << voice->Name.toStdString();
    }
  }
  ASSERT_NE(Form->FindEnglishVoice(), nullptr);
  EXPECT_EQ(Form->FindEnglishVoice()->Engine->LanguageID, 1033);
  EXPECT_NE(Form->FindVoice(Prefs.TTS_DefaultVoiceName), nullptr);
}

TEST_F(EspeakController, WordPositionsMapBackToTheArticle) {
  const QString text = QStringLiteral(
      "Please read http://www.example.com/docs today. The PRESIDENT spoke in CA and NY, "
      "then the weather turned cold.");
  const TVoiceEntry* voice = Form->FindEnglishVoice();
  ASSERT_NE(voice, nullptr);
  QList<qint32> mapped;
  Form->TTS1->OnWordPosition = [&](TTTS*, quint64, quint32 byteOffset) {
    mapped.append(Form->Filter->MapPosition(static_cast<qint32>(byteOffset) / 2));
  };
  bool done = false;
  Form->OnSpeechDone = [&](QObject*) { done = true; };
  ASSERT_TRUE(Form->Play(text, voice->Name));
  ASSERT_TRUE(WaitFor([&] { return done; }));
  // The engine skips some words and splits others, but whatever it reports
  // must land on a word of the unfiltered text, in reading order.
  ASSERT_GT(mapped.size(), 8);
  qint32 previous = -1;
  for (qint32 position : mapped) {
    ASSERT_GE(position, 0);
    ASSERT_LT(position, text.size());
    // A spoken "dot" of the web address stands for its full stop.
    EXPECT_FALSE(text.at(position).isSpace()) << position;
    EXPECT_GE(position, previous);
    previous = position;
  }
  for (const char* word : {"Please", "PRESIDENT", "weather", "cold"}) {
    EXPECT_TRUE(mapped.contains(static_cast<qint32>(text.indexOf(QString::fromUtf8(word)))))
        << word;
  }
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

TEST_F(EspeakController, PlayToFileProducesAWaveFile) {
  QTemporaryDir dir;
  const QString wave = dir.filePath(QStringLiteral("speech.wav"));
  const QString voice = Form->FindEnglishVoice()->Name;
  ASSERT_TRUE(Form->PlayToFileInit(voice, wave));
  bool done = false;
  Form->OnSpeechDone = [&](QObject*) { done = true; };
  EXPECT_TRUE(Form->PlayToFile(voice, QStringLiteral("This sentence goes into a file.")));
  ASSERT_TRUE(WaitFor([&] { return done; }));
  Form->TTS1->SetActive(false);
  const QByteArray bytes = ReadWholeFile(wave);
  ASSERT_GT(bytes.size(), 22050);  // well over half a second of 16-bit audio
  EXPECT_TRUE(bytes.startsWith("RIFF"));
  EXPECT_EQ(bytes.mid(8, 4), QByteArray("WAVE"));
}
