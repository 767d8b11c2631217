#include "MemoEntryUnit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "ArticleFileFormat.h"
#include "ArticleVoices.h"
#include "BaseUtils.h"
#include "UserMessages.h"

bool IsTitleChar(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
         u == u'_';
}

TMemoEntry::TMemoEntry(const TArticleVoiceSource* voices, QWidget* parent)
    : QFrame(parent), FVoices(voices) {
  setFrameShape(QFrame::NoFrame);
  Properties = new TPropertyPanel(this, voices, this);
  Editor = new TArticleEditor(this, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Properties);
  layout->addWidget(Editor, 1);

  connect(Properties->ReadButton, &QPushButton::clicked, this, [this] { Fire(OnRead); });
  connect(Properties->ReadToFileButton, &QPushButton::clicked, this,
          [this] { Fire(OnReadToFile); });
  connect(Properties->DeleteButton, &QPushButton::clicked, this, [this] { Fire(OnDelete); });
  connect(Editor->document(), &QTextDocument::contentsChanged, this, [this] { FBlank = -1; });
  // One watcher for all entries: a list holds hundreds of them.
  static bool watching = false;
  if (!watching) {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
      connect(app, &QApplication::focusChanged, app, &TMemoEntry::FocusChanged);
      watching = true;
    }
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
  QPalette palette = Editor->palette();
  palette.setColor(QPalette::Base, color);
  Editor->setPalette(palette);
}

QColor TMemoEntry::Color() const {
  return Editor->palette().color(QPalette::Base);
}

QString TMemoEntry::Title() const {
  return Properties->TitleEdit->text();
}

void TMemoEntry::SetTitle(const QString& title) {
  Properties->TitleEdit->setText(title);
  // A title longer than the edit is shown from its start.
  Properties->TitleEdit->setCursorPosition(0);
}

QString TMemoEntry::VoiceName() const {
  return Properties->VoiceBox->currentIndex() < 0 ? QString() : Properties->VoiceBox->currentText();
}

void TMemoEntry::SelectVoice(const QString& name) {
  QComboBox* box = Properties->VoiceBox;
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
  Properties->ResetVoices();
  Properties->setFocus();
  Properties->FillVoices();
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
  const QByteArray bytes = ReadArticleDevice(device, &failed);
  const QString text = DecodeArticleText(bytes);
  QList<QStringView> lines = SplitArticleLines(text);
  // A failed read never delivered the line it was in.
  if (failed && !lines.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r')) {
    lines.removeLast();
  }
  if (!lines.isEmpty()) {
    QString joined;
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0) {
        joined += u'\n';
      }
      joined += lines[i];
    }
    if (EditorText().isEmpty()) {
      SetEditorText(joined);
    } else {
      Editor->appendPlainText(joined);
    }
  }
  if (failed) {
    UtilsClass::Trace(QStringLiteral("LoadFromFile read error: ") + device.errorString());
    UserMessages().ShowMessage(QStringLiteral("Error reading input file"));
  }
}

QString TMemoEntry::EditorText() const {
  // toPlainText would turn non-breaking spaces into plain ones.
  QString text = Editor->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

bool TMemoEntry::IsBlank() const {
  if (FBlank >= 0) {
    return FBlank == 1;
  }
  FBlank = 0;
  const QTextDocument* document = Editor->document();
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
  if (text.contains(u'\r')) {
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    Editor->setPlainText(normalised);
  } else {
    Editor->setPlainText(text);
  }
}
