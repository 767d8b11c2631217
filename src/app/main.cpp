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
  return RunReader(argc, argv);
}
