#include "ArticleEditor.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>

TArticleEditor::TArticleEditor(TMemoEntry* entry, QWidget* parent)
    : QPlainTextEdit(parent), FEntry(entry) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TArticleEditor::ScrollToLine(int line) {
  // A plain text edit scrolls by blocks, so the block number is the position.
  verticalScrollBar()->setValue(line);
}

int TArticleEditor::SelStart() const {
  return textCursor().selectionStart();
}

int TArticleEditor::SelLength() const {
  const QTextCursor cursor = textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void TArticleEditor::SetSelStart(int position) {
  QTextCursor cursor = textCursor();
  const int end = document()->characterCount() - 1;
  cursor.setPosition(qBound(0, position, end));
  setTextCursor(cursor);
}

void TArticleEditor::SetSelLength(int length) {
  QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  const int end = document()->characterCount() - 1;
  cursor.setPosition(start);
  cursor.setPosition(qBound(start, start + length, end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void TArticleEditor::contextMenuEvent(QContextMenuEvent* event) {
  if (FPopupMenu != nullptr) {
    FPopupMenu->popup(event->globalPos());
    event->accept();
    return;
  }
  QPlainTextEdit::contextMenuEvent(event);
}
