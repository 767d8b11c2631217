#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include "MessageRecorder.h"
#include "TestEnvironment.h"
#include "WaveFileReader.h"
#include "WaveFileWriter.h"
#include "WaveOutput.h"
#include "WaveTestFiles.h"

namespace {

const TWaveFormat kMono16 = MakePcmFormat(22050, 1, 16);

quint32 U32At(const QByteArray& bytes, int at) {
  return qFromLittleEndian<quint32>(bytes.constData() + at);
}

TEST(WaveFileTest, WriterProducesAFileTheReaderReadsBack) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("out.wav"));
  const TWaveFormat format = MakePcmFormat(11025, 2, 8);
  // Odd size, written in pieces around the writer's buffer size.
  QByteArray data;
  for (int i = 0; i < 3 * TWaveFileWriter::kBufferSize + 7; ++i) {
    data.append(static_cast<char>(i * 7));
  }
  TWaveFileWriter writer;
  ASSERT_TRUE(writer.Create(path, format));
  ASSERT_TRUE(writer.Write(data.left(5)));
  ASSERT_TRUE(writer.Write(data.mid(5, TWaveFileWriter::kBufferSize * 2)));
  ASSERT_TRUE(writer.Write(data.mid(5 + TWaveFileWriter::kBufferSize * 2)));
  ASSERT_TRUE(writer.Finish()) << writer.ErrorString().toStdString();

  const QByteArray raw = ReadWholeFile(path);
  ASSERT_EQ(raw.size(), 46 + data.size() + 1);  // pad byte after odd data
  EXPECT_EQ(raw.left(4), "RIFF");
  EXPECT_EQ(U32At(raw, 4), raw.size() - 8);
  EXPECT_EQ(raw.mid(12, 4), "fmt ");
  EXPECT_EQ(U32At(raw, 16), 18u);
  EXPECT_EQ(qFromLittleEndian<quint16>(raw.constData() + 36), 0);  // no extra format bytes
  EXPECT_EQ(raw.mid(38, 4), "data");
  EXPECT_EQ(U32At(raw, 42), static_cast<quint32>(data.size()));

  TWaveFormat read;
  EXPECT_EQ(ReadWaveData(path, &read), data);
  EXPECT_EQ(read, format);
  EXPECT_EQ(read.BlockAlign, 2);
  EXPECT_EQ(read.AvgBytesPerSec, 22050u);

  // A title added afterwards goes into a LIST/INFO chunk after the pad byte,
  // counted in the RIFF size, and the samples read as before.
  TAudioTags tags;
  tags.Title = QStringLiteral("Caf\u00e9");
  tags.Genre = QStringLiteral("Speech");
  ASSERT_TRUE(AppendWaveInfo(path, tags));
  const QByteArray tagged = ReadWholeFile(path);
  EXPECT_EQ(tagged.left(raw.size()).mid(8), raw.mid(8));
  EXPECT_EQ(U32At(tagged, 4), tagged.size() - 8);
  EXPECT_EQ(
      tagged.mid(raw.size()),
      QByteArray("LIST\x22\0\0\0INFOINAM\x06\0\0\0Caf\xc3\xa9\0IGNR\x07\0\0\0Speech\0\0", 42));
  EXPECT_EQ(ReadWaveData(path, &read), data);
  EXPECT_FALSE(AppendWaveInfo(folders.Path(QStringLiteral("none.wav")), tags));
}

TEST(WaveFileTest, WriterReportsAFolderThatDoesNotExist) {
  TTempFolders folders;
  TWaveFileWriter writer;
  EXPECT_FALSE(writer.Create(folders.Path(QStringLiteral("gone/out.wav")), kMono16));
  EXPECT_FALSE(writer.ErrorString().isEmpty());
  EXPECT_FALSE(writer.Write("ab", 2));
  EXPECT_FALSE(writer.Finish());
}

struct TLayoutCase {
  const char* name;
  QByteArray bytes;
};

TEST(WaveFileTest, ChunksInAnyOrderAndUnknownChunksAreRead) {
  const QByteArray data = Samples16({1, -2, 3, -4, 5});
  const QByteArray fmt = Chunk("fmt ", FormatBody(kMono16));
  const QByteArray odd = Chunk("LIST", QByteArray("abc"));  // padded to even
  const TLayoutCase cases[] = {
      {"data first", RiffWave(Chunk("data", data) + fmt)},
      {"unknown chunks around", RiffWave(odd + fmt + Chunk("fact", "1234") + Chunk("data", data) +
                                         Chunk("id3 ", "tagtagtag"))},
      {"long format record",
       RiffWave(Chunk("fmt ", FormatBody(kMono16, QByteArray(6, 'x'))) + Chunk("data", data))},
      {"RIFF size left at zero",
       [&] {
         QByteArray b = WaveBytes(kMono16, data);
         b[4] = b[5] = b[6] = b[7] = 0;
         return b;
       }()},
  };
  for (const auto& c : cases) {
    QBuffer buffer;
    buffer.setData(c.bytes);
    buffer.open(QIODevice::ReadOnly);
    TWaveFileReader reader;
    ASSERT_NO_THROW(reader.Open(&buffer, QStringLiteral("x.wav"))) << c.name;
    EXPECT_EQ(reader.Format(), kMono16) << c.name;
    // Asking for more than there is stops at the end of the data chunk.
    QByteArray got(100, '\0');
    EXPECT_EQ(reader.Read(got.data(), 100), data.size()) << c.name;
    EXPECT_EQ(got.left(data.size()), data) << c.name;
    EXPECT_EQ(reader.Read(got.data(), 100), 0) << c.name;
  }
}

TEST(WaveFileTest, ExtensibleFormatWithPcmSubFormatCountsAsPcm) {
  TWaveFormat format = kMono16;
  format.FormatTag = 0xFFFE;
  QByteArray extension = QByteArray::fromHex(
      "1600"
      "1000"
      "04000000"
      "0100"
      "000000001000800000aa00389b71");
  QBuffer buffer;
  buffer.setData(RiffWave(Chunk("fmt ", FormatBody(format, extension)) + Chunk("data", "ab")));
  buffer.open(QIODevice::ReadOnly);
  TWaveFileReader reader;
  reader.Open(&buffer, QString());
  EXPECT_EQ(reader.Format().FormatTag, kWaveFormatPcm);

  extension[10] = 3;  // IEEE float sub-format stays foreign
  buffer.close();
  buffer.setData(RiffWave(Chunk("fmt ", FormatBody(format, extension)) + Chunk("data", "ab")));
  buffer.open(QIODevice::ReadOnly);
  reader.Open(&buffer, QString());
  EXPECT_EQ(reader.Format().FormatTag, 0xFFFE);
}

TEST(WaveFileTest, DamagedFilesGiveAnErrorAndRateZero) {
  const QByteArray data = Samples16({1, 2, 3});
  const QByteArray fmt = Chunk("fmt ", FormatBody(kMono16));
  QByteArray dataPastEnd = WaveBytes(kMono16, data);
  dataPastEnd.chop(2);
  QByteArray hugeData = RiffWave(fmt + QByteArray("data\xff\xff\xff\xff", 8) + data);
  QByteArray fmtPastEnd = RiffWave(QByteArray("fmt \x40\x00\x00\x00", 8) + FormatBody(kMono16));
  const TLayoutCase cases[] = {
      {"empty file", QByteArray()},
      {"text file", QByteArray("Hello, this is not audio at all.")},
      {"RIFF of another form", QByteArray("RIFF\x04\x00\x00\x00"
                                          "AVI ",
                                          12)},
      {"header cut short", QByteArray("RIFF\x24\x00\x00\x00WA", 10)},
      {"format record too short",
       RiffWave(Chunk("fmt ", FormatBody(kMono16).left(14)) + Chunk("data", data))},
      {"format past the end", fmtPastEnd},
      {"no format", RiffWave(Chunk("data", data))},
      {"no data", RiffWave(fmt)},
      {"data cut short", dataPastEnd},
      {"data size lies", hugeData},
      {"chunk header cut short", RiffWave(fmt + QByteArray("dat", 3))},
  };
  TTempFolders folders;
  for (const auto& c : cases) {
    const QString path = folders.Path(QStringLiteral("bad.wav"));
    ASSERT_TRUE(WriteWholeFile(path, c.bytes));
    TWaveFileReader reader;
    try {
      reader.Open(path);
      ADD_FAILURE() << c.name << " was accepted";
    } catch (const EWaveError& e) {
      EXPECT_TRUE(e.Message().contains(path)) << c.name << ": " << e.what();
    }
    TMessageRecorder recorder;
    EXPECT_EQ(GetWaveSampleRate(path), 0) << c.name;
    ASSERT_EQ(recorder.Errors.size(), 1) << c.name;
    const QStringList trace = TraceLines();
    ASSERT_FALSE(trace.isEmpty());
    EXPECT_TRUE(trace.last().endsWith(recorder.Errors.first())) << c.name;
  }
}

TEST(WaveFileTest, FileThatShrinksWhileReadIsAnErrorNotAShortRead) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("shrinks.wav"));
  ASSERT_TRUE(WriteWholeFile(path, WaveBytes(kMono16, Ramp16(1000))));
  TWaveFileReader reader;
  reader.Open(path);
  ASSERT_TRUE(QFile::resize(path, 46 + 500));
  QByteArray buffer(2000, '\0');
  EXPECT_THROW(reader.Read(buffer.data(), 2000), EWaveError);
}

TEST(WaveFileTest, SampleRateOfAGoodFile) {
  TTempFolders folders;
  const QString path = folders.Path(QStringLiteral("rate.wav"));
  ASSERT_TRUE(WriteWholeFile(path, WaveBytes(MakePcmFormat(11025, 1, 16), Ramp16(10))));
  TMessageRecorder recorder;
  EXPECT_EQ(GetWaveSampleRate(path), 11025);
  EXPECT_TRUE(recorder.All.isEmpty());
  EXPECT_EQ(GetWaveSampleRate(folders.Path(QStringLiteral("missing.wav"))), 0);
  EXPECT_EQ(recorder.Errors.size(), 1);
}

}  // namespace
