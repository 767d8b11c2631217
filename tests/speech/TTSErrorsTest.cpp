#include "TTSFixture.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace {

using TTSErrors = TTSFixture;

// Engine failures become the component's texts, by operation.
TEST_F(TTSErrors, EngineFailuresAreTranslatedForTheOperation) {
  struct TCase {
    QString Call;
    HRESULT Result;
    QString Message;
  };
  const QList<TCase> cases = {
      {QStringLiteral("TextData"), E_NOTIMPL,
       QStringLiteral(
           "Speak method failed.  csText is not implemented in the Acme Scripted engine")},
      {QStringLiteral("TextData"), TTSERR_NOTSUPPORTED,
       QStringLiteral(
           "Speak method failed.  csText is not implemented in the Acme Scripted engine")},
      {QStringLiteral("TextData"), TTSERR_DISKERROR,
       QStringLiteral("There was an error in disk access, or there is not enough disk space free. "
                      "If you are low on disk space, try deleting some files to free up "
                      "space.\r\nOLE error 80040205")},
      {QStringLiteral("TextData"), MakeHResult(0x80040801u),
       QStringLiteral("Lexicon error - Invalid Text Character")},
      {QStringLiteral("TextData"), MakeHResult(0x00040806u),
       QStringLiteral("Lexicon error - Lexicon already in dictionary")},
      {QStringLiteral("Inject"), E_NOTIMPL,
       QStringLiteral("The Inject function is not implemented in the Acme Scripted engine")},
      {QStringLiteral("LexiconDlg"), MakeHResult(0x80040808u),
       QStringLiteral("Lexicon error - Engine info buffer to small")},
      {QStringLiteral("LexiconDlg"), E_FAIL,
       QStringLiteral("Unspecified error\r\nOLE error 80004005")},
      {QStringLiteral("PitchSet"), E_FAIL,
       QStringLiteral("Unspecified error\r\nOLE error 80004005")},
  };
  TTTS tts;
  tts.SetActive(true);
  for (const TCase& c : cases) {
    Engine->ClearFailures();
    Engine->FailCall(c.Call, c.Result);
    const QString message = ErrorOf([&] {
      if (c.Call == u"TextData") {
        tts.Speak(QStringLiteral("x"));
      } else if (c.Call == u"Inject") {
        tts.Inject(QStringLiteral("\\Pit=5\\"));
      } else if (c.Call == u"LexiconDlg") {
        tts.ShowLexiconDlg(nullptr, nullptr);
      } else {
        tts.SetPitch(5);
      }
    });
    EXPECT_EQ(message, c.Message) << c.Call.toStdString();
  }
}

TEST_F(TTSErrors, DialogsOfTheEngineAndUnknownDialogNames) {
  TTTS tts;
  tts.SetActive(true);
  // The engine has no lexicon dialog of its own.
  EXPECT_EQ(ErrorOf([&] { tts.ShowLexiconDlg(nullptr, nullptr); }),
            QStringLiteral("The ShowLexiconDlg function is not implemented in the Acme Scripted "
                           "engine"));
  EXPECT_EQ(ErrorOf([&] { tts.ShowDlg(QStringLiteral("Xyz"), nullptr, nullptr); }), QString());
}

TEST_F(TTSErrors, FailuresAreSwallowedWhileStoredPropertiesLoad) {
  TTTS tts;
  tts.SetActive(true);
  Engine->FailCall(QStringLiteral("TextData"), E_FAIL);
  tts.BeginLoading();
  tts.Speak(QStringLiteral("x"));
  tts.SetCharacterSet(csEnginePhonetic);
  tts.EndLoading();
  EXPECT_EQ(tts.CharacterSet(), csText);
  EXPECT_THROW(tts.Speak(QStringLiteral("x")), ESpeechError);
}

TEST_F(TTSErrors, MessagesWithoutAnEngineTextUseTheSystemsAndTheCode) {
  EXPECT_EQ(ESpeechError(AUDERR_BADDEVICEID).Message(),
            QStringLiteral("The program has selected an audio device that does not exist.\r\nOLE "
                           "error 80040301"));
  EXPECT_EQ(ESpeechError(REGDB_E_CLASSNOTREG).Message(),
            QStringLiteral("Class not registered\r\nOLE error 80040154"));
  EXPECT_EQ(ESpeechError(MakeHResult(0x8004abcdu)).ErrorCode(), MakeHResult(0x8004abcdu));
  EXPECT_EQ(ESpeechError(MakeHResult(0x8004abcdu)).Message(),
            QStringLiteral("Unknown error\r\nOLE error 8004ABCD"));
  EXPECT_TRUE(ESpeechError(MakeHResult(0x0000000au)).Message().endsWith(u"OLE error 0000000A"));
}

// A file that cannot be made names itself and the system's reason after the
// code, whatever the folder or name was wrong with.
TEST_F(TTSErrors, FilesThatCannotBeMadeNameThePathAndTheReason) {
  QFile plain(Dir.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const QString locked = Dir.filePath(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkpath(locked));
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
  struct TCase {
    QString Path;
    int Errno;
  };
  QList<TCase> cases = {
      {Dir.filePath(QStringLiteral("gone/a.wav")), ENOENT},
      {Dir.filePath(QStringLiteral("plain/a.wav")), ENOTDIR},
      // Longer than a file name may be: a long first line of a copied text.
      {Dir.filePath(QString(252, u'T') + QStringLiteral(".wav")), ENAMETOOLONG},
  };
  if (geteuid() != 0) {  // permissions do not hold back root
    cases.append({locked + QStringLiteral("/a.wav"), EACCES});
  }
  for (const TCase& c : cases) {
    TTTS tts;
    tts.OutputDest = odFile;
    tts.SetOutputFile(c.Path);
    const QString message = ErrorOf([&] { tts.SetActive(true); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("There was an error in disk access")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("\r\nOLE error 80040205\r\nCannot create file \"") +
                                 c.Path + QStringLiteral("\": ") +
                                 QString::fromLocal8Bit(std::strerror(c.Errno))))
        << message.toStdString();
    EXPECT_FALSE(tts.Active());
  }
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // A cause is told once, and only with the code it was left for.
  EXPECT_EQ(ESpeechError(TTSERR_DISKERROR).Message().count(u'\n'), 1);
}

}  // namespace
