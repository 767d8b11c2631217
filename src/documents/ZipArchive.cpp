#include "ZipArchive.h"

#include <zip.h>

#include <QFile>

namespace {

const QString kDamaged = QStringLiteral("The file is damaged or is no document this program reads");

QString ZipReason(zip_error_t* error) {
  return QString::fromUtf8(zip_error_strerror(error));
}

}  // namespace

TZipArchive::TZipArchive(zip* archive, QByteArray bytes)
    : FArchive(archive), FBytes(std::move(bytes)) {}

TZipArchive::~TZipArchive() {
  zip_discard(FArchive);
}

std::unique_ptr<TZipArchive> TZipArchive::FromFile(const QString& path) {
  int code = 0;
  zip* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString reason = ZipReason(&error);
    zip_error_fini(&error);
    throw EDocumentError(kDamaged + QStringLiteral(" (") + reason + QStringLiteral(")"));
  }
  return std::unique_ptr<TZipArchive>(new TZipArchive(archive, QByteArray()));
}

std::unique_ptr<TZipArchive> TZipArchive::FromBytes(const QByteArray& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  // The source reads the caller's bytes in place; the archive keeps a
  // reference to them for as long as it lives.
  QByteArray kept = bytes;
  zip_source_t* source =
      zip_source_buffer_create(kept.constData(), static_cast<zip_uint64_t>(kept.size()), 0, &error);
  zip* archive = source != nullptr
                     ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error)
                     : nullptr;
  if (archive == nullptr) {
    if (source != nullptr) {
      zip_source_free(source);
    }
    const QString reason = ZipReason(&error);
    zip_error_fini(&error);
    throw EDocumentError(kDamaged + QStringLiteral(" (") + reason + QStringLiteral(")"));
  }
  zip_error_fini(&error);
  return std::unique_ptr<TZipArchive>(new TZipArchive(archive, std::move(kept)));
}

bool TZipArchive::Contains(const QString& name) const {
  return zip_name_locate(FArchive, name.toUtf8().constData(), 0) >= 0;
}

QByteArray TZipArchive::Read(const QString& name) {
  const zip_int64_t index = zip_name_locate(FArchive, name.toUtf8().constData(), 0);
  if (index < 0) {
    throw EDocumentError(QStringLiteral("The document has no part named ") + name);
  }
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(FArchive, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
      (stat.valid & ZIP_STAT_SIZE) == 0 || (stat.valid & ZIP_STAT_COMP_SIZE) == 0) {
    throw EDocumentError(kDamaged + QStringLiteral(" (") + name + QStringLiteral(")"));
  }
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE) {
    throw EDocumentError(QStringLiteral("The document is encrypted and cannot be read"));
  }
  const auto size = static_cast<qint64>(qMin<zip_uint64_t>(stat.size, kMaxEntryBytes + 1));
  const auto packed = static_cast<qint64>(stat.comp_size);
  const bool bomb = size > kMaxEntryBytes || size > kMaxTotalBytes - FTotal ||
                    (size > kRatioFloor && size / qMax<qint64>(packed, 1) > kMaxRatio);
  if (bomb) {
    throw EDocumentUnsafe(QStringLiteral("The document's part ") + name +
                          QStringLiteral(" unpacks to far more than a document holds; it is not "
                                         "read, for safety"));
  }
  zip_file_t* file = zip_fopen_index(FArchive, static_cast<zip_uint64_t>(index), 0);
  if (file == nullptr) {
    throw EDocumentError(kDamaged + QStringLiteral(" (") + name + QStringLiteral(": ") +
                         QString::fromUtf8(zip_strerror(FArchive)) + QStringLiteral(")"));
  }
  // The declared size is only a claim: never read more than it, and fail
  // when the member ends early or its checksum does not match.
  QByteArray bytes(size, Qt::Uninitialized);
  qint64 done = 0;
  while (done < size) {
    const zip_int64_t n =
        zip_fread(file, bytes.data() + done, static_cast<zip_uint64_t>(size - done));
    if (n <= 0) {
      break;
    }
    done += n;
  }
  char extra = 0;
  const bool longer = done == size && zip_fread(file, &extra, 1) > 0;
  const bool failed = done != size || longer || zip_fclose(file) != 0;
  if (longer) {
    zip_fclose(file);
  }
  if (failed) {
    throw EDocumentError(kDamaged + QStringLiteral(" (") + name + QStringLiteral(")"));
  }
  FTotal += size;
  return bytes;
}

TDocumentKind DocumentKindOfZip(TZipArchive& archive) {
  if (archive.Contains(QStringLiteral("mimetype"))) {
    QByteArray type;
    try {
      type = archive.Read(QStringLiteral("mimetype")).trimmed();
    } catch (const EDocumentError&) {
    }
    if (type == "application/epub+zip") {
      return TDocumentKind::Epub;
    }
    if (type == "application/vnd.oasis.opendocument.text") {
      return TDocumentKind::Odt;
    }
  }
  if (archive.Contains(QStringLiteral("word/document.xml")) ||
      archive.Contains(QStringLiteral("[Content_Types].xml"))) {
    return TDocumentKind::Docx;
  }
  if (archive.Contains(QStringLiteral("META-INF/container.xml"))) {
    return TDocumentKind::Epub;
  }
  return TDocumentKind::OtherZip;
}
