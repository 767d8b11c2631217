#pragma once

#include <QByteArray>
#include <QtGlobal>

// Root keys, value types and access rights, numbered as the registry has always
// numbered them so that masks and type codes written by callers keep their meaning.

using HKEY = quint32;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

using REGSAM = quint32;
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001u;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002u;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004u;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008u;
inline constexpr REGSAM KEY_READ = 0x20019u;
inline constexpr REGSAM KEY_WRITE = 0x20006u;
inline constexpr REGSAM KEY_EXECUTE = 0x20019u;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003Fu;

inline constexpr quint32 REG_NONE = 0;
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;

// One stored value: its type code and its raw bytes. Texts are held as UTF-8
// with their terminating NUL, DWORDs as four little-endian bytes.
struct TRegValue {
  quint32 Type = REG_NONE;
  QByteArray Data;

  friend bool operator==(const TRegValue&, const TRegValue&) = default;
};

// Convenience constructors and readers for the common types.
TRegValue RegStringValue(const QString& text, quint32 type = REG_SZ);
TRegValue RegDwordValue(quint32 value);
TRegValue RegBinaryValue(const QByteArray& data);
