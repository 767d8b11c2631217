#include "WaveTestFiles.h"

#include <QFile>
#include <QtEndian>
#include <cmath>
#include <numbers>

#include "BaseUtils.h"
#include "WaveFileReader.h"

namespace {

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

QByteArray Chunk(const char* id, const QByteArray& body) {
  QByteArray out(id, 4);
  Put32(out, static_cast<quint32>(body.size()));
  out += body;
  if (body.size() & 1) {
    out.append('\0');
  }
  return out;
}

QByteArray FormatBody(const TWaveFormat& format, const QByteArray& extra) {
  QByteArray out;
  Put16(out, format.FormatTag);
  Put16(out, format.Channels);
  Put32(out, format.SamplesPerSec);
  Put32(out, format.AvgBytesPerSec);
  Put16(out, format.BlockAlign);
  Put16(out, format.BitsPerSample);
  return out + extra;
}

QByteArray RiffWave(const QByteArray& chunks) {
  QByteArray out("RIFF");
  Put32(out, static_cast<quint32>(chunks.size() + 4));
  return out + "WAVE" + chunks;
}

QByteArray WaveBytes(const TWaveFormat& format, const QByteArray& data) {
  return RiffWave(Chunk("fmt ", FormatBody(format)) + Chunk("data", data));
}

QByteArray Samples16(const std::vector<int>& values) {
  QByteArray out;
  for (int v : values) {
    Put16(out, static_cast<quint16>(static_cast<qint16>(v)));
  }
  return out;
}

std::vector<int> ToSamples16(const QByteArray& bytes) {
  std::vector<int> out;
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(qFromLittleEndian<qint16>(bytes.constData() + i));
  }
  return out;
}

QByteArray Ramp16(int frames) {
  std::vector<int> values(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    values[static_cast<size_t>(i)] = static_cast<qint16>(i);
  }
  return Samples16(values);
}

QByteArray Tone16(int rate, double seconds) {
  const int n = static_cast<int>(rate * seconds);
  std::vector<int> values(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    values[static_cast<size_t>(i)] =
        static_cast<int>(8000 * std::sin(2 * std::numbers::pi * 440 * i / rate));
  }
  return Samples16(values);
}

QByteArray ReadWaveData(const QString& path, TWaveFormat* format) {
  TWaveFileReader reader;
  reader.Open(path);
  if (format != nullptr) {
    *format = reader.Format();
  }
  QByteArray data(reader.DataSize(), Qt::Uninitialized);
  reader.Read(data.data(), data.size());
  return data;
}

QStringList TraceLines() {
  QFile file(UtilsClass::TraceFileName());
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
