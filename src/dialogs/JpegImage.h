#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG decoding through libjpeg for the about box pictures. A damaged or
// hostile file gives a null image and a reason, never a crash.

// Largest width or height accepted; bigger pictures are refused before any
// pixel memory is taken.
inline constexpr int kJpegMaxSide = 8192;

QImage DecodeJpeg(const QByteArray& data, QString* error = nullptr);
// Reads the file first; a missing file gives "File does not exist: " + path.
QImage LoadJpegFile(const QString& path, QString* error = nullptr);
