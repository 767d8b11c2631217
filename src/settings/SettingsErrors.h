#pragma once

#include "Exceptions.h"

// A registry value could not be read or written, or had the wrong type.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

// A text did not convert to the number a setting or a list count needs.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Text to number conversions that raise EConvertError with the program's texts
// ("'%s' is not a valid integer value", "'%s' is not a valid floating point value").
qint32 StrToInt(const QString& text);
double StrToFloat(const QString& text);  // in the user's locale format
QString FloatToStr(double value);        // up to 15 significant digits, locale separator
