#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "WaveFormat.h"

class TWaveFileReader;

// What the caller may attach to a conversion. All are optional.
struct TConvertHooks {
  // Runs after each piece, so the window stays responsive.
  std::function<void()> ProcessEvents;
  // Asked after each piece; true ends the conversion with "Conversion aborted".
  std::function<bool()> Aborted;
  // Free bytes on the volume holding the folder; negative when unknown. The
  // default asks the file system.
  std::function<qint64(const QString& folder)> BytesAvailable;
  // The output is a working file the caller holds: it is written directly,
  // with no temporary file beside it.
  bool WriteInPlace = false;
  // Takes the text of a failure instead of ConvertWaveFile's error box.
  std::function<void(const QString& message)> Failed = {};
};

// Converts PCM wave data to another PCM form: 8 or 16 bits, one or two
// channels, another rate. Rates change by dropping or repeating whole frames,
// which is all speech needs and keeps the conversion exact and cheap.
class TPcmConverter final {
 public:
  // Free space kept beyond each piece and the writer's buffer.
  static constexpr qint64 kSpareDiskBytes = 10240;

  explicit TPcmConverter(TConvertHooks hooks = {});

  // PCM, 8 or 16 bits, 1 or 2 channels, 4000 to 100000 Hz.
  static bool IsConvertible(const TWaveFormat& format);

  // Converts the reader's sample data into a new wave file named output in the
  // target format. The result is built in a temporary file beside output and
  // replaces it only when complete. Throws EWaveError with the user's text.
  void Convert(TWaveFileReader* source, const QString& output, const TWaveFormat& target);

 private:
  TConvertHooks FHooks;
};

// Brings frames of one PCM form to another of the same rate: 8-bit samples are
// unsigned around 128, 16-bit ones signed; stereo becomes mono by the halved
// sum of the two channels, mono becomes stereo by duplication. Appends to out.
void ConvertSampleForm(const char* source, qint64 frames, const TWaveFormat& from,
                       const TWaveFormat& to, QByteArray& out);

// Resamples one piece of frames (each frameBytes long) from sourceRate to
// targetRate by dropping or repeating whole frames; the accumulator starts
// afresh for every piece. Appends to out.
void ChangeRate(const char* frames, qint64 count, int frameBytes, qint64 sourceRate,
                qint64 targetRate, QByteArray& out);
