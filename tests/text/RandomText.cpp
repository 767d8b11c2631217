#include "RandomText.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

std::uint32_t TRandomText::Below(std::uint32_t n) {
  // splitmix64: tiny, and the same sequence on every machine.
  FState += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = FState;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<std::uint32_t>(z % n);
}

QString TRandomText::Next(int pieces) {
  static const QStringList kPieces = {
      u"http://"_s,
      u"http"_s,
      u"HTTP://"_s,
      u"https://"_s,
      u"://"_s,
      u"www"_s,
      u"www."_s,
      u"w"_s,
      u"AP"_s,
      u"Ap"_s,
      u"NY"_s,
      u"CA"_s,
      u"Ny"_s,
      u"UNICEF"_s,
      u"NASA"_s,
      u"QRS"_s,
      u"abc"_s,
      u"x"_s,
      u"Example"_s,
      u"com"_s,
      u"42"_s,
      u"7"_s,
      u"."_s,
      u"."_s,
      u".."_s,
      u"..."_s,
      u". . ."_s,
      u".?"_s,
      u"?!"_s,
      u","_s,
      u"-"_s,
      u";"_s,
      u"!"_s,
      u"/"_s,
      u"/"_s,
      u"/gh/ij"_s,
      u" "_s,
      u" "_s,
      u" "_s,
      u"  "_s,
      u"\n"_s,
      u"\r\n"_s,
      u"\t"_s,
      u":"_s,
      u"<"_s,
      u">"_s,
      u"_"_s,
      u"("_s,
      u"\\"_s,
      u"~"_s,
      u"'"_s,
      u"\u00e9"_s,
      u"\u00c9T\u00c9"_s,
      u"\U0001F600"_s,
      u"\U0001D400"_s,
      u"\u2014"_s,
      u"IN"_s,
      u"WV"_s,
      u"IL"_s,
      u"Albany"_s,
      u", "_s,
      u"12345"_s,
      u"-5"_s,
      u"\u00a0"_s,
      u"\f"_s,
  };
  QString text;
  for (int k = 0; k < pieces; ++k) {
    text += kPieces[static_cast<int>(Below(static_cast<std::uint32_t>(kPieces.size())))];
  }
  return text;
}
