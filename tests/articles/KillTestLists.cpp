// The two article lists the kill test saves in turn.
#include "ArticleFileFormat.h"

// The two lists differ in titles, sizes and count, so any mix of them shows.
QList<TArticleRecord> KillTestList(char name, int count) {
  QList<TArticleRecord> records;
  for (int i = 0; i < count; ++i) {
    const QString line =
        QStringLiteral("%1 line of article %2 \u00e9\u20ac ").arg(QLatin1Char(name)).arg(i);
    records.append({QStringLiteral("%1_%2").arg(QLatin1Char(name)).arg(i), QStringLiteral("Voice"),
                    line.repeated(1 + i % 7) + u'\n' + line});
  }
  return records;
}
