#include "TextDecoding.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five undefined
// bytes there map to the C1 control of the same number, as Windows does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// How much of a file the encoding and binary checks look at.
constexpr qsizetype kSampleBytes = 64 * 1024;

struct TEncoding {
  QStringDecoder::Encoding Decoder = QStringDecoder::Utf8;
  qsizetype MarkBytes = 0;
  bool Unicode = false;  // UTF-16 or UTF-32 (not the UTF-8 / Windows-1252 pair)
};

// Latin text in UTF-16 has a zero in nearly every high byte and hardly any in
// the low ones; text in other scripts, and UTF-8, never looks like that.
bool PlainlyUtf16(QByteArrayView bytes, bool littleEndian) {
  const qsizetype pairs = std::min(bytes.size(), kSampleBytes) / 2;
  if (pairs < 2) {
    return false;
  }
  qsizetype highZeros = 0;
  qsizetype lowZeros = 0;
  for (qsizetype i = 0; i < pairs; ++i) {
    const char first = bytes[2 * i];
    const char second = bytes[2 * i + 1];
    const char high = littleEndian ? second : first;
    const char low = littleEndian ? first : second;
    highZeros += high == 0 ? 1 : 0;
    lowZeros += low == 0 ? 1 : 0;
  }
  return highZeros * 10 >= pairs * 7 && lowZeros * 20 <= pairs;
}

TEncoding DetectEncoding(QByteArrayView bytes) {
  const auto starts = [&bytes](const char* mark, qsizetype length) {
    return bytes.size() >= length && bytes.first(length) == QByteArrayView(mark, length);
  };
  if (starts("\xFF\xFE\0\0", 4) && bytes.size() % 4 == 0) {
    return {QStringDecoder::Utf32LE, 4, true};
  }
  if (starts("\0\0\xFE\xFF", 4)) {
    return {QStringDecoder::Utf32BE, 4, true};
  }
  if (starts("\xEF\xBB\xBF", 3)) {
    return {QStringDecoder::Utf8, 3, false};
  }
  if (starts("\xFF\xFE", 2)) {
    return {QStringDecoder::Utf16LE, 2, true};
  }
  if (starts("\xFE\xFF", 2)) {
    return {QStringDecoder::Utf16BE, 2, true};
  }
  if (PlainlyUtf16(bytes, true)) {
    return {QStringDecoder::Utf16LE, 0, true};
  }
  if (PlainlyUtf16(bytes, false)) {
    return {QStringDecoder::Utf16BE, 0, true};
  }
  return {};
}

QString DecodeWindows1252(QByteArrayView bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += QChar(byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : char16_t(byte));
  }
  return text;
}

// Characters no text has in numbers: C0 controls other than the layout ones
// (tab, line feed, vertical tab, form feed, carriage return), the DOS end of
// file mark and the escape of coloured terminal logs, and DEL.
bool IsBinaryUnit(char16_t c) {
  if (c >= 0x20) {
    return c == 0x7F || c == 0xFFFD;
  }
  return !(c >= 0x09 && c <= 0x0D) && c != 0x1A && c != 0x1B;
}

bool TooManyBinaryUnits(qsizetype binary, qsizetype total) {
  // A few NULs in a long text are damage, not a sign of an image.
  return binary >= 4 && binary * 20 > total;
}

}  // namespace

bool IsValidUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  Q_UNUSED(text);
  return !decoder.hasError();
}

QString DecodeTextFile(const QByteArray& bytes) {
  const TEncoding encoding = DetectEncoding(bytes);
  const QByteArrayView body = QByteArrayView(bytes).sliced(encoding.MarkBytes);
  QStringDecoder decoder(encoding.Decoder, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(body);
  if (encoding.Unicode || !decoder.hasError()) {
    return text;
  }
  // The whole file, a mark included, was written in the Windows code page.
  return DecodeWindows1252(bytes);
}

bool LooksLikeBinary(QByteArrayView bytes) {
  const QByteArrayView sample = bytes.first(std::min(bytes.size(), kSampleBytes));
  const TEncoding encoding = DetectEncoding(sample);
  qsizetype binary = 0;
  if (encoding.Unicode) {
    QStringDecoder decoder(encoding.Decoder, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(sample.sliced(encoding.MarkBytes));
    for (const QChar c : text) {
      binary += IsBinaryUnit(c.unicode()) ? 1 : 0;
    }
    return TooManyBinaryUnits(binary, text.size());
  }
  // UTF-8 and Windows-1252 agree on every byte below 0x80, which is where
  // the controls are.
  for (const char c : sample) {
    const auto byte = static_cast<unsigned char>(c);
    binary += byte < 0x80 && IsBinaryUnit(byte) ? 1 : 0;
  }
  return TooManyBinaryUnits(binary, sample.size());
}
