#include "TTSFixture.h"

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

}  // namespace
