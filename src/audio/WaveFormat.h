#pragma once

#include <QString>
#include <QtGlobal>

#include "Exceptions.h"

// Format tag of uncompressed PCM samples.
constexpr quint16 kWaveFormatPcm = 1;

// The format record of a wave file, field for field as it is stored in the
// "fmt " chunk (WAVEFORMATEX without its trailing size field).
struct TWaveFormat {
  quint16 FormatTag = 0;
  quint16 Channels = 0;
  quint32 SamplesPerSec = 0;
  quint32 AvgBytesPerSec = 0;
  quint16 BlockAlign = 0;
  quint16 BitsPerSample = 0;

  bool operator==(const TWaveFormat&) const = default;
};

// PCM format with block alignment and byte rate derived from the three numbers.
TWaveFormat MakePcmFormat(quint32 samplesPerSec, quint16 channels, quint16 bitsPerSample);

// Bytes of one sample frame (all channels) of a PCM format, from its channels
// and bits rather than from the stored block alignment, which may lie.
int PcmFrameBytes(const TWaveFormat& format);

// A wave file could not be read, written or converted; the message is shown
// to the user as it stands.
class EWaveError : public Exception {
 public:
  using Exception::Exception;
};
