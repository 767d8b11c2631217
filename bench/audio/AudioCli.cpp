// Runs the encoder or the converter on a file, for whole-program comparisons:
//   verbalune_audio_cli encode IN.wav OUT.mp3 BITRATE
//   verbalune_audio_cli convert IN.wav OUT.wav RATE
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "LameUnit.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 5) {
    std::fprintf(stderr, "usage: %s encode|convert IN OUT BITRATE|RATE\n", argv[0]);
    return 2;
  }
  const int number = args[4].toInt();
  if (args[1] == QStringLiteral("encode")) {
    const int rate = GetWaveSampleRate(args[2]);
    return TMp3Encoder().EncodeMp3(args[2], args[3], number, rate) ? 0 : 1;
  }
  if (args[1] == QStringLiteral("convert")) {
    return ConvertWaveFile(args[2], args[3], number, 1, 16) ? 0 : 1;
  }
  return 2;
}
