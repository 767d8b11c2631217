// The reading run through the main window's commands, with scripted voices:
// reading aloud, to WAV and MP3 files, pause, skip, stop and selections.
#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QUrl>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "BaseUtils.h"
#include "FileSizeLimit.h"
#include "Mp3Inspect.h"
#include "ReadingTestSupport.h"
#include "SampleDocuments.h"
#include "WaveFileReader.h"

namespace {

class ReadingRun : public ::testing::Test {
 protected:
  TTempFolders Folders;
  TMessageRecorder Messages;
};

const QList<TArticleSpec> kThree = {
    {QStringLiteral("First"), QStringLiteral("one two three")},
    {QStringLiteral("Second"), QStringLiteral("four five six seven")},
    {QStringLiteral("Third"), QStringLiteral("eight nine")},
};

void OneWaveFilePerArticle(TPreferences& p) {
  p.OUT_FileDest = rdMultipleFiles;
  p.OUT_FileFormat = 0;
}

void OneMp3FilePerArticle(TPreferences& p) {
  p.OUT_FileDest = rdMultipleFiles;
  p.OUT_FileFormat = 1;
  p.BitRate = 32;
}

struct TWaveInfo {
  int Rate = 0;
  qint64 Frames = 0;
  // Sign changes per second over the sounding samples: twice the tone.
  double Crossings = 0;
};

TWaveInfo ReadWave(const QString& path) {
  TWaveInfo info;
  TWaveFileReader reader;
  reader.Open(path);
  info.Rate = static_cast<int>(reader.Format().SamplesPerSec);
  QByteArray data(static_cast<int>(reader.DataSize()), '\0');
  data.resize(static_cast<int>(reader.Read(data.data(), data.size())));
  const auto* samples = reinterpret_cast<const qint16*>(data.constData());
  info.Frames = data.size() / 2;
  qint64 sounding = 0;
  qint64 crossings = 0;
  for (qint64 i = 1; i < info.Frames; ++i) {
    if (samples[i] != 0 || samples[i - 1] != 0) {
      ++sounding;
      if ((samples[i] < 0) != (samples[i - 1] < 0)) {
        ++crossings;
      }
    }
  }
  info.Crossings = sounding > 0 ? crossings * double(info.Rate) / double(sounding) : 0;
  return info;
}

}  // namespace

TEST_F(ReadingRun, ReadAloudReadsEveryArticleInOrderAndEndsIdle) {
  TReadingRig::PrepareStart();
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  const QList<TMemoEntry*> articles = rig.AddArticles(kThree);
  rig.Form->PlayToolBtn->click();
  EXPECT_EQ(rig.Form->RunState, rsReading);
  EXPECT_FALSE(rig.Form->PlayToolBtn->isEnabled());
  EXPECT_TRUE(rig.Form->StopBtn->isEnabled());
  EXPECT_TRUE(rig.Form->SkipBtn->isEnabled());  // Multi-Article mode

  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Reading() == articles.at(1); }, 10000));
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("Article 2 of 3 : Second"));
  EXPECT_TRUE(articles.at(1)->Locked);
  EXPECT_FALSE(articles.at(0)->Locked);

  ASSERT_TRUE(rig.WaitIdle());
  const QString trace = TraceText();
  const qsizetype first = trace.indexOf(QStringLiteral("Article 1 of 3 : First"));
  const qsizetype second = trace.indexOf(QStringLiteral("Article 2 of 3 : Second"));
  const qsizetype third = trace.indexOf(QStringLiteral("Article 3 of 3 : Third"));
  EXPECT_TRUE(first >= 0 && first < second && second < third);
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("3 articles"));
  EXPECT_TRUE(rig.Form->PlayToolBtn->isEnabled());
  EXPECT_TRUE(rig.Form->PlayFileBtn->isEnabled());
  EXPECT_FALSE(rig.Form->PauseBtn->isEnabled());
  EXPECT_FALSE(rig.Form->SkipBtn->isEnabled());
  EXPECT_FALSE(rig.Form->StopBtn->isEnabled());
  EXPECT_TRUE(rig.Form->ProgressGauge->isHidden());
  for (const TMemoEntry* article : articles) {
    EXPECT_FALSE(article->Locked);
  }
  EXPECT_TRUE(rig.OutFiles().isEmpty());
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

TEST_F(ReadingRun, AutoDeleteRemovesEachArticleAndLeavesOneEmpty) {
  TReadingRig::PrepareStart([](TPreferences& p) { p.ML_AutoDelete = true; });
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  const QList<TMemoEntry*> articles = rig.AddArticles(kThree);
  rig.Form->PlayToolBtn->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Reading() == articles.at(2); }, 10000));
  EXPECT_EQ(rig.Form->Articles->VisibleCount(), 1);
  ASSERT_TRUE(rig.WaitIdle());
  ASSERT_EQ(rig.Form->Articles->VisibleCount(), 1);
  EXPECT_EQ(rig.Form->Articles->HiddenCount(), 0);
  EXPECT_TRUE(rig.Form->Articles->Entries().at(0)->EditorText().isEmpty());
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("No articles"));
  ASSERT_TRUE(rig.Form->Articles->WaitForExport());
  const QString saved = QString::fromUtf8(ReadWholeFile(TForm1::ExportFileName()));
  EXPECT_FALSE(saved.contains(QStringLiteral("eight")));
}

TEST_F(ReadingRun, MultipleWaveFilesAreNamedAfterTheTitles) {
  TReadingRig::PrepareStart(OneWaveFilePerArticle);
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  // A trailing slash on the folder still gives one slash before the name.
  Preferences->OUT_Directory = rig.OutDir + QStringLiteral("/");
  rig.AddArticles(kThree);
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  EXPECT_EQ(rig.OutFiles(), (QStringList{QStringLiteral("First.wav"), QStringLiteral("Second.wav"),
                                         QStringLiteral("Third.wav")}));
  EXPECT_EQ(rig.Form->WavePath, rig.Out(QStringLiteral("Third.wav")));
  // 50 ms per word at 22050 Hz.
  EXPECT_EQ(ReadWave(rig.Out(QStringLiteral("Second.wav"))).Rate, 22050);
  EXPECT_NEAR(double(ReadWave(rig.Out(QStringLiteral("Second.wav"))).Frames), 4 * 1102.5, 8);
  EXPECT_TRUE(ReadWholeFile(rig.Out(QStringLiteral("Second.wav")))
                  .contains(QByteArray("INAM\x07\0\0\0Second\0", 15)));
  // The status line offers the folder the files went to.
  EXPECT_FALSE(rig.Form->OpenFolderLabel->isHidden());
  EXPECT_EQ(rig.Form->OpenFolderLabel->toolTip(), QDir(rig.OutDir).absolutePath());
  // A picture of the status line to look at, when a folder is named for it.
  if (const QString shots = qEnvironmentVariable("VERBALUNE_SCREENSHOT_DIR"); !shots.isEmpty()) {
    EXPECT_TRUE(rig.Form->grab().save(QDir(shots).filePath(QStringLiteral("after-file-run.png"))));
  }
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
  // The link opens that folder; with no file manager to open it, the user
  // is told.
  QStringList opened;
  UtilsClass::SetShellHandler([&opened](const QString& target) {
    opened << target;
    return false;
  });
  emit rig.Form->OpenFolderLabel->linkActivated(QStringLiteral("folder"));
  UtilsClass::SetShellHandler(nullptr);
  EXPECT_EQ(opened, QStringList{QDir(rig.OutDir).absolutePath()});
  EXPECT_EQ(Messages.Messages, QStringList{QStringLiteral("Cannot open the folder ") +
                                           QDir(rig.OutDir).absolutePath()});
}

struct TMp3Case {
  int EngineRate;
  int BitRate;
};

class ReadingRunMp3 : public ReadingRun, public ::testing::WithParamInterface<TMp3Case> {};

TEST_P(ReadingRunMp3, MultipleMp3FilesLeaveNoTemporaryFiles) {
  const TMp3Case c = GetParam();
  TReadingRig::PrepareStart([&](TPreferences& p) {
    p.OUT_FileDest = rdMultipleFiles;
    p.OUT_FileFormat = 1;
    p.BitRate = c.BitRate;
  });
  TReadingRig rig(c.EngineRate);
  ASSERT_TRUE(rig.Ok);
  // Files of the user's with the names the program once used for its own.
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("temp.wav")), "user's"));
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("temp44.wav")), "user's"));
  const QList<TMemoEntry*> articles = rig.AddArticles(kThree);
  articles.at(0)->DocumentTitle = QStringLiteral("The Book");
  articles.at(0)->DocumentAuthor = QStringLiteral("Ann Author");
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  EXPECT_EQ(rig.AllOutFiles(),
            (QStringList{QStringLiteral("First.mp3"), QStringLiteral("Second.mp3"),
                         QStringLiteral("Third.mp3"), QStringLiteral("temp.wav"),
                         QStringLiteral("temp44.wav")}));
  EXPECT_EQ(ReadWholeFile(rig.Out(QStringLiteral("temp.wav"))), "user's");
  EXPECT_EQ(ReadWholeFile(rig.Out(QStringLiteral("temp44.wav"))), "user's");
  // An article from a document is tagged with it; typed text with the
  // program and the voice. Each file is a numbered track of the run.
  const TMp3Tags first = ReadMp3Tags(rig.Out(QStringLiteral("First.mp3")));
  const TMp3Tags second = ReadMp3Tags(rig.Out(QStringLiteral("Second.mp3")));
  EXPECT_EQ(first.Title, u"First");
  EXPECT_EQ(first.Album, u"The Book");
  EXPECT_EQ(first.Artist, u"Ann Author");
  EXPECT_EQ(first.Track, u"1/3");
  EXPECT_EQ(first.Genre, u"Speech");
  EXPECT_EQ(second.Title, u"Second");
  EXPECT_EQ(second.Album, u"Verbalune MP3");
  EXPECT_EQ(second.Artist, articles.at(1)->VoiceName());
  EXPECT_EQ(second.Track, u"2/3");
  const TMp3Stream stream = InspectMp3(ReadWholeFile(rig.Out(QStringLiteral("Second.mp3"))));
  EXPECT_TRUE(stream.Problem.isEmpty()) << stream.Problem.toStdString();
  EXPECT_EQ(stream.BitRate, c.BitRate);
  if (c.EngineRate < TargetSampleRate(c.BitRate)) {
    // Brought up to the bit rate's own rate before encoding.
    EXPECT_GT(stream.SampleRate, c.EngineRate);
  }
  const TDecodedMp3 decoded = DecodeMp3(rig.Out(QStringLiteral("Second.mp3")));
  ASSERT_TRUE(decoded.Ok);
  // Four words of 50 ms, and up to 0.1 s of the encoder's delay and padding.
  EXPECT_NEAR(double(decoded.Samples) / double(decoded.Rate), 0.25, 0.06);
  const QString trace = TraceText();
  EXPECT_TRUE(trace.contains(QStringLiteral("Deleting wav file ") +
                             rig.Out(QStringLiteral(".verbalune-"))));
  EXPECT_EQ(rig.Form->Mp3Path, rig.Out(QStringLiteral("Third.mp3")));
  EXPECT_EQ(trace.contains(QStringLiteral("Converting to MP3 format: Second.mp3")), true);
  EXPECT_TRUE(rig.Form->ProgressGauge->isHidden());
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rates, ReadingRunMp3,
                         ::testing::Values(TMp3Case{11025, 32}, TMp3Case{22050, 16},
                                           TMp3Case{44100, 64}));

TEST_F(ReadingRun, OneFileForAllArticlesIsSpokenWithTheFirstArticlesVoice) {
  TReadingRig::PrepareStart([](TPreferences& p) {
    p.OUT_FileDest = rdSingleFile;
    p.OUT_FileFormat = 0;
  });
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.Reader.Speech->FindVoice(QStringLiteral("Adam"))->Pitch = 80;   // 420 Hz tone
  rig.Reader.Speech->FindVoice(QStringLiteral("Linda"))->Pitch = 20;  // 180 Hz tone
  rig.AddArticles(
      {{QStringLiteral("Opening"), QStringLiteral("a b c"), QStringLiteral("Adam")},
       {QStringLiteral("Closing"), QStringLiteral("d e f g h"), QStringLiteral("Linda")}});
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  ASSERT_EQ(rig.OutFiles(), QStringList{QStringLiteral("Opening.wav")});
  const TWaveInfo wave = ReadWave(rig.Out(QStringLiteral("Opening.wav")));
  // Eight words of 40 ms and 10 ms of silence each.
  EXPECT_NEAR(double(wave.Frames), 8 * 0.05 * 22050, 16);
  EXPECT_NEAR(wave.Crossings, 2 * 420.0, 40.0);
}

TEST_F(ReadingRun, SkipDuringMultipleMp3FilesConvertsWhatWasSpokenAndGoesOn) {
  TReadingRig::PrepareStart(OneMp3FilePerArticle);
  TReadingRig rig(11025);
  ASSERT_TRUE(rig.Ok);
  const QList<TMemoEntry*> articles = rig.AddArticles(kThree);
  rig.Form->PlayFileBtn->click();
  ASSERT_EQ(rig.Reading(), articles.at(0));
  // Once the first word is in the file.
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Form->ProgressGauge->value() > 0; }, 10000));
  rig.Form->SkipBtn->click();
  EXPECT_TRUE(TraceText().contains(QStringLiteral("Skip")));
  ASSERT_TRUE(rig.WaitIdle());
  EXPECT_EQ(rig.OutFiles(), (QStringList{QStringLiteral("First.mp3"), QStringLiteral("Second.mp3"),
                                         QStringLiteral("Third.mp3")}));
  EXPECT_TRUE(InspectMp3(ReadWholeFile(rig.Out(QStringLiteral("First.mp3")))).Problem.isEmpty());
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

TEST_F(ReadingRun, StopDeletesThePartialWaveFileAndReadsNoFurtherArticle) {
  TReadingRig::PrepareStart(OneWaveFilePerArticle);
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles(kThree);
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(QFileInfo::exists(rig.Out(QStringLiteral("First.wav"))));
  rig.Form->StopBtn->click();
  EXPECT_EQ(rig.Form->RunState, rsIdle);
  // Longer than the controller's end-of-speech delay.
  QTest::qWait(900);
  EXPECT_EQ(rig.Form->RunState, rsIdle);
  EXPECT_TRUE(rig.OutFiles().isEmpty()) << rig.OutFiles().join(u',').toStdString();
  EXPECT_FALSE(TraceText().contains(QStringLiteral("Article 2 of 3")));
  EXPECT_TRUE(TraceText().contains(QStringLiteral("Abort")));
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("3 articles"));
}

TEST_F(ReadingRun, StopWhileReadingAloudDeletesNoFileOfAnEarlierFileRun) {
  TReadingRig::PrepareStart(OneWaveFilePerArticle);
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles(kThree);
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  ASSERT_EQ(rig.Form->WavePath, rig.Out(QStringLiteral("Third.wav")));

  rig.Form->PlayToolBtn->click();
  ASSERT_EQ(rig.Form->RunState, rsReading);
  rig.Form->StopBtn->click();
  QTest::qWait(900);
  EXPECT_EQ(rig.OutFiles().size(), 3);
  EXPECT_FALSE(TraceText().contains(QStringLiteral("Delete Failed")));
}

TEST_F(ReadingRun, PauseTurnsTheCaptionsAndStopTurnsThemBack) {
  TReadingRig::PrepareStart();
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles(kThree);
  rig.Form->PlayToolBtn->click();
  rig.Form->PauseBtn->click();
  EXPECT_EQ(rig.Form->RunState, rsPaused);
  EXPECT_EQ(rig.Form->PauseMItm->text(), QStringLiteral("&Resume"));
  EXPECT_EQ(rig.Form->PauseBtn->text(), QStringLiteral("Resume"));
  EXPECT_EQ(rig.Form->PausePoNtry->text(), QStringLiteral("Resume"));
  EXPECT_EQ(rig.Form->StatusPanel1->text(), QStringLiteral("Pause"));
  EXPECT_FALSE(rig.Form->SkipBtn->isEnabled());
  EXPECT_TRUE(rig.Form->StopBtn->isEnabled());
  // Paused speech never ends by itself.
  QTest::qWait(700);
  EXPECT_EQ(rig.Form->RunState, rsPaused);

  rig.Form->PauseMItm->trigger();
  EXPECT_EQ(rig.Form->RunState, rsReading);
  EXPECT_EQ(rig.Form->PauseBtn->text(), QStringLiteral("Pause"));
  EXPECT_TRUE(rig.Form->StatusPanel1->text().isEmpty());
  rig.Form->PauseBtn->click();
  rig.Form->StopMItm->trigger();
  EXPECT_EQ(rig.Form->RunState, rsIdle);
  EXPECT_EQ(rig.Form->PauseMItm->text(), QStringLiteral("&Pause"));
  EXPECT_EQ(rig.Form->PauseBtn->text(), QStringLiteral("Pause"));
  EXPECT_EQ(rig.Form->PausePoNtry->text(), QStringLiteral("Pause"));
  const QString trace = TraceText();
  EXPECT_TRUE(trace.indexOf(QStringLiteral("Pause")) < trace.indexOf(QStringLiteral("Resume")));

  // A reading that replaces a paused one: the captions follow, and the
  // next Pause pauses.
  rig.Form->PlayToolBtn->click();
  rig.Form->PauseBtn->click();
  ASSERT_EQ(rig.Form->RunState, rsPaused);
  rig.Commands->ArticleReadClick(rig.Form->Articles->Entries().at(1));
  EXPECT_EQ(rig.Form->RunState, rsReading);
  EXPECT_EQ(rig.Form->PauseBtn->text(), QStringLiteral("Pause"));
  EXPECT_EQ(rig.Form->PauseMItm->text(), QStringLiteral("&Pause"));
  EXPECT_EQ(rig.Form->PausePoNtry->text(), QStringLiteral("Pause"));
  EXPECT_TRUE(rig.Form->StatusPanel1->text().trimmed().isEmpty());
  rig.Form->PauseBtn->click();
  EXPECT_EQ(rig.Form->RunState, rsPaused);
  rig.Form->StopBtn->click();
}

// What the spoken-word highlight visits: the caret and selection after each
// word position.
class TVisits : public QObject {
 public:
  explicit TVisits(TArticleEditor* editor) {
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this, editor] {
      const QTextCursor cursor = editor->textCursor();
      Positions << cursor.selectionStart();
      if (cursor.hasSelection()) {
        Words << cursor.selectedText();
      }
    });
  }
  QList<int> Positions;
  QStringList Words;
};

TEST_F(ReadingRun, HighlightSelectsEachSpokenWordOrOnlyMovesTheCaret) {
  for (const bool highlight : {true, false}) {
    TReadingRig::PrepareStart([&](TPreferences& p) { p.TTS_HighlightPosition = highlight; });
    TReadingRig rig;
    ASSERT_TRUE(rig.Ok);
    TMemoEntry* article =
        rig.AddArticles({{QStringLiteral("T"), QStringLiteral("one two\nthree")}}).at(0);
    article->Editor->SetSelStart(13);
    TVisits visits(article->Editor);
    QList<int> progress;
    QObject::connect(rig.Form->ProgressGauge, &QProgressBar::valueChanged,
                     [&](int value) { progress << value; });
    rig.Form->PlayToolBtn->click();
    EXPECT_EQ(rig.Form->ProgressGauge->maximum(), 13);
    EXPECT_FALSE(rig.Form->ProgressGauge->isHidden());
    ASSERT_TRUE(rig.WaitIdle());
    EXPECT_EQ(visits.Positions, (QList<int>{0, 4, 8})) << highlight;
    EXPECT_EQ(visits.Words, highlight ? (QStringList{QStringLiteral("one"), QStringLiteral("two"),
                                                     QStringLiteral("three")})
                                      : QStringList());
    // The end of each word, the last one the whole range.
    EXPECT_EQ(progress.mid(progress.indexOf(4)), (QList<int>{4, 8, 13, 0}));
  }
}

struct TSelectionCase {
  const char* Name;
  int Anchor;
  int Position;
  int ReadStart;
  int Range;
};

TEST_F(ReadingRun, SelectionsReadTheSameCharactersWhicheverWayTheyWereMade) {
  const TSelectionCase cases[] = {
      {"forward from the first character", 0, 7, 0, 7},
      {"backward to the first character", 7, 0, 0, 7},
      {"forward in the middle", 4, 13, 4, 9},
      {"backward in the middle", 13, 4, 4, 9},
  };
  TReadingRig::PrepareStart([](TPreferences& p) { p.TTS_HighlightPosition = true; });
  TReadingRig rig(22050, false);
  ASSERT_TRUE(rig.Ok);
  TMemoEntry* article =
      rig.AddArticles({{QStringLiteral("T"), QStringLiteral("one two three four")}}).at(0);
  for (const TSelectionCase& c : cases) {
    QTextCursor cursor = article->Editor->textCursor();
    cursor.setPosition(c.Anchor);
    cursor.setPosition(c.Position, QTextCursor::KeepAnchor);
    article->Editor->setTextCursor(cursor);
    TVisits visits(article->Editor);
    rig.Form->ReadHighlighted1->trigger();
    EXPECT_EQ(rig.Form->ReadStart, c.ReadStart) << c.Name;
    EXPECT_EQ(rig.Form->ProgressGauge->maximum(), c.Range) << c.Name;
    ASSERT_TRUE(rig.WaitIdle()) << c.Name;
    EXPECT_EQ(visits.Words.join(u' '), article->EditorText().mid(c.ReadStart, c.Range).trimmed())
        << c.Name;
  }
  // From the caret to the end; a caret at the start reads everything.
  for (const int caret : {5, 0}) {
    article->Editor->SetSelStart(caret);
    rig.Form->ReadfromCursor1->trigger();
    EXPECT_EQ(rig.Form->ReadStart, caret);
    EXPECT_EQ(rig.Form->ProgressGauge->maximum(), 18 - caret);
    ASSERT_TRUE(rig.WaitIdle());
  }
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

TEST_F(ReadingRun, FileNamesKeepTheTitlesAndOneRunNeverOverwritesItsOwnFiles) {
  TReadingRig::PrepareStart(OneWaveFilePerArticle);
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  // A file from before the run is replaced, as always.
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("Same.wav")), "old"));
  const QList<TMemoEntry*> articles = rig.AddArticles(
      {{QStringLiteral("My Chapter One"), QStringLiteral("a b")},
       {QStringLiteral("Caf\u00e9 \u0413\u043b\u0430\u0432\u0430"), QStringLiteral("c d")},
       {QStringLiteral("../../Escape"), QStringLiteral("e f")},
       {QStringLiteral("./.."), QStringLiteral("g h")},
       {QStringLiteral("Same"), QStringLiteral("i j")},
       {QStringLiteral("Same"), QStringLiteral("k l m")},
       {QStringLiteral("Same"), QStringLiteral("n")}});
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  QStringList expected{QStringLiteral("Article 4.wav"),
                       QStringLiteral("Caf\u00e9 \u0413\u043b\u0430\u0432\u0430.wav"),
                       QStringLiteral("Escape.wav"),
                       QStringLiteral("My Chapter One.wav"),
                       QStringLiteral("Same (2).wav"),
                       QStringLiteral("Same (3).wav"),
                       QStringLiteral("Same.wav")};
  expected.sort();
  QStringList written = rig.AllOutFiles();
  written.sort();
  EXPECT_EQ(written, expected);
  // Each article's own speech under its name: two, three and one words.
  EXPECT_LT(ReadWave(rig.Out(QStringLiteral("Same.wav"))).Frames,
            ReadWave(rig.Out(QStringLiteral("Same (2).wav"))).Frames);
  EXPECT_GT(ReadWave(rig.Out(QStringLiteral("Same (2).wav"))).Frames,
            ReadWave(rig.Out(QStringLiteral("Same (3).wav"))).Frames);
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();

  articles.at(1)->SetTitle(QStringLiteral("  "));
  rig.Form->PlayFileBtn->click();
  ASSERT_EQ(Messages.Messages.size(), 1);
  EXPECT_EQ(Messages.Messages.at(0),
            QStringLiteral("A title is required for each item entry when\routputting to "
                           "multiple files"));
  EXPECT_EQ(rig.Form->Articles->CurrentEntry(), articles.at(1));
  rig.Commands->ArticleReadToFileClick(articles.at(1));
  ASSERT_EQ(Messages.Messages.size(), 2);
  EXPECT_TRUE(Messages.Messages.at(1).startsWith(
      QStringLiteral("A title is required to output speech to a file\r\r")));
  EXPECT_EQ(rig.Form->RunState, rsIdle);
}

TEST_F(ReadingRun, ReadToFileWithoutAnOutputFolderShowsTheFileOptions) {
  TReadingRig::PrepareStart();
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles(kThree);
  Preferences->OUT_Directory = rig.Out(QStringLiteral("missing"));
  rig.Form->PlayFileBtn->click();
  EXPECT_EQ(rig.Form->RunState, rsIdle);
  EXPECT_EQ(Messages.Messages, QStringList{QStringLiteral("File Output Directory is invalid")});
  EXPECT_EQ(rig.Form->PageControl1->currentWidget(), rig.Form->TabSheet2);
  EXPECT_TRUE(Preferences->ShowOptions);
}

TEST_F(ReadingRun, OpeningTextFilesAddsArticlesTitledAfterTheFiles) {
  TReadingRig::PrepareStart();
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  QStringList files;
  for (const char* name : {"alpha.txt", "beta.notes.txt", "gamma"}) {
    const QString path = rig.Out(QString::fromLatin1(name));
    ASSERT_TRUE(WriteWholeFile(path, QByteArray("text of ") + name));
    files << path;
  }
  // A picture opened by mistake adds nothing and says why.
  const QString picture = rig.Out(QStringLiteral("picture.png"));
  ASSERT_TRUE(WriteWholeFile(
      picture, QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01", 20) + QByteArray(64, '\x01')));
  // A book gives an article per chapter; a damaged one a message and none.
  const QByteArray book = MakeEpub(QStringLiteral("A Book"), QStringLiteral("Ann Author"),
                                   {{QStringLiteral("1.xhtml"), QStringLiteral("Opening"),
                                     XhtmlPage(QString(), {QStringLiteral("First chapter.")})},
                                    {QStringLiteral("2.xhtml"), QStringLiteral("Closing"),
                                     XhtmlPage(QString(), {QStringLiteral("Last chapter.")})}},
                                   true);
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("book.epub")), book));
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("cut.epub")), book.left(book.size() / 2)));
  files << rig.Out(QStringLiteral("cut.epub")) << rig.Out(QStringLiteral("book.epub"));
  rig.Commands->ChooseTextFiles = [&](bool multiple, const QString&) {
    EXPECT_TRUE(multiple);
    return QStringList(files) << picture;
  };
  rig.Form->ReadFileBtn->click();
  TMemoListBox* list = rig.Form->Articles;
  ASSERT_EQ(list->VisibleCount(), 5);
  const QStringList titles = {QStringLiteral("alpha"), QStringLiteral("beta"),
                              QStringLiteral("gamma"), QStringLiteral("Opening"),
                              QStringLiteral("Closing")};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(list->Entries().at(i)->Title(), titles.at(i));
    EXPECT_TRUE(list->Entries().at(i)->EditorText().startsWith(i < 3 ? QStringLiteral("text of ")
                                                                     : QString()));
  }
  EXPECT_EQ(list->Entries().at(4)->EditorText(), u"Last chapter.");
  EXPECT_EQ(list->Entries().at(4)->DocumentTitle, u"A Book");
  EXPECT_EQ(list->Entries().at(4)->DocumentAuthor, u"Ann Author");
  ASSERT_EQ(Messages.Messages.size(), 2);
  EXPECT_TRUE(Messages.Messages.at(0).startsWith(QStringLiteral("Error reading input file\r\r")));
  EXPECT_TRUE(Messages.Messages.at(0).endsWith(QStringLiteral("cut.epub")));
  EXPECT_EQ(Messages.Messages.at(1), picture + QStringLiteral(" is not a text file"));
  EXPECT_EQ(Preferences->OpenDlgInitialDir, rig.OutDir);
  ASSERT_TRUE(list->WaitForExport());
  EXPECT_TRUE(QString::fromUtf8(ReadWholeFile(TForm1::ExportFileName()))
                  .contains(QStringLiteral("text of gamma")));
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("5 articles"));

  // In Single-Article mode the file replaces the article on screen; the
  // articles made in Multi-Article mode stay and are counted.
  rig.Form->ToolButton1->click();
  rig.Commands->ChooseTextFiles = [&](bool multiple, const QString&) {
    EXPECT_FALSE(multiple);
    return files;
  };
  rig.Form->ReadFileBtn->click();
  ASSERT_EQ(list->VisibleCount(), 5);
  EXPECT_EQ(list->ShownArticle()->Title(), QStringLiteral("alpha"));
  EXPECT_EQ(list->ShownArticle()->EditorText(), QStringLiteral("text of alpha.txt"));
  EXPECT_EQ(rig.Form->StatusPanel0->text(), QStringLiteral("5 articles"));
  // The whole book in one article, titled after the book.
  files = QStringList{rig.Out(QStringLiteral("book.epub"))};
  rig.Form->ReadFileBtn->click();
  ASSERT_EQ(list->VisibleCount(), 5);
  EXPECT_EQ(list->ShownArticle()->Title(), QStringLiteral("A_Book"));
  EXPECT_EQ(list->ShownArticle()->EditorText(), u"First chapter.\n\nLast chapter.");

  // Files dropped on the text open as the Text File command opens them;
  // their addresses are not pasted into it, and a web address is no file.
  const QString dropped = rig.Out(QStringLiteral("dropped.txt"));
  ASSERT_TRUE(WriteWholeFile(dropped, "dropped text"));
  QMimeData mime;
  mime.setUrls(
      {QUrl(QStringLiteral("https://example.com/page.html")), QUrl::fromLocalFile(dropped)});
  QWidget* target = list->ShownArticle()->Editor->viewport();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  EXPECT_TRUE(QTest::qWaitFor([&] { return list->ShownArticle()->Title() == u"dropped"; }, 2000));
  EXPECT_EQ(list->ShownArticle()->EditorText(), u"dropped text");

  // Exit while a long PDF is read ends the reading at once: no article, no
  // message, no page read after it.
  QList<QStringList> pages;
  for (int i = 1; i <= 40; ++i) {
    pages << QStringList{QStringLiteral("Page text %1.").arg(i)};
  }
  files = QStringList{rig.Out(QStringLiteral("long.pdf"))};
  WritePdf(files.first(), QStringLiteral("Long"), pages);
  Messages.All.clear();
  int turns = 0;
  rig.Run->ProcessEvents = [&] {
    if (++turns == 1) {
      rig.Form->SetRunState(rsExiting);
    }
  };
  rig.Form->ReadFileBtn->click();
  rig.Run->ProcessEvents = [] {};
  // The turn that chose Exit and the one after the file; reading on would
  // take one every ten pages.
  EXPECT_LE(turns, 2);
  EXPECT_EQ(list->ShownArticle()->Title(), QStringLiteral("dropped"));
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
  rig.Form->SetRunState(rsIdle);
}

TEST_F(ReadingRun, SpeakTextReadsWithoutHighlightOrSkip) {
  TReadingRig::PrepareStart();
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles(kThree);
  rig.Commands->SpeakText(QStringLiteral("test words"), QStringLiteral("Linda"));
  EXPECT_EQ(rig.Form->RunState, rsReading);
  EXPECT_FALSE(rig.Form->SkipBtn->isEnabled());
  EXPECT_FALSE(rig.Form->SkipMItm->isEnabled());
  ASSERT_TRUE(rig.WaitIdle());
  EXPECT_TRUE(rig.Form->ProgressGauge->isHidden());

  rig.Commands->SpeakText(QStringLiteral("x"), QStringLiteral("Nobody"));
  EXPECT_EQ(rig.Form->RunState, rsIdle);
  EXPECT_EQ(Messages.Errors, QStringList{QStringLiteral("Voice Nobody does not exist")});
}

TEST_F(ReadingRun, AnArticleThatSpeaksNothingGivesNoMp3AndTheRunGoesOn) {
  TReadingRig::PrepareStart(OneMp3FilePerArticle);
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  rig.AddArticles({{QStringLiteral("Silent"), QStringLiteral("x")},
                   {QStringLiteral("Spoken"), QStringLiteral("a few words")}})
      .at(0)
      ->SetEditorText(QStringLiteral("   "));
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  EXPECT_EQ(rig.OutFiles(), QStringList{QStringLiteral("Spoken.mp3")});
  EXPECT_TRUE(TraceText().contains(QStringLiteral("Nothing was spoken into ")));
  EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
}

// A long article: 120 words, a few hundred kilobytes of wave.
QString LongText() {
  QStringList words;
  for (int i = 0; i < 120; ++i) {
    words << QStringLiteral("word%1").arg(i);
  }
  return words.join(u' ');
}

TEST_F(ReadingRun, AFileThatCannotBeWrittenStopsTheRunAndLeavesNothingThatLooksWhole) {
  for (const int format : {0, 1}) {
    TReadingRig::PrepareStart([&](TPreferences& p) {
      p.OUT_FileDest = rdMultipleFiles;
      p.OUT_FileFormat = format;
      p.BitRate = 32;
    });
    TReadingRig rig;
    ASSERT_TRUE(rig.Ok);
    Messages.All.clear();
    Messages.Errors.clear();
    rig.AddArticles(
        {{QStringLiteral("Long"), LongText()}, {QStringLiteral("Next"), QStringLiteral("a b")}});
    {
      // The disk is full after 64 KB.
      TFsizeLimit limit(65536);
      rig.Form->PlayFileBtn->click();
      ASSERT_TRUE(rig.WaitIdle()) << format;
    }
    const QString name = format == 0 ? QStringLiteral("Long.wav") : QStringLiteral("Long.mp3");
    ASSERT_EQ(Messages.Errors.size(), 1) << Messages.All.join(u'|').toStdString();
    EXPECT_TRUE(Messages.Errors.at(0).startsWith(QStringLiteral("Cannot write file \"") +
                                                 rig.Out(name) + u'"'))
        << Messages.Errors.at(0).toStdString();
    EXPECT_TRUE(Messages.Errors.at(0).contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << Messages.Errors.at(0).toStdString();
    EXPECT_TRUE(rig.AllOutFiles().isEmpty()) << rig.AllOutFiles().join(u',').toStdString();
    EXPECT_FALSE(TraceText().contains(QStringLiteral("Article 2 of 2")));
    EXPECT_TRUE(rig.Form->ProgressGauge->isHidden());
    for (const TMemoEntry* article : rig.Form->Articles->Entries()) {
      EXPECT_FALSE(article->Locked);
    }
  }
}

TEST_F(ReadingRun, AFailedEncodingKeepsTheSpeechAsTheArticlesWaveFile) {
  // A bit rate the encoder does not have.
  TReadingRig::PrepareStart([](TPreferences& p) {
    p.OUT_FileDest = rdMultipleFiles;
    p.OUT_FileFormat = 1;
    p.BitRate = 17;
  });
  TReadingRig rig;
  ASSERT_TRUE(rig.Ok);
  // The article's own .wav from before is not the user's to lose either.
  ASSERT_TRUE(WriteWholeFile(rig.Out(QStringLiteral("First.wav")), "user's"));
  rig.AddArticles(kThree);
  rig.Form->PlayFileBtn->click();
  ASSERT_TRUE(rig.WaitIdle());
  ASSERT_EQ(Messages.Errors.size(), 1) << Messages.Errors.join(u'|').toStdString();
  EXPECT_TRUE(Messages.Errors.at(0).startsWith(QStringLiteral("Error opening encoding stream")));
  EXPECT_TRUE(Messages.Errors.at(0).endsWith(QStringLiteral("\r\rThe speech was kept as ") +
                                             rig.Out(QStringLiteral("First (2).wav"))))
      << Messages.Errors.at(0).toStdString();
  EXPECT_EQ(rig.AllOutFiles(),
            (QStringList{QStringLiteral("First (2).wav"), QStringLiteral("First.wav")}));
  EXPECT_EQ(ReadWholeFile(rig.Out(QStringLiteral("First.wav"))), "user's");
  EXPECT_NEAR(double(ReadWave(rig.Out(QStringLiteral("First (2).wav"))).Frames), 3 * 1102.5, 8);
}

TEST_F(ReadingRun, AnArticlesOwnReadDuringAFileRunLeavesNoCutOffFile) {
  for (const int format : {0, 1}) {
    TReadingRig::PrepareStart([&](TPreferences& p) {
      p.OUT_FileDest = rdMultipleFiles;
      p.OUT_FileFormat = format;
      p.BitRate = 32;
    });
    TReadingRig rig;
    ASSERT_TRUE(rig.Ok);
    const QList<TMemoEntry*> articles = rig.AddArticles(
        {{QStringLiteral("Long"), LongText()}, {QStringLiteral("Short"), QStringLiteral("a b")}});
    rig.Form->PlayFileBtn->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Form->ProgressGauge->value() > 0; }, 10000));
    rig.Commands->ArticleReadClick(articles.at(1));
    ASSERT_TRUE(rig.WaitIdle()) << format;
    EXPECT_TRUE(rig.AllOutFiles().isEmpty()) << rig.AllOutFiles().join(u',').toStdString();
    EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
  }
}

TEST_F(ReadingRun, StopAndSkipEndAConversionAndRemoveItsFiles) {
  for (const bool skip : {false, true}) {
    TReadingRig::PrepareStart(OneMp3FilePerArticle);
    TReadingRig rig(11025);
    ASSERT_TRUE(rig.Ok);
    rig.AddArticles(
        {{QStringLiteral("Long"), LongText()}, {QStringLiteral("Next"), QStringLiteral("a b")}});
    // Pressed at the first chance the conversion gives the window.
    bool pressed = false;
    bool enabled = false;
    rig.Run->ProcessEvents = [&] {
      if (!pressed && rig.Form->RunState == rsConverting) {
        pressed = true;
        QToolButton* button = skip ? rig.Form->SkipBtn : rig.Form->StopBtn;
        enabled = button->isEnabled();
        button->click();
      }
      QCoreApplication::processEvents();
    };
    rig.Form->PlayFileBtn->click();
    ASSERT_TRUE(rig.WaitIdle()) << skip;
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(enabled) << skip;
    EXPECT_EQ(rig.AllOutFiles(), skip ? QStringList{QStringLiteral("Next.mp3")} : QStringList())
        << rig.AllOutFiles().join(u',').toStdString();
    EXPECT_TRUE(rig.Form->ProgressGauge->isHidden());
    EXPECT_TRUE(Messages.All.isEmpty()) << Messages.All.join(u'|').toStdString();
  }
}
