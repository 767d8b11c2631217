#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const QImage image = DecodeJpeg(bytes, &error);
  // Either a picture within the size limit or a reason, never both or neither.
  if (image.isNull() == error.isEmpty()) {
    __builtin_trap();
  }
  if (!image.isNull() && (image.width() > kJpegMaxSide || image.height() > kJpegMaxSide)) {
    __builtin_trap();
  }
  return 0;
}
