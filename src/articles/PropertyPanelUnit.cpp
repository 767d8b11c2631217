#include "PropertyPanelUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "ArticleBeep.h"
#include "ArticleVoices.h"
#include "MemoEntryUnit.h"

namespace {

constexpr int kLabelTop = 5;
constexpr int kControlTop = 2;
constexpr int kTitleLeft = 5;
constexpr int kVoiceLeft = 250;
constexpr int kMultiVoiceLeft = 180;
constexpr int kTitleEditWidth = 121;
// Wide enough to tell the engine's language variants apart.
constexpr int kVoiceBoxWidth = 240;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->adjustSize();
  return label;
}

QPushButton* HiddenButton(const QString& text, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setToolTip(hint);
  button->resize(qMax(kButtonWidth, button->sizeHint().width()), kButtonHeight);
  button->hide();
  return button;
}

}  // namespace

void TVoiceBox::showPopup() {
  emit DroppingDown();
  QComboBox::showPopup();
}

TPropertyPanel::TPropertyPanel(TMemoEntry* entry, const TArticleVoiceSource* voices,
                               QWidget* parent)
    : QFrame(parent), FEntry(entry), FVoices(voices) {
  setFrameShape(QFrame::NoFrame);
  setFixedHeight(kHeight);

  TitleLabel = BoldLabel(QStringLiteral("Title: "), this);
  TitleEdit = new QLineEdit(this);
  TitleEdit->resize(kTitleEditWidth, kEditHeight);
  VoiceLabel = BoldLabel(QStringLiteral("Voice: "), this);
  VoiceBox = new TVoiceBox(this);
  VoiceBox->resize(kVoiceBoxWidth, kEditHeight);
  ReadButton = HiddenButton(QStringLiteral("Read"), QStringLiteral("Read selected article"), this);
  ReadToFileButton = HiddenButton(QStringLiteral("Read to File"),
                                  QStringLiteral("Read selected article to file"), this);
  DeleteButton =
      HiddenButton(QStringLiteral("Delete"), QStringLiteral("Delete selected article"), this);
  PlaceControls(kVoiceLeft);

  if (FVoices != nullptr) {
    for (const TArticleVoice& voice : FVoices->ArticleVoices()) {
      if (voice.Favorite) {
        VoiceBox->addItem(voice.Name);
      }
    }
  }

  connect(TitleEdit, &QLineEdit::textChanged, this, [this] { TitleChange(); });
  connect(VoiceBox, &TVoiceBox::DroppingDown, this, [this] { FillVoices(); });
  TitleLabel->installEventFilter(this);
  VoiceLabel->installEventFilter(this);
  TitleEdit->installEventFilter(this);
}

void TPropertyPanel::PlaceControls(int voiceLabelLeft) {
  TitleLabel->move(kTitleLeft, kLabelTop);
  TitleEdit->move(TitleLabel->width() + kTitleLeft, kControlTop);
  VoiceLabel->move(voiceLabelLeft, kLabelTop);
  VoiceBox->move(voiceLabelLeft + VoiceLabel->width(), kControlTop);
  ReadButton->move(VoiceBox->geometry().right() + 1 + 15, kControlTop);
  ReadToFileButton->move(ReadButton->geometry().right() + 1 + 2, kControlTop);
  DeleteButton->move(ReadToFileButton->geometry().right() + 1 + 2, kControlTop);
}

void TPropertyPanel::MultiLayout() {
  PlaceControls(kMultiVoiceLeft);
  ReadButton->show();
  ReadToFileButton->show();
  DeleteButton->show();
  FMultiLayout = true;
}

void TPropertyPanel::FillVoices() {
  if (VoicesFilled) {
    return;
  }
  const QString remembered = VoiceBox->currentText();
  VoiceBox->clear();
  int index = -1;
  if (FVoices != nullptr) {
    for (const TArticleVoice& voice : FVoices->ArticleVoices()) {
      const bool own = voice.Name == remembered;
      if ((voice.Favorite && voice.EngineEnabled) || own) {
        if (own && index < 0) {
          index = VoiceBox->count();
        }
        VoiceBox->addItem(voice.Name);
      }
    }
  }
  VoiceBox->setCurrentIndex(VoiceBox->count() == 0 ? -1 : qMax(index, 0));
  VoicesFilled = true;
}

void TPropertyPanel::TitleChange() {
  if (!TitleEdit->hasFocus() || TitleEdit->text().isEmpty()) {
    return;
  }
  const int caret = TitleEdit->cursorPosition();
  if (caret <= 0) {
    return;
  }
  if (!IsTitleChar(TitleEdit->text().at(caret - 1))) {
    ArticleBeep();
    // Deleting changes the text again, so the character that then stands
    // before the caret is examined in turn.
    TitleEdit->setCursorPosition(caret);
    TitleEdit->backspace();
  }
}

void TPropertyPanel::mousePressEvent(QMouseEvent* event) {
  FillVoices();
  QFrame::mousePressEvent(event);
}

bool TPropertyPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    FillVoices();
  }
  return QFrame::eventFilter(watched, event);
}
