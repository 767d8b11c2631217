#include "DesktopEntry.h"

#include <QStringView>
#include <algorithm>

namespace {

bool IsReserved(QChar c) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  return reserved.contains(c);
}

QString QuoteArgument(const QString& arg) {
  QString out;
  const bool quote = arg.isEmpty() || std::any_of(arg.begin(), arg.end(), IsReserved);
  if (quote) {
    out += u'"';
  }
  for (const QChar c : arg) {
    if (quote && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) {
      out += u'\\';
    }
    if (c == u'%') {
      out += u'%';
    }
    out += c;
  }
  if (quote) {
    out += u'"';
  }
  return out;
}

// The escapes every string value of a desktop entry may carry.
QString EscapeValue(const QString& text) {
  QString out;
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\t':
        out += u"\\t";
        break;
      case u'\r':
        out += u"\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<QString> UnescapeValue(QStringView text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (++i >= text.size()) {
      return std::nullopt;
    }
    switch (text[i].unicode()) {
      case u's':
        out += u' ';
        break;
      case u'n':
        out += u'\n';
        break;
      case u't':
        out += u'\t';
        break;
      case u'r':
        out += u'\r';
        break;
      case u'\\':
        out += u'\\';
        break;
      default:
        // Not a string escape: left for the Exec quoting rules to judge.
        out += u'\\';
        out += text[i];
    }
  }
  return out;
}

}  // namespace

QString DesktopExecLine(const QString& program, const QStringList& arguments) {
  QStringList parts{QuoteArgument(program)};
  for (const QString& arg : arguments) {
    parts << QuoteArgument(arg);
  }
  return EscapeValue(parts.join(u' '));
}

std::optional<QStringList> ParseDesktopExecLine(const QString& value) {
  const std::optional<QString> unescaped = UnescapeValue(value);
  if (!unescaped) {
    return std::nullopt;
  }
  const QString& text = *unescaped;
  QStringList args;
  QString current;
  bool inArg = false;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'%') {
      if (i + 1 >= text.size()) {
        return std::nullopt;
      }
      // "%%" is a percent sign; any other field code expands to nothing here.
      if (text[++i] == u'%') {
        current += u'%';
        inArg = true;
      }
      continue;
    }
    if (quoted) {
      if (c == u'"') {
        quoted = false;
      } else if (c == u'\\') {
        if (i + 1 >= text.size()) {
          return std::nullopt;
        }
        const QChar e = text[++i];
        if (e != u'"' && e != u'`' && e != u'$' && e != u'\\') {
          return std::nullopt;
        }
        current += e;
      } else {
        current += c;
      }
      continue;
    }
    if (c == u' ' || c == u'\t' || c == u'\n') {
      if (inArg) {
        args << current;
        current.clear();
        inArg = false;
      }
    } else if (c == u'"') {
      quoted = true;
      inArg = true;
    } else {
      current += c;
      inArg = true;
    }
  }
  if (quoted) {
    return std::nullopt;
  }
  if (inArg) {
    args << current;
  }
  return args;
}

QString TDesktopEntryKeys::Value(const QString& key) const {
  const qsizetype at = Keys.lastIndexOf(key);
  return at < 0 ? QString() : Values.at(at);
}

TDesktopEntryKeys ParseDesktopEntry(const QByteArray& text) {
  TDesktopEntryKeys result;
  bool inGroup = false;
  for (const QByteArray& rawLine : text.split('\n')) {
    const QString line = QString::fromUtf8(rawLine).trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) {
      continue;
    }
    if (line.startsWith(u'[')) {
      inGroup = line == u"[Desktop Entry]";
      result.HasGroup = result.HasGroup || inGroup;
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (!inGroup || eq <= 0) {
      continue;
    }
    const QString key = line.left(eq).trimmed();
    if (key.contains(u'[')) {
      continue;  // a localised variant
    }
    result.Keys << key;
    result.Values << line.mid(eq + 1).trimmed();
  }
  return result;
}
