#include "ReaderMain.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSessionManager>
#include <QTextStream>
#include <QTimer>
#include <csignal>
#include <memory>

#include "BaseUtils.h"
#include "ClipboardSession.h"
#include "DesktopShell.h"
#include "Forms.h"
#include "GuiMessages.h"
#include "MainWindow.h"
#include "ReadCommands.h"
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

// The files named on the command line, as absolute paths: every argument but
// a leading "-auto" (and a "--" before the files), relative ones taken from
// the folder the program was started in.
QStringList CommandLineFiles(const QStringList& arguments) {
  QStringList rest = arguments.mid(1);
  if (!rest.isEmpty() && rest.first() == QStringLiteral("-auto")) {
    rest.removeFirst();
  }
  if (!rest.isEmpty() && rest.first() == QStringLiteral("--")) {
    rest.removeFirst();
  }
  QStringList files;
  const QDir current = QDir::current();
  for (const QString& argument : rest) {
    if (!argument.isEmpty()) {
      files << QDir::cleanPath(current.absoluteFilePath(argument));
    }
  }
  return files;
}

// Hands the start over to a running reader with the files it can be sent;
// the others are named on stderr, the only place a start that ends at once
// can tell of them.
bool HandOverToRunningReader(TSingleInstance& instance, const QStringList& files) {
  QStringList sendable;
  QStringList refused;
  for (const QString& file : files) {
    const QString problem = TSingleInstance::PathProblem(file);
    if (problem.isEmpty()) {
      sendable << file;
    } else {
      refused << QStringLiteral("verbalune: \"%1\" cannot be passed to the running reader: %2\n")
                     .arg(file, problem);
    }
  }
  if (!instance.HandOverToRunning(sendable)) {
    return false;
  }
  QTextStream err(stderr);
  for (const QString& message : refused) {
    err << message;
  }
  return true;
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

  const QStringList files = CommandLineFiles(app.arguments());
  TSingleInstance instance;
  if (HandOverToRunningReader(instance, files)) {
    return 0;
  }
  UtilsClass::RotateTraceFiles();
  if (!instance.Listen() && HandOverToRunningReader(instance, files)) {
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
    QObject::connect(
        &instance, &TSingleInstance::OpenRequested, Form1, [](const QStringList& requested) {
          UtilsClass::Trace(
              QStringLiteral("Second start asked to open %1 file(s)").arg(requested.size()));
          Form1->RestoreFromTray();
          ReadCommands->OpenFilesWhenReady(requested);
        });
    Form1->show();
    Form1->raise();
    Form1->activateWindow();
    if (Form1->Terminated) {
      status = 1;
    } else if (Form1->RunState == rsExiting) {
      status = 0;  // ended by a signal while start-up ran
    } else {
      // The saved list is in by now: these come after it, as the open
      // dialog's would, with those a second start sent meanwhile.
      QTimer::singleShot(0, Form1, [files] {
        if (ReadCommands != nullptr) {
          ReadCommands->OpenFilesWhenReady(files);
        }
      });
      status = app.exec();
    }
  }
  FreeForms();
  SetUserMessages(nullptr);
  return status;
}
