#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <memory>

#include "RegistryTypes.h"

class TBrkApart;

enum TRootKey {
  hkClassesRoot,
  hkCurrentConfig,
  hkCurrentUser,
  hkDynData,
  hkLocalMachine,
  hkPerformanceData,
  hkUsers
};
enum TAccess { kRead, kWrite, kExecute, kAllAccess };

HKEY RootKeyHandle(TRootKey root);
REGSAM AccessMask(TAccess access);

// A date variant is stored as days since 1899-12-30 with the time as the
// fraction, as the registry's date values have always been.
double DateTimeToRegDouble(const QDateTime& when);

// Currency variants: a 64-bit integer scaled by 10000.
struct TCurrency {
  qint64 Scaled = 0;
  friend bool operator==(const TCurrency&, const TCurrency&) = default;
};
Q_DECLARE_METATYPE(TCurrency)

// Reads, writes, lists and deletes values addressed by a path-like name below a
// base key ("Voices\Default" is the value Default in the subkey Voices). Every
// operation opens its own TRegistry and closes it again.
class TRegistryEnhanced final {
 public:
  TRegistryEnhanced();
  ~TRegistryEnhanced();
  TRegistryEnhanced(const TRegistryEnhanced&) = delete;
  TRegistryEnhanced& operator=(const TRegistryEnhanced&) = delete;

  TAccess Access = kAllAccess;
  QString Key;
  TRootKey RootKey = hkCurrentUser;

  void WriteValue(const QString& name, const QVariant& value);
  // The stored value, an empty variant when there is none; a key that cannot
  // be opened leaves value unchanged. Raises ERegistryException on data errors.
  void ReadValue(const QString& name, QVariant& value);
  QVariant ReadValue(const QString& name);
  QVariant ReadValueDef(const QString& name, const QVariant& defaultValue);
  void GetValueNames(const QString& subPath, QStringList& list);
  bool DeleteValue(const QString& name);

  // Name handling, public so that callers and tests can see where a name goes.
  QString BasePath() const;
  QString KeyPart(const QString& name);
  QString ValueNameOf(const QString& name);
  QString FullKey(const QString& name);

  static constexpr int ReadBufferSize = 256;

 private:
  QStringList Pieces(const QString& name);

  std::unique_ptr<TBrkApart> FBreaker;
  QStringList FSpareList;
  std::array<char, ReadBufferSize> FBuffer{};
};
