#pragma once

#include <QColor>
#include <QFrame>
#include <QString>
#include <functional>

#include "ArticleEditor.h"
#include "PropertyPanelUnit.h"

class QIODevice;
class TArticleVoiceSource;

// Characters a title may hold: titles also name output files.
bool IsTitleChar(QChar c);

// One article: its property panel on top and its text editor below.
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

  QString EditorText() const;
  // The text is empty or holds only blanks (characters up to the space).
  // Looks no further than the first other character.
  bool IsBlank() const;
  void SetEditorText(const QString& text);

  TPropertyPanel* Properties;
  TArticleEditor* Editor;
  THandler OnRead;
  THandler OnReadToFile;
  THandler OnDelete;
  // Called when the input focus moves into the entry from outside it.
  THandler OnEnter;
  bool Locked = false;
  bool Hidden = false;

 private:
  static void FocusChanged(QWidget* old, QWidget* now);
  void Fire(const THandler& handler);

  const TArticleVoiceSource* FVoices;
  mutable int FBlank = -1;  // IsBlank's answer until the text changes; -1 unknown
};
