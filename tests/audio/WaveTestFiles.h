#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "WaveFormat.h"

// Builders for wave files of any shape, well-formed or not.
QByteArray Chunk(const char* id, const QByteArray& body);
// The 16 bytes of a PCM format record, plus extra bytes when asked.
QByteArray FormatBody(const TWaveFormat& format, const QByteArray& extra = {});
// "RIFF" + size + "WAVE" + the chunks given.
QByteArray RiffWave(const QByteArray& chunks);
// A plain file: "fmt " then "data".
QByteArray WaveBytes(const TWaveFormat& format, const QByteArray& data);

QByteArray Samples16(const std::vector<int>& values);
std::vector<int> ToSamples16(const QByteArray& bytes);
// n 16-bit samples counting up from 0, so each frame names its origin.
QByteArray Ramp16(int frames);
// A 440 Hz tone of seconds at rate, 16-bit mono.
QByteArray Tone16(int rate, double seconds);

// Data bytes of a wave file as the reader sees them; empty on failure.
QByteArray ReadWaveData(const QString& path, TWaveFormat* format = nullptr);

// Lines of the current trace file.
QStringList TraceLines();
