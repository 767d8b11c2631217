#include "WaveFormat.h"

TWaveFormat MakePcmFormat(quint32 samplesPerSec, quint16 channels, quint16 bitsPerSample) {
  TWaveFormat format;
  format.FormatTag = kWaveFormatPcm;
  format.Channels = channels;
  format.SamplesPerSec = samplesPerSec;
  format.BitsPerSample = bitsPerSample;
  format.BlockAlign = static_cast<quint16>(channels * bitsPerSample / 8);
  format.AvgBytesPerSec = format.BlockAlign * samplesPerSec;
  return format;
}

int PcmFrameBytes(const TWaveFormat& format) {
  return format.Channels * ((format.BitsPerSample + 7) / 8);
}
