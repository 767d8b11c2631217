#include "SpeechErrors.h"

#include <QHash>

namespace {

const QHash<int, QString>& ResourceTexts() {
  static const QHash<int, QString> texts = [] {
    QHash<int, QString> t;
    auto add = [&t](int id, const char* text) { t.insert(id, QString::fromUtf8(text)); };
    add(513, "The speech recognition or text-to-speech service does not have enough data.");
    add(514,
        "The sound card does not support the right wave-file format to work with the speech "
        "software.");
    add(515, "The audio device is in use at this time.");
    add(516, "An invalid parameter was passed to the speech engine.");
    add(517,
        "There was an error in disk access, or there is not enough disk space free. If you are "
        "low on disk space, try deleting some files to free up space.");
    add(518, "The program has selected a non-existent speech engine.");
    add(519, "An invalid list was passed to the speech recognizer.");
    add(520, "An invalid character was passed to the speech engine.");
    add(521, "An invalid key was passed to the speech engine.");
    add(522,
        "There is not enough memory for the text-to-speech engine to finish. Quit some other "
        "programs, and then try again.");
    add(523, "The text string passed into the text-to-speech engine is empty.");
    add(769, "The program has selected an audio device that does not exist.");
    add(770, "The program has not told the sound card what wave-file format to use.");
    add(774, "The audio device is not playing.");
    add(786, "Your sound card does not support this audio-file format.");
    add(787, "The audio device is not recording.");
    add(791,
        "The audio driver has not been opened. Double-click the MultiMedia icon in Control Panel "
        "and make sure the correct drivers are loaded.");
    add(792, "The audio handle is still busy. Try restarting your computer.");
    add(793, "The notification sink is not the right type.");
    add(794, "The audio device is not ready.");
    add(797, "The audio device has already been claimed.");
    add(798, "The audio device is not ready.");
    add(799, "The audio device is still in use.");
    add(800, "The audio device has already been started.");
    add(801, "Cannot use a synchronous audio device.");
    add(1807, "No text-to-speech engine is started.");
    add(1809, "Voice text could not find the ITTSFind interface.");
    add(1810, "Voice text could not create the text-to-speech enumerator object.");
    add(1811, "Voice text could not get the site information to start a text-to-speech engine.");
    add(1812, "Voice text could not find any text-to-speech engines.");
    add(1813, "Voice text could not create the audio destination object.");
    add(1814, "Voice text could not set the wave device.");
    add(1815, "Voice text could not find a text-to-speech engine to use.");
    add(1816, "Voice text could not create a notification sink object.");
    add(1817, "Text-to-speech is currently disabled on the computer.");
    add(2049,
        "Lexicon error - The string that contains the word to pronounce contains an invalid "
        "character.");
    add(2050,
        "Lexicon error - The value that indicates the alternate pronunciation or meaning of the "
        "word is invalid.");
    add(2051, "Lexicon error - The given word is not in the lexicon.");
    add(2052,
        "Lexicon error - The disk does not contain enough space to save the information to be "
        "added to the lexicon. ");
    add(2053,
        "Lexicon error - The string that contains the phonetic or phonemic transcription of the "
        "given word contains an invalid character.");
    add(2054, "Lexicon error - The lexicon already contains information for the given word.");
    add(2055,
        "Lexicon error - The buffer that is to receive the phonetic or phonemic transcription "
        "for the given word is too small.");
    add(2056,
        "Lexicon error - The buffer that is to receive the additional information about the "
        "given word is too small.");
    return t;
  }();
  return texts;
}

}  // namespace

QString EngineResourceText(int id) {
  return ResourceTexts().value(id);
}

QString SystemErrorText(HRESULT hr) {
  switch (static_cast<quint32>(hr)) {
    case 0x80004001u:
      return QStringLiteral("Not implemented");
    case 0x80004002u:
      return QStringLiteral("No such interface supported");
    case 0x80004004u:
      return QStringLiteral("Operation aborted");
    case 0x80004005u:
      return QStringLiteral("Unspecified error");
    case 0x8007000Eu:
      return QStringLiteral("Not enough storage is available to complete this operation.");
    case 0x80070057u:
      return QStringLiteral("The parameter is incorrect.");
    case 0x80040154u:
      return QStringLiteral("Class not registered");
    default:
      return QStringLiteral("Unknown error");
  }
}

ESpeechError::ESpeechError(HRESULT errorCode)
    : ESpeechError(
          [errorCode] {
            QString text = EngineResourceText(static_cast<int>(errorCode & 0xFFFF));
            if (text.isEmpty()) {
              text = SystemErrorText(errorCode);
            }
            // Eight hexadecimal digits in capitals, as the Windows
            // program printed them ("OLE error 800A03EC").
            text += QStringLiteral("\r\nOLE error ") +
                    QStringLiteral("%1")
                        .arg(static_cast<quint32>(errorCode), 8, 16, QLatin1Char('0'))
                        .toUpper();
            // The code alone tells a user nothing; the layer that failed left
            // what, where and why.
            if (const QString cause = TakeErrorInfo(errorCode); !cause.isEmpty()) {
              text += QStringLiteral("\r\n") + cause;
            }
            return text;
          }(),
          errorCode) {}
