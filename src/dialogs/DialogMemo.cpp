#include "DialogMemo.h"

#include <QPlainTextEdit>

QPlainTextEdit* MakeDialogMemo(const QString& text, QWidget* parent) {
  auto* memo = new QPlainTextEdit(text, parent);
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette p = memo->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Window));
  memo->setPalette(p);
  const QFontMetrics metrics = memo->fontMetrics();
  int width = 0;
  const QStringList lines = text.split(u'\n');
  for (const QString& line : lines) {
    width = std::max(width, metrics.horizontalAdvance(line));
  }
  memo->setFixedSize(width + 24, metrics.lineSpacing() * static_cast<int>(lines.size()) + 14);
  return memo;
}
