#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class TClickLabel;

// The maker's about box: a gradient background, a small and a large picture,
// the product name, a slogan, contact links and a row of buttons. Products
// fill in the texts and addresses.
class TBaseAboutForm : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TBaseAboutForm)

 public:
  explicit TBaseAboutForm(QWidget* parent = nullptr);
  ~TBaseAboutForm() override;

  // Full paths of the pictures, read each time the box is shown.
  QString SmallPicturePath;
  QString LargePicturePath;
  // Pictures that could not be shown at the last showing, with the reason.
  QStringList PictureProblems;

  TClickLabel* SmallImage;
  TClickLabel* LargeImage;
  QLabel* NameLabel;
  QLabel* SloganLabel;
  QLabel* ContactCaption;
  TClickLabel* WebLabel;
  TClickLabel* EmailLabel;
  QLabel* MailingListCaption;
  QLabel* MailingListText;
  QPushButton* SupportBtn;
  QPushButton* MailingListBtn;
  QPushButton* OtherProductsBtn;
  QPushButton* ContinueBtn;
  QPushButton* ExitBtn;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void LoadPictures();
  bool LoadPicture(const QString& path, TClickLabel* target);
};
