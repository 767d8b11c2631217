#include "TAudioHelpUnit.h"

#include <QAction>
#include <QMenu>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "Exceptions.h"
#include "GrabBaseClassUnit.h"

namespace {

const QString kRoot = QStringLiteral("/");

}  // namespace

QString TAudioHelp::FileName() {
  return AppPaths::SharedFile(QStringLiteral("AudioHelp.chl"));
}

void TAudioHelp::AddTopicsToMenu(QMenu* menuItem, QObject* owner, const TClickHandler& onClick) {
  if (menuItem == nullptr) {
    return;
  }
  GrabBaseClass document;
  QString errorText;
  document.LoadFromFile(FileName(), errorText);
  QStringList topics;
  try {
    document.GetList(kRoot, QStringLiteral("HelpTopics"), topics);
  } catch (const Exception& error) {
    // A damaged count gives no menu rather than a broken one.
    UtilsClass::Trace(QStringLiteral("AudioHelp.chl: ") + error.Message());
    return;
  }
  for (const QString& topic : topics) {
    auto* item = new QAction(topic, owner != nullptr ? owner : menuItem);
    // A topic name with "&" must read as written, not become a shortcut.
    item->setText(QString(topic).replace(u'&', QStringLiteral("&&")));
    item->setData(topic);
    if (onClick) {
      QObject::connect(item, &QAction::triggered, item, [item, onClick] { onClick(item); });
    }
    menuItem->addAction(item);
  }
}

QString TAudioHelp::GetTopicText(const QString& topicName) {
  GrabBaseClass document;
  QString errorText;
  document.LoadFromFile(FileName(), errorText);
  return document.GetText(kRoot, topicName);
}
