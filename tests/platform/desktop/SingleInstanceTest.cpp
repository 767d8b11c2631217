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
int RunChild(const QString& name, const QStringList& files = {}) {
  QProcess child;
  child.start(ChildPath(), QStringList{name} + files);
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

TEST(SingleInstance, FilesOfASecondStartReachTheFirstWhole) {
  TSingleInstance first(UniqueName());
  ASSERT_TRUE(first.Listen());
  QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
  QSignalSpy open(&first, &TSingleInstance::OpenRequested);

  const QStringList files{QStringLiteral("/tmp/a book.epub"),
                          QStringLiteral("/home/\u00e9l\u00e8ve/\u65e5\u672c\u8a9e notes.txt"),
                          QStringLiteral("/tmp/tab\there\rand  two spaces .txt")};
  EXPECT_EQ(RunChild(first.Name(), files), 0);
  ASSERT_TRUE(QTest::qWaitFor([&open] { return open.count() == 1; }, 5000));
  EXPECT_EQ(open.at(0).at(0).toStringList(), files);

  // A line break would split the path: it is left out, the rest still goes.
  EXPECT_EQ(RunChild(first.Name(), {QStringLiteral("/tmp/two\nlines.txt"), files.at(0)}), 0);
  ASSERT_TRUE(QTest::qWaitFor([&open] { return open.count() == 2; }, 5000));
  EXPECT_EQ(open.at(1).at(0).toStringList(), QStringList{files.at(0)});

  // More files than one request takes arrive in several, all of them.
  QStringList many;
  for (int i = 0; many.size() * 200 < TSingleInstance::MaxRequestBytes * 2; ++i) {
    many << QStringLiteral("/tmp/") + QString(180, u'x') + QString::number(i);
  }
  EXPECT_EQ(RunChild(first.Name(), many), 0);
  QStringList arrived;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        arrived.clear();
        for (qsizetype i = 2; i < open.count(); ++i) {
          arrived += open.at(i).at(0).toStringList();
        }
        return arrived.size() >= many.size();
      },
      5000));
  EXPECT_GT(open.count(), 3);
  EXPECT_EQ(arrived, many);
  EXPECT_EQ(restore.count(), 0);
}

TEST(SingleInstance, MalformedOpenRequestsAreRefusedAndTheServerStaysUp) {
  TSingleInstance first(UniqueName());
  ASSERT_TRUE(first.Listen());
  QSignalSpy restore(&first, &TSingleInstance::RestoreRequested);
  QSignalSpy open(&first, &TSingleInstance::OpenRequested);

  const QByteArray tooBig = "open\n" +
                            QByteArray(TSingleInstance::MaxRequestBytes / 100 + 1, 'x')
                                .replace("x", "/" + QByteArray(98, 'y') + "\n") +
                            "\n";
  const QByteArray cases[] = {
      "open\nrelative/path.txt\n\n",               // not absolute
      "open\n/tmp/\xff\xfe.txt\n\n",               // not UTF-8
      QByteArray("open\n/tmp/nul\0.txt\n\n", 18),  // a NUL inside
      "open\n\n",                                  // no files
      "open\n/" + QByteArray(TSingleInstance::MaxPathBytes + 10, 'z') + "\n\n",
      tooBig,
  };
  for (const QByteArray& request : cases) {
    QLocalSocket client;
    client.connectToServer(first.Name());
    ASSERT_TRUE(client.waitForConnected(2000));
    client.write(request);
    client.flush();
    EXPECT_TRUE(QTest::qWaitFor(
        [&client] { return client.state() == QLocalSocket::UnconnectedState; }, 5000))
        << request.left(40).toStdString();
    EXPECT_FALSE(client.canReadLine()) << request.left(40).toStdString();
  }
  EXPECT_EQ(open.count(), 0);
  EXPECT_EQ(restore.count(), 0);

  // Still serving: a plain restore works as before.
  EXPECT_EQ(RunChild(first.Name()), 0);
  EXPECT_EQ(restore.count(), 1);
  EXPECT_EQ(open.count(), 0);
}

TEST(SingleInstance, EachSettingsFolderHasItsOwnInstance) {
  TTempFolders one;
  const QString first = TSingleInstance::ServerName();
  TTempFolders two;
  const QString second = TSingleInstance::ServerName();
  EXPECT_NE(first, second);
  EXPECT_TRUE(first.startsWith(QStringLiteral("verbalune-") + QString::number(::getuid())));
}
