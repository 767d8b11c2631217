#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decodes a text file's bytes. A byte order mark names the encoding (UTF-8,
// UTF-16 or UTF-32, either byte order) and is dropped; UTF-16 without a mark is
// recognised when the bytes plainly say so (every other byte zero, as Latin
// text saved as "Unicode" has). Otherwise the bytes are UTF-8 when they are
// valid UTF-8, else Windows-1252, so files written by older Windows versions
// of the program still open. Never fails: what cannot be decoded becomes
// U+FFFD.
QString DecodeTextFile(const QByteArray& bytes);
// True when bytes are well-formed UTF-8.
bool IsValidUtf8(const QByteArray& bytes);
// True when the start of a file is plainly not text (an image, an executable,
// an archive): too many control characters for any text to have, once the
// encoding DecodeTextFile would choose is taken into account. A stray NUL or
// form feed in a text does not make it binary.
bool LooksLikeBinary(QByteArrayView bytes);
