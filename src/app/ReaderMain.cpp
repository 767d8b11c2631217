#include "ReaderMain.h"

#include <QApplication>
#include <QScreen>
#include <QSessionManager>
#include <csignal>
#include <memory>

#include "BaseUtils.h"
#include "ClipboardSession.h"
#include "DesktopShell.h"
#include "Forms.h"
#include "GuiMessages.h"
#include "MainWindow.h"
#include "TBaseRegistryClassUnit.h"
#include "TEndSignals.h"
#include "TSingleInstance.h"

namespace {

void InstallScreenSizeProvider() {
  SetScreenSizeProvider([] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().size() : QSize();
  });
}

QString SignalName(int signalNumber) {
  switch (signalNumber) {
    case SIGTERM:
      return QStringLiteral("SIGTERM");
    case SIGINT:
      return QStringLiteral("SIGINT");
    case SIGHUP:
      return QStringLiteral("SIGHUP");
    default:
      return QString::number(signalNumber);
  }
}

// A request to quit the whole application (the session manager ending the
// session, the platform terminating it) would close every window and give up
// when the main window only hides; it runs the Exit command instead.
class TQuitAsExit final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == qApp && event->type() == QEvent::Quit && Form1 != nullptr) {
      Form1->EndProgram(QStringLiteral("The desktop asked the program to quit"));
      return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

// Signals, the session's end and any quit of the application save like the
// Exit command.
void ConnectEndsOfTheProgram(QApplication& app, TEndSignals& endSignals, TQuitAsExit& quitFilter) {
  QObject::connect(&endSignals, &TEndSignals::Received, Form1, [](int signalNumber) {
    Form1->EndProgram(QStringLiteral("Received ") + SignalName(signalNumber));
  });
  app.installEventFilter(&quitFilter);
  QObject::connect(&app, &QGuiApplication::commitDataRequest, Form1, [](QSessionManager&) {
    UtilsClass::Trace(QStringLiteral("The session manager asked to save"));
    Form1->SaveArticlesAndSettings();
  });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, Form1, [] {
    if (Form1->RunState != rsExiting) {
      Form1->SaveArticlesAndSettings();
    }
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

  TQuitAsExit quitFilter;
  std::unique_ptr<TEndSignals> endSignals;
  int status = 1;
  if (CreateForms(app.arguments())) {
    // Only now: until the main window can save, a signal keeps its default
    // action and simply ends the process.
    endSignals = std::make_unique<TEndSignals>();
    ConnectEndsOfTheProgram(app, *endSignals, quitFilter);
    QObject::connect(&instance, &TSingleInstance::RestoreRequested, Form1, [] {
      UtilsClass::Trace(QStringLiteral("Restore requested by a second start"));
      Form1->RestoreFromTray();
    });
    Form1->show();
    Form1->raise();
    Form1->activateWindow();
    if (Form1->Terminated) {
      status = 1;
    } else if (Form1->RunState == rsExiting) {
      status = 0;  // ended by a signal while start-up ran
    } else {
      status = app.exec();
    }
  }
  FreeForms();
  SetUserMessages(nullptr);
  return status;
}
