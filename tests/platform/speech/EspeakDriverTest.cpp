#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include "EngineCentral.h"
#include "EspeakDriver.h"
#include "SpeechTestSinks.h"
#include "TTSEnumerator.h"
#include "WaveFileDest.h"

namespace {

class EspeakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TEspeakDriver::Available()) {
      GTEST_SKIP() << "espeak-ng data not installed";
    }
    Driver = std::make_shared<TEspeakDriver>();
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
        enumerator.Select(Mode(QStringLiteral("eSpeak NG en-us Adam")).gModeID, central, file),
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
    return {sinks->Words, wav.mid(44)};
  }

  // The voice's period: in each loud 40 ms frame the lag between 2.5 and
  // 12.5 ms that matches best, and the median of those. A higher voice
  // repeats sooner.
  static int VoicePeriod(const QByteArray& pcm) {
    const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype n = pcm.size() / 2;
    constexpr int kFrame = 882;
    std::vector<int> lags;
    for (qsizetype start = 0; start + kFrame + 300 < n; start += kFrame) {
      double energy = 0;
      for (int i = 0; i < kFrame; ++i) {
        energy += static_cast<double>(s[start + i]) * s[start + i];
      }
      if (energy < kFrame * 500.0 * 500.0) {
        continue;
      }
      int best = 0;
      double bestScore = -1e300;
      for (int lag = 55; lag <= 275; ++lag) {
        double score = 0;
        for (int i = 0; i < kFrame; i += 2) {
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

  std::shared_ptr<TEspeakDriver> Driver;
  QTemporaryDir Dir;
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

TEST_F(EspeakTest, WordOffsetsCountUtf16UnitsThroughAccentsAndEmoji) {
  // Byte offsets into the UTF-16 text: the emoji takes two units.
  const QString text = QStringLiteral("Caf\u00e9 \U0001F600 na\u00efve world.");
  const TResult result = SpeakToFile(text);
  const quint32 world = static_cast<quint32>(text.indexOf(QStringLiteral("world")) * 2);
  const quint32 naive = static_cast<quint32>(text.indexOf(QStringLiteral("na")) * 2);
  ASSERT_FALSE(result.Words.empty());
  EXPECT_EQ(result.Words.front(), 0u);
  EXPECT_NE(std::find(result.Words.begin(), result.Words.end(), naive), result.Words.end());
  EXPECT_NE(std::find(result.Words.begin(), result.Words.end(), world), result.Words.end());
  for (quint32 offset : result.Words) {
    EXPECT_EQ(offset % 2, 0u);
    EXPECT_LT(offset, static_cast<quint32>(text.size() * 2));
  }
}

TEST_F(EspeakTest, FileHoldsTheSpeechAt22050HzMono16Bit) {
  const QString path = Dir.filePath(QStringLiteral("out.wav"));
  const TResult result = SpeakToFile(QStringLiteral("Hello there, this is a test."));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray wav = f.readAll();
  ASSERT_GT(wav.size(), 44 + 22050);  // more than half a second of speech
  EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 24), 22050u);
  EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 22), 1);
  EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16);
  EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 40),
            static_cast<quint32>(wav.size() - 44));
}

TEST_F(EspeakTest, InjectedSpeedAndPitchChangeTheAudio) {
  const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog.");
  const TResult normal = SpeakToFile(text);
  const TResult fast = SpeakToFile(text, QStringLiteral("\\Spd=350\\"));
  const TResult high = SpeakToFile(text, QStringLiteral("\\Pit=95\\"));
  EXPECT_LT(fast.Pcm.size(), normal.Pcm.size() * 3 / 4);
  EXPECT_LT(VoicePeriod(high.Pcm), VoicePeriod(normal.Pcm));
}

TEST_F(EspeakTest, ResetStopsALongTextAndStillReportsTheStop) {
  QString text;
  for (int i = 0; i < 2000; ++i) {
    text += QStringLiteral("This sentence is repeated many times. ");
  }
  const TResult result = SpeakToFile(text, QString(), true);
  // The whole text would be well over ten minutes of audio.
  EXPECT_LT(result.Pcm.size(), 22050 * 2 * 60);
}

}  // namespace
