#include "RegistryTypes.h"

#include <QString>
#include <QtEndian>

TRegValue RegStringValue(const QString& text, quint32 type) {
  QByteArray data = text.toUtf8();
  data.append('\0');
  return TRegValue{type, data};
}

TRegValue RegDwordValue(quint32 value) {
  QByteArray data(4, '\0');
  qToLittleEndian(value, data.data());
  return TRegValue{REG_DWORD, data};
}

TRegValue RegBinaryValue(const QByteArray& data) {
  return TRegValue{REG_BINARY, data};
}
