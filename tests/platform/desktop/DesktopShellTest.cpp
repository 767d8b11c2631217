#include <gtest/gtest.h>

#include "DesktopShell.h"

TEST(DesktopShell, TargetsBecomeAddressesOrLocalFiles) {
  struct {
    const char* Target;
    const char* Scheme;
    const char* Path;
  } const cases[] = {
      {"https://www.verbalune.example/support.html", "https", "/support.html"},
      {"mailto:?Subject=Verbalune MP3&Body=It's here", "mailto", ""},
      {"/usr/share/verbalune/help/index.html", "file", "/usr/share/verbalune/help/index.html"},
      {"/tmp//odd/../help.html", "file", "/tmp/help.html"},
  };
  for (const auto& c : cases) {
    const QUrl url = ShellTargetUrl(QString::fromUtf8(c.Target));
    EXPECT_TRUE(url.isValid()) << c.Target;
    EXPECT_EQ(url.scheme(), QString::fromUtf8(c.Scheme)) << c.Target;
    if (url.scheme() != QStringLiteral("mailto")) {
      EXPECT_EQ(url.path(), QString::fromUtf8(c.Path)) << c.Target;
    }
  }
  // A mail link keeps its query text, blanks included.
  const QUrl mail = ShellTargetUrl(QStringLiteral("mailto:?Subject=Verbalune MP3&Body=a b"));
  EXPECT_TRUE(mail.toString().contains(QStringLiteral("Subject=Verbalune")));
}
