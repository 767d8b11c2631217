#include "ClipboardViewerChain.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>

namespace {

// Counts the nesting of sent messages for the circle guard.
class TDepthGuard final {
 public:
  explicit TDepthGuard(int& depth) : FDepth(depth) { ++FDepth; }
  ~TDepthGuard() { --FDepth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;

 private:
  int& FDepth;
};

}  // namespace

TClipboardViewerChain::TClipboardViewerChain(QClipboard* clipboard, QObject* parent)
    : QObject(parent), FClipboard(clipboard) {
  if (clipboard != nullptr) {
    // dataChanged is the CLIPBOARD selection only; PRIMARY (mouse selection)
    // has a signal of its own, which is deliberately not watched.
    connect(clipboard, &QClipboard::dataChanged, this,
            [this] { ClipboardChanged(FClipboard != nullptr && FClipboard->ownsClipboard()); });
  }
}

TClipboardViewerChain::~TClipboardViewerChain() = default;

TClipboardViewerChain& TClipboardViewerChain::Instance() {
  static TClipboardViewerChain* chain = [] {
    auto* made = new TClipboardViewerChain(QGuiApplication::clipboard(), qApp);
    return made;
  }();
  return *chain;
}

bool TClipboardViewerChain::Contains(const TClipboardViewer* viewer) const {
  return viewer != nullptr && std::find(FMembers.begin(), FMembers.end(), viewer) != FMembers.end();
}

int TClipboardViewerChain::Count() const {
  return static_cast<int>(FMembers.size());
}

bool TClipboardViewerChain::Enter() {
  return FDepth <= Count() + 1;
}

TClipboardViewer* TClipboardViewerChain::SetClipboardViewer(TClipboardViewer* viewer) {
  if (viewer == nullptr || Contains(viewer)) {
    return nullptr;
  }
  TClipboardViewer* previous = FHead;
  FMembers.push_back(viewer);
  FHead = viewer;
  // A new viewer learns the clipboard's state at once; it is nobody's change.
  const bool wasOwn = FChangeIsOwn;
  FChangeIsOwn = false;
  SendDrawClipboard(viewer);
  FChangeIsOwn = wasOwn;
  return previous;
}

bool TClipboardViewerChain::ChangeClipboardChain(TClipboardViewer* remove, TClipboardViewer* next) {
  if (!Contains(remove)) {
    return false;
  }
  std::erase(FMembers, remove);
  if (FHead == remove) {
    FHead = Contains(next) ? next : nullptr;
  }
  // The members below the head repair their own next pointers.
  SendChangeCBChain(FHead, remove, next);
  return true;
}

void TClipboardViewerChain::SendDrawClipboard(TClipboardViewer* target) {
  if (!Contains(target)) {
    return;
  }
  TDepthGuard guard(FDepth);
  if (Enter()) {
    target->WMDrawClipboard();
  }
}

void TClipboardViewerChain::SendChangeCBChain(TClipboardViewer* target, TClipboardViewer* removed,
                                              TClipboardViewer* next) {
  if (!Contains(target)) {
    return;
  }
  TDepthGuard guard(FDepth);
  if (Enter()) {
    target->WMChangeCBChain(removed, next);
  }
}

void TClipboardViewerChain::ClipboardChanged(bool own) {
  const bool wasOwn = FChangeIsOwn;
  FChangeIsOwn = own;
  SendDrawClipboard(FHead);
  FChangeIsOwn = wasOwn;
}
