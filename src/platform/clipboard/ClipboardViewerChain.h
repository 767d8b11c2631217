#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QClipboard;

// A member of the clipboard viewer chain. The chain tells its first member of
// every change of the CLIPBOARD selection; each member passes the news on to
// the member it got back when it joined, exactly as windows of a viewer chain
// hand on WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN.
class TClipboardViewer {
 public:
  virtual ~TClipboardViewer() = default;
  // WM_DRAWCLIPBOARD: the clipboard changed (or this viewer has just joined).
  virtual void WMDrawClipboard() = 0;
  // WM_CHANGECBCHAIN: removed leaves the chain, next was its successor.
  virtual void WMChangeCBChain(TClipboardViewer* removed, TClipboardViewer* next) = 0;
};

// The chain of one clipboard. Members are not owned; a member must leave
// (ChangeClipboardChain) before it is destroyed. Notifications are delivered
// synchronously on the thread of the clipboard, like sent window messages.
class TClipboardViewerChain final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TClipboardViewerChain)

 public:
  // clipboard: the clipboard to watch; null gives no automatic notifications
  // (tests call ClipboardChanged themselves).
  explicit TClipboardViewerChain(QClipboard* clipboard, QObject* parent = nullptr);
  ~TClipboardViewerChain() override;

  // The chain of the application's clipboard, made on first use.
  static TClipboardViewerChain& Instance();

  // Puts viewer at the head of the chain and returns the previous head (the
  // viewer's next member; may be null). The new viewer is told at once, with
  // one WM_DRAWCLIPBOARD, as a newly joined viewer always is. A viewer already
  // in the chain is not added twice; it gets null back.
  TClipboardViewer* SetClipboardViewer(TClipboardViewer* viewer);
  // Removes remove from the chain; next must be what it got when it joined.
  // Every member from the head down sees WM_CHANGECBCHAIN until one of them
  // finds remove as its next member. False when remove was not in the chain.
  bool ChangeClipboardChain(TClipboardViewer* remove, TClipboardViewer* next);

  // A "sent message" to another member: ignored when target is null or no
  // longer a member, so a stale successor cannot be called after it left.
  void SendDrawClipboard(TClipboardViewer* target);
  void SendChangeCBChain(TClipboardViewer* target, TClipboardViewer* removed,
                         TClipboardViewer* next);

  TClipboardViewer* Head() const { return FHead; }
  bool Contains(const TClipboardViewer* viewer) const;
  int Count() const;

  // Whether the change now being delivered was made by this program itself
  // (QClipboard::ownsClipboard at the moment of the change). False for the
  // notification on joining.
  bool ChangeIsOwn() const { return FChangeIsOwn; }

  // Delivers one change to the head of the chain; the clipboard's dataChanged
  // calls this. own: the program itself made the change.
  void ClipboardChanged(bool own);

 private:
  // A message passed on more often than there are members went round in a
  // circle (a member named itself or a left member as its next): stop it.
  bool Enter();

  QPointer<QClipboard> FClipboard;
  // Who joined and has not left; each member keeps its own next pointer.
  std::vector<TClipboardViewer*> FMembers;
  TClipboardViewer* FHead = nullptr;
  bool FChangeIsOwn = false;
  int FDepth = 0;
};
