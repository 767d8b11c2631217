#pragma once

#include <QString>
#include <functional>

class QAction;
class QMenu;
class QObject;

// The spoken help topics of "AudioHelp.chl", read afresh each time they are
// needed so an edited file takes effect without a restart.
class TAudioHelp final {
 public:
  TAudioHelp() = delete;

  using TClickHandler = std::function<void(QAction* item)>;

  // Adds one item per topic, in the file's order, captioned with the topic
  // name. A missing file or topic list adds nothing.
  static void AddTopicsToMenu(QMenu* menuItem, QObject* owner, const TClickHandler& onClick);
  // The text of a topic; empty when the topic or the file is missing.
  static QString GetTopicText(const QString& topicName);
  static QString FileName();
};
