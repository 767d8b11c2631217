#include "TBrkApart.h"

void TBrkApart::Split() {
  FStringList.clear();
  QStringView rest(BaseString);
  for (;;) {
    // An empty separator would match forever; it splits nothing.
    const qsizetype at = BreakString.isEmpty() ? -1 : rest.indexOf(BreakString);
    const QStringView piece = at < 0 ? rest : rest.left(at);
    if (!piece.isEmpty() || AllowEmptyString) {
      FStringList << piece.toString();
    }
    if (at < 0) {
      break;
    }
    rest = rest.mid(at + BreakString.size());
  }
}
