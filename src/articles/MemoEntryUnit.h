#pragma once

#include <QColor>
#include <QFrame>
#include <QPointer>
#include <QString>
#include <functional>

#include "ArticleEditor.h"
#include "PropertyPanelUnit.h"

class QIODevice;
class QMenu;
class QVBoxLayout;
class TArticleVoiceSource;

// Characters a title may hold: titles also name output files.
bool IsTitleChar(QChar c);

// A part of an entry that is made when first reached. Reads like the pointer
// it stands for, so callers write entry->Editor->... whether or not the entry
// has its widgets at the moment.
template <class Owner, class T, T* (Owner::*Make)() const>
class TEntryPart final {
 public:
  explicit TEntryPart(const Owner* owner) : FOwner(owner) {}
  TEntryPart(const TEntryPart&) = delete;
  TEntryPart& operator=(const TEntryPart&) = delete;
  T* operator->() const { return (FOwner->*Make)(); }
  operator T*() const { return (FOwner->*Make)(); }  // NOLINT: stands in for a pointer

 private:
  const Owner* FOwner;
};

// The locked flag of an entry: assigning it also makes the editor read-only
// or editable again, so the article being read cannot be typed over.
template <class Owner, void (Owner::*Apply)(bool)>
class TLockFlag final {
 public:
  explicit TLockFlag(Owner* owner) : FOwner(owner) {}
  TLockFlag(const TLockFlag&) = delete;
  TLockFlag& operator=(bool locked) {
    FLocked = locked;
    (FOwner->*Apply)(locked);
    return *this;
  }
  TLockFlag& operator=(const TLockFlag& other) { return *this = bool(other); }
  operator bool() const { return FLocked; }  // NOLINT: reads as the flag it is

 private:
  Owner* FOwner;
  bool FLocked = false;
};

// One article: its property panel on top and its text editor below. A list
// holds thousands of articles but shows a few, so the panel and the editor
// exist only while needed: an entry without them keeps its title, voice, text,
// caret and colour itself, and makes them again when shown or reached.
class TMemoEntry final : public QFrame {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMemoEntry)

 public:
  using THandler = std::function<void(TMemoEntry* sender)>;

  // voices may be null (no voice list yet); it must outlive the entry.
  explicit TMemoEntry(const TArticleVoiceSource* voices, QWidget* parent = nullptr);
  ~TMemoEntry() override;

  // A title from the first characters of text: letters, digits and "_" are
  // kept, every run of other characters becomes one "_", and the ends are
  // trimmed. length counts the characters taken, a collapsed run counting once.
  static QString MakeTitle(const QString& text, int length);

  // Whether the panel and editor exist now.
  bool HasWidgets() const { return FEditor != nullptr; }
  // Lets the panel and editor go, keeping what they held. The widgets are
  // deleted later, since one of them may be in the middle of an event.
  void ReleaseWidgets();

  void SetColor(const QColor& color);
  QColor Color() const;

  void SetDefaultTitle(int length) { SetTitle(MakeTitle(EditorText(), length)); }
  void SetTitleFrom(const QString& text, int length) { SetTitle(MakeTitle(text, length)); }
  QString Title() const;
  void SetTitle(const QString& title);

  // The selected voice's name, empty when none is selected.
  QString VoiceName() const;
  // Selects the first item equal to name; no selection when there is none.
  // A voice that is installed but no favourite is added first, so an entry
  // keeps its voice across export and import.
  void SelectVoice(const QString& name);

  // Gives the property panel the focus with a freshly built voice list.
  void ChangeVoice();

  // Appends the file's lines to the text. False (nothing changed) when the file
  // cannot be opened; a read error part-way keeps the lines read and tells the
  // user "Error reading input file".
  bool LoadFromFile(const QString& fileName);
  // The same from an open device.
  void LoadFromDevice(QIODevice& device);

  // The Multi-Article layout of the property panel, now or once it is made.
  void SetMultiLayout();
  // The popup menu of the editor, now or once it is made.
  void SetPopupMenu(QMenu* menu);
  // Shows the first line at the top; an entry without an editor starts there.
  void ScrollToStart();

  QString EditorText() const;
  // The text is empty or holds only blanks (characters up to the space).
  // Looks no further than the first other character.
  bool IsBlank() const;
  void SetEditorText(const QString& text);

 private:
  TPropertyPanel* MadeProperties() const;
  TArticleEditor* MadeEditor() const;
  void ApplyLock(bool locked);

 public:
  TEntryPart<TMemoEntry, TPropertyPanel, &TMemoEntry::MadeProperties> Properties{this};
  TEntryPart<TMemoEntry, TArticleEditor, &TMemoEntry::MadeEditor> Editor{this};
  THandler OnRead;
  THandler OnReadToFile;
  THandler OnDelete;
  // Called when the input focus moves into the entry from outside it.
  THandler OnEnter;
  TLockFlag<TMemoEntry, &TMemoEntry::ApplyLock> Locked{this};
  bool Hidden = false;
  // The document the text was opened from, for the tags of its audio files;
  // empty for typed and pasted text. Not saved with the articles.
  QString DocumentTitle;
  QString DocumentAuthor;

 signals:
  // The text or the title in the widgets changed (typing, pasting, or the
  // program setting it).
  void Edited();

 private:
  static void FocusChanged(QWidget* old, QWidget* now);
  void Fire(const THandler& handler);
  void MakeWidgets();
  void ApplyColor();
  // The editor's document changed: what the entry knew of its text is old.
  void EditorChanged();
  // The voice the box would select for name: none unless it is installed.
  QString SelectableVoice(const QString& name) const;

  const TArticleVoiceSource* FVoices;
  QVBoxLayout* FLayout = nullptr;
  TPropertyPanel* FProperties = nullptr;
  TArticleEditor* FEditor = nullptr;
  // What the widgets hold while there are none. While the editor holds
  // exactly the text it was given, FText keeps that too (FTextInEditor), so a
  // save of a long article does not copy it back out of the document.
  QString FText;
  bool FTextInEditor = false;
  QString FTitle;
  QString FVoice;
  int FCaretAnchor = 0;
  int FCaretPosition = 0;
  int FScrollLine = 0;
  QColor FColor;
  QPointer<QMenu> FPopupMenu;
  bool FMultiLayout = false;
  mutable int FBlank = -1;  // IsBlank's answer until the text changes; -1 unknown
};
