// Renders a text file to a wave file through the text-to-speech component,
// with the espeak-ng US English voice the CLI uses by default, or the mode
// named by the third argument (e.g. "Flite Slt").
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <cstdio>

#include "TTS.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s TEXT_FILE OUT.wav [MODE]\n", argv[0]);
    return 2;
  }
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const QString text = QString::fromUtf8(in.readAll());
  try {
    TTTS tts;
    tts.SetModeName(argc == 4 ? QString::fromLocal8Bit(argv[3])
                              : QStringLiteral("eSpeak NG en-us Adam"));
    tts.OutputDest = odFile;
    tts.SetOutputFile(QString::fromLocal8Bit(argv[2]));
    QEventLoop loop;
    tts.OnAudioStop = [&loop](TTTS*, quint64) { loop.quit(); };
    tts.SetActive(true);
    tts.Speak(text);
    loop.exec();
    tts.SetActive(false);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(e.Message()));
    return 1;
  }
  return 0;
}
