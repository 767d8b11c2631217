#include "AutoStartCommands.h"

#include "AppPaths.h"
#include "BaseUtils.h"
#include "RunKey.h"

namespace {

const QString kValueName = QStringLiteral("Verbalune");
const QStringList kArguments{QStringLiteral("-auto")};

}  // namespace

void AutoStartAppCBClick(bool checked) {
  // Failures are only traced: the check box shows the truth next time.
  if (!SetRunKeyValue(kValueName, AppPaths::ProgramPath(), kArguments, checked)) {
    UtilsClass::Trace(QStringLiteral("Could not change the login start entry ") +
                      RunKeyFileName(kValueName));
  }
}

bool AutoStartAppEnabled() {
  return RunKeyValueExists(kValueName);
}

void RefreshAutoStartEntry() {
  if (RunKeyValueExists(kValueName)) {
    AutoStartAppCBClick(true);
  }
}
