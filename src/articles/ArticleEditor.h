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

  // Fills the editor with text whose line breaks are all "\n", as
  // setPlainText does; AppendArticleText adds it as new lines at the end.
  // A long text is given to the document in blocks of many lines, its other
  // line breaks kept as line separators: they show and count as line breaks
  // alike, but a document pays for every block it holds, and a book has
  // hundreds of thousands of lines.
  void SetArticleText(const QString& text);
  void AppendArticleText(const QString& text);
  // From this many characters on a text is given in blocks of many lines, each
  // ending at the first line break after kBlockChars characters.
  static constexpr qsizetype kFewerBlocksFrom = 64 * 1024;
  static constexpr qsizetype kBlockChars = 1024;

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
  // A long text pasted or dropped goes in as SetArticleText puts it.
  void insertFromMimeData(const QMimeData* source) override;

 private:
  TMemoEntry* FEntry;
  QPointer<QMenu> FPopupMenu;
};
