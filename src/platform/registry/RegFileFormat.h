#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "RegistryTypes.h"

// Pieces of the registry text format ("REGEDIT4" files): quoted names and
// strings, and the value data forms "text", dword:, hex: and hex(N):.
namespace RegFileFormat {

inline constexpr char Header[] = "REGEDIT4";
inline constexpr char HeaderV5[] = "Windows Registry Editor Version 5.00";

// Quotes a name or text. Besides the usual \\ and \", line breaks and NUL are
// escaped so that any name stays on one line and survives a reload.
QString Quote(const QString& text);
// Reads a quoted text starting at line[pos] (which must be '"'); on success
// pos is just past the closing quote.
std::optional<QString> Unquote(const QString& line, int& pos);

// The data part of a value line (everything after "=").
QString FormatData(const TRegValue& value);
// Parses the data part; nullopt when it is not a valid form.
std::optional<TRegValue> ParseData(const QString& data);

// A hex byte list may wrap over lines ending in a backslash.
bool ContinuesOnNextLine(const QString& line);

}  // namespace RegFileFormat
