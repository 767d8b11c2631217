#pragma once

#include <QChar>

// Character classes of the speech filter. Only ASCII letters and digits make
// words; every other UTF-16 unit (accents, apostrophes, line breaks, halves
// of surrogate pairs) separates them.
namespace TextChars {

constexpr bool IsLower(char16_t c) {
  return c >= u'a' && c <= u'z';
}
constexpr bool IsUpper(char16_t c) {
  return c >= u'A' && c <= u'Z';
}
constexpr bool IsLetter(char16_t c) {
  return IsLower(c) || IsUpper(c);
}
constexpr bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
constexpr bool IsWordChar(char16_t c) {
  return IsLetter(c) || IsDigit(c);
}
// Any white space, line breaks and no-break spaces included: where a web
// address ends.
inline bool IsWhiteSpace(char16_t c) {
  return QChar::isSpace(c);
}

constexpr bool IsSentenceMark(char16_t c) {
  return c == u'!' || c == u',' || c == u'-' || c == u'.' || c == u';' || c == u'?';
}

constexpr bool IsFilteredSymbol(char16_t c) {
  switch (c) {
    case u'(':
    case u')':
    case u'*':
    case u'<':
    case u'=':
    case u'>':
    case u'[':
    case u'\\':
    case u']':
    case u'^':
    case u'_':
    case u'`':
    case u'{':
    case u'|':
    case u'}':
    case u'~':
      return true;
    default:
      return false;
  }
}

}  // namespace TextChars
