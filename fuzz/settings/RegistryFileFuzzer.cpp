// Any bytes as a registry file: parsing must never crash, and what it kept
// must write out and read back unchanged, with nothing reported as damaged.
#include <cstdint>
#include <cstdlib>

#include "TRegistryStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TRegistryStore store;
  store.Parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const QByteArray saved = store.Serialize();

  TRegistryStore reloaded;
  int badLines = 0;
  reloaded.Parse(saved, &badLines);
  if (badLines != 0 || reloaded.Serialize() != saved) {
    std::abort();
  }
  return 0;
}
