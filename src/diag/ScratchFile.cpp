#include "ScratchFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QString kPrefix = QStringLiteral(".verbalune-");

QString SystemError() {
  return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

bool TScratchFile::Fail(const QString& what) {
  FReason = SystemError();
  FError = what + QStringLiteral(": ") + FReason;
  return false;
}

TScratchFile::~TScratchFile() {
  Remove();
}

void TScratchFile::Release() {
  if (FFd >= 0) {
    ::close(FFd);
    FFd = -1;
  }
  FPath.clear();
}

bool TScratchFile::Create(const QString& directory, const QString& suffix) {
  Remove();
  FError.clear();
  FReason.clear();
  const QByteArray encodedSuffix = QFile::encodeName(suffix);
  // A sweep of another run may take the file between its creation and our
  // lock; it is then gone and a new one is made.
  for (int attempt = 0; attempt < 8; ++attempt) {
    QByteArray pattern =
        QFile::encodeName(QDir(directory).filePath(kPrefix)) + "XXXXXX" + encodedSuffix;
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(encodedSuffix.size()), O_CLOEXEC);
    if (fd < 0) {
      return Fail(QStringLiteral("Cannot create a working file in ") + directory);
    }
    // A file system without locks still gets a unique file; only the sweep
    // of a killed run's files cannot tell it apart then.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
    struct stat status {};
    if (locked && ::fstat(fd, &status) == 0 && status.st_nlink > 0) {
      FFd = fd;
      FPath = QFile::decodeName(pattern);
      return true;
    }
    ::close(fd);
  }
  FError = QStringLiteral("Cannot hold a working file in ") + directory;
  return false;
}

void TScratchFile::Remove() {
  if (!FPath.isEmpty()) {
    ::unlink(QFile::encodeName(FPath).constData());
  }
  Release();
}

bool TScratchFile::KeepAs(const QString& path) {
  if (FPath.isEmpty()) {
    FError = QStringLiteral("No working file to keep");
    return false;
  }
  if (::rename(QFile::encodeName(FPath).constData(), QFile::encodeName(path).constData()) != 0) {
    return Fail(QStringLiteral("Cannot rename ") + FPath + QStringLiteral(" to ") + path);
  }
  Release();
  return true;
}

int RemoveStaleScratchFiles(const QString& directory) {
  if (directory.trimmed().isEmpty()) {
    return 0;
  }
  const QDir dir(directory);
  int removed = 0;
  const QStringList names =
      dir.entryList(QStringList{kPrefix + u'*'}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
  for (const QString& name : names) {
    const QByteArray path = QFile::encodeName(dir.filePath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
      continue;
    }
    // A lock we can take is held by nobody: its run is over.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.constData()) == 0) {
      ++removed;
    }
    ::close(fd);
  }
  return removed;
}
