#pragma once

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

class TMemoEntry;

// The editor of one article's text. Beyond the plain editor it knows its entry
// and shows the popup menu the main window attaches to every article.
class TArticleEditor final : public QPlainTextEdit {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TArticleEditor)

 public:
  explicit TArticleEditor(TMemoEntry* entry, QWidget* parent = nullptr);

  TMemoEntry* Entry() const { return FEntry; }

  // The menu shown on right click instead of the editor's own; nullptr restores it.
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
  QMenu* PopupMenu() const { return FPopupMenu; }

  int LineCount() const { return document()->blockCount(); }
  // Scrolls so that line (0-based) is the top line.
  void ScrollToLine(int line);

  // Caret and selection as character offsets, for the spoken-word highlight.
  int SelStart() const;
  void SetSelStart(int position);
  void SetSelLength(int length);
  int SelLength() const;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  TMemoEntry* FEntry;
  QPointer<QMenu> FPopupMenu;
};
