#include "TRegistry.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "SettingsErrors.h"
#include "TRegistryStore.h"
#include "UserRegistry.h"

namespace {

TRegDataType DataTypeOf(quint32 type) {
  switch (type) {
    case REG_SZ:
      return rdString;
    case REG_EXPAND_SZ:
      return rdExpandString;
    case REG_DWORD:
      return rdInteger;
    case REG_BINARY:
      return rdBinary;
    default:
      return rdUnknown;
  }
}

QString JoinPath(const QString& base, const QString& path) {
  if (base.isEmpty()) {
    return path;
  }
  return path.isEmpty() ? base : base + u'\\' + path;
}

[[noreturn]] void RaiseGetData(const QString& name) {
  throw ERegistryException(QStringLiteral("Failed to get data for '%1'").arg(name));
}
[[noreturn]] void RaiseSetData(const QString& name) {
  throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
}
[[noreturn]] void RaiseInvalidType(const QString& name) {
  throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() {
  CloseKey();
}

TRegistryStore* TRegistry::Store() const {
  // The current user's root is the one backed by the settings file.
  return FRootKey == HKEY_CURRENT_USER ? &UserRegistry() : RegistryRootStore(FRootKey);
}

void TRegistry::SetRootKey(HKEY root) {
  if (root != FRootKey) {
    CloseKey();
    FRootKey = root;
  }
}

QString TRegistry::ResolvedPath(const QString& key, bool* absolute) const {
  QString path = key;
  *absolute = path.startsWith(u'\\');
  if (*absolute) {
    path.remove(0, 1);
  }
  if (path.endsWith(u'\\') && path.size() > 1) {
    path.chop(1);  // the registry tolerates one trailing separator
  }
  return *absolute || !FHasCurrentKey ? path : JoinPath(FStorePath, path);
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
  TRegistryStore* store = Store();
  if (store == nullptr) {
    return false;
  }
  bool absolute = false;
  const QString path = ResolvedPath(key, &absolute);
  bool ok = false;
  if (canCreate && !key.isEmpty()) {
    ok = store->KeyExists(path) || ((FAccess & KEY_CREATE_SUB_KEY) != 0 && store->CreateKey(path));
  } else {
    ok = store->KeyExists(path);
  }
  if (!ok) {
    return false;
  }
  QString shown = absolute ? key.mid(1) : key;
  if (!absolute && FHasCurrentKey) {
    shown = FCurrentPath + u'\\' + key;
  }
  CloseKey();
  FHasCurrentKey = true;
  FCurrentPath = shown;
  FStorePath = path;
  return true;
}

void TRegistry::CloseKey() {
  if (!FHasCurrentKey) {
    return;
  }
  if (!FLazyWrite) {
    if (TRegistryStore* store = Store()) {
      store->Flush();
    }
  }
  FHasCurrentKey = false;
  FCurrentPath.clear();
  FStorePath.clear();
}

bool TRegistry::ReadRaw(const QString& name, TRegValue& value, bool mustExist) {
  TRegistryStore* store = Store();
  if (FHasCurrentKey && store != nullptr && (FAccess & KEY_QUERY_VALUE) != 0) {
    if (auto stored = store->Value(FStorePath, name)) {
      value = *stored;
      return true;
    }
  }
  if (mustExist) {
    RaiseGetData(name);
  }
  return false;
}

void TRegistry::WriteRaw(const QString& name, const TRegValue& value) {
  TRegistryStore* store = Store();
  if (!FHasCurrentKey || store == nullptr || (FAccess & KEY_SET_VALUE) == 0 ||
      !store->SetValue(FStorePath, name, value)) {
    RaiseSetData(name);
  }
}

bool TRegistry::DeleteValue(const QString& name) {
  TRegistryStore* store = Store();
  return FHasCurrentKey && store != nullptr && (FAccess & KEY_SET_VALUE) != 0 &&
         store->DeleteValue(FStorePath, name);
}

bool TRegistry::ValueExists(const QString& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::GetDataInfo(const QString& name, TRegDataInfo& info) {
  TRegValue value;
  if (!ReadRaw(name, value, false)) {
    info = TRegDataInfo();
    return false;
  }
  info.RegData = DataTypeOf(value.Type);
  info.DataSize = static_cast<int>(value.Data.size());
  return true;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) {
  info = TRegKeyInfo();
  TRegistryStore* store = Store();
  if (!FHasCurrentKey || store == nullptr) {
    return false;
  }
  const QStringList keys = store->SubKeyNames(FStorePath);
  const QStringList values = store->ValueNames(FStorePath);
  info.NumSubKeys = static_cast<int>(keys.size());
  info.NumValues = static_cast<int>(values.size());
  for (const QString& key : keys) {
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, static_cast<int>(key.toUtf8().size()));
  }
  for (const QString& value : values) {
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<int>(value.toUtf8().size()));
    if (const auto data = store->Value(FStorePath, value)) {
      info.MaxDataLen = std::max(info.MaxDataLen, static_cast<int>(data->Data.size()));
    }
  }
  return true;
}

void TRegistry::GetValueNames(QStringList& list) {
  list.clear();
  if (TRegistryStore* store = Store(); FHasCurrentKey && store != nullptr) {
    list = store->ValueNames(FStorePath);
  }
}

void TRegistry::GetKeyNames(QStringList& list) {
  list.clear();
  if (TRegistryStore* store = Store(); FHasCurrentKey && store != nullptr) {
    list = store->SubKeyNames(FStorePath);
  }
}

void TRegistry::WriteString(const QString& name, const QString& value) {
  WriteRaw(name, RegStringValue(value, REG_SZ));
}

void TRegistry::WriteExpandString(const QString& name, const QString& value) {
  WriteRaw(name, RegStringValue(value, REG_EXPAND_SZ));
}

void TRegistry::WriteInteger(const QString& name, qint32 value) {
  WriteRaw(name, RegDwordValue(static_cast<quint32>(value)));
}

void TRegistry::WriteBool(const QString& name, bool value) {
  WriteRaw(name, RegDwordValue(value ? 1 : 0));
}

void TRegistry::WriteFloat(const QString& name, double value) {
  WriteBinaryData(name, &value, sizeof value);
}

void TRegistry::WriteCurrency(const QString& name, qint64 scaledBy10000) {
  WriteBinaryData(name, &scaledBy10000, sizeof scaledBy10000);
}

void TRegistry::WriteDateTime(const QString& name, double dateTime) {
  WriteBinaryData(name, &dateTime, sizeof dateTime);
}

void TRegistry::WriteBinaryData(const QString& name, const void* buffer, int size) {
  WriteRaw(name, RegBinaryValue(QByteArray(static_cast<const char*>(buffer), size)));
}

QString TRegistry::ReadString(const QString& name) {
  TRegDataInfo info;
  if (!GetDataInfo(name, info) || info.DataSize == 0) {
    return QString();
  }
  TRegValue value;
  ReadRaw(name, value, true);
  if (info.RegData != rdString && info.RegData != rdExpandString) {
    RaiseInvalidType(name);
  }
  const qsizetype nul = value.Data.indexOf('\0');
  return QString::fromUtf8(nul < 0 ? value.Data : value.Data.left(nul));
}

qint32 TRegistry::ReadInteger(const QString& name) {
  TRegValue value;
  ReadRaw(name, value, true);
  if (value.Data.size() > 4) {
    RaiseGetData(name);  // would not fit the four bytes asked for
  }
  if (DataTypeOf(value.Type) != rdInteger) {
    RaiseInvalidType(name);
  }
  char bytes[4] = {0, 0, 0, 0};
  std::memcpy(bytes, value.Data.constData(), static_cast<size_t>(value.Data.size()));
  return static_cast<qint32>(qFromLittleEndian<quint32>(bytes));
}

bool TRegistry::ReadBool(const QString& name) {
  return ReadInteger(name) != 0;
}

int TRegistry::ReadBinaryData(const QString& name, void* buffer, int bufSize) {
  TRegDataInfo info;
  if (!GetDataInfo(name, info)) {
    return 0;
  }
  if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufSize) {
    RaiseInvalidType(name);
  }
  TRegValue value;
  ReadRaw(name, value, true);
  std::memcpy(buffer, value.Data.constData(), static_cast<size_t>(value.Data.size()));
  return static_cast<int>(value.Data.size());
}
