#pragma once

#include <QByteArray>
#include <QString>

// Decodes a text file's bytes: UTF-8 when they are valid UTF-8 (a leading BOM
// is dropped), else Windows-1252, so files written by older Windows versions of
// the program still open.
QString DecodeTextFile(const QByteArray& bytes);
// True when bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);
