#include "JpegImage.h"

#include <QFile>
#include <QFileInfo>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// jump back to the decoder with the library's own text.
struct TJpegError {
  jpeg_error_mgr Pub;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, error->Message);
  std::longjmp(error->Jump, 1);
}

// Warnings (a truncated file, extra bytes) would go to stderr; the picture
// decodes as far as it can.
void OutputMessage(j_common_ptr) {}

// Kept free of objects with destructors between setjmp and longjmp; image was
// made by the caller and is only assigned to.
bool DecodeInto(const unsigned char* data, unsigned long size, QImage& image, char* message) {
  jpeg_decompress_struct cinfo;
  TJpegError error;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = jpeg_std_error(&error.Pub);
  error.Pub.error_exit = ErrorExit;
  error.Pub.output_message = OutputMessage;
  error.Message[0] = '\0';
  if (setjmp(error.Jump) != 0) {
    jpeg_destroy_decompress(&cinfo);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", error.Message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > kJpegMaxSide ||
      cinfo.image_height > kJpegMaxSide) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Picture size %ux%u not supported",
                  static_cast<unsigned>(cinfo.image_width),
                  static_cast<unsigned>(cinfo.image_height));
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    std::snprintf(message, JMSG_LENGTH_MAX, "CMYK pictures are not supported");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                 QImage::Format_RGB888);
  if (image.isNull() || cinfo.output_components != 3) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Out of memory for the picture");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data, QString* error) {
  QImage image;
  char message[JMSG_LENGTH_MAX] = {};
  if (data.isEmpty()) {
    if (error != nullptr) {
      *error = QStringLiteral("Empty picture file");
    }
    return QImage();
  }
  if (!DecodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
                  static_cast<unsigned long>(data.size()), image, message)) {
    if (error != nullptr) {
      *error = QString::fromLocal8Bit(message);
    }
    return QImage();
  }
  return image;
}

QImage LoadJpegFile(const QString& path, QString* error) {
  if (!QFileInfo(path).isFile()) {
    if (error != nullptr) {
      *error = QStringLiteral("File does not exist: ") + path;
    }
    return QImage();
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error != nullptr) {
      *error = QStringLiteral("Cannot open file ") + path;
    }
    return QImage();
  }
  // The pictures are small; a huge file is not one of them.
  constexpr qint64 kMaxFileBytes = 32 * 1024 * 1024;
  if (file.size() > kMaxFileBytes) {
    if (error != nullptr) {
      *error = QStringLiteral("Picture file too large: ") + path;
    }
    return QImage();
  }
  return DecodeJpeg(file.readAll(), error);
}
