#pragma once

#include <QString>

#include "PcmConverter.h"

// Output formats of a file run (preference OUT_FileFormat).
constexpr int kOutputWav = 0;
constexpr int kOutputMp3 = 1;

// The files of one file run: what the engine writes, the resampled temporary
// file (MP3 only) and the result (MP3 only; for WAV the engine's file is it).
struct TOutputPaths {
  QString WavePath;
  QString Wave44Path;
  QString Mp3Path;
};

// Names for an article's file run in directory, from its title as typed.
// Doubled slashes in WavePath and Mp3Path are reduced to one; Wave44Path is
// used as built. A slash in the title would lead into another folder, so it
// becomes an underscore.
TOutputPaths MakeOutputPaths(const QString& directory, const QString& title, int fileFormat);

// Repeatedly replaces "//" by "/" until none is left.
QString ReduceDoubledSlashes(QString path);

// Sample rate an MP3 of this bit rate (kbit/s) is encoded at: 16 -> 16000,
// 32/40/48 -> 22050, 56/64 -> 44100, anything else 0 (never converts).
int TargetSampleRate(int bitRate);

// Sample rate of a wave file, or 0 (after an error box and a trace line) when
// it cannot be read as one.
int GetWaveSampleRate(const QString& file);

// Converts input into a PCM wave file output of the given rate, channels and
// bits. On failure shows the reason in an error box, traces it and returns
// false; never throws.
bool ConvertWaveFile(const QString& input, const QString& output, int sampleRate, int channels,
                     int bitsPerSample, const TConvertHooks& hooks = {});

// Caption of the program's error boxes.
QString ErrorCaption();
