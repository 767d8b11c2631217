// Any bytes as a text file the user opens: telling text from binary and
// decoding must end and never crash, whatever byte order marks, stray zeros or
// cut-off characters the file holds. A file that passes as text decodes to at
// most one unit per byte.
#include <cstdint>
#include <cstdlib>

#include "TextDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const bool binary = LooksLikeBinary(bytes);
  const QString text = DecodeTextFile(bytes);
  if (!binary && text.size() > bytes.size()) {
    std::abort();
  }
  return 0;
}
