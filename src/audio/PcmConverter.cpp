#include "PcmConverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QtEndian>
#include <cstdio>
#include <cstring>

#include "BaseUtils.h"
#include "ScratchFile.h"
#include "WaveFileReader.h"
#include "WaveFileWriter.h"

namespace {

constexpr quint32 kMinRate = 4000;
constexpr quint32 kMaxRate = 100000;

// One sample in the source's own form: 0..255 for 8 bits, signed for 16.
int ReadSample(const char* at, int bits) {
  if (bits == 8) {
    return static_cast<unsigned char>(*at);
  }
  return qFromLittleEndian<qint16>(at);
}

int ChangeBits(int sample, int fromBits, int toBits) {
  if (fromBits == toBits) {
    return sample;
  }
  if (fromBits == 8) {
    return (sample - 128) * 256;
  }
  // The high byte, taken as signed, moved to the unsigned centre.
  return (sample >> 8) + 128;
}

void WriteSample(char*& out, int sample, int bits) {
  if (bits == 8) {
    *out++ = static_cast<char>(static_cast<unsigned char>(sample));
  } else {
    qToLittleEndian(static_cast<qint16>(sample), out);
    out += 2;
  }
}

qint64 DefaultBytesAvailable(const QString& folder) {
  QStorageInfo storage(folder);
  return storage.isValid() ? storage.bytesAvailable() : -1;
}

}  // namespace

void ConvertSampleForm(const char* source, qint64 frames, const TWaveFormat& from,
                       const TWaveFormat& to, QByteArray& out) {
  const int fromBits = from.BitsPerSample;
  const int toBits = to.BitsPerSample;
  const int fromBytes = fromBits / 8;
  const int fromFrame = PcmFrameBytes(from);
  const qint64 start = out.size();
  out.resize(start + frames * PcmFrameBytes(to));
  char* dest = out.data() + start;
  if (fromBits == toBits && from.Channels == to.Channels) {
    std::memcpy(dest, source, static_cast<size_t>(frames * fromFrame));
    return;
  }
  for (qint64 i = 0; i < frames; ++i, source += fromFrame) {
    int sample = ReadSample(source, fromBits);
    if (from.Channels == 2) {
      const int second = ReadSample(source + fromBytes, fromBits);
      if (to.Channels == 2) {
        WriteSample(dest, ChangeBits(sample, fromBits, toBits), toBits);
        WriteSample(dest, ChangeBits(second, fromBits, toBits), toBits);
        continue;
      }
      sample = (sample + second) / 2;
    }
    sample = ChangeBits(sample, fromBits, toBits);
    WriteSample(dest, sample, toBits);
    if (to.Channels == 2) {
      WriteSample(dest, sample, toBits);
    }
  }
}

void ChangeRate(const char* frames, qint64 count, int frameBytes, qint64 sourceRate,
                qint64 targetRate, QByteArray& out) {
  // Room for the most frames the piece can give; the rest is cut off after.
  const qint64 start = out.size();
  const qint64 most = sourceRate > targetRate ? count : count * (targetRate / sourceRate + 1) + 1;
  out.resize(start + most * frameBytes);
  char* dest = out.data() + start;
  const auto put = [&](const char* frame) {
    std::memcpy(dest, frame, static_cast<size_t>(frameBytes));
    dest += frameBytes;
  };
  if (sourceRate > targetRate) {
    qint64 acc = sourceRate / 2;
    for (qint64 i = 0; i < count; ++i, frames += frameBytes) {
      acc -= targetRate;
      if (acc < 0) {
        put(frames);
        acc += sourceRate;
      }
    }
  } else {
    qint64 acc = targetRate / 2;
    for (qint64 i = 0; i < count; ++i, frames += frameBytes) {
      put(frames);
      acc -= sourceRate;
      while (acc >= 0) {
        put(frames);
        acc -= sourceRate;
      }
      acc += targetRate;
    }
  }
  out.resize(dest - out.constData());
}

TPcmConverter::TPcmConverter(TConvertHooks hooks) : FHooks(std::move(hooks)) {
  if (!FHooks.BytesAvailable) {
    FHooks.BytesAvailable = DefaultBytesAvailable;
  }
}

bool TPcmConverter::IsConvertible(const TWaveFormat& format) {
  return format.FormatTag == kWaveFormatPcm &&
         (format.BitsPerSample == 8 || format.BitsPerSample == 16) &&
         (format.Channels == 1 || format.Channels == 2) && format.SamplesPerSec >= kMinRate &&
         format.SamplesPerSec <= kMaxRate;
}

void TPcmConverter::Convert(TWaveFileReader* source, const QString& output,
                            const TWaveFormat& target) {
  if (source == nullptr || output.isEmpty()) {
    throw EWaveError(QStringLiteral("Invalid param passed!"));
  }
  const TWaveFormat& from = source->Format();
  if (!IsConvertible(from) || !IsConvertible(target)) {
    throw EWaveError(QStringLiteral("This wave file is not valid for conversion"));
  }

  const QString folder = QFileInfo(output).absolutePath();
  QString tempPath;
  bool aborted = false;
  const auto fail = [&](const QString& reason) {
    UtilsClass::Trace(reason);
    if (!tempPath.isEmpty()) {
      QFile::remove(tempPath);
      tempPath.clear();
    }
    throw EWaveError(aborted ? QStringLiteral("Conversion aborted")
                             : QStringLiteral("Unable to convert wave file"));
  };

  // A hidden working file: a conversion that is killed leaves nothing the
  // user sees, and the next run clears it away.
  TScratchFile temp;
  if (FHooks.WriteInPlace) {
    tempPath = output;
  } else if (temp.Create(folder, QStringLiteral(".wav"))) {
    tempPath = temp.Path();
  } else {
    fail(temp.ErrorString());
  }
  TWaveFileWriter writer;
  if (!writer.Create(tempPath, target)) {
    fail(writer.ErrorString());
  }

  // One second of source frames per piece; a trailing part frame is dropped.
  const int fromFrame = PcmFrameBytes(from);
  const int toFrame = PcmFrameBytes(target);
  const qint64 pieceBytes = qint64(from.SamplesPerSec) * fromFrame;
  QByteArray piece(pieceBytes, Qt::Uninitialized);
  QByteArray reformed;
  QByteArray converted;
  try {
    while (source->Remaining() >= fromFrame) {
      const qint64 got = source->Read(piece.data(), pieceBytes);
      const qint64 frames = got / fromFrame;
      reformed.clear();
      ConvertSampleForm(piece.constData(), frames, from, target, reformed);
      converted.clear();
      ChangeRate(reformed.constData(), frames, toFrame, from.SamplesPerSec, target.SamplesPerSec,
                 converted);
      const qint64 available = FHooks.BytesAvailable(folder);
      if (available >= 0 &&
          available < converted.size() + TWaveFileWriter::kBufferSize + kSpareDiskBytes) {
        fail(QStringLiteral("Not enough free disk space in ") + folder);
      }
      if (!writer.Write(converted)) {
        fail(writer.ErrorString());
      }
      if (FHooks.ProcessEvents) {
        FHooks.ProcessEvents();
      }
      if (FHooks.Aborted && FHooks.Aborted()) {
        aborted = true;
        fail(QStringLiteral("Conversion aborted"));
      }
    }
  } catch (const EWaveError& e) {
    if (tempPath.isEmpty()) {
      throw;  // already cleaned up by fail
    }
    fail(e.Message());
  }
  if (!writer.Finish()) {
    fail(writer.ErrorString());
  }
  // The rename replaces an existing output in one step, so there is never a
  // moment with neither the old nor the new file.
  if (!FHooks.WriteInPlace && !temp.KeepAs(output)) {
    fail(temp.ErrorString());
  }
}
