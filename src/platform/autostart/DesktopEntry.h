#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The bits of the freedesktop desktop entry format an autostart entry needs.

// The Exec value for a program and its arguments: arguments with reserved
// characters are double-quoted with their inner specials escaped, a literal
// '%' is doubled, and the result carries the general string escapes.
QString DesktopExecLine(const QString& program, const QStringList& arguments);
// The reverse: program and arguments of an Exec value; nullopt when the value
// is malformed (an unterminated quote, a stray escape).
std::optional<QStringList> ParseDesktopExecLine(const QString& value);

// Keys of the [Desktop Entry] group of a file's text (later duplicates win);
// lines of other groups, comments and localised keys are skipped.
struct TDesktopEntryKeys {
  bool HasGroup = false;
  QStringList Keys;
  QStringList Values;  // raw, still escaped
  QString Value(const QString& key) const;
};
TDesktopEntryKeys ParseDesktopEntry(const QByteArray& text);
