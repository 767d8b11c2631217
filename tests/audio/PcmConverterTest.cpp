#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "FileSizeLimit.h"
#include "MessageRecorder.h"
#include "PcmConverter.h"
#include "TestEnvironment.h"
#include "WaveFileReader.h"
#include "WaveOutput.h"
#include "WaveTestFiles.h"

namespace {

struct TRateCase {
  int from;
  int to;
  int seconds;
  int expectedFrames;
};

// Sample values are the source frame numbers, so the output shows which source
// frames were kept, dropped or repeated.
TEST(PcmConverterTest, RatesChangeByWholeFramesWithTheAccumulatorRestartedEachSecond) {
  const TRateCase cases[] = {
      {11025, 22050, 1, 22050},  // every frame twice
      {8000, 22050, 1, 22049},
      {8000, 22050, 2, 2 * 22049},  // the lost frame is lost again each
                                    // second
      {44100, 22050, 1, 22050},     // every second frame
      {22050, 22050, 1, 22050},
      {16000, 44100, 1, 44099},
      {22050, 16000, 1, 16000},
  };
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("in.wav"));
  const QString out = folders.Path(QStringLiteral("out.wav"));
  for (const auto& c : cases) {
    const int frames = c.from * c.seconds;
    ASSERT_TRUE(WriteWholeFile(in, WaveBytes(MakePcmFormat(c.from, 1, 16), Ramp16(frames))));
    TMessageRecorder recorder;
    ASSERT_TRUE(ConvertWaveFile(in, out, c.to, 1, 16)) << recorder.All.join(u';').toStdString();
    TWaveFormat format;
    const std::vector<int> got = ToSamples16(ReadWaveData(out, &format));
    EXPECT_EQ(format, MakePcmFormat(c.to, 1, 16));
    ASSERT_EQ(static_cast<int>(got.size()), c.expectedFrames) << c.from << "->" << c.to;
    // Output frames never go backwards and each source second starts afresh.
    for (size_t i = 1; i < got.size(); ++i) {
      ASSERT_LE(static_cast<quint16>(got[i - 1]), static_cast<quint16>(got[i]))
          << c.from << "->" << c.to << " at " << i;
    }
    if (c.to == 2 * c.from) {
      for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i], static_cast<qint16>(i / 2));
      }
    }
    if (c.from == 2 * c.to) {
      for (size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i], static_cast<qint16>(2 * i + 1));
      }
    }
  }
}

TEST(PcmConverterTest, SampleFormsChange) {
  struct TFormCase {
    const char* name;
    int channels;
    int bits;
    QByteArray source;
    int toChannels;
    int toBits;
    QByteArray expected;
  };
  const TFormCase cases[] = {
      {"stereo 8 to mono 16 averages then widens", 2, 8, QByteArray("\xC8\x64\xFF\x00\x80\x81", 6),
       1, 16, Samples16({(150 - 128) * 256, (127 - 128) * 256, 0})},
      {"stereo 16 to mono 16 drops the fraction", 2, 16, Samples16({-3, 0, 3, 0, 32767, 32767}), 1,
       16, Samples16({-1, 1, 32767})},
      {"16 to 8 keeps the high byte", 1, 16, Samples16({-32768, 32767, 256, -1, 0}), 1, 8,
       QByteArray("\x00\xFF\x81\x7F\x80", 5)},
      {"mono 8 to stereo 16 duplicates", 1, 8, QByteArray("\x00\xFF", 2), 2, 16,
       Samples16({-32768, -32768, 127 * 256, 127 * 256})},
      {"stereo 8 to stereo 16 widens each", 2, 8, QByteArray("\x80\x00", 2), 2, 16,
       Samples16({0, -32768})},
  };
  for (const auto& c : cases) {
    QByteArray out;
    const TWaveFormat from = MakePcmFormat(8000, c.channels, c.bits);
    const TWaveFormat to = MakePcmFormat(8000, c.toChannels, c.toBits);
    ConvertSampleForm(c.source.constData(), c.source.size() / PcmFrameBytes(from), from, to, out);
    EXPECT_EQ(out.toHex(), c.expected.toHex()) << c.name;
  }
}

TEST(PcmConverterTest, FormatsOutsideTheLimitsAreRefused) {
  struct TLimitCase {
    TWaveFormat source;
    int rate, channels, bits;
    bool valid;
  };
  TWaveFormat floatFormat = MakePcmFormat(22050, 1, 32);
  floatFormat.FormatTag = 3;
  const TLimitCase cases[] = {
      {MakePcmFormat(4000, 1, 8), 100000, 2, 16, true},
      {MakePcmFormat(100000, 2, 16), 4000, 1, 8, true},
      {MakePcmFormat(3999, 1, 16), 22050, 1, 16, false},
      {MakePcmFormat(100001, 1, 16), 22050, 1, 16, false},
      {MakePcmFormat(22050, 3, 16), 22050, 1, 16, false},
      {MakePcmFormat(22050, 1, 24), 22050, 1, 16, false},
      {floatFormat, 22050, 1, 16, false},
      {MakePcmFormat(22050, 1, 16), 0, 1, 16, false},
      {MakePcmFormat(22050, 1, 16), 22050, 0, 16, false},
      {MakePcmFormat(22050, 1, 16), 22050, 1, 12, false},
      {MakePcmFormat(22050, 1, 16), 22050, 1, 65552, false},  // wraps to 16 if narrowed
  };
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("in.wav"));
  const QString out = folders.Path(QStringLiteral("out.wav"));
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(in, WaveBytes(c.source, QByteArray(64, '\x10'))));
    QFile::remove(out);
    TMessageRecorder recorder;
    EXPECT_EQ(ConvertWaveFile(in, out, c.rate, c.channels, c.bits), c.valid)
        << c.source.SamplesPerSec << "/" << c.source.Channels << "/" << c.source.BitsPerSample
        << " -> " << c.rate << "/" << c.channels << "/" << c.bits;
    if (!c.valid) {
      EXPECT_EQ(recorder.Errors,
                QStringList{QStringLiteral("This wave file is not valid for conversion")});
      EXPECT_FALSE(QFile::exists(out));
    }
  }
}

TEST(PcmConverterTest, TracesItsCallAndReplacesAnExistingOutput) {
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("temp.wav"));
  const QString out = folders.Path(QStringLiteral("temp44.wav"));
  ASSERT_TRUE(WriteWholeFile(in, WaveBytes(MakePcmFormat(11025, 1, 16), Ramp16(11025 * 3 + 5))));
  ASSERT_TRUE(WriteWholeFile(out, "old contents"));
  TMessageRecorder recorder;
  ASSERT_TRUE(ConvertWaveFile(in, out, 22050, 1, 16));
  EXPECT_TRUE(recorder.All.isEmpty());
  EXPECT_EQ(ReadWaveData(out).size(), (11025 * 3 + 5) * 2 * 2);
  const QStringList trace = TraceLines();
  ASSERT_GE(trace.size(), 3);
  EXPECT_TRUE(
      trace[trace.size() - 3].endsWith(QStringLiteral(" - Entered ConvertWaveFile [16 1 22050]")));
  EXPECT_TRUE(trace[trace.size() - 2].endsWith(QStringLiteral(" - Infile: ") + in));
  EXPECT_TRUE(trace[trace.size() - 1].endsWith(QStringLiteral(" - OutFile: ") + out));
  // Only the input and the output are left in the folder.
  EXPECT_EQ(QDir(folders.DataDir())
                .entryList({QStringLiteral(".verbalune-*")}, QDir::Files | QDir::Hidden)
                .size(),
            0);
}

TEST(PcmConverterTest, EmptyDataGivesAnEmptyFile) {
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("in.wav"));
  const QString out = folders.Path(QStringLiteral("out.wav"));
  ASSERT_TRUE(WriteWholeFile(in, WaveBytes(MakePcmFormat(8000, 1, 8), QByteArray())));
  ASSERT_TRUE(ConvertWaveFile(in, out, 22050, 1, 16));
  TWaveFormat format;
  EXPECT_TRUE(ReadWaveData(out, &format).isEmpty());
  EXPECT_EQ(format, MakePcmFormat(22050, 1, 16));
}

// Every failure on the way leaves the folder as it was: an existing output
// untouched, no temporary file behind.
TEST(PcmConverterTest, FailuresLeaveNoTemporaryFileAndKeepTheOldOutput) {
  struct TFailCase {
    const char* name;
    TConvertHooks hooks;
    rlim_t fileSizeLimit;
    const char* message;
  };
  int pieces = 0;
  const TFailCase cases[] = {
      {"disk full",
       {{}, {}, [](const QString&) { return qint64(30000); }},
       0,
       "Unable to convert wave file"},
      {"aborted", {[&] { ++pieces; }, [&] { return pieces == 2; }, {}}, 0, "Conversion aborted"},
      {"write fails", {}, 100000, "Unable to convert wave file"},
  };
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("in.wav"));
  const QString out = folders.Path(QStringLiteral("out.wav"));
  ASSERT_TRUE(WriteWholeFile(in, WaveBytes(MakePcmFormat(11025, 1, 16), Tone16(11025, 5))));
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(out, "old contents"));
    TMessageRecorder recorder;
    bool ok = true;
    {
      std::unique_ptr<TFsizeLimit> limit;
      if (c.fileSizeLimit > 0) {
        limit = std::make_unique<TFsizeLimit>(c.fileSizeLimit);
      }
      ok = ConvertWaveFile(in, out, 44100, 1, 16, c.hooks);
    }
    EXPECT_FALSE(ok) << c.name;
    EXPECT_EQ(recorder.Errors, QStringList{QString::fromLatin1(c.message)}) << c.name;
    EXPECT_EQ(ReadWholeFile(out), "old contents") << c.name;
    EXPECT_EQ(QDir(folders.DataDir())
                  .entryList({QStringLiteral(".verbalune-*")}, QDir::Files | QDir::Hidden),
              QStringList())
        << c.name;
  }
  EXPECT_EQ(pieces, 2);
}

TEST(PcmConverterTest, MissingNamesAndFoldersFailWithTheirMessages) {
  TTempFolders folders;
  const QString in = folders.Path(QStringLiteral("in.wav"));
  ASSERT_TRUE(WriteWholeFile(in, WaveBytes(MakePcmFormat(11025, 1, 16), Ramp16(100))));
  TMessageRecorder recorder;
  EXPECT_FALSE(ConvertWaveFile(QString(), folders.Path(QStringLiteral("o.wav")), 22050, 1, 16));
  EXPECT_FALSE(ConvertWaveFile(in, QString(), 22050, 1, 16));
  EXPECT_FALSE(ConvertWaveFile(in, folders.Path(QStringLiteral("gone/o.wav")), 22050, 1, 16));
  EXPECT_FALSE(ConvertWaveFile(folders.Path(QStringLiteral("none.wav")),
                               folders.Path(QStringLiteral("o.wav")), 22050, 1, 16));
  ASSERT_EQ(recorder.Errors.size(), 4);
  EXPECT_EQ(recorder.Errors[0], QStringLiteral("Invalid param passed!"));
  EXPECT_EQ(recorder.Errors[1], QStringLiteral("Invalid param passed!"));
  EXPECT_EQ(recorder.Errors[2], QStringLiteral("Unable to convert wave file"));
  EXPECT_TRUE(recorder.Errors[3].contains(QStringLiteral("none.wav")));
  EXPECT_FALSE(QFile::exists(folders.Path(QStringLiteral("o.wav"))));
}

TEST(WaveOutputTest, TargetRates) {
  const std::pair<int, int> rates[] = {{16, 16000}, {32, 22050}, {40, 22050}, {48, 22050},
                                       {56, 44100}, {64, 44100}, {24, 0},     {0, 0}};
  for (const auto& [bitRate, rate] : rates) {
    EXPECT_EQ(TargetSampleRate(bitRate), rate) << bitRate;
  }
}

TEST(WaveOutputTest, FileNamesKeepTheTitleButNeverLeaveTheFolder) {
  const struct {
    const char* Title;
    const char* File;
  } cases[] = {
      {"My Chapter One", "My Chapter One"},
      {"Caf\xc3\xa9 \xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0",
       "Caf\xc3\xa9 \xd0\x93\xd0\xbb\xd0\xb0\xd0\xb2\xd0\xb0"},
      {"Vol. 2 (draft), part-1_b", "Vol. 2 (draft), part-1_b"},
      {"\xe7\xac\xac\xe4\xb8\x80\xe7\xab\xa0 \xf0\x9f\x93\x96",
       "\xe7\xac\xac\xe4\xb8\x80\xe7\xab\xa0 \xf0\x9f\x93\x96"},
      {"../../etc/passwd", "etcpasswd"},
      {"a\\b:c*d?e\"f<g>h|i", "abcdefghi"},
      {"tab\there\nnew", "tabherenew"},
      {" .hidden", "hidden"},
      {"trailing   ", "trailing"},
      {"..", "Article 7"},
      {"/", "Article 7"},
      {"", "Article 7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileTitle(QString::fromUtf8(c.Title), 7), QString::fromUtf8(c.File)) << c.Title;
  }
  // At most 200 bytes of UTF-8, never cut inside a character.
  const QString cyrillic = QString(150, QChar(0x0416));
  EXPECT_EQ(FileTitle(cyrillic, 1), QString(100, QChar(0x0416)));
  const QString emoji = QString::fromUtf8("a\xf0\x9f\x93\x96").repeated(60);
  EXPECT_LE(FileTitle(emoji, 1).toUtf8().size(), kMaxFileTitleBytes);
  EXPECT_FALSE(FileTitle(emoji, 1).back().isHighSurrogate());

  QSet<QString> taken;
  const QString first = OutputFilePath(QStringLiteral("/out///"), QStringLiteral("News"),
                                       QStringLiteral(".mp3"), taken);
  EXPECT_EQ(first, QStringLiteral("/out/News.mp3"));
  taken << first;
  const QString second = OutputFilePath(QStringLiteral("/out/"), QStringLiteral("News"),
                                        QStringLiteral(".mp3"), taken);
  EXPECT_EQ(second, QStringLiteral("/out/News (2).mp3"));
  taken << second;
  EXPECT_EQ(
      OutputFilePath(QStringLiteral("/out"), QStringLiteral("News"), QStringLiteral(".mp3"), taken),
      QStringLiteral("/out/News (3).mp3"));
}

}  // namespace
