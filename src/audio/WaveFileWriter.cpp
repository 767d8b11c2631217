#include "WaveFileWriter.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr qint64 kFormatChunkSize = 18;
constexpr qint64 kRiffSizeOffset = 4;
constexpr qint64 kDataSizeOffset = 12 + 8 + kFormatChunkSize + 4;
constexpr qint64 kHeaderSize = kDataSizeOffset + 4;
// Everything in the RIFF size besides the sample data and its pad byte.
constexpr qint64 kRiffOverhead = kHeaderSize - 8;
constexpr qint64 kMaxDataSize = 0xFFFFFFFFLL - kRiffOverhead - 1;

void Put16(QByteArray& out, quint16 value) {
  char bytes[2];
  qToLittleEndian(value, bytes);
  out.append(bytes, 2);
}

void Put32(QByteArray& out, quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  out.append(bytes, 4);
}

}  // namespace

TWaveFileWriter::TWaveFileWriter() = default;
TWaveFileWriter::~TWaveFileWriter() = default;

bool TWaveFileWriter::Fail(const QString& what) {
  FError = what;
  if (FFile && FFile->error() != QFileDevice::NoError) {
    FError += QStringLiteral(": ") + FFile->errorString();
  }
  if (FFile) {
    FFile->close();
  }
  return false;
}

bool TWaveFileWriter::Create(const QString& path, const TWaveFormat& format) {
  FFile = std::make_unique<QFile>(path);
  FBuffer.clear();
  FBuffer.reserve(kBufferSize);
  FDataSize = 0;
  FError.clear();
  if (!FFile->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
    return Fail(QStringLiteral("Cannot create file ") + path);
  }
  QByteArray header;
  header.append("RIFF", 4);
  Put32(header, static_cast<quint32>(kRiffOverhead));
  header.append("WAVEfmt ", 8);
  Put32(header, kFormatChunkSize);
  Put16(header, format.FormatTag);
  Put16(header, format.Channels);
  Put32(header, format.SamplesPerSec);
  Put32(header, format.AvgBytesPerSec);
  Put16(header, format.BlockAlign);
  Put16(header, format.BitsPerSample);
  Put16(header, 0);  // no extra format bytes
  header.append("data", 4);
  Put32(header, 0);
  if (FFile->write(header) != header.size()) {
    return Fail(QStringLiteral("Cannot write file ") + path);
  }
  return true;
}

bool TWaveFileWriter::Flush() {
  if (FBuffer.isEmpty()) {
    return true;
  }
  const qint64 written = FFile->write(FBuffer);
  if (written != FBuffer.size()) {
    return Fail(QStringLiteral("Cannot write file ") + FFile->fileName());
  }
  FBuffer.clear();
  return true;
}

bool TWaveFileWriter::Write(const char* data, qint64 size) {
  if (!FFile || !FFile->isOpen()) {
    FError = QStringLiteral("The wave file is not open");
    return false;
  }
  if (size <= 0) {
    return true;
  }
  if (FDataSize + size > kMaxDataSize) {
    return Fail(QStringLiteral("The wave file would grow beyond 4 GB"));
  }
  FDataSize += size;
  if (FBuffer.size() + size <= kBufferSize) {
    FBuffer.append(data, size);
    return true;
  }
  if (!Flush()) {
    return false;
  }
  if (size >= kBufferSize) {
    if (FFile->write(data, size) != size) {
      return Fail(QStringLiteral("Cannot write file ") + FFile->fileName());
    }
    return true;
  }
  FBuffer.append(data, size);
  return true;
}

bool TWaveFileWriter::PutAt(qint64 offset, quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  return FFile->seek(offset) && FFile->write(bytes, 4) == 4;
}

bool TWaveFileWriter::Finish() {
  if (!FFile || !FFile->isOpen()) {
    FError = QStringLiteral("The wave file is not open");
    return false;
  }
  if (FDataSize & 1) {
    FBuffer.append('\0');  // chunks are padded to an even size
  }
  if (!Flush()) {
    return false;
  }
  const qint64 pad = FDataSize & 1;
  if (!PutAt(kRiffSizeOffset, static_cast<quint32>(kRiffOverhead + FDataSize + pad)) ||
      !PutAt(kDataSizeOffset, static_cast<quint32>(FDataSize))) {
    return Fail(QStringLiteral("Cannot write file ") + FFile->fileName());
  }
  FFile->close();
  if (FFile->error() != QFileDevice::NoError) {
    return Fail(QStringLiteral("Cannot close file ") + FFile->fileName());
  }
  return true;
}

namespace {

// One INFO entry: its id, the text in UTF-8 ended by a zero, padded to even.
void PutInfo(QByteArray& out, const char* id, const QString& text) {
  if (text.isEmpty()) {
    return;
  }
  QByteArray value = text.toUtf8();
  value.append('\0');
  out.append(id, 4);
  Put32(out, static_cast<quint32>(value.size()));
  out.append(value);
  if (value.size() % 2 != 0) {
    out.append('\0');
  }
}

}  // namespace

bool AppendWaveInfo(const QString& path, const TAudioTags& tags, QString* error) {
  const auto fail = [error](const QString& why) {
    if (error != nullptr) {
      *error = why;
    }
    return false;
  };
  QByteArray info("INFO");
  PutInfo(info, "INAM", tags.Title);
  PutInfo(info, "IPRD", tags.Album);
  PutInfo(info, "IART", tags.Artist);
  PutInfo(info, "ITRK", tags.Track);
  PutInfo(info, "IGNR", tags.Genre);
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) {
    return fail(file.errorString());
  }
  const QByteArray head = file.read(12);
  const qint64 size = file.size();
  if (head.size() != 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") {
    return fail(QStringLiteral("not a wave file"));
  }
  // Chunks start on even offsets; a file ending on an odd one has lost its
  // pad byte.
  QByteArray chunk;
  if (size % 2 != 0) {
    chunk.append('\0');
  }
  chunk.append("LIST", 4);
  Put32(chunk, static_cast<quint32>(info.size()));
  chunk.append(info);
  const qint64 riffSize = size + chunk.size() - 8;
  if (riffSize > 0xFFFFFFFFLL) {
    return fail(QStringLiteral("the file is too big for more chunks"));
  }
  QByteArray newSize;
  Put32(newSize, static_cast<quint32>(riffSize));
  const bool written = file.seek(size) && file.write(chunk) == chunk.size() && file.flush() &&
                       file.seek(kRiffSizeOffset) && file.write(newSize) == 4 && file.flush();
  if (!written) {
    const QString why = file.errorString();
    file.resize(size);
    if (file.seek(kRiffSizeOffset)) {
      file.write(head.mid(kRiffSizeOffset, 4));
    }
    return fail(why);
  }
  return true;
}
