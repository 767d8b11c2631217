// Any bytes as an EPUB, ODT or DOCX container: the readers must read them or
// refuse them with a message, never crash, and never hand out more text than
// the limits on unpacking allow.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "AppPaths.h"
#include "XmlDocuments.h"
#include "ZipArchive.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  AppPaths::SetDataDir(QStringLiteral("/dev/null/verbalune-fuzz"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const auto archive = TZipArchive::FromBytes(bytes);
    const TDocument document = ReadZipDocument(*archive);
    qint64 total = 0;
    for (const TDocumentChapter& chapter : document.Chapters) {
      total += chapter.Text.size() + chapter.Title.size();
    }
    if (total > TZipArchive::kMaxTotalBytes) {
      std::abort();
    }
  } catch (const EDocumentError& error) {
    if (error.Message().isEmpty()) {
      std::abort();  // every refusal has a reason to show
    }
  }
  return 0;
}
