#include "RegFileFormat.h"

#include <QList>
#include <QtEndian>

namespace RegFileFormat {

namespace {

QString HexList(const QByteArray& data) {
  QString out;
  out.reserve(data.size() * 3);
  static const char digits[] = "0123456789abcdef";
  for (int i = 0; i < data.size(); ++i) {
    if (i > 0) {
      out += u',';
    }
    const auto byte = static_cast<unsigned char>(data[i]);
    out += QLatin1Char(digits[byte >> 4]);
    out += QLatin1Char(digits[byte & 0x0F]);
  }
  return out;
}

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') {
    return u - u'0';
  }
  if (u >= u'a' && u <= u'f') {
    return u - u'a' + 10;
  }
  if (u >= u'A' && u <= u'F') {
    return u - u'A' + 10;
  }
  return -1;
}

std::optional<QByteArray> ParseHexList(QStringView text) {
  QByteArray out;
  const QStringView trimmed = text.trimmed();
  if (trimmed.isEmpty()) {
    return out;
  }
  for (QStringView piece : trimmed.split(u',')) {
    piece = piece.trimmed();
    if (piece.size() < 1 || piece.size() > 2) {
      return std::nullopt;
    }
    int byte = 0;
    for (const QChar c : piece) {
      const int d = HexDigit(c);
      if (d < 0) {
        return std::nullopt;
      }
      byte = byte * 16 + d;
    }
    out.append(static_cast<char>(byte));
  }
  return out;
}

// A text written in quotes must come back byte for byte: valid UTF-8 with
// exactly one terminating NUL.
bool QuotableText(const QByteArray& data) {
  if (data.isEmpty() || data.back() != '\0') {
    return false;
  }
  const QByteArray body = data.left(data.size() - 1);
  if (body.contains('\0')) {
    return false;
  }
  return QString::fromUtf8(body).toUtf8() == body;
}

}  // namespace

QString Quote(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += u'"';
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'\\':
        out += QStringLiteral("\\\\");
        break;
      case u'"':
        out += QStringLiteral("\\\"");
        break;
      case u'\n':
        out += QStringLiteral("\\n");
        break;
      case u'\r':
        out += QStringLiteral("\\r");
        break;
      case u'\0':
        out += QStringLiteral("\\0");
        break;
      default:
        out += c;
    }
  }
  out += u'"';
  return out;
}

std::optional<QString> Unquote(const QString& line, int& pos) {
  if (pos >= line.size() || line[pos] != u'"') {
    return std::nullopt;
  }
  QString out;
  for (int i = pos + 1; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == u'"') {
      pos = i + 1;
      return out;
    }
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (++i >= line.size()) {
      return std::nullopt;
    }
    switch (line[i].unicode()) {
      case u'n':
        out += u'\n';
        break;
      case u'r':
        out += u'\r';
        break;
      case u'0':
        out += QChar(u'\0');
        break;
      default:  // \\, \" and anything a hand edit left behind
        out += line[i];
    }
  }
  return std::nullopt;
}

QString FormatData(const TRegValue& value) {
  if (value.Type == REG_SZ && QuotableText(value.Data)) {
    return Quote(QString::fromUtf8(value.Data.left(value.Data.size() - 1)));
  }
  if (value.Type == REG_DWORD && value.Data.size() == 4) {
    const quint32 dword = qFromLittleEndian<quint32>(value.Data.constData());
    return QStringLiteral("dword:%1").arg(dword, 8, 16, QLatin1Char('0'));
  }
  if (value.Type == REG_BINARY) {
    return QStringLiteral("hex:") + HexList(value.Data);
  }
  return QStringLiteral("hex(%1):").arg(value.Type, 0, 16) + HexList(value.Data);
}

std::optional<TRegValue> ParseData(const QString& data) {
  const QString text = data.trimmed();
  if (text.startsWith(u'"')) {
    int pos = 0;
    const auto str = Unquote(text, pos);
    if (!str || !QStringView(text).mid(pos).trimmed().isEmpty()) {
      return std::nullopt;
    }
    return RegStringValue(*str);
  }
  if (text.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive)) {
    const QStringView digits = QStringView(text).mid(6).trimmed();
    if (digits.isEmpty() || digits.size() > 8) {
      return std::nullopt;
    }
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    if (!ok) {
      return std::nullopt;
    }
    return RegDwordValue(value);
  }
  if (text.startsWith(QStringLiteral("hex:"), Qt::CaseInsensitive)) {
    const auto bytes = ParseHexList(QStringView(text).mid(4));
    if (!bytes) {
      return std::nullopt;
    }
    return RegBinaryValue(*bytes);
  }
  if (text.startsWith(QStringLiteral("hex("), Qt::CaseInsensitive)) {
    const int close = text.indexOf(QStringLiteral("):"));
    if (close < 5 || close > 12) {
      return std::nullopt;
    }
    bool ok = false;
    const uint type = QStringView(text).mid(4, close - 4).toUInt(&ok, 16);
    if (!ok) {
      return std::nullopt;
    }
    const auto bytes = ParseHexList(QStringView(text).mid(close + 2));
    if (!bytes) {
      return std::nullopt;
    }
    return TRegValue{type, *bytes};
  }
  return std::nullopt;
}

bool ContinuesOnNextLine(const QString& line) {
  return line.endsWith(u'\\');
}

}  // namespace RegFileFormat
