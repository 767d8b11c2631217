#include "ListVoicesCommand.h"

#include <QTextStream>

#include "Exceptions.h"
#include "PreferenceUnit.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "UserMessages.h"

bool IsListVoicesCommand(const QStringList& arguments) {
  return arguments.size() == 2 && arguments.at(1) == u"--list-voices";
}

int RunListVoicesCommand(QTextStream& out) {
  try {
    // Settings of its own: listing voices must not change what is stored.
    TPreferences preferences;
    TTTSForm controller(nullptr, &preferences);
    if (!SpeechPresent() || !TTSEnginesPresent()) {
      UserMessages().ShowError(QStringLiteral("No text-to-speech engine is installed."),
                               QStringLiteral("Verbalune MP3"));
      return 1;
    }
    controller.Initialize();
    if (controller.Voices.empty()) {
      UserMessages().ShowError(QStringLiteral("No text-to-speech voices are installed."),
                               QStringLiteral("Verbalune MP3"));
      return 1;
    }
    for (const auto& voice : controller.Voices) {
      out << voice->Name << '\n';
    }
    out.flush();
    return 0;
  } catch (const Exception& error) {
    UserMessages().ShowError(error.Message(), QStringLiteral("Verbalune MP3"));
  } catch (const std::exception& error) {
    UserMessages().ShowError(QString::fromUtf8(error.what()), QStringLiteral("Verbalune MP3"));
  }
  return 1;
}
