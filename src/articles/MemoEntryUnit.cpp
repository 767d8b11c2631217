#include "MemoEntryUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ArticleFileFormat.h"
#include "ArticleVoices.h"
#include "BaseUtils.h"
#include "UserMessages.h"

namespace {

// Paragraph and line separators as the line feeds the editor reads them as.
QString WithLineFeeds(QString text) {
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

}  // namespace

bool IsTitleChar(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
         u == u'_';
}

TMemoEntry::TMemoEntry(const TArticleVoiceSource* voices, QWidget* parent)
    : QFrame(parent), FVoices(voices) {
  setFrameShape(QFrame::NoFrame);
  // One watcher for all entries: a list holds thousands of them.
  static bool watching = false;
  if (!watching) {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
      connect(app, &QApplication::focusChanged, app, &TMemoEntry::FocusChanged);
      watching = true;
    }
  }
}

TPropertyPanel* TMemoEntry::MadeProperties() const {
  const_cast<TMemoEntry*>(this)->MakeWidgets();
  return FProperties;
}

TArticleEditor* TMemoEntry::MadeEditor() const {
  const_cast<TMemoEntry*>(this)->MakeWidgets();
  return FEditor;
}

void TMemoEntry::MakeWidgets() {
  if (FEditor != nullptr) {
    return;
  }
  if (FLayout == nullptr) {
    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
  }
  FProperties = new TPropertyPanel(this, FVoices, this);
  FEditor = new TArticleEditor(this, this);
  FLayout->addWidget(FProperties);
  FLayout->addWidget(FEditor, 1);
  // Made after the entry was shown, they would appear only once events run.
  FProperties->show();
  FEditor->show();

  connect(FProperties->ReadButton, &QPushButton::clicked, this, [this] { Fire(OnRead); });
  connect(FProperties->ReadToFileButton, &QPushButton::clicked, this,
          [this] { Fire(OnReadToFile); });
  connect(FProperties->DeleteButton, &QPushButton::clicked, this, [this] { Fire(OnDelete); });

  if (FMultiLayout) {
    FProperties->MultiLayout();
  }
  FProperties->TitleEdit->setText(FTitle);
  FProperties->TitleEdit->setCursorPosition(0);
  QComboBox* box = FProperties->VoiceBox;
  int index = box->findText(FVoice, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 && !FVoice.isEmpty()) {
    box->addItem(FVoice);
    index = box->count() - 1;
  }
  box->setCurrentIndex(index);

  FEditor->SetPopupMenu(FPopupMenu);
  if (!FText.isEmpty()) {
    FEditor->SetArticleText(FText);
    QTextCursor cursor = FEditor->textCursor();
    const int end = static_cast<int>(FText.size());
    cursor.setPosition(qBound(0, FCaretAnchor, end));
    cursor.setPosition(qBound(0, FCaretPosition, end), QTextCursor::KeepAnchor);
    FEditor->setTextCursor(cursor);
    FEditor->ScrollToLine(FScrollLine);
  }
  // The editor holds the text from now on; FText stays as its copy until the
  // first change.
  FTextInEditor = true;
  ApplyColor();
  ApplyLock(Locked);
  connect(FEditor->document(), &QTextDocument::contentsChanged, this, &TMemoEntry::EditorChanged);
  // Only the widgets can be typed into; connected after they were filled.
  connect(FEditor, &QPlainTextEdit::textChanged, this, &TMemoEntry::Edited);
  connect(FProperties->TitleEdit, &QLineEdit::textChanged, this, &TMemoEntry::Edited);
}

void TMemoEntry::ReleaseWidgets() {
  if (FEditor == nullptr || Locked) {
    return;
  }
  FText = EditorText();
  FTitle = Title();
  FVoice = VoiceName();
  const QTextCursor cursor = FEditor->textCursor();
  FCaretAnchor = cursor.anchor();
  FCaretPosition = cursor.position();
  FScrollLine = FEditor->verticalScrollBar()->value();
  FPopupMenu = FEditor->PopupMenu();
  for (QWidget* part : {static_cast<QWidget*>(FProperties), static_cast<QWidget*>(FEditor)}) {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && (focus == part || part->isAncestorOf(focus))) {
      focus->clearFocus();
    }
    FLayout->removeWidget(part);
    part->hide();
    part->deleteLater();
  }
  FEditor->document()->disconnect(this);
  FProperties = nullptr;
  FEditor = nullptr;
  FTextInEditor = false;
}

void TMemoEntry::EditorChanged() {
  FBlank = -1;
  if (FTextInEditor) {
    FTextInEditor = false;
    FText = QString();
  }
}

TMemoEntry::~TMemoEntry() = default;

void TMemoEntry::Fire(const THandler& handler) {
  if (handler) {
    handler(this);
  }
}

namespace {

template <class T>
T* EnclosingWidget(QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (auto* found = qobject_cast<T*>(widget)) {
      return found;
    }
  }
  return nullptr;
}

}  // namespace

void TMemoEntry::FocusChanged(QWidget* old, QWidget* now) {
  TPropertyPanel* oldPanel = EnclosingWidget<TPropertyPanel>(old);
  if (oldPanel != nullptr && oldPanel != EnclosingWidget<TPropertyPanel>(now)) {
    oldPanel->ResetVoices();
  }
  TMemoEntry* entered = EnclosingWidget<TMemoEntry>(now);
  if (entered != nullptr && entered != EnclosingWidget<TMemoEntry>(old)) {
    entered->Fire(entered->OnEnter);
  }
}

QString TMemoEntry::MakeTitle(const QString& text, int length) {
  QString title;
  int counter = 0;
  for (qsizetype i = 0; i < text.size() && counter < length; ++i) {
    const QChar c = text[i];
    if (IsTitleChar(c)) {
      title += c;
    } else if (title.isEmpty() || title.back() != u' ') {
      title += u' ';
    } else {
      continue;
    }
    ++counter;
  }
  title = title.trimmed();
  title.replace(u' ', u'_');
  return title;
}

void TMemoEntry::SetColor(const QColor& color) {
  FColor = color;
  ApplyColor();
}

void TMemoEntry::ApplyColor() {
  if (FEditor == nullptr || !FColor.isValid()) {
    return;
  }
  QPalette palette = FEditor->palette();
  palette.setColor(QPalette::Base, FColor);
  FEditor->setPalette(palette);
}

QColor TMemoEntry::Color() const {
  if (FColor.isValid()) {
    return FColor;
  }
  return palette().color(QPalette::Base);
}

void TMemoEntry::ApplyLock(bool locked) {
  if (FEditor == nullptr) {
    return;
  }
  FEditor->setReadOnly(locked);
  if (locked) {
    // Read-only hides the caret; the reader still moves it, and the user may
    // still select and copy.
    FEditor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
}

void TMemoEntry::SetMultiLayout() {
  FMultiLayout = true;
  if (FProperties != nullptr) {
    FProperties->MultiLayout();
  }
}

void TMemoEntry::SetPopupMenu(QMenu* menu) {
  FPopupMenu = menu;
  if (FEditor != nullptr) {
    FEditor->SetPopupMenu(menu);
  }
}

void TMemoEntry::ScrollToStart() {
  FScrollLine = 0;
  if (FEditor != nullptr) {
    FEditor->ScrollToLine(0);
  }
}

QString TMemoEntry::Title() const {
  return FProperties != nullptr ? FProperties->TitleEdit->text() : FTitle;
}

void TMemoEntry::SetTitle(const QString& title) {
  if (FProperties == nullptr) {
    FTitle = title;
    return;
  }
  FProperties->TitleEdit->setText(title);
  // A title longer than the edit is shown from its start.
  FProperties->TitleEdit->setCursorPosition(0);
}

QString TMemoEntry::VoiceName() const {
  if (FProperties == nullptr) {
    return FVoice;
  }
  const QComboBox* box = FProperties->VoiceBox;
  return box->currentIndex() < 0 ? QString() : box->currentText();
}

QString TMemoEntry::SelectableVoice(const QString& name) const {
  if (name.isEmpty() || FVoices == nullptr) {
    return QString();
  }
  for (const TArticleVoice& voice : FVoices->ArticleVoices()) {
    if (voice.Name == name) {
      return name;
    }
  }
  return QString();
}

void TMemoEntry::SelectVoice(const QString& name) {
  if (FProperties == nullptr) {
    FVoice = SelectableVoice(name);
    return;
  }
  QComboBox* box = FProperties->VoiceBox;
  int index = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index < 0 && !name.isEmpty() && FVoices != nullptr) {
    for (const TArticleVoice& voice : FVoices->ArticleVoices()) {
      if (voice.Name == name) {
        box->addItem(name);
        index = box->count() - 1;
        break;
      }
    }
  }
  box->setCurrentIndex(index);
}

void TMemoEntry::ChangeVoice() {
  MakeWidgets();
  FProperties->ResetVoices();
  FProperties->setFocus();
  FProperties->FillVoices();
}

bool TMemoEntry::LoadFromFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    return false;
  }
  LoadFromDevice(file);
  return true;
}

void TMemoEntry::LoadFromDevice(QIODevice& device) {
  bool failed = false;
  QString text;
  {
    const QByteArray bytes = ReadArticleDevice(device, &failed);
    text = DecodeArticleText(bytes);
  }
  // The lines of the file joined by "\n", done in place: a book has far too
  // many lines to split and join one by one.
  const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r'; };
  if (failed && !text.isEmpty() && !isBreak(text.back())) {
    // A failed read never delivered the line it was in.
    qsizetype end = text.size();
    while (end > 0 && !isBreak(text[end - 1])) {
      --end;
    }
    text.truncate(end);
  }
  if (!text.isEmpty()) {
    // The break ending the last line starts no further line.
    if (text.endsWith(QStringLiteral("\r\n"))) {
      text.chop(2);
    } else if (isBreak(text.back())) {
      text.chop(1);
    }
    if (text.contains(u'\r')) {
      text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      text.replace(u'\r', u'\n');
    }
    const bool empty = FEditor == nullptr ? FText.isEmpty() : FEditor->document()->isEmpty();
    if (empty) {
      SetEditorText(text);
    } else if (FEditor == nullptr) {
      FText += u'\n';
      FText += WithLineFeeds(text);
      FBlank = -1;
    } else {
      FEditor->AppendArticleText(WithLineFeeds(text));
    }
  }
  if (failed) {
    UtilsClass::Trace(QStringLiteral("LoadFromFile read error: ") + device.errorString());
    UserMessages().ShowMessage(QStringLiteral("Error reading input file"));
  }
}

QString TMemoEntry::EditorText() const {
  if (FEditor == nullptr || FTextInEditor) {
    return FText;
  }
  // toPlainText would turn non-breaking spaces into plain ones.
  return WithLineFeeds(FEditor->document()->toRawText());
}

bool TMemoEntry::IsBlank() const {
  if (FBlank >= 0) {
    return FBlank == 1;
  }
  FBlank = 0;
  if (FEditor == nullptr) {
    for (const QChar c : FText) {
      if (c.unicode() > u' ') {
        return false;
      }
    }
    FBlank = 1;
    return true;
  }
  const QTextDocument* document = FEditor->document();
  const int end = document->characterCount() - 1;  // the final paragraph mark is no text
  for (int i = 0; i < end; ++i) {
    const QChar c = document->characterAt(i);
    if (c.unicode() > u' ' && c != QChar::ParagraphSeparator && c != QChar::LineSeparator) {
      return false;
    }
  }
  FBlank = 1;
  return true;
}

void TMemoEntry::SetEditorText(const QString& text) {
  QString normalised = text;
  if (text.contains(u'\r')) {
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
  }
  // What the editor gives back: its text has no other line breaks.
  normalised = WithLineFeeds(normalised);
  if (FEditor == nullptr) {
    FText = normalised;
    FCaretAnchor = FCaretPosition = 0;
    FScrollLine = 0;
    FBlank = -1;
    return;
  }
  FEditor->SetArticleText(normalised);
  // After the change it made, which dropped the copy of the old text.
  FText = normalised;
  FTextInEditor = true;
}
