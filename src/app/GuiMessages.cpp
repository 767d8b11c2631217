#include "GuiMessages.h"

#include <QApplication>
#include <QMessageBox>

#include "BaseUtils.h"

namespace {

TGuiMessages* gInstalled = nullptr;

QWidget* DialogParent() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr && active->isVisible() ? active : nullptr;
}

}  // namespace

TGuiMessages* GuiMessages() {
  return gInstalled;
}

TGuiMessages::TGuiMessages() {
  gInstalled = this;
}

TGuiMessages::~TGuiMessages() {
  if (gInstalled == this) {
    gInstalled = nullptr;
  }
}

QString TGuiMessages::DisplayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(u'\r', u'\n');
  return shown;
}

void TGuiMessages::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Verbalune MP3"), DisplayText(text),
                  QMessageBox::Ok, DialogParent());
  box.exec();
}

void TGuiMessages::ShowError(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Critical, caption.isEmpty() ? QStringLiteral("Error") : caption,
                  DisplayText(text), QMessageBox::Ok, DialogParent());
  box.exec();
}

int TGuiMessages::ShowModalDialog(const QString& dialogName) {
  const auto found = FDialogs.constFind(dialogName);
  if (found == FDialogs.constEnd()) {
    UtilsClass::Trace(QStringLiteral("No dialog named ") + dialogName);
    return mrOk;
  }
  return found.value()();
}

void TGuiMessages::RegisterDialog(const QString& name, TDialogRunner runner) {
  FDialogs.insert(name, std::move(runner));
}
