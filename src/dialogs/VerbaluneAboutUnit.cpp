#include "VerbaluneAboutUnit.h"

#include <QLabel>
#include <QPushButton>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "ClickLabel.h"
#include "MakerSite.h"

QString TVerbaluneAboutForm::NameText(const QString& version) {
  QString text = QStringLiteral("Verbalune MP3   Version: XX");
  text.truncate(text.indexOf(QStringLiteral("XX")));
  return text + version;
}

TVerbaluneAboutForm::TVerbaluneAboutForm(const QString& version, QWidget* parent)
    : TBaseAboutForm(parent) {
  setObjectName(QStringLiteral("VerbaluneAboutForm"));
  setWindowTitle(QStringLiteral("Verbalune MP3"));
  SmallPicturePath = AppPaths::SharedFile(QStringLiteral("small.jpg"));
  LargePicturePath = AppPaths::SharedFile(QStringLiteral("large.jpg"));

  NameLabel->setText(NameText(version));
  SloganLabel->setText(QStringLiteral("See it.  Hear it.  MP3 it."));
  ContactCaption->setText(QStringLiteral("Support and Contact Information:"));
  WebLabel->setText(MakerSite::SupportPage());
  EmailLabel->setText(MakerSite::SupportAddress);
  MailingListCaption->setText(QStringLiteral("Join our Mailing List"));
  MailingListText->setText(
      QStringLiteral("Hear about new voices and new versions first: press \"Mailing List\" to "
                     "join at ") +
      MakerSite::MailingListPage());
  ExitBtn->hide();

  const auto open = [](const QString& target) {
    return [target] { UtilsClass::OpenLink(target); };
  };
  connect(SupportBtn, &QPushButton::clicked, this, open(MakerSite::SupportPage()));
  connect(WebLabel, &TClickLabel::Clicked, this, open(MakerSite::SupportPage()));
  connect(MailingListBtn, &QPushButton::clicked, this, open(MakerSite::MailingListPage()));
  connect(OtherProductsBtn, &QPushButton::clicked, this, open(MakerSite::ProductsPage()));
  connect(SmallImage, &TClickLabel::Clicked, this, open(MakerSite::HomePage()));
  connect(LargeImage, &TClickLabel::Clicked, this, open(MakerSite::HomePage()));
  connect(EmailLabel, &TClickLabel::Clicked, this,
          open(QStringLiteral("mailto:") + MakerSite::SupportAddress));
}

TVerbaluneAboutForm::~TVerbaluneAboutForm() = default;
