#include "WaveOutput.h"

#include <exception>

#include "BaseUtils.h"
#include "UserMessages.h"
#include "WaveFileReader.h"

namespace {

void Report(const QString& message) {
  UtilsClass::Trace(message);
  UserMessages().ShowError(message, ErrorCaption());
}

}  // namespace

QString ErrorCaption() {
  return QStringLiteral("Error");
}

QString ReduceDoubledSlashes(QString path) {
  while (path.contains(QStringLiteral("//"))) {
    path.replace(QStringLiteral("//"), QStringLiteral("/"));
  }
  return path;
}

TOutputPaths MakeOutputPaths(const QString& directory, const QString& title, int fileFormat) {
  QString name = title;
  name.replace(u'/', u'_');
  name.replace(QChar(u'\0'), u'_');
  TOutputPaths paths;
  if (fileFormat == kOutputMp3) {
    paths.WavePath = ReduceDoubledSlashes(directory + QStringLiteral("/temp.wav"));
    paths.Wave44Path = directory + QStringLiteral("/temp44.wav");
    paths.Mp3Path = ReduceDoubledSlashes(directory + u'/' + name + QStringLiteral(".mp3"));
  } else {
    paths.WavePath = ReduceDoubledSlashes(directory + u'/' + name + QStringLiteral(".wav"));
  }
  return paths;
}

int TargetSampleRate(int bitRate) {
  switch (bitRate) {
    case 16:
      return 16000;
    case 32:
    case 40:
    case 48:
      return 22050;
    case 56:
    case 64:
      return 44100;
    default:
      return 0;
  }
}

int GetWaveSampleRate(const QString& file) {
  try {
    TWaveFileReader reader;
    reader.Open(file);
    // Rates beyond int are nonsense; 0 makes the caller try a conversion,
    // which then refuses the file with its own message.
    const quint32 rate = reader.Format().SamplesPerSec;
    return rate > 0x7FFFFFFFu ? 0 : static_cast<int>(rate);
  } catch (const Exception& e) {
    Report(e.Message());
  } catch (const std::exception& e) {
    Report(QString::fromLocal8Bit(e.what()));
  }
  return 0;
}

bool ConvertWaveFile(const QString& input, const QString& output, int sampleRate, int channels,
                     int bitsPerSample, const TConvertHooks& hooks) {
  UtilsClass::Trace(QStringLiteral("Entered ConvertWaveFile [%1 %2 %3]")
                        .arg(bitsPerSample)
                        .arg(channels)
                        .arg(sampleRate));
  UtilsClass::Trace(QStringLiteral("Infile: ") + input);
  UtilsClass::Trace(QStringLiteral("OutFile: ") + output);
  try {
    if (input.isEmpty() || output.isEmpty()) {
      throw EWaveError(QStringLiteral("Invalid param passed!"));
    }
    TWaveFileReader reader;
    reader.Open(input);
    // Numbers that do not fit the format record are as invalid as the
    // converter's own limits.
    const auto fits16 = [](int v) { return v >= 0 && v <= 0xFFFF; };
    const TWaveFormat target =
        (sampleRate > 0 && fits16(channels) && fits16(bitsPerSample))
            ? MakePcmFormat(static_cast<quint32>(sampleRate), static_cast<quint16>(channels),
                            static_cast<quint16>(bitsPerSample))
            : TWaveFormat{};
    TPcmConverter converter(hooks);
    converter.Convert(&reader, output, target);
    return true;
  } catch (const Exception& e) {
    Report(e.Message());
  } catch (const std::exception& e) {
    Report(QString::fromLocal8Bit(e.what()));
  }
  return false;
}
