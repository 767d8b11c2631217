#include "BaseAboutUnit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "BaseUtils.h"
#include "ClickLabel.h"
#include "JpegImage.h"
#include "UserMessages.h"

TBaseAboutForm::TBaseAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("BaseAboutForm"));
  setModal(true);

  SmallImage = new TClickLabel(QString(), this);
  LargeImage = new TClickLabel(QString(), this);
  LargeImage->setMinimumSize(150, 220);
  LargeImage->setAlignment(Qt::AlignCenter);
  SmallImage->setMinimumSize(64, 64);

  NameLabel = new QLabel(this);
  QFont nameFont = NameLabel->font();
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
  NameLabel->setFont(nameFont);
  SloganLabel = new QLabel(this);
  QFont sloganFont = SloganLabel->font();
  sloganFont.setItalic(true);
  SloganLabel->setFont(sloganFont);
  ContactCaption = new QLabel(this);
  QFont captionFont = ContactCaption->font();
  captionFont.setBold(true);
  ContactCaption->setFont(captionFont);
  WebLabel = new TClickLabel(QString(), this);
  WebLabel->SetLinkLook();
  EmailLabel = new TClickLabel(QString(), this);
  EmailLabel->SetLinkLook();
  MailingListCaption = new QLabel(this);
  MailingListCaption->setFont(captionFont);
  MailingListText = new QLabel(this);
  MailingListText->setWordWrap(true);

  SupportBtn = new QPushButton(QStringLiteral("Support"), this);
  MailingListBtn = new QPushButton(QStringLiteral("Mailing List"), this);
  OtherProductsBtn = new QPushButton(QStringLiteral("Other Products"), this);
  ContinueBtn = new QPushButton(QStringLiteral("Continue"), this);
  ContinueBtn->setDefault(true);
  ExitBtn = new QPushButton(QStringLiteral("Exit"), this);

  auto* heading = new QHBoxLayout;
  heading->addWidget(SmallImage);
  auto* names = new QVBoxLayout;
  names->addWidget(NameLabel);
  names->addWidget(SloganLabel);
  heading->addLayout(names, 1);

  auto* text = new QVBoxLayout;
  text->addLayout(heading);
  text->addSpacing(12);
  text->addWidget(ContactCaption);
  text->addWidget(WebLabel);
  text->addWidget(EmailLabel);
  text->addSpacing(12);
  text->addWidget(MailingListCaption);
  text->addWidget(MailingListText);
  text->addStretch();

  auto* body = new QHBoxLayout;
  body->addWidget(LargeImage);
  body->addSpacing(12);
  body->addLayout(text, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SupportBtn);
  buttons->addWidget(MailingListBtn);
  buttons->addWidget(OtherProductsBtn);
  buttons->addStretch();
  buttons->addWidget(ExitBtn);
  buttons->addWidget(ContinueBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setMinimumWidth(560);

  connect(ContinueBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ExitBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TBaseAboutForm::~TBaseAboutForm() = default;

void TBaseAboutForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  LoadPictures();
}

void TBaseAboutForm::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QLinearGradient gradient(rect().topLeft(), rect().bottomLeft());
  gradient.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
  gradient.setColorAt(1.0, QColor(0xB8, 0xCC, 0xE8));
  painter.fillRect(rect(), gradient);
  QDialog::paintEvent(event);
}

void TBaseAboutForm::LoadPictures() {
  PictureProblems.clear();
  LoadPicture(SmallPicturePath, SmallImage);
  LoadPicture(LargePicturePath, LargeImage);
}

bool TBaseAboutForm::LoadPicture(const QString& path, TClickLabel* target) {
  QString error;
  const QImage image = LoadJpegFile(path, &error);
  if (image.isNull()) {
    target->clear();
    PictureProblems << error;
    UtilsClass::Trace(QStringLiteral("About picture not shown: ") + error);
    // A missing file is the user's to know about; a damaged one only traced,
    // since the box is just as useful without it.
    if (error.startsWith(QStringLiteral("File does not exist: "))) {
      UserMessages().ShowMessage(error);
    }
    return false;
  }
  target->setPixmap(QPixmap::fromImage(image));
  return true;
}
