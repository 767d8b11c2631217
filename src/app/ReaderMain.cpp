#include "ReaderMain.h"

#include <QApplication>
#include <QScreen>

#include "BaseUtils.h"
#include "ClipboardSession.h"
#include "DesktopShell.h"
#include "Forms.h"
#include "GuiMessages.h"
#include "TBaseRegistryClassUnit.h"
#include "TSingleInstance.h"

namespace {

void InstallScreenSizeProvider() {
  SetScreenSizeProvider([] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().size() : QSize();
  });
}

}  // namespace

int RunReader(int& argc, char** argv) {
  // Chosen for this process only: programs the reader opens (a browser for
  // the help, a mail program) must not inherit it.
  const QString platform = PreferredPlatform(QProcessEnvironment::systemEnvironment());
  if (!platform.isEmpty()) {
    qputenv("QT_QPA_PLATFORM", platform.toUtf8());
  }
  QApplication app(argc, argv);
  if (!platform.isEmpty()) {
    qunsetenv("QT_QPA_PLATFORM");
  }
  QApplication::setApplicationName(QStringLiteral("verbalune"));
  QApplication::setDesktopFileName(QStringLiteral("verbalune"));
  // The main window hides instead of closing; only the Exit command ends.
  QApplication::setQuitOnLastWindowClosed(false);

  TSingleInstance instance;
  if (instance.HandOverToRunning()) {
    return 0;
  }
  UtilsClass::RotateTraceFiles();
  if (!instance.Listen() && instance.HandOverToRunning()) {
    // Another start won the race between our check and our listening.
    return 0;
  }

  InstallDesktopShellHandler();
  InstallScreenSizeProvider();
  TGuiMessages messages;
  SetUserMessages(&messages);
  RegisterFormDialogs(messages);

  int status = 1;
  if (CreateForms(app.arguments())) {
    QObject::connect(&instance, &TSingleInstance::RestoreRequested, Form1, [] {
      UtilsClass::Trace(QStringLiteral("Restore requested by a second start"));
      Form1->RestoreFromTray();
    });
    Form1->show();
    Form1->raise();
    Form1->activateWindow();
    status = Form1->Terminated ? 1 : app.exec();
  }
  FreeForms();
  SetUserMessages(nullptr);
  return status;
}
