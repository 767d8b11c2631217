#pragma once

#include <QStringList>

// The program's forms: created once, in a fixed order, at start-up and alive
// until the end, each reached through its global reference.
#include "MainWindow.h"        // TForm1* Form1
#include "NoEngineWarning.h"   // TEngineWarningForm
#include "SIBusyDialogUnit.h"  // TSIBusyForm
#include "SelectDirectory.h"   // TOutDirDialog
#include "TTSUnit.h"           // TTTSForm* TTSForm

extern TOutDirDialog* OutDirDialog;
extern TEngineWarningForm* EngineWarningForm;
extern TSIBusyForm* SIBusyForm;

class TGuiMessages;

// Creates the forms in order. False when the speech controller could not be
// made: the engine warning has then been shown and the program must end.
bool CreateForms(const QStringList& arguments);
// Frees them in reverse order and clears the references.
void FreeForms();
// The named dialogs of the forms above, for the GUI's message seam.
void RegisterFormDialogs(TGuiMessages& messages);
