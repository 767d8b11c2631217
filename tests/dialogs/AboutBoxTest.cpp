#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "AppPaths.h"
#include "BaseUtils.h"
#include "ClickLabel.h"
#include "JpegImage.h"
#include "MessageRecorder.h"
#include "TestEnvironment.h"
#include "VerbaluneAboutUnit.h"

namespace {

QByteArray ShippedPicture(const char* name) {
  return ReadWholeFile(AppPaths::SharedFile(QString::fromLatin1(name)));
}

// A valid JPEG made by Qt, for the damage cases.
QByteArray SmallJpeg() {
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG");
  return bytes;
}

int ShowAndClose(QDialog& dialog) {
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
  return dialog.exec();
}

}  // namespace

TEST(Jpeg, ShippedPicturesDecode) {
  QString error;
  const QImage small = DecodeJpeg(ShippedPicture("small.jpg"), &error);
  EXPECT_FALSE(small.isNull()) << error.toStdString();
  EXPECT_EQ(small.size(), QSize(64, 64));
  const QImage large = DecodeJpeg(ShippedPicture("large.jpg"), &error);
  EXPECT_FALSE(large.isNull()) << error.toStdString();
  EXPECT_EQ(large.size(), QSize(160, 240));
}

TEST(Jpeg, DamagedOrHostileDataGivesNoPictureAndAReason) {
  const QByteArray good = SmallJpeg();
  ASSERT_FALSE(DecodeJpeg(good).isNull());
  QByteArray huge = good;
  // The SOF0 frame header holds the height and width right after its length
  // and precision bytes.
  const int sof = static_cast<int>(huge.indexOf(QByteArray("\xFF\xC0", 2)));
  ASSERT_GT(sof, 0);
  huge[sof + 5] = '\x7F';
  huge[sof + 6] = '\xFF';
  const struct {
    const char* Name;
    QByteArray Data;
  } cases[] = {
      {"empty", QByteArray()},
      {"not a jpeg", QByteArray("GIF89a this is no jpeg at all")},
      {"only the start marker", QByteArray("\xFF\xD8", 2)},
      {"header only", good.left(sof + 4)},
      {"huge dimensions", huge},
  };
  for (const auto& c : cases) {
    QString error;
    EXPECT_TRUE(DecodeJpeg(c.Data, &error).isNull()) << c.Name;
    EXPECT_FALSE(error.isEmpty()) << c.Name;
  }
  // A picture without its end marker still gives what was decoded.
  QString error;
  const QImage cut = DecodeJpeg(good.left(good.size() - 2), &error);
  EXPECT_EQ(cut.size(), QSize(20, 10));
}

TEST(Jpeg, MissingFileIsNamed) {
  QString error;
  EXPECT_TRUE(LoadJpegFile(QStringLiteral("/nonexistent/small.jpg"), &error).isNull());
  EXPECT_EQ(error, QStringLiteral("File does not exist: /nonexistent/small.jpg"));
}

TEST(AboutBox, ShowsTheVersionAndOpensTheMakersPages) {
  TMessageRecorder messages;
  QStringList opened;
  UtilsClass::SetShellHandler([&opened](const QString& target) {
    opened << target;
    return true;
  });
  TVerbaluneAboutForm about(QStringLiteral("1.21"));
  EXPECT_EQ(about.windowTitle(), QStringLiteral("Verbalune MP3"));
  EXPECT_EQ(about.NameLabel->text(), QStringLiteral("Verbalune MP3   Version: 1.21"));
  EXPECT_EQ(about.SloganLabel->text(), QStringLiteral("See it.  Hear it.  MP3 it."));
  ShowAndClose(about);
  EXPECT_TRUE(messages.All.isEmpty());
  EXPECT_FALSE(about.LargeImage->pixmap().isNull());
  EXPECT_FALSE(about.SmallImage->pixmap().isNull());
  EXPECT_TRUE(about.ExitBtn->isHidden());

  about.SupportBtn->click();
  about.MailingListBtn->click();
  about.OtherProductsBtn->click();
  emit about.LargeImage->Clicked();
  emit about.EmailLabel->Clicked();
  UtilsClass::SetShellHandler(nullptr);
  EXPECT_EQ(opened, (QStringList{QStringLiteral("https://www.verbalune.example/support.html"),
                                 QStringLiteral("https://www.verbalune.example/mailinglist.html"),
                                 QStringLiteral("https://www.verbalune.example/products.html"),
                                 QStringLiteral("https://www.verbalune.example/"),
                                 QStringLiteral("mailto:support@verbalune.example")}));
}

TEST(AboutBox, EachMissingPictureIsReportedOnceAndTheBoxStillOpens) {
  QTemporaryDir share;
  ASSERT_TRUE(QFile::copy(AppPaths::SharedFile(QStringLiteral("large.jpg")),
                          share.filePath(QStringLiteral("large.jpg"))));
  AppPaths::SetShareDir(share.path());
  TMessageRecorder messages;
  TVerbaluneAboutForm about(QStringLiteral("1.21"));
  EXPECT_EQ(ShowAndClose(about), QDialog::Accepted);
  AppPaths::SetShareDir(QString());
  EXPECT_EQ(messages.Messages, QStringList{QStringLiteral("File does not exist: ") +
                                           share.filePath(QStringLiteral("small.jpg"))});
  EXPECT_TRUE(about.SmallImage->pixmap().isNull());
  EXPECT_FALSE(about.LargeImage->pixmap().isNull());
}
