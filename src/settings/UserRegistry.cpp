#include "UserRegistry.h"

#include "AppPaths.h"
#include "BaseUtils.h"
#include "TRegistryStore.h"

namespace {

void TraceProblem(const TRegistryProblem& problem) {
  switch (problem.Kind) {
    case TRegistryProblem::pkDamagedFile:
    case TRegistryProblem::pkUnreadableFile:
      UtilsClass::Trace(
          QStringLiteral(
              "Settings file %1 could not be read completely (%2 unusable lines; %3); %4")
              .arg(problem.FilePath)
              .arg(problem.BadLines)
              .arg(problem.Detail,
                   problem.KeptAsPath.isEmpty()
                       ? QStringLiteral("it could not be moved aside, settings will not be saved")
                       : QStringLiteral("kept as ") + problem.KeptAsPath));
      break;
    case TRegistryProblem::pkSaveFailed:
      UtilsClass::Trace(QStringLiteral("Settings could not be saved: ") + problem.Detail);
      break;
  }
}

}  // namespace

QString UserRegistryFile() {
  return AppPaths::ConfigDir() + QStringLiteral("/registry.reg");
}

TRegistryStore& UserRegistry() {
  TRegistryStore* store = RegistryRootStore(HKEY_CURRENT_USER);
  const QString file = UserRegistryFile();
  if (store->FilePath() != file) {
    store->SetProblemHandler(TraceProblem);
    store->BindFile(file);
  }
  return *store;
}
