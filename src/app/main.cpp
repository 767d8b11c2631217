#include <QCoreApplication>
#include <cstdio>

#include "AppPaths.h"
#include "SayCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (IsSayCommand(app.arguments())) {
    return RunSayCommand(app.arguments());
  }
  std::printf("Verbalune MP3 %s\n", VERBALUNE_VERSION);
  std::printf("data:   %s\n", qUtf8Printable(AppPaths::DataDir()));
  std::printf("config: %s\n", qUtf8Printable(AppPaths::ConfigDir()));
  std::printf("shared: %s\n", qUtf8Printable(AppPaths::ShareDir()));
  return 0;
}
