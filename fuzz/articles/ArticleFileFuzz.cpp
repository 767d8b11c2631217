// Feeds arbitrary bytes to the saved-articles parser and to the line splitting
// that opened text files go through. Besides not crashing, whatever the parser
// reads must survive being written and read again unchanged, and every line
// must lie inside the text.
#include <cstdint>
#include <cstdlib>

#include "ArticleFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = DecodeArticleText(bytes);
  for (const QStringView line : SplitArticleLines(text)) {
    if (line.data() < text.data() || line.data() + line.size() > text.data() + text.size()) {
      std::abort();
    }
  }
  const TArticleFileContents contents = ParseArticleFile(text);
  (void)ParseArticleFile(text, true);

  // Whatever the texts hold (marker lines too), what is written reads back
  // whole: no record lost, no damaged line.
  const QByteArray written = FormatArticleFile(contents.Records);
  const TArticleFileContents again = ParseArticleFile(DecodeArticleText(written));
  if (again.Records != contents.Records || !again.Complete()) {
    std::abort();
  }
  return 0;
}
