// Any bytes as a wave file: the reader must refuse or read them without
// reading past its data, and the converter must turn whatever it accepts into
// complete files of the target forms, or fail cleanly.
#include <QBuffer>
#include <QByteArray>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "AppPaths.h"
#include "PcmConverter.h"
#include "WaveFileReader.h"

namespace {

QTemporaryDir* gFolder = nullptr;

bool OpenReader(TWaveFileReader& reader, QBuffer& buffer) {
  try {
    reader.Open(&buffer, QStringLiteral("fuzz.wav"));
    return true;
  } catch (const EWaveError&) {
    return false;
  }
}

// Frame dropping and repeating written the plain way, to check the fast one.
QByteArray ChangeRateSlowly(const char* frames, qint64 count, int frameBytes, qint64 from,
                            qint64 to) {
  QByteArray out;
  qint64 acc = from > to ? from / 2 : to / 2;
  for (qint64 i = 0; i < count; ++i, frames += frameBytes) {
    if (from > to) {
      acc -= to;
      if (acc < 0) {
        out.append(frames, frameBytes);
        acc += from;
      }
      continue;
    }
    do {
      out.append(frames, frameBytes);
      acc -= from;
    } while (acc >= 0);
    acc += to;
  }
  return out;
}

void CheckChangeRate(const uint8_t* data, size_t size) {
  if (size < 8) {
    return;
  }
  const auto rate = [](const uint8_t* p) { return 4000 + (p[0] | p[1] << 8 | p[2] << 16) % 96001; };
  const qint64 from = rate(data);
  const qint64 to = rate(data + 3);
  const int frameBytes = 1 << (data[6] % 3);
  const auto* frames = reinterpret_cast<const char*>(data + 7);
  const qint64 count = static_cast<qint64>(size - 7) / frameBytes;
  QByteArray fast;
  ChangeRate(frames, count, frameBytes, from, to, fast);
  if (fast != ChangeRateSlowly(frames, count, frameBytes, from, to)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  gFolder = new QTemporaryDir;
  // Trace lines would pile up by the million; a folder that cannot exist
  // makes every trace write fail quickly, as the trace allows.
  AppPaths::SetDataDir(QStringLiteral("/dev/null/verbalune-fuzz"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  CheckChangeRate(data, size);
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);

  TWaveFileReader reader;
  if (!OpenReader(reader, buffer)) {
    return 0;
  }
  // Reading in odd pieces must give exactly the data size.
  char piece[97];
  qint64 total = 0;
  try {
    for (qint64 n; (n = reader.Read(piece, sizeof piece)) > 0;) {
      total += n;
    }
  } catch (const EWaveError&) {
    return 0;
  }
  if (total != reader.DataSize() || reader.DataSize() > static_cast<qint64>(size)) {
    std::abort();
  }

  const TWaveFormat targets[] = {MakePcmFormat(22050, 1, 16), MakePcmFormat(8000, 2, 8)};
  const QString output = gFolder->filePath(QStringLiteral("out.wav"));
  for (const TWaveFormat& target : targets) {
    buffer.seek(0);
    TWaveFileReader source;
    if (!OpenReader(source, buffer)) {
      std::abort();  // the same bytes opened a moment ago
    }
    try {
      TPcmConverter converter;
      converter.Convert(&source, output, target);
      TWaveFileReader result;
      result.Open(output);
      if (!(result.Format() == target) || result.DataSize() % PcmFrameBytes(target) != 0) {
        std::abort();
      }
    } catch (const EWaveError&) {
    }
  }
  return 0;
}
