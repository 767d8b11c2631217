// Any bytes as a web page: well-formed pages through the XML reader, the rest
// through Qt's forgiving HTML reader. Read or refused with a message, never a
// crash.
#include <QByteArray>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "AppPaths.h"
#include "DocumentReader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  AppPaths::SetDataDir(QStringLiteral("/dev/null/verbalune-fuzz"));
  // The HTML reader lays text out with fonts, which need a GUI application.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  // Qt's reader warns about every odd attribute; the fuzzer's own output is
  // what matters.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  try {
    const TDocument document = ReadHtmlPage(bytes, QStringLiteral("fuzz.html"));
    if (document.Chapters.size() != 1) {
      std::abort();  // a page is one article
    }
  } catch (const EDocumentError& error) {
    if (error.Message().isEmpty()) {
      std::abort();
    }
  }
  return 0;
}
