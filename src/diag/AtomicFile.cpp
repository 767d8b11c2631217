#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

TAtomicFileWriter::TAtomicFileWriter(QString path, int permissions, TTemporary temporary)
    : FPath(std::move(path)), FPermissions(permissions), FTemporary(temporary) {}

TAtomicFileWriter::~TAtomicFileWriter() {
  Discard();
}

bool TAtomicFileWriter::Fail(const QString& what) {
  FReason = QString::fromLocal8Bit(std::strerror(errno));
  FError = what + QStringLiteral(": ") + FReason;
  Discard();
  return false;
}

bool TAtomicFileWriter::Open() {
  Discard();
  if (FTemporary == TTemporary::WorkingFile) {
    const QFileInfo target(FPath);
    const QString suffix = target.suffix().isEmpty() ? QString() : u'.' + target.suffix();
    if (!FWorkingFile.Create(target.absolutePath(), suffix)) {
      FReason = FWorkingFile.ErrorReason();
      FError = QStringLiteral("Cannot create a temporary file beside ") + FPath +
               QStringLiteral(": ") + FReason;
      return false;
    }
    FTempPath = FWorkingFile.Path();
    // A descriptor of our own: the working file's keeps its lock until the rename.
    FFd = ::open(QFile::encodeName(FTempPath).constData(), O_WRONLY | O_CLOEXEC);
    if (FFd < 0 || ::fchmod(FFd, static_cast<mode_t>(FPermissions)) != 0) {
      return Fail(QStringLiteral("Cannot open ") + FTempPath);
    }
    return true;
  }
  QByteArray pattern = QFile::encodeName(FPath) + ".tmp-XXXXXX";
  FFd = ::mkstemp(pattern.data());
  if (FFd < 0) {
    FReason = QString::fromLocal8Bit(std::strerror(errno));
    FError = QStringLiteral("Cannot create a temporary file beside ") + FPath +
             QStringLiteral(": ") + FReason;
    return false;
  }
  FTempPath = QFile::decodeName(pattern);
  if (::fchmod(FFd, static_cast<mode_t>(FPermissions)) != 0) {
    return Fail(QStringLiteral("Cannot set the mode of ") + FTempPath);
  }
  return true;
}

bool TAtomicFileWriter::Write(const char* data, qint64 size) {
  if (FFd < 0) {
    FError = FReason = QStringLiteral("File not open");
    return false;
  }
  while (size > 0) {
    const ssize_t n = ::write(FFd, data, static_cast<size_t>(size));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Fail(QStringLiteral("Cannot write ") + FTempPath);
    }
    data += n;
    size -= n;
  }
  return true;
}

bool TAtomicFileWriter::Commit() {
  if (FFd < 0) {
    FError = FReason = QStringLiteral("File not open");
    return false;
  }
  if (::fsync(FFd) != 0) {
    return Fail(QStringLiteral("Cannot flush ") + FTempPath);
  }
  if (::close(FFd) != 0) {
    FFd = -1;
    return Fail(QStringLiteral("Cannot close ") + FTempPath);
  }
  FFd = -1;
  if (FTemporary == TTemporary::WorkingFile) {
    if (!FWorkingFile.KeepAs(FPath)) {
      FReason = FWorkingFile.ErrorReason();
      FError = QStringLiteral("Cannot replace ") + FPath + QStringLiteral(": ") + FReason;
      Discard();
      return false;
    }
  } else if (::rename(QFile::encodeName(FTempPath).constData(),
                      QFile::encodeName(FPath).constData()) != 0) {
    return Fail(QStringLiteral("Cannot replace ") + FPath);
  }
  FTempPath.clear();
  // Make the rename itself durable.
  const int dirFd = ::open(QFile::encodeName(QFileInfo(FPath).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

void TAtomicFileWriter::Discard() {
  if (FFd >= 0) {
    ::close(FFd);
    FFd = -1;
  }
  if (FTemporary == TTemporary::WorkingFile) {
    FWorkingFile.Remove();
  } else if (!FTempPath.isEmpty()) {
    ::unlink(QFile::encodeName(FTempPath).constData());
  }
  FTempPath.clear();
}

bool WriteFileAtomically(const QString& path, const QByteArray& data, int permissions,
                         QString* error) {
  TAtomicFileWriter writer(path, permissions);
  const bool ok = writer.Open() && writer.Write(data) && writer.Commit();
  if (!ok && error != nullptr) {
    *error = writer.ErrorString();
  }
  return ok;
}
