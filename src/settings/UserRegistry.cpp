#include "UserRegistry.h"

#include <QDir>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "TRegistryStore.h"
#include "UserMessages.h"

namespace {

TSaveFailureNotice& SettingsSaveFailure() {
  static TSaveFailureNotice notice;
  return notice;
}

void ReportProblem(const TRegistryProblem& problem) {
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
      UserMessages().ShowError(
          problem.KeptAsPath.isEmpty()
              ? QStringLiteral("Your settings file \"%1\" could not be read completely (%2), and "
                               "it could not be kept aside. Settings changed now will not be "
                               "saved.")
                    .arg(QDir::toNativeSeparators(problem.FilePath), problem.Detail)
              : QStringLiteral("Your settings file \"%1\" could not be read completely (%2).\r\r"
                               "The file as it was is kept as \"%3\"; the settings that could "
                               "be read are used.")
                    .arg(QDir::toNativeSeparators(problem.FilePath), problem.Detail,
                         QDir::toNativeSeparators(problem.KeptAsPath)),
          QStringLiteral("Verbalune MP3"));
      break;
    case TRegistryProblem::pkSaveFailed: {
      UtilsClass::Trace(QStringLiteral("Settings could not be saved: ") + problem.Detail);
      SettingsSaveFailure().Failed(
          QStringLiteral("Your settings could not be saved to \"%1\": %2.\r\rThe settings saved "
                         "there before are kept. Verbalune tries again at the next change.")
              .arg(QDir::toNativeSeparators(problem.FilePath), problem.Reason));
      break;
    }
    case TRegistryProblem::pkSaveRecovered:
      UtilsClass::Trace(QStringLiteral("Settings saved again"));
      SettingsSaveFailure().Succeeded();
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
    store->SetProblemHandler(ReportProblem);
    store->BindFile(file);
  }
  return *store;
}
