#include <QCoreApplication>
#include <QTextStream>

#include "TSingleInstance.h"

// Arguments: the socket name, then files for the running instance; files that
// cannot travel are named on stderr and left out, as the reader does.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  if (arguments.size() < 2) {
    return 2;
  }
  QStringList files;
  for (const QString& file : arguments.mid(2)) {
    const QString problem = TSingleInstance::PathProblem(file);
    if (problem.isEmpty()) {
      files << file;
    } else {
      QTextStream(stderr) << "refused: " << problem << '\n';
    }
  }
  TSingleInstance instance(arguments.at(1));
  return instance.HandOverToRunning(files) ? 0 : 3;
}
