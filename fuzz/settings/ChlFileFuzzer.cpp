// Any bytes as a tagged ".chl" file: parsing and lookups must end and never
// crash; a list count that is not a number is the one error callers expect.
#include <cstdint>

#include "GrabBaseClassUnit.h"
#include "SettingsErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GrabBaseClass grab;
  grab.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  for (const QString& path : {QStringLiteral("/"), QStringLiteral("/A"), QStringLiteral("/A/B")}) {
    grab.GetText(path, QStringLiteral("Text"));
    QStringList list;
    try {
      grab.GetList(path, QStringLiteral("List"), list);
    } catch (const EConvertError&) {
    }
  }
  return 0;
}
