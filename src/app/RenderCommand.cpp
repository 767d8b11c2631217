#include "RenderCommand.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "AppPaths.h"
#include "DiscardPcmOutput.h"
#include "DocumentReader.h"
#include "Exceptions.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "ReadingHost.h"
#include "ReadingRun.h"
#include "SpeechSystem.h"
#include "TTS.h"
#include "TTSUnit.h"
#include "UserMessages.h"

namespace {

const QString kRender = QStringLiteral("--render");

const char kUsage[] =
    "Usage: verbalune --render [options] FILE...\n"
    "Reads each text file as an article (\"-\" reads standard input) and writes\n"
    "its speech to a file named after the article's title, as Read to File does.\n"
    "Web pages, EPUB books, ODT, DOCX and PDF documents are read too; a book\n"
    "gives one article per chapter.\n"
    "\n"
    "Options:\n"
    "  --format wav|mp3     output format (default mp3)\n"
    "  --bitrate KBPS       MP3 bit rate: 16, 32, 40, 48, 56 or 64 (default 32)\n"
    "  --out DIR            output folder, created when missing (default: current folder)\n"
    "  --per-file           one output file per input file (default)\n"
    "  --one-file           all articles into one file, named after the first\n"
    "  --voice NAME         the voice to read with (default: the first voice)\n"
    "  --list-voices        print the installed voices and end\n"
    "  --user-settings      use the voices' speed and pitch and the default voice\n"
    "                       from your saved settings (they are never changed)\n"
    "  --help               show this text\n"
    "\n"
    "Progress goes to standard error, the names of the files written to standard\n"
    "output. The exit status is 0 on success and 1 with the reason on any failure.\n";

struct TRenderOptions {
  bool Mp3 = true;
  int BitRate = 32;
  QString OutDir;
  bool OneFile = false;
  QString Voice;
  bool ListVoices = false;
  bool UserSettings = false;
  bool Help = false;
  QStringList Files;
};

void PrintError(const QString& text) {
  QString line = text;
  line.replace(u'\r', u'\n');
  std::fprintf(stderr, "verbalune: %s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
}

// Returns an empty string when the arguments are usable, else the reason.
QString ParseArguments(const QStringList& arguments, TRenderOptions& options) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments.at(i);
    const auto value = [&](QString& out) {
      if (i + 1 >= arguments.size()) {
        return false;
      }
      out = arguments.at(++i);
      return true;
    };
    QString text;
    if (arg == kRender) {
      continue;
    }
    if (arg == u"--help" || arg == u"-h") {
      options.Help = true;
    } else if (arg == u"--format") {
      if (!value(text) || (text != u"wav" && text != u"mp3")) {
        return QStringLiteral("--format takes wav or mp3");
      }
      options.Mp3 = text == u"mp3";
    } else if (arg == u"--bitrate") {
      bool number = false;
      const int rate = value(text) ? text.toInt(&number) : 0;
      if (!number || TargetSampleRate(rate) == 0) {
        return QStringLiteral("--bitrate takes 16, 32, 40, 48, 56 or 64");
      }
      options.BitRate = rate;
    } else if (arg == u"--out") {
      if (!value(options.OutDir) || options.OutDir.isEmpty()) {
        return QStringLiteral("--out takes a folder");
      }
    } else if (arg == u"--voice") {
      if (!value(options.Voice)) {
        return QStringLiteral("--voice takes a voice name (see --list-voices)");
      }
    } else if (arg == u"--one-file") {
      options.OneFile = true;
    } else if (arg == u"--per-file") {
      options.OneFile = false;
    } else if (arg == u"--list-voices") {
      options.ListVoices = true;
    } else if (arg == u"--user-settings") {
      options.UserSettings = true;
    } else if (arg == u"-" || !arg.startsWith(u'-')) {
      options.Files << arg;
    } else {
      return QStringLiteral("unknown option ") + arg;
    }
  }
  if (!options.Help && !options.ListVoices && options.Files.isEmpty()) {
    return QStringLiteral("no input file given");
  }
  if (options.Files.count(QStringLiteral("-")) > 1) {
    return QStringLiteral("standard input can be read only once");
  }
  return QString();
}

// Messages go to stderr and count as failures: a render has nobody to ask.
class TRenderMessages final : public TUserMessages {
 public:
  void ShowMessage(const QString& text) override {
    PrintError(text);
    ++Count;
  }
  void ShowError(const QString& text, const QString&) override {
    PrintError(text);
    ++Count;
  }
  int ShowModalDialog(const QString& dialogName) override {
    PrintError(QStringLiteral("cannot continue: ") + dialogName);
    ++Count;
    return mrCancel;
  }
  int Count = 0;
};

// The reading run's window: never shown; the status line becomes progress
// lines on stderr.
class TRenderHost final : public TReadingHost {
 public:
  TRenderHost(const TArticleVoiceSource* voices, int steps) : List(voices), FSteps(qMax(1, steps)) {
    List.ListMode = TMemoListBox::lmMultiArticle;
    List.SetVisibleEntries(1);
    List.ProcessMessages = [] {};
  }

  TMemoListBox* Articles() const override { return &List; }
  TRunState RunState() const override { return FState; }
  void SetRunState(TRunState state) override {
    FState = state;
    if (state == rsIdle && OnIdle) {
      OnIdle();
    }
  }
  void DisableSkipGroup() override {}
  void ShowStatus(const QString& message) override {
    QString text = message;
    if (text.trimmed().isEmpty() && FState == rsReading && TTSForm != nullptr) {
      const auto* article = reinterpret_cast<const TMemoEntry*>(TTSForm->TTS1->Tag);
      text =
          QStringLiteral("Article %1 of %2").arg(List.FindEntry(article)).arg(List.VisibleCount());
      if (article != nullptr && !article->Title().trimmed().isEmpty()) {
        text += QStringLiteral(" : ") + article->Title();
      }
    } else if (text.trimmed().isEmpty() && FState == rsConverting) {
      text = QStringLiteral("Converting to MP3 format: ") + QFileInfo(FMp3Path).fileName();
    }
    if (text.isEmpty() || text == FLastStatus || (FState != rsReading && FState != rsConverting)) {
      return;
    }
    FLastStatus = text;
    const int percent = qMin(99, FStarted * 100 / FSteps);
    ++FStarted;
    std::fprintf(stderr, "%3d%% %s\n", percent, text.toLocal8Bit().constData());
    std::fflush(stderr);
  }
  void ResetStatus() override {}
  QString ArticleCountText() const override { return QString(); }
  QProgressBar* ProgressGauge() const override { return &FGauge; }
  QLabel* StatusPanel1() const override { return &FPanel; }
  bool WindowVisible() const override { return false; }
  bool FollowsWords() const override { return false; }
  void RestoreWindow() override {}
  TMemoEntry* AddNew() override { return nullptr; }
  bool ExportArticles() override { return true; }
  TReadDestination& ReadDestination() override { return FDestination; }
  int& ReadStart() override { return FReadStart; }
  QString& WavePath() override { return FWavePath; }
  QString& Wave44Path() override { return FWave44Path; }
  QString& Mp3Path() override { return FMp3Path; }

  mutable TMemoListBox List;
  std::function<void()> OnIdle;

 private:
  TRunState FState = rsIdle;
  TReadDestination FDestination = rdMultipleFiles;
  int FReadStart = 0;
  QString FWavePath;
  QString FWave44Path;
  QString FMp3Path;
  QString FLastStatus;
  int FSteps;
  int FStarted = 0;
  mutable QProgressBar FGauge;
  mutable QLabel FPanel;
};

// The title an input file gives its article: its name without the last
// extension, so "the.story.txt" keeps "the.story".
QString NameOf(const QString& file) {
  if (file == u"-") {
    return QStringLiteral("stdin");
  }
  return QFileInfo(file).completeBaseName();
}

int Render(const TRenderOptions& options, TRenderMessages& messages) {
  TPreferences preferences;
  Preferences = &preferences;
  preferences.LoadAll();
  preferences.ReadFields();

  // The speech system with every installed engine, on a silent device.
  auto system = std::make_shared<TSpeechSystem>(*TSpeechSystem::Default());
  system->WaveOutCount = [] { return 1; };
  system->CreatePcmOutput = [](int) { return std::make_unique<TDiscardPcmOutput>(); };
  TTTSForm speech(nullptr, &preferences, system);
  TTSForm = &speech;
  // The pause after each article lets speakers finish; files need none.
  speech.Timer1->setInterval(0);
  speech.Initialize();
  if (speech.Voices.empty()) {
    PrintError(QStringLiteral("No text-to-speech voices are installed."));
    return 1;
  }
  preferences.LoadAll();
  speech.LoadVoiceSettings();
  if (speech.FindVoice(preferences.TTS_DefaultVoiceName) == nullptr) {
    preferences.TTS_DefaultVoiceName = speech.Voices.front()->Name;
  }

  if (options.ListVoices) {
    QTextStream out(stdout);
    for (const auto& voice : speech.Voices) {
      out << voice->Name << '\n';
    }
    return 0;
  }

  const QString voice = options.Voice.isEmpty() ? preferences.TTS_DefaultVoiceName : options.Voice;
  if (speech.FindVoice(voice) == nullptr) {
    PrintError(QStringLiteral("Voice ") + voice +
               QStringLiteral(" does not exist (see verbalune --render --list-voices)"));
    return 1;
  }
  const QString outDir =
      QDir(options.OutDir.isEmpty() ? QDir::currentPath() : options.OutDir).absolutePath();
  if (!QDir().mkpath(outDir)) {
    PrintError(QStringLiteral("Output directory ") + outDir + QStringLiteral(" is not valid"));
    return 1;
  }
  preferences.ML_ListMode = TMemoListBox::lmMultiArticle;
  preferences.ML_AutoDelete = false;
  preferences.OUT_FileFormat = options.Mp3 ? kOutputMp3 : kOutputWav;
  preferences.BitRate = options.BitRate;
  preferences.OUT_Directory = outDir;
  preferences.OUT_FileDest = options.OneFile ? rdSingleFile : rdMultipleFiles;
  preferences.TTS_HighlightPosition = false;
  preferences.TTS_SoundCardCheckErr = false;

  // Each input becomes one article, or one per chapter of a book.
  struct TInput {
    QString File;
    QString Title;
    QString Text;  // a document's; text files are loaded by the article
    QString DocumentTitle;
    QString DocumentAuthor;
    bool Document = false;
  };
  QList<TInput> inputs;
  int problems = 0;
  for (const QString& file : options.Files) {
    if (file == u"-" || DocumentKindOf(file) == TDocumentKind::Text) {
      inputs << TInput{file, NameOf(file), QString(), QString(), QString(), false};
      continue;
    }
    TDocument document;
    try {
      document = ReadDocument(file);
    } catch (const EDocumentError& error) {
      PrintError(QStringLiteral("Cannot open ") + file + QStringLiteral(": ") + error.Message());
      return 1;
    }
    for (const QString& problem : std::as_const(document.Problems)) {
      PrintError(file + QStringLiteral(": ") + problem);
      ++problems;
    }
    const QString documentTitle =
        document.Title.trimmed().isEmpty() ? NameOf(file) : document.Title;
    for (qsizetype i = 0; i < document.Chapters.size(); ++i) {
      const TDocumentChapter& chapter = document.Chapters.at(i);
      QString title = document.Chapters.size() == 1 ? documentTitle : chapter.Title;
      if (title.trimmed().isEmpty()) {
        title = documentTitle + QStringLiteral(" %1").arg(i + 1);
      }
      inputs << TInput{file, title, chapter.Text, document.Title, document.Author, true};
    }
  }

  const int articles = static_cast<int>(inputs.size());
  const int conversions = options.Mp3 ? (options.OneFile ? 1 : articles) : 0;
  TRenderHost host(&speech, articles + conversions);
  host.ReadDestination() = options.OneFile ? rdSingleFile : rdMultipleFiles;

  for (const TInput& input : std::as_const(inputs)) {
    const QString& file = input.File;
    TMemoEntry* entry = host.List.Add(QString(), voice);
    if (input.Document) {
      entry->SetEditorText(input.Text);
      entry->DocumentTitle = input.DocumentTitle;
      entry->DocumentAuthor = input.DocumentAuthor;
    } else if (file == u"-") {
      QFile in;
      if (!in.open(stdin, QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("Cannot read standard input"));
        return 1;
      }
      entry->LoadFromDevice(in);
    } else if (!entry->LoadFromFile(file)) {
      PrintError(QStringLiteral("Cannot open ") + file);
      return 1;
    }
    if (messages.Count > 0) {
      return 1;
    }
    if (entry->IsBlank()) {
      PrintError(QStringLiteral("Nothing to read in ") + file);
      return 1;
    }
    // The whole name or heading: it becomes the file's name as it stands,
    // and inputs or chapters of the same name get numbered outputs.
    if (input.Document) {
      entry->SetTitle(input.Title.simplified());
    } else {
      entry->SetTitle(NameOf(file).trimmed().isEmpty() ? QStringLiteral("Article") : NameOf(file));
    }
    entry->SelectVoice(voice);
  }

  TReadingRun run(host, speech, preferences);
  QEventLoop loop;
  host.OnIdle = [&loop] { QTimer::singleShot(0, &loop, &QEventLoop::quit); };
  run.ReadAllArticles();
  if (host.RunState() != rsIdle) {
    loop.exec();
  }
  speech.OnSpeechDone = nullptr;
  if (messages.Count > 0) {
    return 1;
  }
  const QStringList outputs = run.RunOutputs();
  if (outputs.isEmpty()) {
    PrintError(QStringLiteral("Nothing was written"));
    return 1;
  }
  for (const QString& output : outputs) {
    if (!QFileInfo(output).isFile()) {
      PrintError(output + QStringLiteral(" was not written"));
      return 1;
    }
  }
  // Chapters missing from a book were told before the run; the rest was
  // written, but the run is no success.
  if (problems > 0) {
    PrintError(QStringLiteral("Written without the parts that could not be read (named above)"));
  } else {
    std::fprintf(stderr, "100%% Done\n");
  }
  QTextStream out(stdout);
  for (const QString& output : outputs) {
    out << output << '\n';
  }
  return problems > 0 ? 1 : 0;
}

}  // namespace

bool IsRenderCommand(const QStringList& arguments) {
  return arguments.size() > 1 && arguments.at(1) == kRender;
}

int RunRenderCommand(int& argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
  TRenderOptions options;
  const QString problem = ParseArguments(arguments, options);
  if (options.Help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!problem.isEmpty()) {
    PrintError(problem);
    std::fputs(kUsage, stderr);
    return 1;
  }

  // Settings and saved articles of its own, so a render changes nothing of
  // the user's; the user's settings are only read when asked for.
  QTemporaryDir scratch;
  if (!scratch.isValid()) {
    PrintError(QStringLiteral("Cannot create a temporary folder"));
    return 1;
  }
  // The articles are widgets, but nothing is ever shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("verbalune"));
  AppPaths::SetDataDir(scratch.filePath(QStringLiteral("data")));
  QDir().mkpath(scratch.filePath(QStringLiteral("data")));
  if (!options.UserSettings) {
    AppPaths::SetConfigDir(scratch.filePath(QStringLiteral("config")));
    QDir().mkpath(scratch.filePath(QStringLiteral("config")));
  }

  TRenderMessages messages;
  SetUserMessages(&messages);
  int status = 1;
  try {
    status = Render(options, messages);
  } catch (const Exception& error) {
    PrintError(error.Message());
  } catch (const std::exception& error) {
    PrintError(QString::fromUtf8(error.what()));
  }
  Preferences = nullptr;
  TTSForm = nullptr;
  SetUserMessages(nullptr);
  return status;
}
