#include "RegSettingClasses.h"

#include "SettingsErrors.h"

TRegIntClass::TRegIntClass(QString name, TRegLocation location, QString oldName,
                           qint32 defaultValue)
    : BaseRegClass(std::move(name), location, std::move(oldName)), Default(defaultValue) {}
void TRegIntClass::FromString(const QString& text) {
  Value = StrToInt(text);
}
QString TRegIntClass::AsString() const {
  return QString::number(Value);
}
QString TRegIntClass::DefaultAsString() const {
  return QString::number(Default);
}
QVariant TRegIntClass::GetVariant() const {
  return Value;
}
void TRegIntClass::SetVariant(const QVariant& value) {
  Value = value.toInt();
}

TRegRealClass::TRegRealClass(QString name, TRegLocation location, QString oldName,
                             double defaultValue)
    : BaseRegClass(std::move(name), location, std::move(oldName)), Default(defaultValue) {}
void TRegRealClass::FromString(const QString& text) {
  Value = StrToFloat(text);
}
QString TRegRealClass::AsString() const {
  return FloatToStr(Value);
}
QString TRegRealClass::DefaultAsString() const {
  return FloatToStr(Default);
}
QVariant TRegRealClass::GetVariant() const {
  return Value;
}
void TRegRealClass::SetVariant(const QVariant& value) {
  Value = value.toDouble();
}

TRegBoolClass::TRegBoolClass(QString name, TRegLocation location, QString oldName,
                             bool defaultValue)
    : BaseRegClass(std::move(name), location, std::move(oldName)), Default(defaultValue) {}
void TRegBoolClass::FromString(const QString& text) {
  Value = text.toLower() == QStringLiteral("true");
}
QString TRegBoolClass::AsString() const {
  return Value ? QStringLiteral("true") : QStringLiteral("false");
}
QString TRegBoolClass::DefaultAsString() const {
  return Default ? QStringLiteral("true") : QStringLiteral("false");
}
QVariant TRegBoolClass::GetVariant() const {
  return Value;
}
void TRegBoolClass::SetVariant(const QVariant& value) {
  Value = value.toBool();
}

TRegStringClass::TRegStringClass(QString name, TRegLocation location, QString oldName,
                                 QString defaultValue)
    : BaseRegClass(std::move(name), location, std::move(oldName)),
      Default(std::move(defaultValue)) {}
void TRegStringClass::FromString(const QString& text) {
  Value = text;
}
QString TRegStringClass::AsString() const {
  return Value;
}
QString TRegStringClass::DefaultAsString() const {
  return Default;
}
QVariant TRegStringClass::GetVariant() const {
  return Value;
}
void TRegStringClass::SetVariant(const QVariant& value) {
  Value = value.toString();
}

TRegListClass::TRegListClass(QString name, TRegLocation location, QString oldName)
    : BaseRegClass(std::move(name), location, std::move(oldName)) {}
void TRegListClass::FromString(const QString& /*text*/) {}
QString TRegListClass::AsString() const {
  return QString();
}
QString TRegListClass::DefaultAsString() const {
  return QString();
}
QVariant TRegListClass::GetVariant() const {
  return 0;
}
void TRegListClass::SetVariant(const QVariant& /*value*/) {}
