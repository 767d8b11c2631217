// The Help menu and Tell a Friend.
#include <QFileInfo>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "MainWindow.h"
#include "MakerSite.h"
#include "PreferenceUnit.h"
#include "UserMessages.h"

QString TForm1::HelpContentsPath() {
  return AppPaths::SharedFile(QStringLiteral("help/index.html"));
}

void TForm1::Contents1Click() {
  const QString path = HelpFile.isEmpty() ? HelpContentsPath() : HelpFile;
  if (!QFileInfo(path).isFile()) {
    UserMessages().ShowMessage(QStringLiteral("File does not exist: ") + path);
    return;
  }
  UtilsClass::OpenLink(path);
}

void TForm1::VisitKelmorTechnologies1Click() {
  UtilsClass::OpenLink(MakerSite::HomePage());
}

void TForm1::PortableMP3Click() {
  UtilsClass::OpenLink(MakerSite::Mp3PlayersPage());
}

void TForm1::About1Click() {
  // Through the message seam, so the box is made and freed for each showing
  // by the GUI and recorded by tests.
  UserMessages().ShowModalDialog(QStringLiteral("About"));
}

QString TForm1::TellAFriendText() {
  return QStringLiteral("Check out Verbalune MP3 at ") + MakerSite::Host + QStringLiteral(" .  ") +
         QStringLiteral("Verbalune MP3 lets you listen to text you copy to the clipboard. ") +
         QStringLiteral("It uses Text to Speech technology which actually synthesizes ") +
         QStringLiteral("natural sounding speech from ordinary text.  Listen to your ") +
         QStringLiteral("email, news, any text you want.  You can also convert your text ") +
         QStringLiteral("to wav or MP3 files so you can listen later.  ") +
         QStringLiteral("Try Verbalune MP3 free today at ") + MakerSite::Host;
}

void TForm1::TellaFriend1Click() {
  UtilsClass::SendMailLink(QString(), QStringLiteral("Verbalune MP3"), TellAFriendText());
}
