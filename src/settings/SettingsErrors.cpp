#include "SettingsErrors.h"

#include <QLocale>

qint32 StrToInt(const QString& text) {
  bool ok = false;
  const qint32 value = text.toInt(&ok, 10);
  // Qt's conversion stops at a NUL, which would make "2\0" a valid 2.
  if (!ok || text.contains(QChar(0))) {
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  }
  return value;
}

namespace {
QLocale UserLocale() {
  QLocale locale = QLocale::system();
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale;
}
}  // namespace

double StrToFloat(const QString& text) {
  bool ok = false;
  const double value = UserLocale().toDouble(text.trimmed(), &ok);
  if (!ok) {
    throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  }
  return value;
}

QString FloatToStr(double value) {
  return UserLocale().toString(value, 'g', 15);
}
