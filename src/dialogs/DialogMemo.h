#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The borderless, read-only memo the small dialogs show their fixed text in:
// it blends with the dialog like a label, but the text can still be copied.
QPlainTextEdit* MakeDialogMemo(const QString& text, QWidget* parent);
