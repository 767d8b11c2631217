#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Wave output devices as the rest of the program counts them: identifier -1 is
// the system default ("default" PCM, the wave mapper), 0 .. n-1 are the
// playback PCMs ALSA lists.

// The twelve standard formats a device may accept (rate, channels, bits).
enum : quint32 {
  WAVE_FORMAT_1M08 = 0x1,
  WAVE_FORMAT_1S08 = 0x2,
  WAVE_FORMAT_1M16 = 0x4,
  WAVE_FORMAT_1S16 = 0x8,
  WAVE_FORMAT_2M08 = 0x10,
  WAVE_FORMAT_2S08 = 0x20,
  WAVE_FORMAT_2M16 = 0x40,
  WAVE_FORMAT_2S16 = 0x80,
  WAVE_FORMAT_4M08 = 0x100,
  WAVE_FORMAT_4S08 = 0x200,
  WAVE_FORMAT_4M16 = 0x400,
  WAVE_FORMAT_4S16 = 0x800,
};

struct TWaveOutCaps {
  int DeviceID = -1;
  quint16 ManufacturerID = 0;
  quint16 ProductID = 0;
  quint32 DriverVersion = 0;
  QString ProductName;   // at most 31 characters
  QString PcmName;       // what ALSA calls it ("default", "hw:CARD=PCH,DEV=0")
  QString Description;   // ALSA's description, whole
  QString PlaysThrough;  // the sound server or ALSA layer the audio goes through
  quint32 Formats = 0;   // WAVE_FORMAT_* bits
  int Channels = 0;
  quint32 Support = 0;  // separate volume, pitch, rate ... (none on ALSA)
};

// Results of ProbeWaveOut.
enum : int { WAVE_PROBE_OK = 0, WAVE_PROBE_BUSY = 1, WAVE_PROBE_FAILED = -1 };

class TWaveDevices final {
 public:
  TWaveDevices() = delete;

  // Names of the playback PCMs, index = device identifier.
  static QStringList OutputNames();
  // ALSA name for an identifier ("default" for -1); empty when out of range.
  static QString PcmName(int deviceId);
  static int OutputCount();
  static int InputCount();
  // False when the device cannot be opened or is out of range.
  static bool OutputCaps(int deviceId, TWaveOutCaps& caps);
  // Opens the device for 16-bit mono PCM at 22050 Hz and closes it again.
  static int ProbeWaveOut(int deviceId);
};

// The names the rest of the program uses.
inline int waveOutGetNumDevs() {
  return TWaveDevices::OutputCount();
}
inline int waveInGetNumDevs() {
  return TWaveDevices::InputCount();
}
inline int ProbeWaveOut(int deviceId) {
  return TWaveDevices::ProbeWaveOut(deviceId);
}

// ALSA prints its errors to stderr by default; the program reports failures
// itself, so they are silenced once per process.
void SilenceAlsaErrors();
