#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Base of the program's exceptions: each carries a fixed, user-readable text.
class Exception : public std::exception {
 public:
  explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
  const QString& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FUtf8.constData(); }

 private:
  QString FMessage;
  QByteArray FUtf8;
};

// A file could not be opened, created, read or written.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};
