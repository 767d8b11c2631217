#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "Documents.h"

struct zip;

// Read access to the members of a zip container (EPUB, ODT, DOCX) through
// libzip. Every member is read whole and checked against limits, because a
// small hostile container can claim or unpack to gigabytes.
class TZipArchive final {
 public:
  // What one member may unpack to, and how much more than its packed size a
  // member over kRatioFloor bytes may unpack to.
  static constexpr qint64 kMaxEntryBytes = 200LL * 1024 * 1024;
  static constexpr qint64 kMaxRatio = 100;
  static constexpr qint64 kRatioFloor = 1024 * 1024;
  // All members read from one container together.
  static constexpr qint64 kMaxTotalBytes = 512LL * 1024 * 1024;

  // Throw EDocumentError when the bytes or the file are no readable zip.
  static std::unique_ptr<TZipArchive> FromFile(const QString& path);
  static std::unique_ptr<TZipArchive> FromBytes(const QByteArray& bytes);
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  bool Contains(const QString& name) const;
  // The member's bytes; throws EDocumentError when it is missing, damaged,
  // encrypted or over the limits.
  QByteArray Read(const QString& name);

 private:
  TZipArchive(zip* archive, QByteArray bytes);
  zip* FArchive;
  QByteArray FBytes;  // the buffer a container opened from bytes reads
  qint64 FTotal = 0;
};

// Which kind of document a zip container holds, from its members.
TDocumentKind DocumentKindOfZip(TZipArchive& archive);
