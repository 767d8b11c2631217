#pragma once

#include <QList>
#include <QString>

// What the articles need of the speech controller's voice list: each voice's
// name, whether it is a favourite and whether its engine is enabled, in the
// controller's list order. The controller implements it; tests give a fixed list.
struct TArticleVoice {
  QString Name;
  bool Favorite = false;
  bool EngineEnabled = true;
};

class TArticleVoiceSource {
 public:
  virtual ~TArticleVoiceSource() = default;
  virtual QList<TArticleVoice> ArticleVoices() const = 0;
};
