#include <QCoreApplication>

#include "TSingleInstance.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  if (arguments.size() < 2) {
    return 2;
  }
  TSingleInstance instance(arguments.at(1));
  return instance.HandOverToRunning() ? 0 : 3;
}
