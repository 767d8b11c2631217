#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QStringList>

#include "ClipboardSession.h"
#include "ClipboardViewerChain.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A well-behaved chain member, written the way every viewer must be: pass
// each change on, repair the next pointer when the successor leaves.
class TLoggingViewer final : public TClipboardViewer {
 public:
  TLoggingViewer(TClipboardViewerChain& chain, QString name, QStringList& log)
      : FChain(chain), FName(std::move(name)), FLog(log) {}

  void Join() { Next = FChain.SetClipboardViewer(this); }
  void Leave() { FChain.ChangeClipboardChain(this, Next); }

  void WMDrawClipboard() override {
    FLog << FName + (FChain.ChangeIsOwn() ? u":own"_s : QString());
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

 private:
  TClipboardViewerChain& FChain;
  QString FName;
  QStringList& FLog;
};

// A viewer that forgets to pass anything on.
class TSelfishViewer final : public TClipboardViewer {
 public:
  void WMDrawClipboard() override { ++Draws; }
  void WMChangeCBChain(TClipboardViewer*, TClipboardViewer*) override {}
  int Draws = 0;
};

}  // namespace

TEST(ClipboardChainTest, JoiningDeliversOneNotificationToTheNewViewerOnly) {
  TClipboardViewerChain chain(nullptr);
  QStringList log;
  TLoggingViewer a(chain, u"a"_s, log), b(chain, u"b"_s, log);
  a.Join();
  EXPECT_EQ(a.Next, nullptr);
  EXPECT_EQ(log, QStringList{u"a"_s});
  log.clear();
  b.Join();
  EXPECT_EQ(b.Next, &a);
  // While b hears of its joining it does not know its successor yet, so the
  // older members are not told again.
  EXPECT_EQ(log, QStringList{u"b"_s});
  // Joining twice changes nothing.
  EXPECT_EQ(chain.SetClipboardViewer(&b), nullptr);
  EXPECT_EQ(chain.Count(), 2);
  b.Leave();
  a.Leave();
}

TEST(ClipboardChainTest, ChangesRunDownTheChainNewestFirst) {
  TClipboardViewerChain chain(nullptr);
  QStringList log;
  TLoggingViewer a(chain, u"a"_s, log), b(chain, u"b"_s, log), c(chain, u"c"_s, log);
  a.Join();
  b.Join();
  c.Join();
  log.clear();
  chain.ClipboardChanged(false);
  chain.ClipboardChanged(true);
  EXPECT_EQ(log, (QStringList{u"c"_s, u"b"_s, u"a"_s, u"c:own"_s, u"b:own"_s, u"a:own"_s}));
  c.Leave();
  b.Leave();
  a.Leave();
}

TEST(ClipboardChainTest, LeavingRepairsTheChainWhereverTheViewerStood) {
  // Which of three viewers leaves: the head, the middle one, the tail.
  struct TCase {
    int Leaving;
    QStringList After;
  };
  const TCase cases[] = {
      {2, {u"b"_s, u"a"_s}},
      {1, {u"c"_s, u"a"_s}},
      {0, {u"c"_s, u"b"_s}},
  };
  for (const TCase& test : cases) {
    TClipboardViewerChain chain(nullptr);
    QStringList log;
    TLoggingViewer a(chain, u"a"_s, log), b(chain, u"b"_s, log), c(chain, u"c"_s, log);
    TLoggingViewer* viewers[] = {&a, &b, &c};
    for (TLoggingViewer* v : viewers) {
      v->Join();
    }
    viewers[test.Leaving]->Leave();
    log.clear();
    chain.ClipboardChanged(false);
    EXPECT_EQ(log, test.After) << "leaving " << test.Leaving;
    // A viewer that left is never called again, and can join again.
    viewers[test.Leaving]->Join();
    log.clear();
    chain.ClipboardChanged(false);
    EXPECT_EQ(log.size(), 3);
    for (TLoggingViewer* v : viewers) {
      v->Leave();
    }
    EXPECT_EQ(chain.Count(), 0);
    EXPECT_EQ(chain.Head(), nullptr);
  }
}

TEST(ClipboardChainTest, MessagesToStaleOrCircularMembersEnd) {
  TClipboardViewerChain chain(nullptr);
  QStringList log;
  TLoggingViewer a(chain, u"a"_s, log), b(chain, u"b"_s, log);
  a.Join();
  b.Join();
  // A broken viewer pointing at itself must not recurse for ever.
  b.Next = &b;
  log.clear();
  chain.ClipboardChanged(false);
  EXPECT_LE(log.size(), 4);
  b.Next = &a;
  a.Leave();
  // b still names a (it missed nothing here, but sending to a left member is a no-op).
  chain.SendDrawClipboard(&a);
  EXPECT_FALSE(chain.ChangeClipboardChain(&a, nullptr));
  b.Leave();

  TSelfishViewer selfish;
  EXPECT_EQ(chain.SetClipboardViewer(&selfish), nullptr);
  EXPECT_EQ(selfish.Draws, 1);
  EXPECT_TRUE(chain.ChangeClipboardChain(&selfish, nullptr));
}

TEST(ClipboardChainTest, TheApplicationClipboardDrivesTheChain) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  TClipboardViewerChain chain(clipboard);
  QStringList log;
  TLoggingViewer a(chain, u"a"_s, log);
  a.Join();
  log.clear();
  clipboard->setText(u"copied"_s);
  // Whether a change is the program's own is the platform's answer (offscreen
  // owns nothing, X11 owns what this process set).
  EXPECT_EQ(log, QStringList{clipboard->ownsClipboard() ? u"a:own"_s : u"a"_s});
  // The mouse selection is not the clipboard.
  if (clipboard->supportsSelection()) {
    clipboard->setText(u"selected"_s, QClipboard::Selection);
    EXPECT_EQ(log.size(), 1);
  }
  a.Leave();
  clipboard->setText(u"after"_s);
  EXPECT_EQ(log.size(), 1);
}

TEST(ClipboardSessionTest, NativeWaylandCannotWatchInTheBackground) {
  EXPECT_EQ(ClipboardWatchingFor(u"wayland"_s), TClipboardWatching::OnlyWhenFocused);
  EXPECT_EQ(ClipboardWatchingFor(u"wayland-egl"_s), TClipboardWatching::OnlyWhenFocused);
  EXPECT_EQ(ClipboardWatchingFor(u"xcb"_s), TClipboardWatching::Full);
  EXPECT_EQ(ClipboardWatchingFor(u"offscreen"_s), TClipboardWatching::Full);
  EXPECT_FALSE(ClipboardWatchingNotice().isEmpty());
}

// Copies in other programs are only seen in the background on X, so a
// Wayland session goes to XWayland when it can; the user's own choice stands.
TEST(ClipboardSessionTest, WaylandSessionsStartOnXWaylandWhenItIsThere) {
  struct TCase {
    const char* Name;
    QStringList Variables;
    QString Platform;
  };
  const TCase cases[] = {
      {"Wayland with XWayland",
       {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:0"_s},
       u"xcb;wayland"_s},
      {"Wayland by session type",
       {u"XDG_SESSION_TYPE=wayland"_s, u"DISPLAY=:1"_s},
       u"xcb;wayland"_s},
      {"Wayland without X", {u"WAYLAND_DISPLAY=wayland-0"_s}, QString()},
      {"Wayland, empty DISPLAY", {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY="_s}, QString()},
      {"user chose Wayland",
       {u"WAYLAND_DISPLAY=wayland-0"_s, u"DISPLAY=:0"_s, u"QT_QPA_PLATFORM=wayland"_s},
       QString()},
      {"X11 session", {u"XDG_SESSION_TYPE=x11"_s, u"DISPLAY=:0"_s}, QString()},
      {"no desktop", {}, QString()},
  };
  for (const TCase& c : cases) {
    QProcessEnvironment environment;
    for (const QString& variable : c.Variables) {
      environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    }
    EXPECT_EQ(PreferredPlatform(environment), c.Platform) << c.Name;
  }
}
