#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>

#include "SpeechTestRig.h"
#include "TTSEngineUnit.h"
#include "TTSFilter.h"
#include "TTSUnit.h"
#include "TestEnvironment.h"

namespace {

const QString Ms = QStringLiteral("Microsoft");
const QString TruVoice = QStringLiteral("Lernout && Hauspie Speech Products");
const QString Eloquent = QStringLiteral("Eloquent Technology, Inc.");
const QString Elan = QStringLiteral("ELAN Informatique");
const QString Espeak = QStringLiteral("eSpeak NG");

TTSMODEINFO Mode(const QString& mfg, const QString& modeName, const QString& speaker,
                 quint16 language) {
  return TScriptedEngine::MakeMode(mfg, modeName, speaker, language);
}

std::shared_ptr<TScriptedEngine> MakeEngine(QList<TTSMODEINFO> modes) {
  TScriptedEngine::TConfig config;
  config.Modes = std::move(modes);
  config.WordMs = 5;
  config.GapMs = 1;
  return std::make_shared<TScriptedEngine>(config);
}

// A controller over the scripted engine, with its own preferences and a
// recorder for every message.
class SpeechController : public ::testing::Test {
 protected:
  void Build(QList<TTSMODEINFO> modes) {
    Form.reset();
    Rig.reset();
    Engine = MakeEngine(std::move(modes));
    Rig = std::make_unique<TSpeechRig>(Engine);
    Form = std::make_unique<TTTSForm>(nullptr, &Prefs, Rig->System);
    Form->Initialize();
    Prefs.LoadAll();
    Form->LoadVoiceSettings();
  }
  void BuildStandard() {
    Build({Mode(Ms, QStringLiteral("Mary"), QStringLiteral("Mary"), 1033),
           Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034)});
  }
  int InjectCalls() const {
    return static_cast<int>(Engine->Calls().count(QStringLiteral("Inject")));
  }

  TMessageRecorder Messages;
  TPreferences Prefs;
  std::shared_ptr<TScriptedEngine> Engine;
  std::unique_ptr<TSpeechRig> Rig;
  std::unique_ptr<TTTSForm> Form;
};

}  // namespace

TEST_F(SpeechController, NamesKeysAndFavouritesOfEveryEngine) {
  Build({
      Mode(Ms, QStringLiteral("Mary (for Telephone)"), QStringLiteral("Mary"), 1033),
      Mode(Ms, QStringLiteral("Mary"), QStringLiteral("Mary"), 1031),
      Mode(Ms, QStringLiteral("Mary in Hall"), QStringLiteral("Mary"), 1033),
      Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034),
      Mode(Elan, QStringLiteral("Digalo Anna"), QStringLiteral("Anna"), 1033),
      Mode(Elan, QStringLiteral("Digalo Luc"), QStringLiteral("Luc"), 1036),
      Mode(TruVoice, QStringLiteral("TruVoice Carl"), QStringLiteral("Carl"), 1031),
      Mode(TruVoice, QStringLiteral("TruVoice Sidney"), QStringLiteral("Sidney"), 1033),
      Mode(Espeak, QStringLiteral("eSpeak en-us Adam"), QStringLiteral("Adam"), 1033),
      Mode(Espeak, QStringLiteral("eSpeak ru Ivan"), QStringLiteral("Ivan"), 1049),
      Mode(QStringLiteral("Acme"), QStringLiteral("Acme Bob"), QStringLiteral("Bob"), 1033),
      Mode(Eloquent, QStringLiteral("Eloq Sven"), QStringLiteral("Sven"), 1047),
  });
  struct {
    const char* Name;
    const char* Key;
    const char* Engine;
    bool Favorite;
  } const expected[] = {
      {"Mary", "Mary", "Microsoft", true},
      {"Mary in Hall", "Mary in Hall", "Microsoft", false},
      {"Juan (Spanish)", "EloqJuan1034", "Eloquent - Spanish", true},
      {"Digalo Anna", "DigaAnna1033", "Digalo - US English", true},
      {"Luc (French)", "DigaLuc1036", "Digalo - French", true},
      {"Carl", "Lrn1Carl1031", "L & H TruVoice", false},
      {"Sidney", "Lrn1Sidney1033", "L & H TruVoice", true},
      {"Adam", "EspkAdam1033", "eSpeak NG - US English", true},
      {"Ivan (Russian)", "EspkIvan1049", "eSpeak NG - Russian", false},
  };
  ASSERT_EQ(Form->Voices.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const TVoiceEntry& voice = *Form->Voices[i];
    SCOPED_TRACE(voice.Name.toStdString());
    EXPECT_EQ(voice.Name, QString::fromUtf8(expected[i].Name));
    EXPECT_EQ(voice.SettingsKey, QString::fromUtf8(expected[i].Key));
    EXPECT_EQ(voice.Engine->Name, QString::fromUtf8(expected[i].Engine));
    EXPECT_EQ(voice.Favorite, expected[i].Favorite);
    EXPECT_EQ(Prefs.GetValue(QStringLiteral("SPD_") + voice.SettingsKey).toInt(), 0);
    EXPECT_EQ(Prefs.GetValue(QStringLiteral("PIT_") + voice.SettingsKey).toInt(), 0);
    EXPECT_EQ(voice.MinPitch, -1);
    EXPECT_EQ(voice.DefaultSpeed, -1);
    EXPECT_FALSE(voice.ModeID.IsNull());
  }
  EXPECT_EQ(Prefs.TTS_DefaultVoiceName, u"Mary");
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();

  const QList<TArticleVoice> seam = Form->ArticleVoices();
  ASSERT_EQ(seam.size(), static_cast<qsizetype>(std::size(expected)));
  EXPECT_EQ(seam[1].Name, u"Mary in Hall");
  EXPECT_FALSE(seam[1].Favorite);
}

TEST_F(SpeechController, DefaultVoiceFallsBackToTheFirstVoice) {
  for (const char* stored : {"Nobody", "   ", "juan (Spanish)"}) {
    Prefs.TTS_DefaultVoiceName = QString::fromUtf8(stored);
    BuildStandard();
    EXPECT_EQ(Prefs.TTS_DefaultVoiceName, u"Mary") << stored;
  }
  Prefs.TTS_DefaultVoiceName = QStringLiteral("Juan (Spanish)");
  BuildStandard();
  EXPECT_EQ(Prefs.TTS_DefaultVoiceName, u"Juan (Spanish)");
}

TEST_F(SpeechController, VoiceSettingsRoundTrip) {
  BuildStandard();
  Prefs.SetValue(QStringLiteral("FAV_EloqJuan1034"), false);
  Prefs.SetValue(QStringLiteral("SPD_EloqJuan1034"), 210);
  Prefs.SetValue(QStringLiteral("PIT_EloqJuan1034"), 60);
  Prefs.SetValue(QStringLiteral("ENG_Microsoft"), false);
  Form->LoadVoiceSettings();
  TVoiceEntry* juan = Form->FindVoice(QStringLiteral("Juan (Spanish)"));
  ASSERT_NE(juan, nullptr);
  EXPECT_FALSE(juan->Favorite);
  EXPECT_EQ(juan->Speed, 210);
  EXPECT_EQ(juan->Pitch, 60);
  EXPECT_FALSE(Form->Engines->FindEngine(Ms)->Enabled);

  juan->Pitch = 75;
  Form->SetEngineVoicesEnabled(QStringLiteral("Eloquent Technology, Inc."), true);
  Form->SaveVoiceSettings();
  EXPECT_TRUE(Prefs.GetValue(QStringLiteral("FAV_EloqJuan1034")).toBool());
  EXPECT_EQ(Prefs.GetValue(QStringLiteral("PIT_EloqJuan1034")).toInt(), 75);
  EXPECT_TRUE(Prefs.GetValue(QStringLiteral("ENG_Eloquent - Spanish")).toBool());
  EXPECT_FALSE(Prefs.GetValue(QStringLiteral("ENG_Microsoft")).toBool());

  Form->SetEngineVoicesEnabled(QStringLiteral("Microsoft"), false);
  EXPECT_FALSE(Form->FindVoice(QStringLiteral("Mary"))->Favorite);
  EXPECT_TRUE(juan->Favorite);
  EXPECT_FALSE(Form->ArticleVoices().at(0).EngineEnabled);
}

TEST_F(SpeechController, PitchZeroIsTheEnginesOwnOnlyWhereItsRangeHoldsIt) {
  BuildStandard();
  // Mary's range is 0..100: her stored -1 is the engine's 0; a stored 0 is
  // still the engine's default, as for every engine.
  Prefs.SetValue(QStringLiteral("PIT_Mary"), kPitchZero);
  Prefs.SetValue(QStringLiteral("PIT_EloqJuan1034"), 0);
  Form->LoadVoiceSettings();
  TVoiceEntry* mary = Form->FindVoice(QStringLiteral("Mary"));
  TVoiceEntry* juan = Form->FindVoice(QStringLiteral("Juan (Spanish)"));
  ASSERT_TRUE(Form->Play(QStringLiteral("a b"), QStringLiteral("Mary")));
  EXPECT_EQ(Form->TTS1->Pitch(), 0);
  EXPECT_EQ(mary->Pitch, kPitchZero);
  EXPECT_EQ(EnginePitch(*mary), 0);
  ASSERT_TRUE(Form->Play(QStringLiteral("a b"), QStringLiteral("Juan (Spanish)")));
  EXPECT_EQ(Form->TTS1->Pitch(), 50);
  EXPECT_EQ(juan->Pitch, 50);
  Form->SaveVoiceSettings();
  EXPECT_EQ(Prefs.GetValue(QStringLiteral("PIT_Mary")).toInt(), kPitchZero);

  // Set from a slider: 0 is kept apart from the default only where it exists.
  SetEnginePitch(*mary, 0);
  EXPECT_EQ(mary->Pitch, kPitchZero);
  SetEnginePitch(*mary, 30);
  EXPECT_EQ(mary->Pitch, 30);
  juan->MinPitch = 20;
  SetEnginePitch(*juan, 0);
  EXPECT_EQ(juan->Pitch, 0);
}

TEST_F(SpeechController, FindVoiceAndEnglishVoice) {
  Build({Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034),
         Mode(Eloquent, QStringLiteral("Eloq Ann"), QStringLiteral("Ann"), 2057),
         Mode(Ms, QStringLiteral("Sam"), QStringLiteral("Sam"), 1033)});
  EXPECT_EQ(Form->FindVoice(QStringLiteral("sam")), nullptr);
  EXPECT_EQ(Form->FindEnglishVoice(), Form->FindVoice(QStringLiteral("Sam")));

  Build({Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034),
         Mode(Eloquent, QStringLiteral("Eloq Ann"), QStringLiteral("Ann"), 2057)});
  EXPECT_EQ(Form->FindEnglishVoice(), Form->FindVoice(QStringLiteral("Ann (UK English)")));

  Build({Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034)});
  EXPECT_EQ(Form->FindEnglishVoice(), nullptr);
}

TEST_F(SpeechController, PlayRefusesBeforeTouchingTheEngine) {
  BuildStandard();
  Rig->OpenResult->store(-EBUSY);
  EXPECT_FALSE(Form->Play(QStringLiteral("Hello"), QStringLiteral("Nobody")));
  EXPECT_EQ(Messages.All, QStringList{QStringLiteral("Sound card is busy.  Wait and try again.")});

  Rig->OpenResult->store(0);
  Messages.All.clear();
  EXPECT_FALSE(Form->Play(QStringLiteral("Hello"), QStringLiteral("Nobody")));
  EXPECT_EQ(Messages.All, QStringList{QStringLiteral("Voice Nobody does not exist")});
  EXPECT_FALSE(Form->TTS1->Active());

  // A failing sound card: the dialog decides, and only when checks are on.
  Rig->OpenResult->store(-ENODEV);
  Prefs.TTS_SoundCardCheckErr = true;
  Messages.QueueDialogResult(mrCancel);
  EXPECT_FALSE(Form->Play(QStringLiteral("Hello"), QStringLiteral("Mary")));
  EXPECT_EQ(Messages.Dialogs, QStringList{QStringLiteral("SoundCardError")});
  // Going on anyway: the engine cannot open the card either, and says so.
  Messages.All.clear();
  Messages.QueueDialogResult(mrOk);
  EXPECT_FALSE(Form->Play(QStringLiteral("Hello"), QStringLiteral("Mary")));
  ASSERT_EQ(Messages.All.size(), 1);
  EXPECT_TRUE(Messages.All[0].contains(u"OLE error")) << Messages.All[0].toStdString();
  Prefs.TTS_SoundCardCheckErr = false;
  EXPECT_FALSE(Form->Play(QStringLiteral("Hello"), QStringLiteral("Mary")));
  EXPECT_EQ(Messages.Dialogs.size(), 2);
  EXPECT_FALSE(Form->TTS1->Active());
}

TEST_F(SpeechController, PlaySpeaksFilteredTextAndReportsTheEndOnce) {
  BuildStandard();
  TVoiceEntry* mary = Form->FindVoice(QStringLiteral("Mary"));
  const QString text = QStringLiteral("Visit www.example.com today, FRIEND in NY now");
  QList<qint32> mapped;
  Form->TTS1->OnWordPosition = [&](TTTS*, quint64, quint32 byteOffset) {
    mapped.append(Form->Filter->MapPosition(static_cast<qint32>(byteOffset) / 2));
  };
  int done = 0;
  Form->OnSpeechDone = [&](QObject* sender) {
    EXPECT_EQ(sender, Form.get());
    ++done;
  };
  ASSERT_TRUE(Form->Play(text, QStringLiteral("Mary")));
  // Stored speed 0: the mode was probed once and speaks at its defaults.
  EXPECT_EQ(mary->DefaultSpeed, 175);
  EXPECT_EQ(mary->Speed, 175);
  EXPECT_EQ(mary->Pitch, 50);
  EXPECT_EQ(mary->MinPitch, 0);
  EXPECT_EQ(mary->MaxPitch, 100);
  ASSERT_TRUE(WaitFor([&] { return done == 1; }));
  ASSERT_FALSE(mapped.isEmpty());
  for (qint32 position : mapped) {
    ASSERT_GE(position, 0);
    ASSERT_LT(position, text.size());
    // Every spoken word maps back to the start of a word of the article.
    EXPECT_TRUE(text.at(position).isLetterOrNumber()) << position;
    EXPECT_TRUE(position == 0 || !text.at(position - 1).isLetterOrNumber()) << position;
  }
  EXPECT_EQ(mapped.first(), 0);
  EXPECT_EQ(mapped.last(), text.indexOf(u"now"));
  QCoreApplication::processEvents();
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(Form->Timer1->isActive());
}

TEST_F(SpeechController, AnEndWhilePausedIsReportedOnlyAfterResume) {
  BuildStandard();
  int done = 0;
  Form->OnSpeechDone = [&](QObject*) { ++done; };
  ASSERT_TRUE(Form->Play(QStringLiteral("one two three four five six"), QStringLiteral("Mary")));
  Form->Pause();
  ASSERT_TRUE(Form->TTS1->AudioPaused());
  Form->TTS1->OnAudioStop(Form->TTS1, 0);
  EXPECT_FALSE(Form->Timer1->isActive());
  EXPECT_TRUE(Form->SpeechEndPending());
  Form->Resume();
  ASSERT_TRUE(WaitFor([&] { return done == 1; }));

  // Paused in the delay after the end: the delay runs out without ending
  // the reading, and Resume ends it.
  ASSERT_TRUE(Form->Play(QStringLiteral("one two"), QStringLiteral("Mary")));
  ASSERT_TRUE(WaitFor([&] { return Form->Timer1->isActive(); }));
  Form->Pause();
  ASSERT_TRUE(WaitFor([&] { return !Form->Timer1->isActive(); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(done, 1);
  EXPECT_TRUE(Form->SpeechEndPending());
  Form->Resume();
  ASSERT_TRUE(WaitFor([&] { return done == 2; }));
  EXPECT_FALSE(Form->SpeechEndPending());
  // Pause and resume of an idle engine are only traced.
  Form->TTS1->SetActive(false);
  Form->Pause();
  Form->Resume();
  EXPECT_TRUE(Messages.All.isEmpty());
}

TEST_F(SpeechController, ANewReadingIsNotEndedByTheDelayOfTheLastOne) {
  BuildStandard();
  int done = 0;
  int wordsAtDone = -1;
  int words = 0;
  Form->TTS1->OnWordPosition = [&](TTTS*, quint64, quint32) { ++words; };
  Form->OnSpeechDone = [&](QObject*) {
    ++done;
    wordsAtDone = words;
  };
  ASSERT_TRUE(Form->Play(QStringLiteral("one"), QStringLiteral("Mary")));
  ASSERT_TRUE(WaitFor([&] { return Form->Timer1->isActive(); }));
  for (const bool toFile : {false, true}) {
    words = 0;
    QTemporaryDir dir;
    if (toFile) {
      ASSERT_TRUE(
          Form->PlayToFileInit(QStringLiteral("Mary"), dir.filePath(QStringLiteral("a.wav"))));
      EXPECT_FALSE(Form->Timer1->isActive());
      ASSERT_TRUE(
          Form->PlayToFile(QStringLiteral("Mary"), QStringLiteral("w1 w2 w3 w4 w5 w6 w7 w8")));
    } else {
      ASSERT_TRUE(Form->Play(QStringLiteral("w1 w2 w3 w4 w5 w6 w7 w8"), QStringLiteral("Mary")));
      EXPECT_FALSE(Form->Timer1->isActive());
    }
    ASSERT_TRUE(WaitFor([&] { return done == 1; })) << toFile;
    EXPECT_EQ(wordsAtDone, 8) << toFile;
    done = 0;
    // The next round starts inside this reading's delay.
    ASSERT_TRUE(Form->Play(QStringLiteral("one"), QStringLiteral("Mary")));
    ASSERT_TRUE(WaitFor([&] { return Form->Timer1->isActive(); }));
  }
}

TEST_F(SpeechController, PlayToFileWritesAWaveFileWithoutASoundCard) {
  BuildStandard();
  Rig->OpenResult->store(-ENODEV);
  Prefs.TTS_SoundCardCheckErr = false;
  QTemporaryDir dir;
  const QString wave = dir.filePath(QStringLiteral("out.wav"));
  ASSERT_TRUE(Form->PlayToFileInit(QStringLiteral("Juan (Spanish)"), wave));
  int done = 0;
  Form->OnSpeechDone = [&](QObject*) { ++done; };
  EXPECT_TRUE(Form->PlayToFile(QStringLiteral("Juan (Spanish)"), QStringLiteral("uno dos tres")));
  ASSERT_TRUE(WaitFor([&] { return done == 1; }));
  Form->TTS1->SetActive(false);
  const QByteArray bytes = ReadWholeFile(wave);
  ASSERT_GT(bytes.size(), 44);
  EXPECT_TRUE(bytes.startsWith("RIFF"));
  EXPECT_EQ(bytes.mid(8, 4), QByteArray("WAVE"));
  EXPECT_TRUE(Messages.All.isEmpty());
}

TEST_F(SpeechController, PlayToFileInitExplainsAFailedStart) {
  BuildStandard();
  QTemporaryDir dir;
  const QString missing = dir.path() + QStringLiteral("/nowhere/");
  struct {
    QString Voice;
    QString File;
    QString Message;
  } const cases[] = {
      {QStringLiteral("Nobody"), dir.filePath(QStringLiteral("a.wav")),
       QStringLiteral("Voice Nobody does not exist")},
      {QStringLiteral("Mary"), missing + QStringLiteral("a.wav"),
       QStringLiteral("Output Directory ") + missing + QStringLiteral(" is not valid")},
      {QStringLiteral("Mary"), QString(), QStringLiteral("Output Directory must be specified")},
  };
  for (const auto& c : cases) {
    Messages.All.clear();
    EXPECT_FALSE(Form->PlayToFileInit(c.Voice, c.File));
    EXPECT_EQ(Messages.All, QStringList{c.Message});
    EXPECT_FALSE(Form->TTS1->Active());
  }
}

TEST_F(SpeechController, PitchAndSpeedReachOnlyTheMicrosoftModeSpeaking) {
  BuildStandard();
  TVoiceEntry* mary = Form->FindVoice(QStringLiteral("Mary"));
  TVoiceEntry* juan = Form->FindVoice(QStringLiteral("Juan (Spanish)"));
  Form->ApplyPitch(*mary);  // nothing is speaking
  ASSERT_TRUE(Form->Play(QStringLiteral("a b c d e f g h"), QStringLiteral("Juan (Spanish)")));
  Form->ApplyPitch(*juan);
  Form->ApplySpeed(*juan);
  EXPECT_EQ(InjectCalls(), 0);
  ASSERT_TRUE(Form->Play(QStringLiteral("a b c d e f g h"), QStringLiteral("Mary")));
  mary->Pitch = 120;
  Form->ApplyPitch(*mary);
  Form->ApplySpeed(*mary);
  EXPECT_EQ(InjectCalls(), 2);
}

TEST_F(SpeechController, CheckAudioDeviceRestoresTheEngine) {
  Prefs.TTS_AudioDeviceID = -1;
  BuildStandard();
  // After a Read to File the check opens the device, never that file.
  QTemporaryDir dir;
  const QString wave = dir.filePath(QStringLiteral("read.wav"));
  ASSERT_TRUE(Form->PlayToFileInit(QStringLiteral("Mary"), wave));
  int done = 0;
  Form->OnSpeechDone = [&](QObject*) { ++done; };
  ASSERT_TRUE(Form->PlayToFile(QStringLiteral("Mary"), QStringLiteral("one two three")));
  ASSERT_TRUE(WaitFor([&] { return done == 1; }));
  Form->TTS1->SetActive(false);
  const QByteArray rendered = ReadWholeFile(wave);
  ASSERT_GT(rendered.size(), 44);
  EXPECT_TRUE(Form->CheckAudioDevice(0));
  EXPECT_EQ(ReadWholeFile(wave), rendered);
  Form->OnSpeechDone = nullptr;

  EXPECT_FALSE(Form->TTS1->Active());
  EXPECT_EQ(Form->TTS1->AudioDeviceID(), -1);
  EXPECT_TRUE(Messages.All.isEmpty());

  EXPECT_FALSE(Form->CheckAudioDevice(7));
  ASSERT_EQ(Messages.All.size(), 2);
  EXPECT_EQ(Messages.All[0], TTSTexts::DeviceOutOfRange());
  EXPECT_TRUE(Messages.All[1].startsWith(u"Audio device check failed. \rVerify"));
  EXPECT_EQ(Form->TTS1->AudioDeviceID(), -1);
}

TEST_F(SpeechController, StoredDeviceOutOfRangeFallsBackToDefault) {
  Prefs.TTS_AudioDeviceID = 9;
  BuildStandard();
  EXPECT_EQ(Form->TTS1->AudioDeviceID(), -1);
  Prefs.TTS_AudioDeviceID = 1;
  BuildStandard();
  EXPECT_EQ(Form->TTS1->AudioDeviceID(), 1);
}

TEST_F(SpeechController, PronunciationEditorOpensForAnyEngineButNotWhileSpeaking) {
  Build({Mode(Eloquent, QStringLiteral("Eloq Juan"), QStringLiteral("Juan"), 1034)});
  Prefs.ShowPronEditWarning = true;
  Form->ShowPronunciationEditor(nullptr, QStringLiteral("Verbalune MP3 Pronunciation"));
  EXPECT_TRUE(Messages.Errors.isEmpty());
  EXPECT_EQ(Messages.Dialogs, QStringList{QStringLiteral("PronunciationEditor")});

  Messages.Dialogs.clear();
  ASSERT_TRUE(Form->Play(QStringLiteral("Hello there."), QStringLiteral("Juan (Spanish)")));
  Form->ShowPronunciationEditor(nullptr, QStringLiteral("Verbalune MP3 Pronunciation"));
  EXPECT_TRUE(Messages.Dialogs.isEmpty());
}

TEST_F(SpeechController, PronunciationsReachTheEngineAndPositionsMapBack) {
  BuildStandard();
  Form->Pronunciations->Items = {
      {QStringLiteral("GUI"), QStringLiteral("gooey user thing"), true, false, QString()},
      {QStringLiteral("Juan"), QStringLiteral("Hwan"), true, true, Eloquent},
  };
  const QString text = QStringLiteral("A gui for Juan and me.");
  Engine->ClearCalls();
  ASSERT_TRUE(Form->Play(text, QStringLiteral("Mary")));
  // Mary is not Eloquent's: only the entry for every voice applies.
  const QString spoken = QStringLiteral("A gooey user thing for Juan and me.");
  const QStringList queued = Engine->Calls().filter(QStringLiteral("TextData"));
  ASSERT_EQ(queued.size(), 1);
  EXPECT_TRUE(queued[0].endsWith(u' ' + QString::number((spoken.size() + 1) * 2)))
      << queued[0].toStdString();
  // Word positions in what was spoken land on the words of the article.
  EXPECT_EQ(Form->Filter->MapPosition(static_cast<qint32>(spoken.indexOf(u"user"))), 2);
  EXPECT_EQ(Form->Filter->MapPosition(static_cast<qint32>(spoken.indexOf(u"Juan"))),
            text.indexOf(u"Juan"));
}
