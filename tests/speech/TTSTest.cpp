#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "TTSFixture.h"

#include <cerrno>
#include <cstring>

namespace {

const QString kMustBeFalse =
    QStringLiteral("The Active property must be FALSE before you can set the %1 property");
const QString kMustBeTrue =
    QStringLiteral("The Active property must be TRUE before the %1 method can be called");

using TTSComponent = TTSFixture;

TEST_F(TTSComponent, FreshComponentIsInactiveOnTheDefaultMode) {
  TTTS tts;
  EXPECT_FALSE(tts.Active());
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Default"));
  EXPECT_EQ(tts.ModeInfo().szModeName, QStringLiteral("Mary"));
  EXPECT_EQ(tts.ModeID(), tts.ModeInfo().gModeID);
  EXPECT_EQ(tts.AudioDeviceID(), -1);
  EXPECT_EQ(tts.OutputDest, odAudioDevice);
  EXPECT_EQ(tts.CharacterSet(), csText);
  EXPECT_EQ(tts.ControlTags(), ctNone);
  EXPECT_TRUE(SpeechPresent());
  EXPECT_TRUE(TTSEnginesPresent());
  EXPECT_EQ(tts.EngineInterface(), nullptr);
}

TEST_F(TTSComponent, WithoutAnyEngineConstructionSucceedsAndModeNameIsIgnored) {
  System->Drivers.clear();
  ResetTTSModule();
  TTTS tts;
  EXPECT_FALSE(SpeechPresent());
  EXPECT_TRUE(tts.ModeID().IsNull());
  tts.SetModeName(QStringLiteral("Mary"));  // nothing happens, nothing raised
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Default"));
}

TEST_F(TTSComponent, ModeSelectionByNameAndIdentifier) {
  TTTS tts;
  tts.SetModeName(QString());  // ignored
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Default"));
  tts.SetModeName(QStringLiteral("Hans"));
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Hans"));
  EXPECT_EQ(tts.ModeInfo().language.LanguageID, 1031);
  tts.SetModeName(QStringLiteral("Default"));
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Default"));
  EXPECT_EQ(tts.ModeInfo().szModeName, QStringLiteral("Mary"));
  EXPECT_EQ(ErrorOf([&] { tts.SetModeName(QStringLiteral("hans")); }),
            QStringLiteral("The value assigned to the ModeName property is invalid"));

  const TGUID hans = FindModeIDByName(QStringLiteral("Hans"));
  tts.SetModeID(hans);
  EXPECT_EQ(tts.ModeID(), hans);
  EXPECT_EQ(tts.ModeName(), QStringLiteral("Hans"));
  EXPECT_EQ(ErrorOf([&] { tts.SetModeID(TGUID::FromName(QStringLiteral("none"))); }),
            QStringLiteral("The value assigned to the ModeName property is invalid"));
}

TEST_F(TTSComponent, PropertiesThatNeedAnInactiveComponentNameThemselves) {
  TTTS tts;
  tts.SetActive(true);
  ASSERT_TRUE(tts.Active());
  EXPECT_EQ(ErrorOf([&] { tts.SetModeName(QStringLiteral("Hans")); }),
            kMustBeFalse.arg(QStringLiteral("ModeName")));
  EXPECT_EQ(ErrorOf([&] { tts.SetModeID(tts.ModeID()); }),
            kMustBeFalse.arg(QStringLiteral("ModeID")));
  EXPECT_EQ(ErrorOf([&] { tts.SetAudioDeviceID(0); }),
            kMustBeFalse.arg(QStringLiteral("AudioDeviceID")));
}

TEST_F(TTSComponent, OperationsThatNeedAnActiveComponentNameThemselves) {
  TTTS tts;
  const QList<std::pair<QString, std::function<void()>>> calls = {
      {QStringLiteral("Speak"), [&] { tts.Speak(QStringLiteral("x")); }},
      {QStringLiteral("Inject"), [&] { tts.Inject(QStringLiteral("\\Pit=1\\")); }},
      {QStringLiteral("AudioPaused"), [&] { tts.SetAudioPaused(true); }},
      {QStringLiteral("AudioReset"), [&] { tts.AudioReset(); }},
      {QStringLiteral("ShowLexiconDlg"), [&] { tts.ShowLexiconDlg(nullptr, nullptr); }},
      {QStringLiteral("Pitch"), [&] { tts.SetPitch(5); }},
      {QStringLiteral("Speed"), [&] { tts.SetSpeed(5); }},
  };
  for (const auto& [name, call] : calls) {
    EXPECT_EQ(ErrorOf(call), kMustBeTrue.arg(name));
  }
  tts.SetAudioPaused(false);  // unchanged value: nothing to do, nothing raised
}

TEST_F(TTSComponent, AudioDeviceIdAcceptsMinusOneThroughTheDeviceCount) {
  TTTS tts;
  for (int id : {-1, 0, 1, 2}) {
    tts.SetAudioDeviceID(id);
    EXPECT_EQ(tts.AudioDeviceID(), id);
  }
  for (int id : {-2, 3}) {
    EXPECT_EQ(
        ErrorOf([&] { tts.SetAudioDeviceID(id); }),
        QStringLiteral(
            "The value specified for the AudioDeviceID is outside the range of available IDs"));
  }
  // A device that went away reads as the default.
  DeviceCount = 1;
  EXPECT_EQ(tts.AudioDeviceID(), -1);
}

TEST_F(TTSComponent, SpeakSendsTheTextWithItsTerminatingZero) {
  TTTS tts;
  tts.SetActive(true);
  Engine->ClearCalls();
  tts.Speak(QString());
  tts.Speak(QStringLiteral("abc"));
  const QStringList calls = Engine->Calls();
  EXPECT_TRUE(calls.contains(QStringLiteral("TextData 0 0 2")));
  EXPECT_TRUE(calls.contains(QStringLiteral("TextData 0 0 8")));
}

TEST_F(TTSComponent, WordPositionsAreByteOffsetsDeliveredOnTheUiThread) {
  TTTS tts;
  std::vector<quint32> offsets;
  bool offThread = false;
  int stops = 0;
  tts.OnWordPosition = [&](TTTS* sender, quint64, quint32 offset) {
    EXPECT_EQ(sender, &tts);
    offsets.push_back(offset);
    offThread = offThread || QThread::currentThread() != qApp->thread();
  };
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  // The fifth character starts a word; an emoji counts two units.
  tts.Speak(QStringLiteral("abc defg \U0001F600 h"));
  ASSERT_TRUE(PumpUntil([&] { return stops > 0; }));
  EXPECT_EQ(offsets, (std::vector<quint32>{0, 8, 18, 24}));
  EXPECT_FALSE(offThread);
  Settle();
  EXPECT_EQ(stops, 1);

  // A NUL from a damaged file is spoken past, and the words after it keep
  // their places.
  offsets.clear();
  tts.Speak(QString::fromUtf16(u"abc\0de f", 8));
  ASSERT_TRUE(PumpUntil([&] { return stops > 1; }));
  EXPECT_EQ(offsets, (std::vector<quint32>{0, 8, 14}));
}

TEST_F(TTSComponent, FileDestinationNeedsAFileAndIsCompletedOnDeactivation) {
  TTTS tts;
  tts.OutputDest = odFile;
  EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
            QStringLiteral("OutputDest of odFile requres a valid path and file name in the "
                           "OutputFile property"));
  EXPECT_FALSE(tts.Active());

  const QString path = Dir.filePath(QStringLiteral("out.wav"));
  tts.SetOutputFile(path);
  int stops = 0;
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  tts.Speak(QStringLiteral("one two three"));
  ASSERT_TRUE(PumpUntil([&] { return stops > 0; }));
  Engine->ClearCalls();
  tts.SetActive(false);
  // The header was completed before the engine let go.
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray data = file.readAll();
  ASSERT_GT(data.size(), 44);
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 40),
            static_cast<quint32>(data.size() - 44));
  EXPECT_EQ(Engine->Calls(),
            (QStringList{QStringLiteral("UnRegister"), QStringLiteral("Release")}));
}

TEST_F(TTSComponent, AFileThatCannotBeCompletedIsReportedAndReleased) {
  if (!QFile::exists(QStringLiteral("/dev/full"))) {
    GTEST_SKIP() << "no /dev/full";
  }
  TTTS tts;
  tts.OutputDest = odFile;
  tts.SetOutputFile(QStringLiteral("/dev/full"));
  int stops = 0;
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  QString text;
  for (int i = 0; i < 2000; ++i) {
    text += QStringLiteral("word ");
  }
  tts.Speak(text);
  ASSERT_TRUE(PumpUntil([&] { return stops > 0; }));
  const QString error = ErrorOf([&] { tts.SetActive(false); });
  EXPECT_TRUE(error.startsWith(QStringLiteral("There was an error in disk access")))
      << error.toStdString();
  // The code alone would not say which file or why.
  EXPECT_TRUE(
      error.endsWith(QStringLiteral("\r\nOLE error 80040205\r\nCannot write file \"/dev/full\": ") +
                     QString::fromLocal8Bit(std::strerror(ENOSPC))))
      << error.toStdString();
  EXPECT_FALSE(tts.Active());
}

TEST_F(TTSComponent, ActivationAndDeactivationOrder) {
  TTTS tts;
  Engine->ClearCalls();
  tts.SetActive(true);
  tts.SetActive(true);  // already active: nothing
  tts.SetActive(false);
  const QStringList expected = {QStringLiteral("CreateEnum"),      QStringLiteral("Select"),
                                QStringLiteral("QueryAttributes"), QStringLiteral("Register"),
                                QStringLiteral("QueryDialogs"),    QStringLiteral("UnRegister"),
                                QStringLiteral("Release")};
  EXPECT_EQ(Engine->Calls(), expected);
}

TEST_F(TTSComponent, FailedActivationHoldsNothingAndFailedRegistrationIsSilent) {
  TTTS tts;
  Engine->FailCall(QStringLiteral("QueryDialogs"), E_NOINTERFACE);
  EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
            QStringLiteral("Could't create TTSDialogs Object. Is it registered?"));
  EXPECT_FALSE(tts.Active());
  EXPECT_EQ(tts.EngineInterface(), nullptr);
  EXPECT_EQ(Engine->Calls().last(), QStringLiteral("Release"));

  Engine->ClearFailures();
  Engine->FailCall(QStringLiteral("QueryAttributes"), E_NOINTERFACE);
  EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
            QStringLiteral("Couldn't create attributes Interface: Is engine registered?"));
  EXPECT_FALSE(tts.Active());

  Engine->ClearFailures();
  Engine->FailCall(QStringLiteral("Select"), AUDERR_ALREADYCLAIMED);
  try {
    tts.SetActive(true);
    ADD_FAILURE() << "no error";
  } catch (const ESpeechError& e) {
    EXPECT_EQ(e.ErrorCode(), AUDERR_ALREADYCLAIMED);
    EXPECT_EQ(e.Message(), QStringLiteral("The audio device has already been claimed.\r\nOLE "
                                          "error 8004031D"));
  }
  EXPECT_FALSE(tts.Active());

  Engine->ClearFailures();
  Engine->FailCall(QStringLiteral("Register"), E_FAIL);
  int stops = 0;
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  EXPECT_TRUE(tts.Active());
  int words = 0;
  tts.OnWordPosition = [&](TTTS*, quint64, quint32) { ++words; };
  tts.Speak(QStringLiteral("still speaks"));
  ASSERT_TRUE(PumpUntil([&] { return words == 2; }));
  Settle();
  EXPECT_EQ(stops, 0);
}

TEST_F(TTSComponent, NoWaveDeviceIsReportedBeforeTheEngineIsTouched) {
  DeviceCount = 0;
  ResetTTSModule();
  TTTS tts;
  tts.SetAudioDeviceID(5);  // ignored without devices
  EXPECT_EQ(tts.AudioDeviceID(), -1);
  EXPECT_EQ(ErrorOf([&] { tts.SetActive(true); }),
            QStringLiteral("No wave out devices available on system."));
  EXPECT_FALSE(tts.Active());
}

TEST_F(TTSComponent, PauseHoldsTheEndOfAudioAndResetReportsIt) {
  TTTS tts;
  int stops = 0;
  int words = 0;
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.OnWordPosition = [&](TTTS*, quint64, quint32) { ++words; };
  tts.SetActive(true);
  QString text;
  for (int i = 0; i < 200; ++i) {
    text += QStringLiteral("word ");
  }
  Engine->ClearCalls();
  tts.Speak(text);
  ASSERT_TRUE(PumpUntil([&] { return words > 0; }));
  tts.SetAudioPaused(true);
  tts.SetAudioPaused(true);  // already paused: the engine is not asked again
  EXPECT_TRUE(tts.AudioPaused());
  EXPECT_EQ(Engine->Calls().count(QStringLiteral("AudioPause")), 1);
  Settle(100);
  EXPECT_EQ(stops, 0);
  const int wordsWhilePaused = words;
  Settle(100);
  EXPECT_EQ(words, wordsWhilePaused);  // nothing is heard while paused

  tts.AudioReset();
  EXPECT_FALSE(tts.AudioPaused());
  ASSERT_TRUE(PumpUntil([&] { return stops > 0; }));
  const int wordsAtReset = words;
  Settle(100);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(words, wordsAtReset);  // nothing from the old text after the stop
  EXPECT_LT(words, 200);

  // The engine is usable again right away.
  tts.Speak(QStringLiteral("again"));
  ASSERT_TRUE(PumpUntil([&] { return stops > 1; }));
}

TEST_F(TTSComponent, ResumedSpeechEndsWithOneAudioStop) {
  TTTS tts;
  int stops = 0;
  tts.OnAudioStop = [&](TTTS*, quint64) { ++stops; };
  tts.SetActive(true);
  tts.Speak(QStringLiteral("a b c d e f g h"));
  tts.SetAudioPaused(true);
  Settle(50);
  EXPECT_EQ(stops, 0);
  tts.SetAudioPaused(false);
  ASSERT_TRUE(PumpUntil([&] { return stops > 0; }));
  Settle();
  EXPECT_EQ(stops, 1);
}

TEST_F(TTSComponent, AttributesClampAndRangesAreProbedWithoutChangingTheValue) {
  TTTS tts;
  tts.SetActive(true);
  EXPECT_EQ(tts.Pitch(), 100);
  EXPECT_EQ(tts.Speed(), 200);
  tts.SetPitch(120);
  tts.SetSpeed(300);
  EXPECT_EQ(tts.MinPitch(), 50);
  EXPECT_EQ(tts.MaxPitch(), 150);
  EXPECT_EQ(tts.MinSpeed(), 10);
  EXPECT_EQ(tts.MaxSpeed(), 400);
  EXPECT_EQ(tts.Pitch(), 120);
  EXPECT_EQ(tts.Speed(), 300);
  tts.SetPitch(1000);
  EXPECT_EQ(tts.Pitch(), 150);
  tts.Inject(QStringLiteral("\\Pit=70\\"));
  tts.Inject(QStringLiteral("\\Spd=20\\"));
  EXPECT_EQ(tts.Pitch(), 70);
  EXPECT_EQ(tts.Speed(), 20);
  // An engine that does not implement a setter is not an error.
  Engine->FailCall(QStringLiteral("PitchSet"), E_NOTIMPL);
  tts.SetPitch(60);
  Engine->FailCall(QStringLiteral("SpeedSet"), E_FAIL);
  EXPECT_TRUE(ErrorOf([&] { tts.SetSpeed(60); }).startsWith(QStringLiteral("Unspecified error")));
}

TEST_F(TTSComponent, CharacterSetIsCheckedWithTheEngineAndRestoredWhenRefused) {
  TTTS tts;
  tts.SetCharacterSet(csEnginePhonetic);  // inactive: just stored
  EXPECT_EQ(tts.CharacterSet(), csEnginePhonetic);
  tts.SetCharacterSet(csText);
  tts.SetActive(true);
  EXPECT_EQ(ErrorOf([&] { tts.SetCharacterSet(csIPAPhonetic); }),
            QStringLiteral("csIPAPhonetic is not implemented in the Acme Scripted engine"));
  EXPECT_EQ(tts.CharacterSet(), csText);
}

TEST_F(TTSComponent, ControlTagsNeedTheTaggingFeature) {
  TTTS tts;
  EXPECT_EQ(ErrorOf([&] { tts.SetControlTags(ctTagged); }),
            QStringLiteral("Control Tagging is not implemented in the Acme Scripted engine"));
  EXPECT_EQ(tts.ControlTags(), ctNone);
  tts.SetModeName(QStringLiteral("Hans"));
  tts.SetControlTags(ctTagged);
  EXPECT_EQ(tts.ControlTags(), ctTagged);
  tts.SetActive(true);
  Engine->ClearCalls();
  tts.Speak(QStringLiteral("x"));
  EXPECT_TRUE(Engine->Calls().contains(QStringLiteral("TextData 0 1 4")));
  tts.SetControlTags(static_cast<TCtrlTags>(7));
  EXPECT_EQ(tts.ControlTags(), ctNone);
}

TEST_F(TTSComponent, ModuleOperationsListAndFindModes) {
  QStringList names;
  EXPECT_EQ(GetTTSModeNames(names), S_FALSE);
  EXPECT_EQ(names, (QStringList{QStringLiteral("Mary"), QStringLiteral("Hans"),
                                QStringLiteral(" Spaced ")}));
  EXPECT_FALSE(FindModeIDByName(QStringLiteral("  Spaced")).IsNull());  // trimmed both sides
  EXPECT_TRUE(FindModeIDByName(QStringLiteral("mary")).IsNull());       // letter case counts
  Engine->FailCall(QStringLiteral("Reset"), E_FAIL);
  names.clear();
  EXPECT_EQ(GetTTSModeNames(names), E_FAIL);
  EXPECT_TRUE(names.isEmpty());
  EXPECT_THROW(FindModeIDByName(QStringLiteral("Mary")), ESpeechError);
}

TEST_F(TTSComponent, HandlersMayCloseTheComponentFromAnEvent) {
  TTTS tts;
  tts.OnAudioStop = [](TTTS* sender, quint64) { sender->SetActive(false); };
  int words = 0;
  tts.OnWordPosition = [&](TTTS* sender, quint64, quint32) {
    if (++words == 2) {
      sender->SetActive(false);
    }
  };
  tts.SetActive(true);
  tts.Speak(QStringLiteral("one two three four"));
  ASSERT_TRUE(PumpUntil([&] { return !tts.Active(); }));
  Settle();
  EXPECT_EQ(words, 2);
}

class TTSWithoutAttributes : public TTSFixture {
 protected:
  TTSWithoutAttributes() : TTSFixture(TTSI_ITTSCENTRAL | TTSI_ITTSDIALOGS) {}
};

TEST_F(TTSWithoutAttributes, RangesFallBackAndValuesReadAsUnknown) {
  TTTS tts;
  tts.SetActive(true);
  EXPECT_EQ(tts.MaxPitch(), 100);
  EXPECT_EQ(tts.MinPitch(), 0);
  EXPECT_EQ(tts.MaxSpeed(), 100);
  EXPECT_EQ(tts.MinSpeed(), 0);
  EXPECT_EQ(tts.Pitch(), -1);
  EXPECT_EQ(tts.Speed(), 0);
  EXPECT_EQ(ErrorOf([&] { tts.SetPitch(1); }), kMustBeTrue.arg(QStringLiteral("Pitch")));
}

}  // namespace
