#include "SayCommand.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

#include "TTS.h"
#include "UserMessages.h"
#include "WaveDevices.h"

namespace {

const QString kSay = QStringLiteral("--say");
const QString kToWav = QStringLiteral("--to-wav");

int Fail(const QString& message) {
  UserMessages().ShowError(message, QStringLiteral("Verbalune MP3"));
  return 1;
}

}  // namespace

bool IsSayCommand(const QStringList& arguments) {
  return arguments.size() > 1 && arguments.at(1) == kSay;
}

int RunSayCommand(const QStringList& arguments) {
  QString text;
  QString wavFile;
  bool haveText = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments.at(i);
    if (arg == kSay && i + 1 < arguments.size() && !haveText) {
      text = arguments.at(++i);
      haveText = true;
    } else if (arg == kToWav && i + 1 < arguments.size()) {
      wavFile = arguments.at(++i);
    } else {
      return Fail(QStringLiteral("Usage: verbalune --say TEXT [--to-wav FILE]"));
    }
  }
  if (!haveText) {
    return Fail(QStringLiteral("Usage: verbalune --say TEXT [--to-wav FILE]"));
  }
  try {
    TTTS tts;
    if (!SpeechPresent() || !TTSEnginesPresent()) {
      return Fail(QStringLiteral("No text-to-speech engine is installed."));
    }
    if (wavFile.isEmpty()) {
      const int probe = ProbeWaveOut(tts.AudioDeviceID());
      if (probe == WAVE_PROBE_BUSY) {
        return Fail(QStringLiteral("Sound card is busy.  Wait and try again."));
      }
      if (probe != WAVE_PROBE_OK) {
        return Fail(QStringLiteral("The default audio output device cannot be opened."));
      }
      tts.OutputDest = odAudioDevice;
    } else {
      tts.OutputDest = odFile;
      tts.SetOutputFile(QFileInfo(wavFile).absoluteFilePath());
    }
    QEventLoop loop;
    tts.OnAudioStop = [&loop](TTTS*, quint64) { loop.quit(); };
    tts.SetActive(true);
    if (!tts.Active()) {
      return Fail(QStringLiteral("The speech engine could not be opened."));
    }
    tts.Speak(text);
    loop.exec();
    tts.SetActive(false);  // completes the file
    return 0;
  } catch (const Exception& e) {
    return Fail(e.Message());
  }
}
