// Reads bytes as a pronunciation list file, and checks what a list must
// keep: writing the entries read and reading them again gives the same
// entries, and applying them to the input maps every position back inside it.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "PronunciationList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 16384) {
    return 0;
  }
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TPronunciationList list;
  list.Items = TPronunciationList::FromText(text);
  if (TPronunciationList::FromText(list.ToText()) != list.Items) {
    std::fprintf(stderr, "entries change when written and read again\n");
    std::abort();
  }
  TPronunciationMap map;
  const QString spoken = list.Apply(text, QStringLiteral("Flite"), map);
  qint32 last = 0;
  for (qint32 p = 0; p <= spoken.size(); ++p) {
    const qint32 mapped = map.MapPosition(p);
    if (mapped < last || mapped > text.size()) {
      std::fprintf(stderr, "position %d maps to %d\n", p, mapped);
      std::abort();
    }
    last = mapped;
  }
  return 0;
}
