// Any bytes as an XHTML page: read or refused with a message, never a crash,
// and entity declarations never expand.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "AppPaths.h"
#include "XmlDocuments.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  AppPaths::SetDataDir(QStringLiteral("/dev/null/verbalune-fuzz"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const THtmlPage page = ReadXhtml(bytes, QStringLiteral("fuzz.xhtml"));
    // Without entity expansion no text can outgrow its source (each UTF-16
    // unit comes from at least one byte).
    if (page.Text.size() + page.Title.size() + page.Heading.size() >
        3 * static_cast<qsizetype>(size) + 3) {
      std::abort();
    }
  } catch (const EDocumentError& error) {
    if (error.Message().isEmpty()) {
      std::abort();
    }
  }
  return 0;
}
