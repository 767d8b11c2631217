#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include "ListVoicesCommand.h"
#include "ReaderMain.h"
#include "RenderCommand.h"
#include "SayCommand.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  return arguments;
}

constexpr const char* kUsage =
    "Usage: verbalune [-auto] [FILE...]    start the reader (-auto: in the notification area)\n"
    "                                      and open the files as articles\n"
    "       verbalune --list-voices        print the installed voices\n"
    "       verbalune --say TEXT [--to-wav FILE]\n"
    "       verbalune --render [options] FILE...   (verbalune --render --help for the options)\n";

bool IsHelpRequest(const QStringList& arguments) {
  return arguments.size() > 1 &&
         (arguments[1] == QStringLiteral("--help") || arguments[1] == QStringLiteral("-h"));
}

}  // namespace

int main(int argc, char** argv) {
  // Command-line modes run without any window.
  const QStringList arguments = Arguments(argc, argv);
  if (IsRenderCommand(arguments)) {
    return RunRenderCommand(argc, argv);
  }
  if (IsSayCommand(arguments)) {
    QCoreApplication app(argc, argv);
    return RunSayCommand(app.arguments());
  }
  if (IsListVoicesCommand(arguments)) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    return RunListVoicesCommand(out);
  }
  if (IsHelpRequest(arguments)) {
    QTextStream(stdout) << kUsage;
    return 0;
  }
  return RunReader(argc, argv);
}
