#include "ArticleEditor.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

namespace {

QString InFewerBlocks(const QString& text) {
  if (text.size() < TArticleEditor::kFewerBlocksFrom) {
    return text;
  }
  QString blocks = text;
  QChar* chars = blocks.data();
  qsizetype blockStart = 0;
  for (qsizetype i = blocks.indexOf(u'\n'); i >= 0; i = blocks.indexOf(u'\n', i + 1)) {
    if (i - blockStart < TArticleEditor::kBlockChars) {
      chars[i] = QChar::LineSeparator;
    } else {
      blockStart = i + 1;
    }
  }
  return blocks;
}

}  // namespace

TArticleEditor::TArticleEditor(TMemoEntry* entry, QWidget* parent)
    : QPlainTextEdit(parent), FEntry(entry) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TArticleEditor::SetArticleText(const QString& text) {
  setPlainText(InFewerBlocks(text));
}

void TArticleEditor::AppendArticleText(const QString& text) {
  appendPlainText(InFewerBlocks(text));
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

void TArticleEditor::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText() ||
      !textInteractionFlags().testFlag(Qt::TextEditable)) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  QString text = source->text();
  if (text.size() < kFewerBlocksFrom) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  QTextCursor cursor = textCursor();
  cursor.insertText(InFewerBlocks(text));
  setTextCursor(cursor);
  ensureCursorVisible();
}

void TArticleEditor::contextMenuEvent(QContextMenuEvent* event) {
  if (FPopupMenu != nullptr) {
    FPopupMenu->popup(event->globalPos());
    event->accept();
    return;
  }
  QPlainTextEdit::contextMenuEvent(event);
}
