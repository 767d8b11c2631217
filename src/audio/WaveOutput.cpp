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

namespace {

bool DroppedFromFileTitle(char32_t c) {
  switch (c) {
    case U'/':
    case U'\\':
    case U':':
    case U'*':
    case U'?':
    case U'"':
    case U'<':
    case U'>':
    case U'|':
      return true;
    default:
      break;
  }
  // Control characters, lone surrogates and code points that are none.
  return QChar::category(c) == QChar::Other_Control || QChar::isSurrogate(c) ||
         QChar::isNonCharacter(c) || c > QChar::LastValidCodePoint;
}

}  // namespace

QString FileTitle(const QString& title, int articleNumber) {
  QString name;
  name.reserve(title.size());
  qsizetype bytes = 0;
  for (const uint code : title.toUcs4()) {
    const char32_t c = code;
    if (DroppedFromFileTitle(c) ||
        (name.isEmpty() && (c == U'.' || QChar::category(c) == QChar::Separator_Space))) {
      continue;
    }
    const qsizetype size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (bytes + size > kMaxFileTitleBytes) {
      break;
    }
    bytes += size;
    name += QString::fromUcs4(&c, 1);
  }
  // Trailing spaces would be lost by many tools that handle the file later.
  while (!name.isEmpty() && name.back().isSpace()) {
    name.chop(1);
  }
  return name.isEmpty() ? QStringLiteral("Article %1").arg(articleNumber) : name;
}

QString OutputFilePath(const QString& directory, const QString& fileTitle, const QString& extension,
                       const QSet<QString>& taken) {
  const QString first = ReduceDoubledSlashes(directory + u'/' + fileTitle + extension);
  QString path = first;
  for (int n = 2; taken.contains(path); ++n) {
    path = ReduceDoubledSlashes(directory + u'/' + fileTitle + QStringLiteral(" (%1)").arg(n) +
                                extension);
  }
  return path;
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
  QString message;
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
    message = e.Message();
  } catch (const std::exception& e) {
    message = QString::fromLocal8Bit(e.what());
  }
  if (hooks.Failed) {
    UtilsClass::Trace(message);
    hooks.Failed(message);
  } else {
    Report(message);
  }
  return false;
}
