#pragma once

#include <QSet>
#include <QString>

#include "PcmConverter.h"

// Output formats of a file run (preference OUT_FileFormat).
constexpr int kOutputWav = 0;
constexpr int kOutputMp3 = 1;

// The name an article's file gets from its title: letters and digits of
// every script, spaces and the other marks a name can hold are kept; path
// separators, control characters and : * ? " < > | (which other systems
// cannot hold) are dropped, as are leading dots and spaces, so the name never
// leads out of its folder nor hides the file; at most kMaxFileTitleBytes
// bytes of UTF-8. A title that leaves nothing gives "Article " + number.
QString FileTitle(const QString& title, int articleNumber);
constexpr int kMaxFileTitleBytes = 200;

// directory + "/" + fileTitle + extension, doubled slashes reduced; when a
// file of this run already has that name, fileTitle + " (2)" and so on.
QString OutputFilePath(const QString& directory, const QString& fileTitle, const QString& extension,
                       const QSet<QString>& taken);

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
