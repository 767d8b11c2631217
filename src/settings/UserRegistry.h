#pragma once

#include <QString>

class TRegistryStore;

// The current user's registry store, bound to AppPaths::ConfigDir() +
// "/registry.reg". Rebinds when the config folder changes (tests point it at a
// temporary folder), and traces damage the store reports.
TRegistryStore& UserRegistry();
QString UserRegistryFile();
