// Adding and removing articles, the voice of a new article, the saved-articles
// file and the switch between Single-Article and Multi-Article mode.
#include <QAction>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "OptionsCommands.h"
#include "PreferenceUnit.h"
#include "TTSEngineUnit.h"
#include "TTSUnit.h"
#include "UserMessages.h"

namespace {

const QString kLockedMessage =
    QStringLiteral("This item is currently being read and cannot be deleted");

void ShowErrorBox(const QString& text) {
  UserMessages().ShowError(text, QStringLiteral("Error"));
}

}  // namespace

void TForm1::LoadFavoriteVoices() {
  UtilsClass::Trace(QStringLiteral("Entering LoadFavoriteVoices"));
  RoundRobinIndex = -1;
  FavoriteVoices.clear();
  if (TTSForm == nullptr) {
    FillDefaultVoiceList(*this);
    return;
  }
  for (const auto& voice : TTSForm->Voices) {
    if (voice->Favorite && voice->Engine != nullptr && voice->Engine->Enabled) {
      FavoriteVoices << voice->Name;
    }
  }
  FillDefaultVoiceList(*this);
}

QString TForm1::ChooseVoice() {
  const QString fallback = Preferences->TTS_DefaultVoiceName;
  switch (Preferences->Voice()) {
    case 1: {
      if (FavoriteVoices.isEmpty()) {
        return fallback;
      }
      std::uniform_int_distribution<qsizetype> pick(0, FavoriteVoices.size() - 1);
      return FavoriteVoices.at(pick(FRandom));
    }
    case 2:
      if (FavoriteVoices.isEmpty()) {
        return fallback;
      }
      ++RoundRobinIndex;
      if (RoundRobinIndex >= FavoriteVoices.size()) {
        RoundRobinIndex = 0;
      }
      return FavoriteVoices.at(RoundRobinIndex);
    default:
      return fallback;
  }
}

TMemoEntry* TForm1::AddMemo(const QString& text, const QString& voiceName) {
  TMemoEntry* entry = nullptr;
  // Exit lets events run while it saves the list, and then frees it.
  if (Articles == nullptr || RunState == rsExiting) {
    return entry;
  }
  try {
    entry = Articles->Add(text, voiceName);
  } catch (const EMemoEntryLocked& error) {
    UtilsClass::Trace(error.Message());
    ShowErrorBox(kLockedMessage);
  } catch (const Exception& error) {
    UtilsClass::Trace(QStringLiteral("AddMemo Exception: ") + error.Message());
    ShowErrorBox(error.Message());
  } catch (const std::exception&) {
    ShowErrorBox(QStringLiteral("AddMemo Failed"));
  }
  // The export lets events run, and a delete command among them may free
  // the new entry before the caller wires it.
  const QPointer<TMemoEntry> added(entry);
  ExportArticles();
  ShowStatus(ArticleCountText());
  Paste1Update();
  return added.data();
}

TMemoEntry* TForm1::AddNew() {
  TMemoEntry* entry = AddMemo(QString(), ChooseVoice());
  if (entry == nullptr) {
    return nullptr;
  }
  entry->OnDelete = [this](TMemoEntry* sender) { ArticleDeleteClick(sender); };
  entry->OnRead = [this](TMemoEntry* sender) { emit ArticleReadRequested(sender); };
  entry->OnReadToFile = [this](TMemoEntry* sender) { emit ArticleReadToFileRequested(sender); };
  entry->SetPopupMenu(PopupMenu1);
  return entry;
}

void TForm1::AddNewPopupClick() {
  AddNew();
}

void TForm1::DelSelPopupClick() {
  if (Articles == nullptr || RunState == rsExiting) {
    return;
  }
  try {
    Articles->DeleteSelected();
  } catch (const EMemoEntryLocked&) {
    ShowErrorBox(kLockedMessage);
  }
  if (Articles->VisibleCount() == 0) {
    AddNew();
  }
  ExportArticles();
  ShowStatus(ArticleCountText());
  Paste1Update();
}

void TForm1::ArticleDeleteClick(TMemoEntry* entry) {
  if (Articles == nullptr || RunState == rsExiting) {
    return;
  }
  try {
    Articles->HideEntry(entry);
  } catch (const EMemoEntryLocked&) {
    ShowErrorBox(kLockedMessage);
  }
  if (Articles->VisibleCount() == 0) {
    AddNew();
  }
  ExportArticles();
  if (RunState != rsReading) {
    ShowStatus(ArticleCountText());
  }
  Paste1Update();
}

QString TForm1::ExportFileName() {
  return AppPaths::DataFile(QStringLiteral("VLExport.txt"));
}

QString TForm1::IntroFileName() {
  return AppPaths::SharedFile(QStringLiteral("VLIntro.chl"));
}

bool TForm1::ExportArticles() {
  const bool saved = Articles != nullptr && Articles->ExportList(ExportFileName());
  if (saved) {
    // Everything typed so far is in this save (or in the one it waits for).
    AutosaveTimer->stop();
  }
  return saved;
}

void TForm1::ScheduleAutosave() {
  // The import's own filling of the list is not typing.
  if (!Initialized || RunState == rsExiting) {
    return;
  }
  AutosaveTimer->start();
}

void TForm1::AutosaveTimerTimer() {
  if (Articles == nullptr || RunState == rsExiting) {
    return;
  }
  if (Articles->Exporting() || Articles->Importing()) {
    AutosaveTimer->start();
    return;
  }
  UtilsClass::Trace(QStringLiteral("Saving typed text"));
  ExportArticles();
}

void TForm1::ToolButton1Click() {
  if (Articles == nullptr || RunState == rsExiting) {
    return;
  }
  if (Preferences->ML_ListMode == TMemoListBox::lmSingleArticle) {
    ApplyMode(false);
    return;
  }
  UtilsClass::Trace(QStringLiteral("Entering Single-Article Mode"));
  ApplyMode(false);
  Preferences->ML_ListMode = TMemoListBox::lmSingleArticle;
  Articles->ListMode = TMemoListBox::lmSingleArticle;
  Articles->SetVisibleEntries(1);
  Articles->DeleteBlankEntries();
  if (Articles->VisibleCount() == 0) {
    UtilsClass::Trace(QStringLiteral("Calling AddNew"));
    AddNew();
  }
  Paste1Update();
}

void TForm1::ToolButton2Click() {
  if (Articles == nullptr || RunState == rsExiting) {
    return;
  }
  if (Preferences->ML_ListMode == TMemoListBox::lmMultiArticle) {
    ApplyMode(true);
    return;
  }
  UtilsClass::Trace(QStringLiteral("Entering Multi-Article Mode"));
  ApplyMode(true);
  Preferences->ML_ListMode = TMemoListBox::lmMultiArticle;
  Articles->ListMode = TMemoListBox::lmMultiArticle;
  Articles->SetVisibleEntries(Preferences->ML_VisibleEntries);
  Articles->DeleteBlankEntries();
  if (Articles->VisibleCount() == 0) {
    UtilsClass::Trace(QStringLiteral("Calling AddNew"));
    AddNew();
  }
  Paste1Update();
}
