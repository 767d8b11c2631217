#include "WaveFileReader.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

namespace {

constexpr quint16 kWaveFormatExtensible = 0xFFFE;
constexpr qint64 kChunkHeaderSize = 8;
constexpr qint64 kMinFormatSize = 16;
// WAVEFORMATEXTENSIBLE: 18 bytes of WAVEFORMATEX, 22 of extension.
constexpr qint64 kExtensibleFormatSize = 40;
// The sub-format GUID after its leading 16-bit format tag.
constexpr char kSubFormatTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";

quint16 U16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 U32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<quint32>(bytes.constData() + at);
}

}  // namespace

TWaveFileReader::TWaveFileReader() = default;
TWaveFileReader::~TWaveFileReader() = default;

void TWaveFileReader::Fail(const QString& text) const {
  throw EWaveError(text.arg(FName));
}

void TWaveFileReader::Open(const QString& path) {
  FFile = std::make_unique<QFile>(path);
  FName = path;
  if (!FFile->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    Fail(QStringLiteral("Cannot open file %1"));
  }
  FDevice = FFile.get();
  ReadHeader();
}

void TWaveFileReader::Open(QIODevice* device, const QString& name) {
  FFile.reset();
  FDevice = device;
  FName = name;
  ReadHeader();
}

void TWaveFileReader::ReadHeader() {
  FFormat = {};
  FDataOffset = FDataSize = FDataRead = 0;
  const QString notWave = QStringLiteral("%1 is not a wave file");
  const qint64 fileSize = FDevice->size();
  const QByteArray riff = FDevice->read(12);
  if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE") {
    Fail(notWave);
  }

  // The RIFF size is not trusted as a bound: writers interrupted before they
  // complete the header leave it wrong. Every chunk must lie inside the file.
  bool haveFormat = false;
  bool haveData = false;
  qint64 pos = 12;
  while (pos + kChunkHeaderSize <= fileSize && !(haveFormat && haveData)) {
    if (!FDevice->seek(pos)) {
      Fail(QStringLiteral("Error reading wave file %1"));
    }
    const QByteArray header = FDevice->read(kChunkHeaderSize);
    if (header.size() != kChunkHeaderSize) {
      Fail(QStringLiteral("Error reading wave file %1"));
    }
    const QByteArray id = header.left(4);
    const qint64 size = U32(header, 4);
    const qint64 body = pos + kChunkHeaderSize;
    if (id == "fmt " && !haveFormat) {
      if (size < kMinFormatSize || body + size > fileSize) {
        Fail(QStringLiteral("The wave file %1 has a damaged format"));
      }
      const QByteArray format = FDevice->read(std::min(size, kExtensibleFormatSize));
      if (format.size() < kMinFormatSize) {
        Fail(QStringLiteral("Error reading wave file %1"));
      }
      ParseFormat(format);
      haveFormat = true;
    } else if (id == "data" && !haveData) {
      if (body + size > fileSize) {
        Fail(QStringLiteral("The wave file %1 is shorter than its header says"));
      }
      FDataOffset = body;
      FDataSize = size;
      haveData = true;
    }
    pos = body + size + (size & 1);
  }
  if (!haveFormat) {
    Fail(QStringLiteral("The wave file %1 has no format"));
  }
  if (!haveData) {
    Fail(QStringLiteral("The wave file %1 holds no sample data"));
  }
  if (!FDevice->seek(FDataOffset)) {
    Fail(QStringLiteral("Error reading wave file %1"));
  }
}

void TWaveFileReader::ParseFormat(const QByteArray& body) {
  FFormat.FormatTag = U16(body, 0);
  FFormat.Channels = U16(body, 2);
  FFormat.SamplesPerSec = U32(body, 4);
  FFormat.AvgBytesPerSec = U32(body, 8);
  FFormat.BlockAlign = U16(body, 12);
  FFormat.BitsPerSample = U16(body, 14);
  // The extensible form with the PCM sub-format is plain PCM by another name.
  if (FFormat.FormatTag == kWaveFormatExtensible && body.size() >= kExtensibleFormatSize &&
      U16(body, 16) >= 22 && U16(body, 24) == kWaveFormatPcm &&
      body.mid(26, 14) == QByteArray(kSubFormatTail, 14)) {
    FFormat.FormatTag = kWaveFormatPcm;
  }
}

qint64 TWaveFileReader::Read(char* buffer, qint64 maxBytes) {
  const qint64 wanted = std::min(std::max<qint64>(maxBytes, 0), Remaining());
  if (wanted == 0) {
    return 0;
  }
  qint64 got = 0;
  while (got < wanted) {
    const qint64 n = FDevice->read(buffer + got, wanted - got);
    if (n <= 0) {
      Fail(QStringLiteral("The wave file %1 ends before its sample data does"));
    }
    got += n;
  }
  FDataRead += got;
  return got;
}
