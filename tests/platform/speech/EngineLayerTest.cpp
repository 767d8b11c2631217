#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <thread>

#include "EngineCentral.h"
#include "FileSizeLimit.h"
#include "ScriptedEngine.h"
#include "SpeechTestSinks.h"
#include "TTSEnumerator.h"
#include "TextChunks.h"
#include "WaveFileDest.h"

namespace {

TEST(TextChunker, PiecesCoverTheTextAndEndAtSentences) {
  struct TCase {
    QString Text;
    QStringList Pieces;
  };
  const QString longSentence = QString(300, u'a') + QStringLiteral(". ") + QString(10, u'b');
  const QList<TCase> cases = {
      {QStringLiteral("One. Two. Three."),
       {QStringLiteral("One. "), QStringLiteral("Two. Three.")}},
      {QStringLiteral("No end at all"), {QStringLiteral("No end at all")}},
      // A wrapped line goes on; an empty line ends the paragraph.
      {QStringLiteral("Line\nnext"), {QStringLiteral("Line\nnext")}},
      {QStringLiteral("Line\r\nnext"), {QStringLiteral("Line\r\nnext")}},
      {QStringLiteral("Title\n \nnext"), {QStringLiteral("Title\n \n"), QStringLiteral("next")}},
      {QStringLiteral("Title\r\n\r\nnext"),
       {QStringLiteral("Title\r\n\r\n"), QStringLiteral("next")}},
      {QStringLiteral("Title\r\rnext"), {QStringLiteral("Title\r\r"), QStringLiteral("next")}},
      {QStringLiteral("End.\nnext"), {QStringLiteral("End.\n"), QStringLiteral("next")}},
      {QStringLiteral(""), {}},
  };
  for (const TCase& c : cases) {
    TTextChunker chunker(c.Text);
    QStringList pieces;
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype expected = 0;
    while (chunker.Next(start, length)) {
      EXPECT_EQ(start, expected);
      expected = start + length;
      pieces.append(c.Text.mid(start, length));
    }
    EXPECT_EQ(pieces, c.Pieces) << c.Text.toStdString();
  }
}

TEST(TextChunker, LongTextWithoutSentencesIsCutButNeverInsideASurrogatePair) {
  QString text;
  for (int i = 0; i < 5000; ++i) {
    text += QStringLiteral("\U0001F600");  // no spaces, no sentence ends
  }
  TTextChunker chunker(text);
  qsizetype start = 0;
  qsizetype length = 0;
  qsizetype total = 0;
  int pieces = 0;
  while (chunker.Next(start, length)) {
    EXPECT_FALSE(text.at(start).isLowSurrogate());
    EXPECT_LE(length, 4002);
    total += length;
    ++pieces;
  }
  EXPECT_EQ(total, text.size());
  EXPECT_GT(pieces, 1);
}

TEST(ModeIdentifiers, AreStablePerNameAndDistinct) {
  const TGUID a = TGUID::FromName(QStringLiteral("eSpeak NG en-us Adam"));
  EXPECT_EQ(a, TGUID::FromName(QStringLiteral("eSpeak NG en-us Adam")));
  EXPECT_NE(a, TGUID::FromName(QStringLiteral("eSpeak NG en-us Linda")));
  EXPECT_FALSE(a.IsNull());
  EXPECT_TRUE(TGUID{}.IsNull());
  EXPECT_EQ(a.ToString().size(), 38);
  EXPECT_TRUE(a.ToString().startsWith(u'{'));
}

class EnumeratorTest : public ::testing::Test {
 protected:
  EnumeratorTest() {
    TScriptedEngine::TConfig config;
    config.Modes = {TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral("Mary"),
                                              QStringLiteral("Mary"), 1033),
                    TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral("Hans"),
                                              QStringLiteral("Hans"), 1031),
                    TScriptedEngine::MakeMode(QStringLiteral("Other"), QStringLiteral("Mike"),
                                              QStringLiteral("Mike"), 1033)};
    Engine = std::make_shared<TScriptedEngine>(config);
  }
  std::shared_ptr<TScriptedEngine> Engine;
};

TEST_F(EnumeratorTest, NextWalksAllModesAndResetStartsOver) {
  TTTSEnum enumerator({Engine});
  TTSMODEINFO modes[4];
  quint32 fetched = 0;
  EXPECT_EQ(enumerator.Next(4, modes, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 3u);
  EXPECT_EQ(modes[2].szModeName, QStringLiteral("Mike"));
  EXPECT_EQ(enumerator.Next(1, modes, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(enumerator.Reset(), S_OK);
  EXPECT_EQ(enumerator.Next(1, modes, &fetched), S_OK);
  EXPECT_EQ(modes[0].szModeName, QStringLiteral("Mary"));
}

TEST_F(EnumeratorTest, FindRanksByWeightedCriteria) {
  TTTSEnum enumerator({Engine});
  struct TCase {
    TTSMODEINFO Criteria;
    TTSMODEINFORANK Rank;
    QString Expected;
  };
  TTSMODEINFO byName;
  byName.szModeName = QStringLiteral("Hans");
  TTSMODEINFORANK nameRank;
  nameRank.dwModeName = 10;
  TTSMODEINFO german;
  german.language.LanguageID = 1031;
  TTSMODEINFORANK languageRank;
  languageRank.dwLanguage = 1;
  TTSMODEINFO other;
  other.szMfgName = QStringLiteral("Other");
  other.language.LanguageID = 1031;
  TTSMODEINFORANK mfgOverLanguage;
  mfgOverLanguage.dwMfgName = 5;
  mfgOverLanguage.dwLanguage = 1;
  TTSMODEINFO unknown;
  unknown.szModeName = QStringLiteral("Nobody");
  const QList<TCase> cases = {
      {TTSMODEINFO{}, nameRank, QStringLiteral("Mary")},  // nothing asked: the first
      {byName, nameRank, QStringLiteral("Hans")},
      {german, languageRank, QStringLiteral("Hans")},
      {other, mfgOverLanguage, QStringLiteral("Mike")},
      {unknown, nameRank, QStringLiteral("Mary")},  // no match still finds a mode
  };
  for (const TCase& c : cases) {
    TTSMODEINFO found;
    ASSERT_EQ(enumerator.Find(c.Criteria, &c.Rank, &found), S_OK);
    EXPECT_EQ(found.szModeName, c.Expected);
  }
}

TEST_F(EnumeratorTest, InjectedFailuresAreAnsweredAndUnknownModesRefused) {
  TTTSEnum enumerator({Engine});
  Engine->FailCall(QStringLiteral("Reset"), E_FAIL);
  EXPECT_EQ(enumerator.Reset(), E_FAIL);
  Engine->ClearFailures();
  std::unique_ptr<ITTSCentralW> central;
  auto file = std::make_shared<TWaveFileDest>();
  EXPECT_EQ(enumerator.Select(TGUID::FromName(QStringLiteral("nope")), central, file),
            TTSERR_INVALIDMODE);
  EXPECT_FALSE(central);
}

class WaveFileTest : public ::testing::Test {
 protected:
  QTemporaryDir Dir;
  QString Path(const QString& name) const { return Dir.filePath(name); }
};

TEST_F(WaveFileTest, FlushCompletesTheHeaderForTheEngineFormat) {
  TWaveFileDest dest;
  ASSERT_EQ(dest.Set(Path(QStringLiteral("a.wav")), 1), S_OK);
  ASSERT_EQ(dest.Claim({11025, 1}, [](auto, auto, auto) {}), S_OK);
  dest.Reset(1);
  const std::vector<qint16> samples(1000, 1234);
  ASSERT_TRUE(dest.Write(samples.data(), 1000, 1));
  EXPECT_FALSE(dest.Write(samples.data(), 1000, 0));  // stale generation
  ASSERT_EQ(dest.Flush(), S_OK);
  const QByteArray data = [&] {
    QFile f(Path(QStringLiteral("a.wav")));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  ASSERT_EQ(data.size(), 44 + 2000);
  EXPECT_EQ(data.left(4), "RIFF");
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 4), 36u + 2000u);
  EXPECT_EQ(data.mid(8, 8), "WAVEfmt ");
  EXPECT_EQ(qFromLittleEndian<quint16>(data.constData() + 22), 1);
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 24), 11025u);
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 28), 22050u);
  EXPECT_EQ(qFromLittleEndian<quint16>(data.constData() + 34), 16);
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 40), 2000u);
}

TEST_F(WaveFileTest, MissingFolderAndFullDiskAreErrorsNotShortFiles) {
  TWaveFileDest missing;
  EXPECT_EQ(missing.Set(Path(QStringLiteral("gone/a.wav")), 1), TTSERR_DISKERROR);

  if (!QFile::exists(QStringLiteral("/dev/full"))) {
    GTEST_SKIP() << "no /dev/full";
  }
  TWaveFileDest full;
  ASSERT_EQ(full.Set(QStringLiteral("/dev/full"), 1), S_OK);  // buffered until written
  ASSERT_EQ(full.Claim({22050, 1}, [](auto, auto, auto) {}), S_OK);
  full.Reset(1);
  const std::vector<qint16> samples(200000, 1);
  bool ok = true;
  for (int i = 0; i < 5 && ok; ++i) {
    ok = full.Write(samples.data(), 200000, 1);
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(full.WriteError(), TTSERR_DISKERROR);
  EXPECT_EQ(full.Flush(), TTSERR_DISKERROR);
}

// A write refused part-way (here by a file size limit, as a quota does) is
// kept with its errno and path, and told with the code when the file is
// completed, on the thread that completes it.
TEST_F(WaveFileTest, AWriteRefusedPartWayKeepsItsCauseForTheMessage) {
  const QString path = Path(QStringLiteral("big.wav"));
  TWaveFileDest dest;
  ASSERT_EQ(dest.Set(path, 1), S_OK);
  ASSERT_EQ(dest.Claim({22050, 1}, [](auto, auto, auto) {}), S_OK);
  dest.Reset(1);
  const std::vector<qint16> samples(100000, 1);
  bool ok = true;
  {
    TFsizeLimit limit(50000);
    std::thread worker([&] { ok = dest.Write(samples.data(), 100000, 1); });
    worker.join();
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(dest.Flush(), TTSERR_DISKERROR);
  EXPECT_EQ(TakeErrorInfo(TTSERR_DISKERROR), QStringLiteral("Cannot write file \"") + path +
                                                 QStringLiteral("\": ") +
                                                 QString::fromLocal8Bit(std::strerror(EFBIG)));
  EXPECT_EQ(TakeErrorInfo(TTSERR_DISKERROR), QString());  // told once
}

TEST_F(WaveFileTest, AFileCutShortByAFullDiskNeverClaimsTheSamplesItLacks) {
  const QString path = Path(QStringLiteral("cut.wav"));
  TWaveFileDest dest;
  const std::vector<qint16> samples(100, 7);
  {
    TFsizeLimit limit(30001);  // an odd size: half a frame gets through
    ASSERT_EQ(dest.Set(path, 1), S_OK);
    ASSERT_EQ(dest.Claim({22050, 1}, [](auto, auto, auto) {}), S_OK);
    dest.Reset(1);
    // Small pieces go into the stream's buffer and count as written before
    // the disk has them; the disk fills when the buffer goes out.
    for (int i = 0; i < 400 && dest.Write(samples.data(), 100, 1); ++i) {
    }
    EXPECT_EQ(dest.Flush(), TTSERR_DISKERROR);
  }
  EXPECT_EQ(dest.ErrorText(), QString::fromLocal8Bit(std::strerror(EFBIG)));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray data = file.readAll();
  ASSERT_EQ(data.size(), 30001);
  const quint32 claimed = qFromLittleEndian<quint32>(data.constData() + 40);
  EXPECT_LE(claimed, 30001u - 44u - 1u);
  EXPECT_GT(claimed, 20000u);  // what did reach the disk is still counted
  EXPECT_EQ(claimed % 2, 0u);
  EXPECT_EQ(qFromLittleEndian<quint32>(data.constData() + 4), 36u + claimed);
}

TEST_F(WaveFileTest, ScriptedEngineWritesOneWordPositionPerWordAtItsRate) {
  TScriptedEngine::TConfig config;
  config.Modes = {TScriptedEngine::MakeMode(QStringLiteral("Acme"), QStringLiteral("Mary"),
                                            QStringLiteral("Mary"), 1033)};
  config.SampleRate = 44100;
  config.WordMs = 50;
  config.GapMs = 10;
  auto engine = std::make_shared<TScriptedEngine>(config);
  TTTSEnum enumerator({engine});
  auto file = std::make_shared<TWaveFileDest>();
  ASSERT_EQ(file->Set(Path(QStringLiteral("s.wav")), 1), S_OK);
  std::unique_ptr<ITTSCentralW> central;
  ASSERT_EQ(enumerator.Select(config.Modes[0].gModeID, central, file), S_OK);
  auto sinks = std::make_shared<TRecordingSinks>();
  quint32 key = 0;
  ASSERT_EQ(central->Register(sinks, &key), S_OK);
  const std::u16string text = u"three short words";
  ASSERT_EQ(
      central->TextData(0, 0, text.c_str(), static_cast<quint32>((text.size() + 1) * 2), sinks),
      S_OK);
  ASSERT_TRUE(PumpUntil([&] { return sinks->Stops > 0; }));
  EXPECT_EQ(sinks->Words, (std::vector<quint32>{0, 12, 24}));
  EXPECT_EQ(sinks->Done, 1);
  EXPECT_FALSE(sinks->OffThread);
  ReleaseCentral(std::move(central));
  ASSERT_EQ(file->Flush(), S_OK);
  // 3 words of 50 ms and 3 gaps of 10 ms at 44100 Hz, 2 bytes a frame.
  EXPECT_EQ(QFileInfo(Path(QStringLiteral("s.wav"))).size(), 44 + 3 * (2205 + 441) * 2);
}

}  // namespace
