#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QRandomGenerator>
#include <csignal>

#include "TRegistryStore.h"
#include "TestEnvironment.h"

namespace {

// A child saves in a loop and is killed at random moments: every time, the
// file that is left must load without damage and hold a complete generation.
TEST(RegistryKillTest, KilledWriterAlwaysLeavesALoadableFile) {
  TTempFolders folders;
  const QString file = folders.ConfigDir() + QStringLiteral("/registry.reg");
  auto* random = QRandomGenerator::global();
  for (int round = 0; round < 15; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TRegistryStore store;
      store.BindFile(file);
      store.CreateKey(QStringLiteral("Software\\Kill"));
      for (quint32 generation = 1;; ++generation) {
        TRegistryBatch batch(store);
        // Sizes vary so that a torn write would show as a short or mixed file.
        for (quint32 i = 0; i < 20 + generation % 50; ++i) {
          store.SetValue(QStringLiteral("Software\\Kill"), QString::number(i),
                         RegStringValue(QString(static_cast<int>(generation % 300), u'x')));
        }
        store.SetValue(QStringLiteral("Software\\Kill"), QStringLiteral("generation"),
                       RegDwordValue(generation));
      }
    }
    ::usleep(1000 + random->bounded(30000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    int problems = 0;
    TRegistryStore store;
    store.SetProblemHandler([&problems](const TRegistryProblem&) { ++problems; });
    store.BindFile(file);
    EXPECT_EQ(problems, 0) << "round " << round;
    if (const auto generation =
            store.Value(QStringLiteral("Software\\Kill"), QStringLiteral("generation"))) {
      EXPECT_EQ(generation->Type, REG_DWORD);
    }
  }
}

}  // namespace
