#pragma once

#include <QFile>
#include <QString>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "TRegistryStore.h"
#include "TestEnvironment.h"
#include "UserRegistry.h"

// Each test gets its own config folder and so its own current-user registry.
struct TSettingsFixture {
  TTempFolders Folders;
  TRegistryStore& Store() { return UserRegistry(); }
  QString Trace() const { return QString::fromUtf8(ReadWholeFile(UtilsClass::TraceFileName())); }
};
