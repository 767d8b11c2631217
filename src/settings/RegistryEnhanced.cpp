#include "RegistryEnhanced.h"

#include <QDate>
#include <QDateTime>

#include "SettingsErrors.h"
#include "TBrkApart.h"
#include "TRegistry.h"

HKEY RootKeyHandle(TRootKey root) {
  switch (root) {
    case hkClassesRoot:
      return HKEY_CLASSES_ROOT;
    case hkCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case hkCurrentUser:
      return HKEY_CURRENT_USER;
    case hkDynData:
      return HKEY_DYN_DATA;
    case hkLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case hkPerformanceData:
      return HKEY_PERFORMANCE_DATA;
    case hkUsers:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

REGSAM AccessMask(TAccess access) {
  switch (access) {
    case kRead:
      return KEY_READ;
    case kWrite:
      return KEY_WRITE;
    case kExecute:
      return KEY_EXECUTE;
    case kAllAccess:
      return KEY_ALL_ACCESS;
  }
  return KEY_ALL_ACCESS;
}

double DateTimeToRegDouble(const QDateTime& when) {
  static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0));
  const QDateTime local = when.toLocalTime();
  const qint64 days = epoch.date().daysTo(local.date());
  const double fraction = local.time().msecsSinceStartOfDay() / 86400000.0;
  // Before the epoch the fraction still counts forwards from midnight, as
  // the registry's date doubles always have.
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

TRegistryEnhanced::TRegistryEnhanced() : FBreaker(std::make_unique<TBrkApart>()) {
  FBreaker->BreakString = QStringLiteral("\\");
  FBreaker->AllowEmptyString = false;
}

TRegistryEnhanced::~TRegistryEnhanced() = default;

QStringList TRegistryEnhanced::Pieces(const QString& name) {
  FBreaker->BaseString = name;
  FBreaker->Split();
  return FBreaker->StringList();
}

QString TRegistryEnhanced::BasePath() const {
  QString base = Key;
  if (base.size() > 1 && base.endsWith(u'\\')) {
    base.chop(1);
  }
  if (base.size() > 1 && base.startsWith(u'\\')) {
    base.remove(0, 1);
  }
  return base;
}

QString TRegistryEnhanced::KeyPart(const QString& name) {
  const QStringList pieces = Pieces(name);
  QString part;
  for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
    part += u'\\' + pieces[i];
  }
  return part;
}

QString TRegistryEnhanced::ValueNameOf(const QString& name) {
  const QStringList pieces = Pieces(name);
  return pieces.size() >= 2 ? pieces.last() : name;
}

QString TRegistryEnhanced::FullKey(const QString& name) {
  return u'\\' + BasePath() + KeyPart(name);
}

namespace {

std::unique_ptr<TRegistry> NewRegistry(TAccess access, TRootKey root) {
  auto reg = std::make_unique<TRegistry>();
  reg->SetAccess(AccessMask(access));
  reg->SetRootKey(RootKeyHandle(root));
  return reg;
}

}  // namespace

void TRegistryEnhanced::WriteValue(const QString& name, const QVariant& value) {
  if (Key.isEmpty()) {
    return;
  }
  const auto reg = NewRegistry(Access, RootKey);
  if (!reg->OpenKey(FullKey(name), true)) {
    return;
  }
  const QString valueName = ValueNameOf(name);
  switch (value.metaType().id()) {
    case QMetaType::Int:
      reg->WriteInteger(valueName, value.toInt());
      break;
    case QMetaType::Double:
      reg->WriteFloat(valueName, value.toDouble());
      break;
    case QMetaType::QDateTime:
      reg->WriteDateTime(valueName, DateTimeToRegDouble(value.toDateTime()));
      break;
    case QMetaType::QDate:
      reg->WriteDateTime(valueName, DateTimeToRegDouble(value.toDate().startOfDay()));
      break;
    case QMetaType::Bool:
      reg->WriteBool(valueName, value.toBool());
      break;
    case QMetaType::QString:
      reg->WriteString(valueName, value.toString());
      break;
    default:
      if (value.metaType() == QMetaType::fromType<TCurrency>()) {
        reg->WriteCurrency(valueName, value.value<TCurrency>().Scaled);
      }
      // Other types (16-bit integers, single floats, ...) are not written.
      break;
  }
}

QVariant TRegistryEnhanced::ReadValueDef(const QString& name, const QVariant& defaultValue) {
  if (Key.isEmpty()) {
    return defaultValue;
  }
  const auto reg = NewRegistry(Access, RootKey);
  if (!reg->OpenKey(FullKey(name), false)) {
    return defaultValue;
  }
  const QString valueName = ValueNameOf(name);
  TRegDataInfo info;
  if (!reg->GetDataInfo(valueName, info) || info.RegData == rdUnknown) {
    return defaultValue;
  }
  try {
    switch (info.RegData) {
      case rdString:
      case rdExpandString:
        return reg->ReadString(valueName);
      case rdInteger:
        return reg->ReadInteger(valueName);
      case rdBinary:
        // Never more than the buffer holds: a longer value raises and reads
        // as the default.
        return reg->ReadBinaryData(valueName, FBuffer.data(),
                                   std::min(info.DataSize, ReadBufferSize));
      case rdUnknown:
        break;
    }
  } catch (const ERegistryException&) {
  }
  return defaultValue;
}

void TRegistryEnhanced::ReadValue(const QString& name, QVariant& value) {
  if (Key.isEmpty()) {
    return;
  }
  const auto reg = NewRegistry(Access, RootKey);
  if (!reg->OpenKey(FullKey(name), false)) {
    return;
  }
  const QString valueName = ValueNameOf(name);
  TRegDataInfo info;
  if (!reg->GetDataInfo(valueName, info)) {
    value = QVariant();
    return;
  }
  switch (info.RegData) {
    case rdString:
    case rdExpandString:
      value = reg->ReadString(valueName);
      break;
    case rdInteger:
      value = reg->ReadInteger(valueName);
      break;
    case rdBinary:
      // As ReadValueDef: the length, read into the buffer without overrunning it.
      value =
          reg->ReadBinaryData(valueName, FBuffer.data(), std::min(info.DataSize, ReadBufferSize));
      break;
    case rdUnknown:
      value = QVariant();
      break;
  }
}

QVariant TRegistryEnhanced::ReadValue(const QString& name) {
  QVariant value;
  ReadValue(name, value);
  return value;
}

void TRegistryEnhanced::GetValueNames(const QString& subPath, QStringList& list) {
  QString key;
  if (!Key.isEmpty()) {
    key = u'\\' + BasePath();
  }
  if (!subPath.isEmpty()) {
    QString sub = subPath;
    if (sub.size() > 1 && sub.endsWith(u'\\')) {
      sub.chop(1);
    }
    if (sub.size() > 1 && sub.startsWith(u'\\')) {
      sub.remove(0, 1);
    }
    key += u'\\' + sub;
  }
  const auto reg = NewRegistry(Access, RootKey);
  if (reg->OpenKey(key, false)) {
    reg->GetValueNames(list);
  }
}

bool TRegistryEnhanced::DeleteValue(const QString& name) {
  if (Key.isEmpty()) {
    return false;
  }
  const auto reg = NewRegistry(Access, RootKey);
  return reg->OpenKey(FullKey(name), false) && reg->DeleteValue(ValueNameOf(name));
}
