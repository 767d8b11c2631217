// The decisions on each clipboard change, driven without any window.
#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

#include "ClipboardWatcher.h"
#include "PreferenceUnit.h"
#include "TestEnvironment.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The main window as the watcher sees it, recording what was done.
class TFakeHost final : public TClipboardHost {
 public:
  bool Initialized() const override { return Ready; }
  bool ClipboardHasText() const override { return !Clipboard.isNull(); }
  bool PromptVisible() const override { return PromptShown; }
  bool SingleArticleBusy() const override { return Busy; }
  void Beep() override { Log << u"beep"_s; }
  void ShowBusyDialog() override { Log << u"busy"_s; }
  void ProcessMessages() override {
    if (DuringProcessMessages) {
      auto once = std::move(DuringProcessMessages);
      once();
    }
  }
  QString ClipboardText() const override { return Clipboard; }
  void ShowPrompt() override {
    PromptShown = true;
    Log << u"prompt"_s;
  }
  bool HasCurrentArticle() const override { return !Articles.isEmpty(); }
  QString CurrentArticleText() const override { return Articles.last(); }
  void SetCurrentArticleText(const QString& text) override { Articles.last() = text; }
  bool AddArticle(const QString& text) override {
    if (RefuseArticles) {
      return false;
    }
    Articles << text;
    return true;
  }
  void SpeakCurrentArticle() override { Log << u"speak:"_s + Articles.last(); }
  void ClearClipboard() override {
    Clipboard = QString();
    Log << u"cleared"_s;
  }
  qint64 NowMs() const override { return Now; }

  bool Ready = true;
  bool PromptShown = false;
  bool Busy = false;
  bool RefuseArticles = false;
  qint64 Now = 0;
  QString Clipboard;
  QStringList Articles;
  QStringList Log;
  std::function<void()> DuringProcessMessages;
};

// Forwards everything and counts; stands for another program's viewer.
class TOtherViewer final : public TClipboardViewer {
 public:
  explicit TOtherViewer(TClipboardViewerChain& chain) : FChain(chain) {}
  void Join() { Next = FChain.SetClipboardViewer(this); }
  void Leave() { FChain.ChangeClipboardChain(this, Next); }
  void WMDrawClipboard() override {
    ++Draws;
    FChain.SendDrawClipboard(Next);
  }
  void WMChangeCBChain(TClipboardViewer* removed, TClipboardViewer* next) override {
    if (removed == Next) {
      Next = next;
    } else {
      FChain.SendChangeCBChain(Next, removed, next);
    }
  }
  TClipboardViewer* Next = nullptr;
  int Draws = 0;

 private:
  TClipboardViewerChain& FChain;
};

class ClipboardWatcherTest : public ::testing::Test {
 protected:
  ClipboardWatcherTest() {
    Prefs.CB_Monitor = true;
    Prefs.CB_Prompt = true;
    Prefs.CB_ThreshHold = 10;
    Prefs.CB_DfltPromptAction = paCancel;
    Prefs.CB_LastPromptAction = paCancel;
    Prefs.SI_ShowBusyDialog = true;
    Prefs.ML_ListMode = 0;
    Armed = true;
  }

  // Another program copies text.
  void Copy(const QString& text) {
    Host.Clipboard = text;
    Chain.ClipboardChanged(false);
  }

  TTempFolders Folders;
  TPreferences Prefs;
  TClipboardViewerChain Chain{nullptr};
  TFakeHost Host;
  bool Armed = false;
  TClipboardWatcher Watcher{Chain, Host, Prefs, Armed};
};

}  // namespace

TEST_F(ClipboardWatcherTest, OnlyTextLongerThanTheThresholdIsTaken) {
  Watcher.JoinChain();
  struct TCase {
    int Length;
    bool Taken;
  };
  for (const TCase c : {TCase{0, false}, {1, false}, {10, false}, {11, true}, {5000, true}}) {
    Host.Log.clear();
    Host.PromptShown = false;
    Copy(QString(c.Length, u'x'));
    EXPECT_EQ(Host.Log.contains(u"prompt"_s), c.Taken) << c.Length;
    if (c.Taken) {
      EXPECT_EQ(Watcher.ClipboardMemo.size(), c.Length);
    }
  }
  Prefs.CB_ThreshHold = 0;
  Host.PromptShown = false;
  Host.Log.clear();
  Copy(u"a"_s);
  EXPECT_EQ(Host.Log, QStringList{u"prompt"_s});
}

TEST_F(ClipboardWatcherTest, WithoutThePromptTheDefaultActionCopiesAndCancelMeansNew) {
  Prefs.CB_Prompt = false;
  struct TCase {
    quint8 Default;
    quint8 Last;
    QStringList Articles;
  };
  // The list starts with "old" each time; New adds, Append extends it.
  const TCase cases[] = {
      {paCancel, paAppend, {u"old"_s, u"copied text!"_s}},
      {paNew, paAppend, {u"old"_s, u"copied text!"_s}},
      {paAppend, paNew, {u"old copied text!"_s}},
      {paRememberLast, paAppend, {u"old copied text!"_s}},
      {paRememberLast, paCancel, {u"old"_s, u"copied text!"_s}},
  };
  Watcher.JoinChain();
  for (const TCase& c : cases) {
    Prefs.CB_DfltPromptAction = c.Default;
    Prefs.CB_LastPromptAction = c.Last;
    Host.Articles = QStringList{u"old"_s};
    Copy(u"copied text!"_s);
    EXPECT_EQ(Host.Articles, c.Articles) << int(c.Default) << "/" << int(c.Last);
    EXPECT_FALSE(Host.PromptShown);
  }
}

TEST_F(ClipboardWatcherTest, SwitchingWatchingOnSkipsWhatIsAlreadyThere) {
  Armed = false;  // as the Watch Clipboard command leaves it
  Host.Clipboard = u"copied long before"_s;
  Watcher.JoinChain();
  EXPECT_TRUE(Armed);
  EXPECT_TRUE(Host.Log.isEmpty());
  Copy(u"the next copy is news"_s);
  EXPECT_EQ(Host.Log, QStringList{u"prompt"_s});
  EXPECT_EQ(Watcher.ClipboardMemo, u"the next copy is news"_s);
}

TEST_F(ClipboardWatcherTest, ChangesThatAreNotNewsAreIgnoredButStillPassedOn) {
  TOtherViewer older(Chain);
  older.Join();
  Watcher.JoinChain();
  EXPECT_EQ(Watcher.NextClipboardViewer, &older);
  const int joined = older.Draws;

  struct TCase {
    const char* What;
    std::function<void()> Set;
    QStringList Log;
  };
  const TCase cases[] = {
      {"before start-up finished", [this] { Host.Ready = false; }, {}},
      {"watching off", [this] { Prefs.CB_Monitor = false; }, {}},
      {"prompt already open", [this] { Host.PromptShown = true; }, {u"beep"_s}},
      {"single article read", [this] { Host.Busy = true; }, {u"busy"_s}},
      {"single article read, no dialog",
       [this] {
         Host.Busy = true;
         Prefs.SI_ShowBusyDialog = false;
       },
       {}},
  };
  int expectedDraws = joined;
  for (const TCase& c : cases) {
    Host.Ready = true;
    Prefs.CB_Monitor = true;
    Prefs.SI_ShowBusyDialog = true;
    Host.PromptShown = false;
    Host.Busy = false;
    Host.Log.clear();
    c.Set();
    Copy(u"long enough text here"_s);
    ++expectedDraws;
    EXPECT_EQ(Host.Log, c.Log) << c.What;
    EXPECT_TRUE(Host.Articles.isEmpty()) << c.What;
    EXPECT_EQ(older.Draws, expectedDraws) << c.What;
  }
  // No text at all (an image, or the clipboard just cleared).
  Host.Log.clear();
  Host.Clipboard = QString();
  Chain.ClipboardChanged(false);
  EXPECT_TRUE(Host.Log.isEmpty());
  // The program's own copy.
  Host.Clipboard = u"copied inside an article"_s;
  Chain.ClipboardChanged(true);
  EXPECT_TRUE(Host.Log.isEmpty());
  Watcher.LeaveChain();
  older.Leave();
}

TEST_F(ClipboardWatcherTest, AChangeOvertakenWhileEventsRunMakesOnlyOneArticle) {
  Prefs.CB_Prompt = false;
  Prefs.CB_DfltPromptAction = paNew;
  Watcher.JoinChain();
  Host.DuringProcessMessages = [this] { Copy(u"the second, newer copy"_s); };
  Copy(u"the first copy of all"_s);
  EXPECT_EQ(Host.Articles, QStringList{u"the second, newer copy"_s});
}

TEST_F(ClipboardWatcherTest, TheChainIsRepairedWhenAnotherViewerLeaves) {
  TOtherViewer first(Chain), last(Chain);
  first.Join();
  Watcher.JoinChain();
  last.Join();
  // The viewer behind the watcher leaves: the watcher takes its successor.
  TOtherViewer behind(Chain);
  first.Leave();
  EXPECT_EQ(Watcher.NextClipboardViewer, nullptr);
  // A viewer in front leaves: the message passes the watcher unchanged.
  behind.Join();
  EXPECT_EQ(behind.Next, &last);
  last.Leave();
  EXPECT_EQ(behind.Next, &Watcher);
  EXPECT_EQ(Watcher.NextClipboardViewer, nullptr);

  // With a viewer joined before it, the watcher forwards every change to it.
  Watcher.LeaveChain();
  behind.Leave();
  TOtherViewer a(Chain), b(Chain);
  a.Join();
  b.Join();
  Watcher.JoinChain();
  EXPECT_EQ(Watcher.NextClipboardViewer, &b);
  b.Leave();
  EXPECT_EQ(Watcher.NextClipboardViewer, &a);
  const int before = a.Draws;
  Copy(u"forwarded to the right successor"_s);
  EXPECT_EQ(a.Draws, before + 1);
  EXPECT_EQ(b.Draws, 1);  // only its own joining
  Watcher.LeaveChain();
  a.Leave();
}

TEST_F(ClipboardWatcherTest, AppendingPutsOneBlankBetweenOldAndNewText) {
  struct TCase {
    QString Old;
    QString Result;
  };
  const TCase cases[] = {
      {u"ends in a letter"_s, u"ends in a letter NEW"_s},
      {u"ends in a full stop."_s, u"ends in a full stop. NEW"_s},
      {u"ends a line\n"_s, u"ends a line\nNEW"_s},
      {u"ends a line\r"_s, u"ends a line\rNEW"_s},
      {u"ends in NUL"_s + QChar(u'\0'), u"ends in NUL"_s + QChar(u'\0') + u"NEW"_s},
      {u"ends in a blank "_s, u"ends in a blank  NEW"_s},
      {QString(), u"NEW"_s},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(AppendClipboardText(c.Old, u"NEW"_s), c.Result) << c.Old.toStdString();
  }
  Watcher.ClipboardMemo = u"NEW"_s;
  Host.Articles = QStringList{u"first"_s, u"current"_s};
  Watcher.CopyClipboardMemo(paAppend);
  EXPECT_EQ(Host.Articles, (QStringList{u"first"_s, u"current NEW"_s}));
  // Nothing to append to: a new article.
  Host.Articles.clear();
  Watcher.CopyClipboardMemo(paAppend);
  EXPECT_EQ(Host.Articles, QStringList{u"NEW"_s});
  // Cancel and unknown actions copy nothing.
  Watcher.CopyClipboardMemo(paCancel);
  Watcher.CopyClipboardMemo(7);
  EXPECT_EQ(Host.Articles, QStringList{u"NEW"_s});
}

TEST_F(ClipboardWatcherTest, AutoSpeakAndClearingFollowACopy) {
  Watcher.ClipboardMemo = u"captured"_s;
  struct TCase {
    quint8 Mode;
    bool AutoSpeak;
    bool Clear;
    bool Refused;
    QStringList Log;
  };
  const TCase cases[] = {
      {0, true, false, false, {u"speak:captured"_s}},
      {1, true, false, false, {}},  // never in Multi-Article mode
      {0, false, true, false, {u"cleared"_s}},
      {0, true, true, false, {u"speak:captured"_s, u"cleared"_s}},
      {0, true, true, true, {}},  // the list refused the article
  };
  for (const TCase& c : cases) {
    Prefs.ML_ListMode = c.Mode;
    Prefs.SI_AutoSpeak = c.AutoSpeak;
    Prefs.CB_ClearOnCopy = c.Clear;
    Host.RefuseArticles = c.Refused;
    Host.Log.clear();
    Host.Clipboard = u"captured"_s;
    Watcher.CopyClipboardMemo(paNew);
    EXPECT_EQ(Host.Log, c.Log) << int(c.Mode) << c.AutoSpeak << c.Clear << c.Refused;
  }
  // An appended article is read too (the host reads from its beginning).
  Prefs.ML_ListMode = 0;
  Prefs.SI_AutoSpeak = true;
  Prefs.CB_ClearOnCopy = false;
  Host.RefuseArticles = false;
  Host.Articles = QStringList{u"old"_s};
  Host.Log.clear();
  Watcher.CopyClipboardMemo(paAppend);
  EXPECT_EQ(Host.Log, QStringList{u"speak:old captured"_s});
}

TEST_F(ClipboardWatcherTest, ClearingAfterCopyMakesNoSecondArticle) {
  Prefs.CB_Prompt = false;
  Prefs.CB_ClearOnCopy = true;
  Watcher.JoinChain();
  Copy(u"text that is taken once"_s);
  // The clearing is a change of its own; it finds no text.
  Chain.ClipboardChanged(false);
  Chain.ClipboardChanged(true);
  EXPECT_EQ(Host.Articles, QStringList{u"text that is taken once"_s});
  EXPECT_TRUE(Host.Clipboard.isNull());

  // A clipboard manager puts the cleared text back, again and again: it is
  // not taken again while that is soon after the clearing.
  for (int restore = 0; restore < 3; ++restore) {
    Host.Now += 1000;
    Copy(u"text that is taken once"_s);
  }
  EXPECT_EQ(Host.Articles, QStringList{u"text that is taken once"_s});
  // Other text is news at once; the same text copied much later is news too.
  Copy(u"a different copy meanwhile"_s);
  Host.Now += TClipboardWatcher::kRestoredWithinMs;
  Copy(u"a different copy meanwhile"_s);
  EXPECT_EQ(Host.Articles,
            (QStringList{u"text that is taken once"_s, u"a different copy meanwhile"_s,
                         u"a different copy meanwhile"_s}));
}

TEST(PromptDefaultButtonTest, FollowsTheTable) {
  using B = TPromptButton;
  struct TCase {
    quint8 Default;
    quint8 Last;
    bool Append;
    B Current;
    B Expected;
  };
  const TCase cases[] = {
      {paNew, paCancel, true, B::Cancel, B::New},
      {paNew, paCancel, false, B::Cancel, B::New},
      {paAppend, paNew, true, B::New, B::Append},
      {paAppend, paNew, false, B::New, B::Cancel},
      {paCancel, paNew, true, B::New, B::Cancel},
      {paCancel, paAppend, false, B::New, B::Cancel},
      {paRememberLast, paNew, false, B::New, B::Cancel},
      {paRememberLast, paAppend, false, B::New, B::Cancel},
      {paRememberLast, paNew, true, B::Cancel, B::New},
      {paRememberLast, paAppend, true, B::Cancel, B::Append},
      {paRememberLast, paCancel, true, B::New, B::Cancel},
      {paRememberLast, 9, true, B::New, B::Cancel},
      {9, paNew, true, B::Append, B::Append},  // unknown: unchanged
      {9, paNew, true, B::New, B::New},
      {9, paNew, false, B::Append, B::Cancel},  // but never a disabled button
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(PromptDefaultButton(c.Default, c.Last, c.Append, c.Current), c.Expected)
        << int(c.Default) << "/" << int(c.Last) << "/" << c.Append;
  }
}

TEST(PromptAppendAvailableTest, NeedsACurrentArticleThatIsNotTheOneBlankArticle) {
  EXPECT_FALSE(PromptAppendAvailable(false, 3, false));
  EXPECT_FALSE(PromptAppendAvailable(true, 1, true));
  EXPECT_TRUE(PromptAppendAvailable(true, 1, false));
  EXPECT_TRUE(PromptAppendAvailable(true, 2, true));
}
