#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include "AppPaths.h"
#include "TSingleInstance.h"
#include "TestEnvironment.h"

namespace {

QString UniqueName() {
  return QStringLiteral("verbalune-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

QString ChildPath() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/desktop_instance_child");
}

// Runs the child while this process keeps serving its socket.
int RunChild(const QString& name) {
  QProcess child;
  child.start(ChildPath(), {name});
  if (!child.waitForStarted(5000)) {
    return -1;
  }
  if (!QTest::qWaitFor([&child] { return child.state() == QProcess::NotRunning; }, 15000)) {
    child.kill();
    child.waitForFinished();
    return -2;
  }
  return child.exitCode();
}

// A socket file with nobody listening, as a killed instance leaves it.
bool MakeStaleSocket(const QString& name) {
  const QString path = QDir::tempPath() + u'/' + name;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) {
    return false;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray bytes = QFile::encodeName(path);
  std::memcpy(address.sun_path, bytes.constData(),
              std::min<size_t>(bytes.size(), sizeof address.sun_path - 1));
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return bound && QFile::exists(path);
}

}  // namespace

TEST(SingleInstance, SecondProcessHandsOverToTheFirstAndTheFirstIsAsked) {
  TSingleInstance first(UniqueName());
  ASSERT_TRUE(first.Listen());
  QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);

  EXPECT_EQ(RunChild(first.Name()), 0);
  EXPECT_EQ(restore.count(), 1);

  // Every later start asks again.
  EXPECT_EQ(RunChild(first.Name()), 0);
  EXPECT_EQ(restore.count(), 2);
}

TEST(SingleInstance, NobodyRunningMeansNoHandOver) {
  TSingleInstance alone(UniqueName());
  EXPECT_FALSE(alone.HandOverToRunning(500));
  EXPECT_EQ(RunChild(alone.Name()), 3);
}

TEST(SingleInstance, StaleSocketOfACrashedInstanceDoesNotBlockTheNextStart) {
  const QString name = UniqueName();
  ASSERT_TRUE(MakeStaleSocket(name));

  TSingleInstance next(name);
  EXPECT_FALSE(next.HandOverToRunning(500));
  ASSERT_TRUE(next.Listen());
  EXPECT_TRUE(next.Listening());

  QSignalSpy restore(&next, &TSingleInstance::RestoreRequested);
  EXPECT_EQ(RunChild(name), 0);
  EXPECT_EQ(restore.count(), 1);
}

TEST(SingleInstance, ALiveInstanceIsNotTakenOver) {
  const QString name = UniqueName();
  TSingleInstance first(name);
  ASSERT_TRUE(first.Listen());
  TSingleInstance second(name);
  EXPECT_FALSE(second.Listen());
  EXPECT_TRUE(first.Listening());
}

TEST(SingleInstance, StrangersOnTheSocketAreDroppedWithoutARestore) {
  TSingleInstance first(UniqueName());
  ASSERT_TRUE(first.Listen());
  QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);

  QLocalSocket stranger;
  stranger.connectToServer(first.Name());
  ASSERT_TRUE(stranger.waitForConnected(2000));
  stranger.write(QByteArray(200, 'x') + "\n");
  stranger.flush();
  EXPECT_TRUE(QTest::qWaitFor(
      [&stranger] { return stranger.state() == QLocalSocket::UnconnectedState; }, 5000));
  EXPECT_EQ(restore.count(), 0);
}

TEST(SingleInstance, EachSettingsFolderHasItsOwnInstance) {
  TTempFolders one;
  const QString first = TSingleInstance::ServerName();
  TTempFolders two;
  const QString second = TSingleInstance::ServerName();
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.startsWith(QStringLiteral("verbalune-") + QString::number(::getuid())));
}
