#include "SpeechTypes.h"

#include <utility>

#include <QCryptographicHash>

namespace {
struct TErrorInfo {
  HRESULT Code = S_OK;
  QString Cause;
};
thread_local TErrorInfo LastErrorInfo;
}  // namespace

void SetErrorInfo(HRESULT hr, const QString& cause) {
  LastErrorInfo = TErrorInfo{hr, cause};
}

QString TakeErrorInfo(HRESULT hr) {
  TErrorInfo info = std::exchange(LastErrorInfo, TErrorInfo{});
  return info.Code == hr ? info.Cause : QString();
}

QString TGUID::ToString() const {
  QString text = QStringLiteral("{%1-%2-%3-")
                     .arg(D1, 8, 16, QLatin1Char('0'))
                     .arg(D2, 4, 16, QLatin1Char('0'))
                     .arg(D3, 4, 16, QLatin1Char('0'));
  for (std::size_t i = 0; i < D4.size(); ++i) {
    if (i == 2) {
      text += u'-';
    }
    text += QStringLiteral("%1").arg(D4[i], 2, 16, QLatin1Char('0'));
  }
  return text.toUpper() + u'}';
}

TGUID TGUID::FromName(const QString& name) {
  // Name-based, so a mode keeps its identifier (and its settings) across runs.
  const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
  const auto* b = reinterpret_cast<const quint8*>(hash.constData());
  TGUID id;
  id.D1 = (quint32{b[0]} << 24) | (quint32{b[1]} << 16) | (quint32{b[2]} << 8) | b[3];
  id.D2 = static_cast<quint16>((b[4] << 8) | b[5]);
  id.D3 = static_cast<quint16>((((b[6] << 8) | b[7]) & 0x0FFF) | 0x5000);
  for (std::size_t i = 0; i < id.D4.size(); ++i) {
    id.D4[i] = b[8 + i];
  }
  id.D4[0] = static_cast<quint8>((id.D4[0] & 0x3F) | 0x80);
  return id;
}
