#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "RegistryTypes.h"

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  int MaxClassLen = 0;
  QDateTime FileTime;
};

// A thin object over the registry store that holds one open key at a time and
// offers typed reads and writes. Data errors raise ERegistryException; opening
// failures only return false.
class TRegistry final {
 public:
  TRegistry();
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY root);
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM access) { FAccess = access; }
  bool LazyWrite() const { return FLazyWrite; }
  void SetLazyWrite(bool lazy) { FLazyWrite = lazy; }
  bool HasCurrentKey() const { return FHasCurrentKey; }
  QString CurrentPath() const { return FCurrentPath; }

  bool OpenKey(const QString& key, bool canCreate);
  void CloseKey();

  bool DeleteValue(const QString& name);
  bool ValueExists(const QString& name);
  bool GetDataInfo(const QString& name, TRegDataInfo& info);
  bool GetKeyInfo(TRegKeyInfo& info);
  void GetValueNames(QStringList& list);
  void GetKeyNames(QStringList& list);

  void WriteString(const QString& name, const QString& value);
  void WriteExpandString(const QString& name, const QString& value);
  void WriteInteger(const QString& name, qint32 value);
  void WriteBool(const QString& name, bool value);
  void WriteFloat(const QString& name, double value);
  void WriteCurrency(const QString& name, qint64 scaledBy10000);
  void WriteDateTime(const QString& name, double dateTime);
  void WriteBinaryData(const QString& name, const void* buffer, int size);

  QString ReadString(const QString& name);
  qint32 ReadInteger(const QString& name);
  bool ReadBool(const QString& name);
  // Copies at most bufSize bytes; raises when the value is larger or of a
  // non-binary type. Returns the data size (0 for a missing value).
  int ReadBinaryData(const QString& name, void* buffer, int bufSize);

 private:
  class TRegistryStore* Store() const;
  QString ResolvedPath(const QString& key, bool* ok) const;
  bool ReadRaw(const QString& name, TRegValue& value, bool mustExist);
  void WriteRaw(const QString& name, const TRegValue& value);

  HKEY FRootKey = HKEY_CURRENT_USER;
  REGSAM FAccess = KEY_ALL_ACCESS;
  bool FLazyWrite = true;
  bool FHasCurrentKey = false;
  QString FCurrentPath;  // as the caller sees it
  QString FStorePath;    // normalised path in the store
};
