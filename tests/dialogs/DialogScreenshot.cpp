// Not a test: shows one of the small dialogs until it is closed, for a
// screenshot under Xvfb (tests/e2e/screenshots.sh).
#include <QApplication>
#include <QDialog>
#include <memory>

#include "NoEngineWarning.h"
#include "PreferenceUnit.h"
#include "PronEditorInfo.h"
#include "PronunciationEditor.h"
#include "PronunciationList.h"
#include "SIBusyDialogUnit.h"
#include "SelectDirectory.h"
#include "VerbaluneAboutUnit.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString name = app.arguments().value(1);
  TPreferences preferences;
  preferences.LoadAll();
  preferences.ReadFields();
  Preferences = &preferences;
  std::unique_ptr<QDialog> dialog;
  TPronunciationList pronunciations;
  pronunciations.Items = {
      {QStringLiteral("GUI"), QStringLiteral("gooey"), true, false, QString()},
      {QStringLiteral("Nguyen"), QStringLiteral("win"), true, true, QString()},
      {QStringLiteral("kal"), QStringLiteral("cal"), false, false, QStringLiteral("Flite")},
      {QStringLiteral("SQL"), QStringLiteral("sequel"), true, true, QStringLiteral("eSpeak NG")}};
  if (name == QStringLiteral("EngineWarning")) {
    dialog = std::make_unique<TEngineWarningForm>();
  } else if (name == QStringLiteral("OutDir")) {
    dialog = std::make_unique<TOutDirDialog>();
  } else if (name == QStringLiteral("SIBusy")) {
    dialog = std::make_unique<TSIBusyForm>();
  } else if (name == QStringLiteral("PronEditorInfo")) {
    dialog = std::make_unique<TPronEditorInfoForm>();
  } else if (name == QStringLiteral("PronunciationEditor")) {
    dialog = std::make_unique<TPronunciationEditorForm>(
        nullptr, pronunciations, QString(),
        QStringList{QStringLiteral("eSpeak NG"), QStringLiteral("Flite")},
        QStringList{QStringLiteral("Adam"), QStringLiteral("Slt")});
  } else if (name == QStringLiteral("About")) {
    dialog = std::make_unique<TVerbaluneAboutForm>(preferences.Version());
  } else {
    return 2;
  }
  dialog->exec();
  Preferences = nullptr;
  return 0;
}
