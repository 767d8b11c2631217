// Feeds arbitrary bytes to the saved-articles parser. Besides not crashing,
// whatever it reads must survive being written and read again unchanged.
#include <cstdint>
#include <cstdlib>

#include "ArticleFileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = DecodeArticleText(bytes);
  const TArticleFileContents contents = ParseArticleFile(text);
  (void)ParseArticleFile(text, true);

  QByteArray written;
  for (const TArticleRecord& record : contents.Records) {
    written += FormatArticleRecord(record);
  }
  const TArticleFileContents again = ParseArticleFile(DecodeArticleText(written));
  if (again.Records != contents.Records || again.End != TArticleReadEnd::EndOfFile) {
    std::abort();
  }
  return 0;
}
