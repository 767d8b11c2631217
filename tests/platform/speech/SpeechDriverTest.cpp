#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>

#include "EngineCentral.h"
#include "EspeakDriver.h"
#include "FliteDriver.h"
#include "SpeechTestSinks.h"
#include "TTSEnumerator.h"
#include "WaveFileDest.h"

namespace {

// What every engine driver must do, whichever engine is under it.
struct TDriverCase {
  const char* Engine;
  std::function<std::shared_ptr<ISpeechDriver>()> Make;  // null: not installed
  const char* ModeName;
  quint32 Rate;
  const char* FastTag;  // a speed well above the default
  const char* HighTag;  // a pitch well above the default
  bool WordsExact;      // every word once, at its first letter (espeak misses some)
};

std::ostream& operator<<(std::ostream& out, const TDriverCase& c) {
  return out << c.Engine;
}

const TDriverCase kDrivers[] = {
    {"espeak",
     []() -> std::shared_ptr<ISpeechDriver> {
       return TEspeakDriver::Available() ? std::make_shared<TEspeakDriver>() : nullptr;
     },
     "eSpeak NG en-us Adam", 22050, "\\Spd=350\\", "\\Pit=95\\", false},
    // A diphone voice and a statistical one: they stream their audio differently.
    {"flite_kal16", [] { return std::make_shared<TFliteDriver>(); }, "Flite Kal16", 16000,
     "\\Spd=350\\", "\\Pit=180\\", true},
    {"flite_slt", [] { return std::make_shared<TFliteDriver>(); }, "Flite Slt", 16000,
     "\\Spd=350\\", "\\Pit=300\\", true},
};

class DriverTest : public ::testing::TestWithParam<TDriverCase> {
 protected:
  void SetUp() override {
    Driver = GetParam().Make();
    if (!Driver) {
      GTEST_SKIP() << GetParam().Engine << " is not installed";
    }
  }

  TTSMODEINFO Mode(const QString& name) {
    for (const TTSMODEINFO& mode : Driver->Modes()) {
      if (mode.szModeName == name) {
        return mode;
      }
    }
    ADD_FAILURE() << "no mode " << name.toStdString();
    return {};
  }

  struct TResult {
    std::vector<quint32> Words;
    QByteArray Wav;
    QByteArray Pcm;  // the data chunk
  };

  // Speaks the text into a file; pitch and speed are injected first when given.
  TResult SpeakToFile(const QString& text, const QString& tags = QString(),
                      bool resetAfterStart = false) {
    const QString path = Dir.filePath(QStringLiteral("out.wav"));
    auto file = std::make_shared<TWaveFileDest>();
    EXPECT_EQ(file->Set(path, 1), S_OK);
    TTTSEnum enumerator({Driver});
    std::unique_ptr<ITTSCentralW> central;
    EXPECT_EQ(
        enumerator.Select(Mode(QString::fromLatin1(GetParam().ModeName)).gModeID, central, file),
        S_OK);
    auto sinks = std::make_shared<TRecordingSinks>();
    quint32 key = 0;
    central->Register(sinks, &key);
    if (!tags.isEmpty()) {
      central->Inject(tags);
    }
    const std::u16string buffer = text.toStdU16String();
    EXPECT_EQ(central->TextData(0, 0, buffer.c_str(), static_cast<quint32>((buffer.size() + 1) * 2),
                                sinks),
              S_OK);
    if (resetAfterStart) {
      PumpUntil([&] { return sinks->Starts > 0; });
      central->AudioReset();
    }
    EXPECT_TRUE(PumpUntil([&] { return sinks->Stops > 0; }));
    EXPECT_FALSE(sinks->OffThread);
    ReleaseCentral(std::move(central));
    EXPECT_EQ(file->Flush(), S_OK);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray wav = f.readAll();
    return {sinks->Words, wav, wav.mid(44)};
  }

  // The voice's period in samples: in each loud 40 ms frame the lag between
  // 2.5 and 12.5 ms that matches best, and the median of those. A higher
  // voice repeats sooner.
  int VoicePeriod(const QByteArray& pcm) const {
    const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype n = pcm.size() / 2;
    const int rate = static_cast<int>(GetParam().Rate);
    const int frame = rate / 25;
    const int minLag = rate / 400;
    const int maxLag = rate / 80;
    std::vector<int> lags;
    for (qsizetype start = 0; start + frame + maxLag < n; start += frame) {
      double energy = 0;
      for (int i = 0; i < frame; ++i) {
        energy += static_cast<double>(s[start + i]) * s[start + i];
      }
      if (energy < frame * 500.0 * 500.0) {
        continue;
      }
      int best = 0;
      double bestScore = -1e300;
      for (int lag = minLag; lag <= maxLag; ++lag) {
        double score = 0;
        for (int i = 0; i < frame; i += 2) {
          score += static_cast<double>(s[start + i]) * s[start + i + lag];
        }
        if (score > bestScore) {
          bestScore = score;
          best = lag;
        }
      }
      lags.push_back(best);
    }
    if (lags.empty()) {
      return 0;
    }
    std::sort(lags.begin(), lags.end());
    return lags[lags.size() / 2];
  }

  std::shared_ptr<ISpeechDriver> Driver;
  QTemporaryDir Dir;
};

TEST_P(DriverTest, WordOffsetsLandOnWordStartsThroughPunctuationAccentsAndEmoji) {
  // Byte offsets into the UTF-16 text: the emoji takes two units.
  const QString texts[] = {
      QStringLiteral("Hello, \"quoted\" world (ok) cats!"),
      QStringLiteral("Caf\u00e9 \U0001F600 na\u00efve world."),
      QStringLiteral("\u00c9t\u00e9 \u2014 \u201cnice\u201d, \U0001F600\U0001F600 dog."),
  };
  const QStringList expected[] = {
      {QStringLiteral("Hello"), QStringLiteral("quoted"), QStringLiteral("world"),
       QStringLiteral("ok"), QStringLiteral("cats")},
      {QStringLiteral("Caf"), QStringLiteral("na"), QStringLiteral("world")},
      {QStringLiteral("\u00c9t"), QStringLiteral("nice"), QStringLiteral("dog")},
  };
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    const QString& text = texts[i];
    SCOPED_TRACE(text.toStdString());
    const TResult result = SpeakToFile(text);
    ASSERT_FALSE(result.Words.empty());
    for (const QString& word : expected[i]) {
      const auto offset = static_cast<quint32>(text.indexOf(word) * 2);
      EXPECT_NE(std::find(result.Words.begin(), result.Words.end(), offset), result.Words.end())
          << word.toStdString();
    }
    for (quint32 offset : result.Words) {
      EXPECT_EQ(offset % 2, 0u);
      EXPECT_LT(offset, static_cast<quint32>(text.size() * 2));
    }
    if (GetParam().WordsExact) {
      std::vector<quint32> starts;
      for (const QString& word : expected[i]) {
        starts.push_back(static_cast<quint32>(text.indexOf(word) * 2));
      }
      EXPECT_EQ(result.Words, starts);
    }
  }
}

TEST_P(DriverTest, FileHoldsTheSpeechAtTheVoicesRateMono16Bit) {
  const TResult result = SpeakToFile(QStringLiteral("Hello there, this is a test."));
  const QByteArray& wav = result.Wav;
  const quint32 rate = GetParam().Rate;
  ASSERT_GT(wav.size(), static_cast<qsizetype>(44 + rate));          // over half a second of speech
  EXPECT_LT(wav.size(), static_cast<qsizetype>(44 + rate * 2 * 6));  // and not a minute
  EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), rate);
  EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 22), 1);
  EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16);
  EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40),
            static_cast<quint32>(wav.size() - 44));
}

TEST_P(DriverTest, InjectedSpeedAndPitchChangeTheAudio) {
  const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog.");
  const TResult normal = SpeakToFile(text);
  const TResult fast = SpeakToFile(text, QString::fromLatin1(GetParam().FastTag));
  const TResult high = SpeakToFile(text, QString::fromLatin1(GetParam().HighTag));
  EXPECT_LT(fast.Pcm.size(), normal.Pcm.size() * 3 / 4);
  EXPECT_LT(VoicePeriod(high.Pcm), VoicePeriod(normal.Pcm));
}

TEST_P(DriverTest, ResetStopsALongTextAndStillReportsTheStop) {
  QString text;
  for (int i = 0; i < 2000; ++i) {
    text += QStringLiteral("This sentence is repeated many times. ");
  }
  const TResult result = SpeakToFile(text, QString(), true);
  // The whole text would be well over ten minutes of audio.
  EXPECT_LT(result.Pcm.size(), static_cast<qsizetype>(GetParam().Rate * 2 * 60));
}

INSTANTIATE_TEST_SUITE_P(Engines, DriverTest, ::testing::ValuesIn(kDrivers),
                         [](const auto& info) { return std::string(info.param.Engine); });

class EspeakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TEspeakDriver::Available()) {
      GTEST_SKIP() << "espeak-ng data not installed";
    }
    Driver = std::make_shared<TEspeakDriver>();
  }
  std::shared_ptr<TEspeakDriver> Driver;
};

TEST_F(EspeakTest, ModesAreNamedDistinctlyWithWindowsLanguages) {
  const QList<TTSMODEINFO> modes = Driver->Modes();
  ASSERT_FALSE(modes.isEmpty());
  QSet<QString> names;
  QSet<QString> usSpeakers;
  int usFemale = 0;
  int usMale = 0;
  for (const TTSMODEINFO& mode : modes) {
    EXPECT_EQ(mode.szMfgName, QStringLiteral("eSpeak NG"));
    EXPECT_NE(mode.language.LanguageID, 0);
    EXPECT_FALSE(mode.szSpeaker.isEmpty());
    EXPECT_FALSE(names.contains(mode.szModeName)) << mode.szModeName.toStdString();
    names.insert(mode.szModeName);
    if (mode.language.LanguageID == 1033) {
      EXPECT_FALSE(usSpeakers.contains(mode.szSpeaker));
      usSpeakers.insert(mode.szSpeaker);
      usFemale += mode.wGender == 1;
      usMale += mode.wGender == 2;
    }
  }
  EXPECT_GE(usFemale, 2);
  EXPECT_GE(usMale, 2);
  EXPECT_EQ(TEspeakDriver::LanguageIdOf(QStringLiteral("en-gb")), 2057);
  EXPECT_EQ(TEspeakDriver::LanguageIdOf(QStringLiteral("de")), 1031);
  EXPECT_EQ(TEspeakDriver::LanguageIdOf(QStringLiteral("xx")), 0);
}

TEST_F(EspeakTest, LocaleLanguageComesFirstAndUsEnglishNext) {
  QList<TTSMODEINFO> modes = Driver->Modes();
  TEspeakDriver::SortForLocale(modes, 1031);
  ASSERT_GT(modes.size(), 3);
  EXPECT_EQ(modes.first().language.LanguageID, 1031);
  qsizetype firstUs = -1;
  qsizetype lastGerman = -1;
  for (qsizetype i = 0; i < modes.size(); ++i) {
    if (modes[i].language.LanguageID == 1031) {
      lastGerman = i;
    } else if (firstUs < 0 && modes[i].language.LanguageID == 1033) {
      firstUs = i;
    }
  }
  EXPECT_EQ(firstUs, lastGerman + 1);
}

TEST(FliteDriver, OffersItsVoicesAsUsEnglishModesAtTheirOwnRates) {
  TFliteDriver driver;
  QSet<QString> speakers;
  for (const TTSMODEINFO& mode : driver.Modes()) {
    EXPECT_EQ(mode.szMfgName, QStringLiteral("Flite"));
    EXPECT_EQ(mode.language.LanguageID, 1033);
    speakers.insert(mode.szSpeaker);
    std::unique_ptr<TSynthesizer> synthesizer;
    ASSERT_EQ(driver.CreateSynthesizer(mode, synthesizer), S_OK);
    EXPECT_EQ(synthesizer->Format().SampleRate, mode.szSpeaker == u"Kal" ? 8000 : 16000);
    const TSynthLimits limits = synthesizer->Limits();
    EXPECT_LT(limits.MinPitch, limits.DefaultPitch);
    EXPECT_GT(limits.MaxPitch, limits.DefaultPitch);
  }
  EXPECT_EQ(speakers,
            (QSet<QString>{QStringLiteral("Kal"), QStringLiteral("Kal16"), QStringLiteral("Awb"),
                           QStringLiteral("Rms"), QStringLiteral("Slt")}));
}

TEST(FliteDriver, VoiceFilesThatAreNotVoicesGiveNoMode) {
  QTemporaryDir dir;
  QFile junk(dir.filePath(QStringLiteral("broken.flitevox")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("not a voice");
  junk.close();
  TFliteDriver driver(dir.path());
  const QList<TTSMODEINFO> modes = driver.Modes();
  EXPECT_EQ(modes.size(), 5);
}

TEST(FliteDriver, FoldingKeepsEveryByteTiedToItsCharacter) {
  struct TCase {
    QString Text;
    QByteArray Folded;
    std::vector<int> Origins;
  };
  const TCase cases[] = {
      {QStringLiteral("ab c"), "ab c", {0, 1, 2, 3}},
      {QStringLiteral("Caf\u00e9!"), "Cafe!", {0, 1, 2, 3, 4}},
      {QStringLiteral("\U0001F600x"), " x", {0, 2}},
      {QStringLiteral("\ufb01n\u2026"), "fin...", {0, 0, 1, 2, 2, 2}},
      {QStringLiteral("\u2019s \u201cq\u201d"), "'s \"q\"", {0, 1, 2, 3, 4, 5}},
      {QStringLiteral("\u4e2d\u0000"), "  ", {0, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    std::vector<int> origins;
    EXPECT_EQ(TFliteDriver::Fold(c.Text, origins), c.Folded);
    EXPECT_EQ(origins, c.Origins);
  }
}

TEST(FliteDriver, UtterancesEndAtSentencesAndEmptyLinesNotAtWrappedLines) {
  struct TCase {
    QByteArray Text;
    QList<QByteArray> Utterances;
  };
  const QByteArray longLine = QByteArray(200, 'a') + ' ' + QByteArray(100, 'b') + " c";
  const TCase cases[] = {
      {"One. Two? Three", {"One. ", "Two? ", "Three"}},
      {"to: list; of", {"to: ", "list; ", "of"}},
      {"wrapped\nline\r\nagain", {"wrapped\nline\r\nagain"}},
      {"Title\n\nBody", {"Title\n\n", "Body"}},
      {"Title\r\n \r\nBody", {"Title\r\n \r\n", "Body"}},
      {"End.\nNext", {"End.\n", "Next"}},
      {"3.5 m", {"3.5 m"}},
      {longLine, {QByteArray(200, 'a') + ' ', QByteArray(100, 'b') + " c"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    QList<QByteArray> utterances;
    for (qsizetype start = 0; start < c.Text.size();) {
      const qsizetype end = TFliteDriver::UtteranceEnd(c.Text, start);
      ASSERT_GT(end, start);
      utterances.append(c.Text.mid(start, end - start));
      start = end;
    }
    EXPECT_EQ(utterances, c.Utterances);
  }
}

}  // namespace
