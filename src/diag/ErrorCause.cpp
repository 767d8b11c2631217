#include "ErrorCause.h"

#include <cstring>

QString SystemReasonText(int errnum) {
  // strerror_r comes in two flavours; strerror is enough here because every
  // caller runs on the thread that just saw the failure.
  return QString::fromLocal8Bit(std::strerror(errnum));
}

QString FileFailureText(const QString& failed, const QString& path, int errnum) {
  QString text = failed + QStringLiteral(" \"") + path + u'"';
  if (errnum != 0) {
    text += QStringLiteral(": ") + SystemReasonText(errnum);
  }
  return text;
}
