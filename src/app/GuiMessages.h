#pragma once

#include <QHash>
#include <QString>
#include <functional>

#include "UserMessages.h"

class QWidget;

// The message seam of the running program: real message boxes, and the
// program's named modal dialogs by name.
class TGuiMessages final : public TUserMessages {
 public:
  // Shows a dialog modally and returns its modal result.
  using TDialogRunner = std::function<int()>;

  TGuiMessages();
  ~TGuiMessages() override;
  TGuiMessages(const TGuiMessages&) = delete;
  TGuiMessages& operator=(const TGuiMessages&) = delete;

  void ShowMessage(const QString& text) override;
  void ShowError(const QString& text, const QString& caption) override;
  int ShowModalDialog(const QString& dialogName) override;

  // Adds or replaces a named dialog.
  void RegisterDialog(const QString& name, TDialogRunner runner);
  bool HasDialog(const QString& name) const { return FDialogs.contains(name); }

  // The program's messages use carriage returns as line breaks.
  static QString DisplayText(const QString& text);

 private:
  QHash<QString, TDialogRunner> FDialogs;
};

// The sink the program installed; null before start-up made one.
TGuiMessages* GuiMessages();
