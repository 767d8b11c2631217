#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <vector>

#include "FileSizeLimit.h"
#include "LameUnit.h"
#include "MessageRecorder.h"
#include "Mp3Inspect.h"
#include "TestEnvironment.h"
#include "WaveTestFiles.h"

namespace {

QStringList FolderFiles(const QString& folder) {
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

TEST(LameUnitTest, ProgressRoundsHalvesToEven) {
  EXPECT_EQ(ProgressPosition(2304, 5000), 47);
  EXPECT_EQ(ProgressPosition(4608, 5000), 93);
  EXPECT_EQ(ProgressPosition(5000, 5000), 100);  // 100.5 goes to 100
  EXPECT_EQ(ProgressPosition(1, 100), 2);        // 1.5 goes to 2
  EXPECT_EQ(ProgressPosition(0, 100), 0);        // 0.5 goes to 0
  EXPECT_EQ(ProgressPosition(0, 0), 0);
}

TEST(LameUnitTest, ChunksFollowTheEncoderFrameAndProgressFollowsTheChunks) {
  struct TCase {
    int rate;
    int bitRate;
    int chunkSamples;  // 0: the encoder's frame size
    std::vector<int> progress;
  };
  const TCase cases[] = {
      {44100, 64, 1152, {0, 47, 93, 100}},       // chunks of 2304, 2304 and 392 bytes
      {22050, 32, 0, {0, 24, 47, 70, 93, 100}},  // MPEG-2 frames of 576 samples
  };
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteWholeFile(
        wave, WaveBytes(MakePcmFormat(c.rate, 1, 16), Tone16(c.rate, 2500.0 / c.rate))));
    std::vector<int> progress;
    TMp3Encoder encoder({[&](int p) { progress.push_back(p); }, {}});
    encoder.SetChunkSamples(c.chunkSamples);
    TMessageRecorder recorder;
    ASSERT_TRUE(encoder.EncodeMp3(wave, mp3, c.bitRate, c.rate));
    EXPECT_TRUE(recorder.All.isEmpty());
    EXPECT_EQ(progress, c.progress) << c.rate;
    const TDecodedMp3 decoded = DecodeMp3(mp3);
    ASSERT_TRUE(decoded.Ok);
    EXPECT_GE(decoded.Samples, 2500);
  }
  EXPECT_TRUE(TraceLines().first().endsWith(QStringLiteral(" - Starting Lame MP3 conversion")));
}

TEST(LameUnitTest, EmptyDataGivesOnlyWhatTheFlushReturns) {
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  ASSERT_TRUE(WriteWholeFile(wave, WaveBytes(MakePcmFormat(22050, 1, 16), QByteArray())));
  std::vector<int> progress;
  TMp3Encoder encoder({[&](int p) { progress.push_back(p); }, {}});
  TMessageRecorder recorder;
  ASSERT_TRUE(encoder.EncodeMp3(wave, mp3, 32, 22050));
  EXPECT_TRUE(recorder.All.isEmpty());
  EXPECT_EQ(progress, std::vector<int>{0});
  ASSERT_TRUE(QFile::exists(mp3));
  const TMp3Stream stream = InspectMp3(ReadWholeFile(mp3));
  EXPECT_TRUE(stream.Problem.isEmpty()) << stream.Problem.toStdString();
}

// Each encoded file is a mono constant-bit-rate MP3 at the chosen bit rate that
// decodes to the length of its input.
TEST(LameUnitTest, EncodesMonoConstantBitRateOfTheInputLength) {
  struct TCase {
    int bitRate;
    int rate;
    int channels;
    int bits;
  };
  const TCase cases[] = {
      {16, 16000, 1, 16}, {32, 22050, 1, 16}, {48, 22050, 1, 16},
      {64, 44100, 1, 16}, {40, 22050, 2, 8},  // brought to 16-bit mono on the way
      {32, 44100, 2, 16},
  };
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  const double seconds = 1.5;
  for (const auto& c : cases) {
    QByteArray data = Tone16(c.rate, seconds);
    const TWaveFormat format = MakePcmFormat(c.rate, c.channels, c.bits);
    if (c.channels == 2 || c.bits == 8) {
      QByteArray converted;
      ConvertSampleForm(data.constData(), data.size() / 2, MakePcmFormat(c.rate, 1, 16), format,
                        converted);
      data = converted;
    }
    ASSERT_TRUE(WriteWholeFile(wave, WaveBytes(format, data)));
    TMessageRecorder recorder;
    // Tags in front change nothing of the frames; odd bit rates go untagged.
    TMp3Encoder encoder;
    TAudioTags tags;
    if (c.bitRate % 32 == 0) {
      tags.Title = QStringLiteral("\u00c9t\u00e9 \u4e2d");
      tags.Album = QStringLiteral("Album");
      tags.Artist = QStringLiteral("Artist");
      tags.Track = QStringLiteral("2/3");
      tags.Genre = QStringLiteral("Speech");
    }
    encoder.SetTags(tags);
    ASSERT_TRUE(encoder.EncodeMp3(wave, mp3, c.bitRate, c.rate)) << c.bitRate;
    const TMp3Stream stream = InspectMp3(ReadWholeFile(mp3));
    EXPECT_EQ(stream.Tagged, !tags.IsEmpty());
    const TMp3Tags read = ReadMp3Tags(mp3);
    EXPECT_EQ(read.Title, tags.Title);
    EXPECT_EQ(read.Album, tags.Album);
    EXPECT_EQ(read.Artist, tags.Artist);
    EXPECT_EQ(read.Track, tags.Track);
    EXPECT_EQ(read.Genre, tags.Genre);
    EXPECT_TRUE(stream.Problem.isEmpty()) << c.bitRate << ": " << stream.Problem.toStdString();
    EXPECT_EQ(stream.Layer, 3);
    EXPECT_EQ(stream.BitRate, c.bitRate);
    EXPECT_TRUE(stream.Mono);
    EXPECT_TRUE(stream.PrivateBit);
    EXPECT_LE(stream.SampleRate, c.rate);  // the encoder may pick a lower rate
    const TDecodedMp3 decoded = DecodeMp3(mp3);
    ASSERT_TRUE(decoded.Ok);
    EXPECT_EQ(decoded.Channels, 1);
    EXPECT_EQ(decoded.Rate, stream.SampleRate);
    const double length = static_cast<double>(decoded.Samples) / decoded.Rate;
    // Encoder delay and the last frame's padding add a little.
    EXPECT_GE(length, seconds) << c.bitRate;
    EXPECT_LE(length, seconds + 0.15) << c.bitRate;
  }
}

TEST(LameUnitTest, AbortEndsAfterTheCurrentChunkAndLeavesNoUnfinishedFile) {
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  ASSERT_TRUE(WriteWholeFile(wave, WaveBytes(MakePcmFormat(22050, 1, 16), Tone16(22050, 10))));
  int lastProgress = -1;
  TMp3Encoder* self = nullptr;
  TMp3Encoder encoder({[&](int p) { lastProgress = p; }, [&] { self->SetAbort(true); }});
  self = &encoder;
  TMessageRecorder recorder;
  // A stopped conversion must not leave an MP3 that looks whole, nor take
  // the one that was there.
  for (const bool existed : {false, true}) {
    if (existed) {
      ASSERT_TRUE(WriteWholeFile(mp3, "old mp3"));
    }
    encoder.SetAbort(false);
    EXPECT_FALSE(encoder.EncodeMp3(wave, mp3, 32, 22050));
    EXPECT_TRUE(recorder.All.isEmpty());
    EXPECT_LT(lastProgress, 5);
    EXPECT_EQ(ReadWholeFile(mp3), existed ? QByteArray("old mp3") : QByteArray());
    EXPECT_EQ(FolderFiles(folders.DataDir()).size(), existed ? 3 : 2);
  }
}

TEST(LameUnitTest, WriteFailuresKeepTheOldFileAndLeaveNothingHalfWritten) {
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  ASSERT_TRUE(WriteWholeFile(wave, WaveBytes(MakePcmFormat(22050, 1, 16), Tone16(22050, 60))));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  ASSERT_TRUE(WriteWholeFile(mp3, "old mp3"));
  {
    TMessageRecorder recorder;
    bool ok = true;
    {
      TFsizeLimit limit(100000);  // 60 s at 32 kbit/s is 240000 bytes
      ok = TMp3Encoder().EncodeMp3(wave, mp3, 32, 22050);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(recorder.Errors, QStringList{QStringLiteral("Write Error (1)")});
    EXPECT_EQ(ReadWholeFile(mp3), "old mp3");
    EXPECT_EQ(FolderFiles(folders.DataDir()).size(), 3);  // in.wav, out.mp3, the trace
  }
  {
    // The output folder vanishes while the encoder runs.
    const QString sub = folders.Path(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkpath(sub));
    TMessageRecorder recorder;
    TMp3Encoder encoder({{}, [&] { QDir(sub).removeRecursively(); }});
    EXPECT_FALSE(encoder.EncodeMp3(wave, sub + QStringLiteral("/out.mp3"), 32, 22050));
    EXPECT_EQ(recorder.Errors, QStringList{QStringLiteral("Write error (2)")});
    EXPECT_FALSE(QFile::exists(sub + QStringLiteral("/out.mp3")));
  }
  {
    // A caller that reports the failure itself gets the system's reason.
    QStringList failures;
    TMessageRecorder recorder;
    {
      TFsizeLimit limit(100000);
      EXPECT_FALSE(TMp3Encoder({{}, {}, [&](const QString& message) { failures << message; }})
                       .EncodeMp3(wave, mp3, 32, 22050));
    }
    EXPECT_TRUE(recorder.All.isEmpty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.at(0).startsWith(QStringLiteral("Write Error (1)\r\r")))
        << failures.at(0).toStdString();
    EXPECT_TRUE(failures.at(0).contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
  }
}

TEST(LameUnitTest, FilesThatCannotBeEncodedAreReported) {
  TTempFolders folders;
  const QString wave = folders.Path(QStringLiteral("in.wav"));
  const QString mp3 = folders.Path(QStringLiteral("out.mp3"));
  TWaveFormat adpcm = MakePcmFormat(22050, 1, 4);
  adpcm.FormatTag = 2;
  struct TCase {
    const char* name;
    QByteArray file;
    QString mp3;
    int sampleRate;
    int bitRate;
    QString message;
  };
  const TCase cases[] = {
      {"missing wave", QByteArray(), mp3, 22050, 32, QStringLiteral("Cannot open file ") + wave},
      {"not PCM", WaveBytes(adpcm, "1234"), mp3, 22050, 32,
       QStringLiteral("This wave file is not valid for conversion")},
      {"output folder missing", WaveBytes(MakePcmFormat(22050, 1, 16), Ramp16(10)),
       folders.Path(QStringLiteral("gone/out.mp3")), 22050, 32,
       QStringLiteral("Cannot create file ") + folders.Path(QStringLiteral("gone/out.mp3"))},
      {"no sample rate", WaveBytes(MakePcmFormat(22050, 1, 16), Ramp16(10)), mp3, 0, 32,
       QStringLiteral("Error opening encoding stream -1")},
      {"bit rate MP3 does not have", WaveBytes(MakePcmFormat(22050, 1, 16), Ramp16(10)), mp3, 22050,
       17, QStringLiteral("Error opening encoding stream -1")},
  };
  for (const auto& c : cases) {
    QFile::remove(wave);
    if (!c.file.isEmpty()) {
      ASSERT_TRUE(WriteWholeFile(wave, c.file));
    }
    TMessageRecorder recorder;
    EXPECT_FALSE(TMp3Encoder().EncodeMp3(wave, c.mp3, c.bitRate, c.sampleRate)) << c.name;
    EXPECT_EQ(recorder.Errors, QStringList{c.message}) << c.name;
    EXPECT_FALSE(QFile::exists(c.mp3)) << c.name;
    EXPECT_TRUE(TraceLines().last().endsWith(c.message)) << c.name;
  }
}

}  // namespace
