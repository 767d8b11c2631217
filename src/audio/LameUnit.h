#pragma once

#include <QString>
#include <functional>

#include "AudioTags.h"
#include "PcmConverter.h"
#include "WaveFileReader.h"
#include "WaveFileWriter.h"
#include "WaveFormat.h"
#include "WaveOutput.h"

// The audio file output of a reading run. After an MP3 file run the main
// window finishes with:
//   target = TargetSampleRate(BitRate); r = GetWaveSampleRate(WavePath);
//   if (r < target) { if (!ConvertWaveFile(WavePath, Wave44Path, target, 1, 16, hooks)) stop;
//                     Mp3Encoder.EncodeMp3(Wave44Path, Mp3Path, BitRate, target); }
//   else Mp3Encoder.EncodeMp3(WavePath, Mp3Path, BitRate, r);
// then deletes the temporary wave files. Names come from FileTitle and
// OutputFilePath.

// How an encoding run reaches the window. Both are optional.
struct TEncodeCallbacks {
  // Position 0..100 for the progress bars; called with 0 at the start and
  // then whenever the position changes.
  std::function<void(int position)> Progress;
  // Lets pending window messages run; called between chunks, at most every
  // few milliseconds.
  std::function<void()> ProcessEvents;
  // Takes the text of a failure (with the system's reason where there is
  // one) instead of the error box, so the caller can tell what it did about
  // it in the same message.
  std::function<void(const QString& message)> Failed = {};
};

// Encodes the sample data of a wave file into a constant-bit-rate mono MP3
// with libmp3lame, streaming chunk by chunk so memory does not grow with the
// length of the file. One run at a time.
class TMp3Encoder final {
 public:
  explicit TMp3Encoder(TEncodeCallbacks callbacks = {});

  // Encodes waveFile (PCM; anything but 16-bit mono is brought to it on the
  // way) at bitRate kbit/s, telling the encoder the input is sampleRate Hz.
  // The MP3 is built beside mp3File and replaces it only when complete, so a
  // failure leaves whatever was there before. Failures are traced and shown
  // in an error box (or given to Failed). Returns true when mp3File was
  // written; an encoding ended by the abort flag writes nothing and returns
  // false without a message.
  bool EncodeMp3(const QString& waveFile, const QString& mp3File, int bitRate, int sampleRate);

  // Tags for the files encoded from now on; none by default.
  void SetTags(const TAudioTags& tags) { FTags = tags; }

  // Set by Stop, Skip and Exit: the running encoding stops after its current
  // chunk and its unfinished MP3 is thrown away.
  void SetAbort(bool abort) { FAbort = abort; }
  bool Abort() const { return FAbort; }

  // Samples per chunk to use instead of the encoder's frame size (0: the
  // encoder's). Lets a test pin the chunking.
  void SetChunkSamples(int samples) { FChunkSamples = samples; }

 private:
  TEncodeCallbacks FCallbacks;
  TAudioTags FTags;
  bool FAbort = false;
  int FChunkSamples = 0;
};

// Progress bar position after done of total bytes: done * 100 / total + 0.5,
// rounded to the nearest integer with halves going to the even one.
int ProgressPosition(qint64 done, qint64 total);
