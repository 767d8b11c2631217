// Runs the filter and its step-by-step version on the same text and stops at
// the first difference in text, records or mapped positions.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ReferenceFilter.h"
#include "TTSFilter.h"

namespace {

// Bytes below 0x80 stand for themselves; the others stand for the pieces the
// filter reacts to, so short inputs reach its rules.
const char16_t* const kPieces[] = {
    u"http://", u"www.",  u"www",     u"AP",     u"NY",        u"CA",     u"UNICEF",
    u"...",     u". . .", u".?",      u"/gh/ij", u"Example.c", u"\u00e9", u"\U0001F600",
    u"\u2014",  u"\r\n",  u"HTTP://", u"QRS.",   u"a.b/",      u"x_y",    u"<>",
};
constexpr std::size_t kPieceCount = sizeof(kPieces) / sizeof(kPieces[0]);

[[noreturn]] void Mismatch(const char* what, const QString& text) {
  std::fprintf(stderr, "filter differs (%s) on: %s\n", what, text.toUtf8().constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) {
    return 0;
  }
  const quint32 flags = (data[0] & 1) != 0 ? 2 : 0;
  const bool symbols = (data[0] & 2) != 0;
  QString text;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] < 0x80) {
      text += QChar(static_cast<char16_t>(data[i]));
    } else {
      text += QString::fromUtf16(kPieces[(data[i] - 0x80) % kPieceCount]);
    }
  }
  TTTSFilter filter;
  TReferenceFilter reference;
  const QString fast = filter.FilterText(flags, text, symbols);
  if (fast != reference.FilterText(flags, text, symbols)) {
    Mismatch("text", text);
  }
  const auto& records = filter.OffsetList().Records();
  if (records.size() != static_cast<std::size_t>(reference.Offsets.size())) {
    Mismatch("record count", text);
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (!(records[i] == reference.Offsets[static_cast<qsizetype>(i)])) {
      Mismatch("record", text);
    }
  }
  for (qint32 p = -1; p <= fast.size() + 1; ++p) {
    if (filter.MapPosition(p) != reference.MapPosition(p)) {
      Mismatch("mapping", text);
    }
  }
  return 0;
}
