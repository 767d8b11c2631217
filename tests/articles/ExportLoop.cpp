// Child of the kill test: saves two different article lists in turn, forever,
// printing "saved" after each complete save, until it is killed.
#include <QList>
#include <QString>
#include <cstdio>

#include "ArticleFileFormat.h"

QList<TArticleRecord> KillTestList(char name, int count);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: articles_export_loop FILE\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const QList<TArticleRecord> lists[2] = {KillTestList('B', 300), KillTestList('A', 200)};
  for (unsigned n = 0;; ++n) {
    if (!SaveArticleFile(path, lists[n % 2])) {
      return 1;
    }
    std::printf("saved\n");
    std::fflush(stdout);
  }
}
