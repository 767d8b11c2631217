#include "MemoListUnit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include "ArticleBeep.h"
#include "BaseUtils.h"
#include "PreferenceUnit.h"
#include "UserMessages.h"

namespace {

// Hiding or freeing the widget with the focus makes Qt pass the focus on to
// the next entry, which would then become current behind the list's back.
void ReleaseFocus(QWidget* entry) {
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && (focus == entry || entry->isAncestorOf(focus))) {
    focus->clearFocus();
  }
}

// a / b to the nearest integer, halves to even.
int RoundedQuotient(int a, int b) {
  const int q = a / b;
  const int twiceRest = 2 * (a % b);
  if (twiceRest > b || (twiceRest == b && (q % 2) != 0)) {
    return q + 1;
  }
  return q;
}

}  // namespace

TMemoListBox::TMemoListBox(const TArticleVoiceSource* voices, QWidget* parent)
    : QFrame(parent), FVoices(voices) {
  setFrameShape(QFrame::NoFrame);
  CurrentColor = palette().color(QPalette::Base);
  OtherColor = palette().color(QPalette::Button);
  ClientArea = new QWidget(this);
  ScrollBar = new QScrollBar(Qt::Vertical, this);
  ScrollBar->setRange(0, 0);
  ScrollBar->setSingleStep(1);
  ScrollBar->setPageStep(FVisibleEntries);
  ScrollBar->hide();
  connect(ScrollBar, &QScrollBar::valueChanged, this,
          [this](int value) { ScrollToTop(value + 1); });
  ProcessMessages = [this] { ThrottledProcessEvents(); };
  PlaceClientArea();
}

TMemoListBox::~TMemoListBox() {
  // The last export reaches the disk before the list is gone.
  FWriter.reset();
  // Entries are the client area's children and go with it; drop the pointers
  // first so nothing reaches a half-destroyed entry.
  FCurrentEntry = nullptr;
  FEntries.clear();
}

void TMemoListBox::ThrottledProcessEvents() {
  if (FPumpClock.isValid() && FPumpClock.elapsed() < 15) {
    return;
  }
  // Before the events run: one of them may destroy the list.
  FPumpClock.restart();
  QCoreApplication::processEvents();
}

void TMemoListBox::PumpMessages() {
  // A copy, so the function lives on even if the events destroy the list.
  const std::function<void()> pump = ProcessMessages;
  if (pump) {
    pump();
  }
}

bool TMemoListBox::DefaultTitlesOn() const {
  if (ListMode != lmSingleArticle) {
    return true;
  }
  if (SingleArticleDefaultTitles) {
    return SingleArticleDefaultTitles();
  }
  return Preferences != nullptr ? Preferences->SI_DefaultTitles : true;
}

void TMemoListBox::PlaceClientArea() {
  const int barWidth = ScrollBar->isHidden() ? 0 : ScrollBar->sizeHint().width();
  ScrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
  ClientArea->setGeometry(0, 0, qMax(0, width() - barWidth), height());
}

void TMemoListBox::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  PlaceClientArea();
  Relayout();
}

void TMemoListBox::SetScrollMaximum(int maximum) {
  const QSignalBlocker blocker(ScrollBar);
  ScrollBar->setMaximum(qMax(0, maximum));
}

void TMemoListBox::LowerScrollMaximum() {
  SetScrollMaximum(ScrollBar->maximum() - 1);
}

void TMemoListBox::SetScrollPosition(int position) {
  const QSignalBlocker blocker(ScrollBar);
  ScrollBar->setValue(position);
}

void TMemoListBox::SetVisibleEntries(int count) {
  const int previous = FVisibleEntries;
  FVisibleEntries = qMax(1, count);
  ScrollBar->setPageStep(FVisibleEntries);
  if (previous != FVisibleEntries) {
    const int n = VisibleCount();
    SetScrollMaximum(FVisibleEntries < n ? n - FVisibleEntries : n - 1);
    RelayoutOrTop();
  }
}

void TMemoListBox::FreeEntry(TMemoEntry* entry) {
  if (FCurrentEntry == entry) {
    FCurrentEntry = nullptr;
  }
  FEntries.removeOne(entry);
  ReleaseFocus(entry);
  delete entry;
}

TMemoEntry* TMemoListBox::Add(const QString& text, const QString& voiceName) {
  TMemoEntry* entry = nullptr;
  for (TMemoEntry* candidate : std::as_const(FEntries)) {
    if (!candidate->Hidden && candidate->IsBlank()) {
      entry = candidate;
      break;
    }
  }
  if (entry == nullptr) {
    if (ListMode == lmSingleArticle) {
      // Only the article on screen is replaced: the list may still hold the
      // articles made in Multi-Article mode, and they stay for when it is
      // switched back.
      DeleteMemoEntry(ShownArticle());
    }
    try {
      entry = new TMemoEntry(FVoices, ClientArea);
    } catch (...) {
      UtilsClass::Trace(QStringLiteral("Create Memo Entry Failed"));
      throw;
    }
    entry->hide();  // ScrollToTop decides what is on screen
    if (ListMode == lmMultiArticle) {
      entry->SetMultiLayout();
    }
    entry->resize(ClientArea->width(), entry->height());
    entry->SelectVoice(voiceName);
    connect(entry, &TMemoEntry::Edited, this, &TMemoListBox::ArticleEdited);
    try {
      if (FHiddenCount != 0) {
        FEntries.insert(VisibleCount(), entry);
      } else {
        FEntries.append(entry);
      }
    } catch (...) {
      UtilsClass::Trace(FHiddenCount != 0
                            ? QStringLiteral("MemoList Insert (%1) failed").arg(VisibleCount())
                            : QStringLiteral("MemoList Add Failed"));
      delete entry;
      throw;
    }
  }
  entry->SetEditorText(text);
  if (DefaultTitlesOn()) {
    entry->SetDefaultTitle(TitleLength);
  } else {
    entry->SetTitle(LastTitle);
  }
  if (FCurrentEntry != nullptr) {
    FCurrentEntry->SetColor(OtherColor);
  }
  entry->SetColor(CurrentColor);
  entry->OnEnter = [this](TMemoEntry* sender) { OnEntryHandler(sender); };
  FCurrentEntry = entry;

  if (FImporting) {
    // The import shows its last page once, at its end: laying out every page
    // on the way would make and drop the widgets of every article.
    return entry;
  }
  ShowLastPage(entry);
  return entry;
}

void TMemoListBox::ShowLastPage(TMemoEntry* entry) {
  const int n = VisibleCount();
  if (n == 0) {
    return;
  }
  if (FVisibleEntries < n) {
    SetScrollMaximum(n - FVisibleEntries);
    ScrollToTop(n - FVisibleEntries + 1);
  } else {
    SetScrollMaximum(n - 1);
    ScrollToTop(1);
  }
  // Focus once the entry is laid out: a widget off screen cannot take it.
  if (entry != nullptr && isVisible() && IsShownOnScreen(entry)) {
    entry->Editor->setFocus();
  }
}

void TMemoListBox::ScrollToTop(int position) {
  const int n = VisibleCount();
  if (n == 0) {
    return;
  }
  int entryHeight;
  if (FVisibleEntries < n) {
    ScrollBar->show();
    PlaceClientArea();
    entryHeight = RoundedQuotient(ClientArea->height(), FVisibleEntries);
  } else {
    ScrollBar->hide();
    PlaceClientArea();
    entryHeight = RoundedQuotient(ClientArea->height(), n);
  }
  const int clientWidth = ClientArea->width();
  int top = 0;
  for (int i = 1; i <= n; ++i) {
    TMemoEntry* entry = FEntries[i - 1];
    if (i < position || i > position + FVisibleEntries - 1) {
      if (!entry->isHidden()) {
        ReleaseFocus(entry);
        entry->hide();
      }
      // Off the page an entry needs no widgets; the one being read keeps
      // them for the word highlight.
      if (entry->HasWidgets()) {
        entry->ReleaseWidgets();
      }
      continue;
    }
    entry->Properties->setVisible(ShowProperties);
    entry->setGeometry(0, top, clientWidth, entryHeight);
    entry->show();
    top += entryHeight;
  }
  SetScrollPosition(position - 1);
}

void TMemoListBox::MarkEntry(int position) {
  const int n = VisibleCount();
  if (position < 1 || position > n) {
    return;
  }
  for (int i = 1; i <= n; ++i) {
    TMemoEntry* entry = FEntries[i - 1];
    if (i == position) {
      FCurrentEntry = entry;
      entry->SetColor(CurrentColor);
      if (IsShownOnScreen(entry)) {
        entry->Editor->setFocus();
      }
    } else {
      entry->SetColor(OtherColor);
    }
  }
  if (!IsShownOnScreen(FCurrentEntry)) {
    ScrollToTop(position > FVisibleEntries ? position - FVisibleEntries + 1 : 1);
    PumpMessages();
  }
}

void TMemoListBox::OnEntryHandler(TMemoEntry* entry) {
  if (FCurrentEntry != nullptr) {
    FCurrentEntry->SetColor(OtherColor);
  }
  FCurrentEntry = entry;
  entry->SetColor(CurrentColor);
}

void TMemoListBox::DeleteSelected() {
  if (FCurrentEntry == nullptr) {
    ArticleBeep();
    UserMessages().ShowMessage(QStringLiteral("No rows are currently selected"));
    return;
  }
  DeleteMemoEntry(FCurrentEntry);
  FCurrentEntry = nullptr;
  DeleteHiddenEntries();
}

void TMemoListBox::DeleteMemoEntry(TMemoEntry* entry) {
  if (entry == nullptr || !FEntries.contains(entry)) {
    return;
  }
  if (entry->Locked) {
    throw EMemoEntryLocked(QStringLiteral("Memo Entry Locked"));
  }
  LastTitle = entry->Title();
  if (entry->Hidden) {
    --FHiddenCount;
  }
  FreeEntry(entry);
  FEntries.squeeze();
  if (VisibleCount() > 0) {
    ScrollToTop(1);
    if (FVisibleEntries < VisibleCount()) {
      LowerScrollMaximum();
    }
  }
}

void TMemoListBox::DeleteAll() {
  // Refuse before deleting anything, so a refused DeleteAll changes nothing.
  for (const TMemoEntry* entry : std::as_const(FEntries)) {
    if (entry->Locked) {
      throw EMemoEntryLocked(QStringLiteral("Memo Entry Locked"));
    }
  }
  const QList<TMemoEntry*> entries = std::exchange(FEntries, {});
  FCurrentEntry = nullptr;
  FHiddenCount = 0;
  for (TMemoEntry* entry : entries) {
    LastTitle = entry->Title();
    ReleaseFocus(entry);
    delete entry;
  }
}

void TMemoListBox::HideEntry(TMemoEntry* entry) {
  if (entry == nullptr || !FEntries.contains(entry)) {
    return;
  }
  if (entry->Locked) {
    throw EMemoEntryLocked(QStringLiteral("Memo Entry Locked"));
  }
  if (entry->Hidden) {
    return;
  }
  if (FCurrentEntry == entry) {
    FCurrentEntry = nullptr;
  }
  ++FHiddenCount;
  entry->Hidden = true;
  ReleaseFocus(entry);
  entry->hide();
  entry->ReleaseWidgets();
  FEntries.removeOne(entry);
  FEntries.append(entry);
  ScrollToTop(1);
  if (FVisibleEntries < VisibleCount()) {
    LowerScrollMaximum();
  }
}

void TMemoListBox::DeleteHiddenEntries() {
  for (int k = FHiddenCount; k > 0 && !FEntries.isEmpty(); --k) {
    TMemoEntry* last = FEntries.back();
    if (!last->Hidden) {
      break;
    }
    FreeEntry(last);
  }
  FHiddenCount = 0;
}

void TMemoListBox::DeleteBlankEntries() {
  DeleteHiddenEntries();
  bool removed = false;
  while (!FEntries.isEmpty()) {
    TMemoEntry* last = FEntries.back();
    // An article being read stays, even when blank: the reader still holds it.
    if (last->Locked || !last->IsBlank()) {
      break;
    }
    FreeEntry(last);
    removed = true;
  }
  if (removed) {
    const int n = VisibleCount();
    SetScrollMaximum(FVisibleEntries < n ? n - FVisibleEntries : n - 1);
    RelayoutOrTop();
  }
}

void TMemoListBox::UnlockAllEntries() {
  for (TMemoEntry* entry : std::as_const(FEntries)) {
    entry->Locked = false;
  }
}

void TMemoListBox::Relayout() {
  const int n = VisibleCount();
  for (int i = 1; i <= n; ++i) {
    if (IsShownOnScreen(FEntries[i - 1])) {
      ScrollToTop(i);
      return;
    }
  }
}

// After the page size or the list changed under the current page: keep the
// first entry on screen where possible, without leaving the last page short.
void TMemoListBox::RelayoutOrTop() {
  const int n = VisibleCount();
  if (n == 0) {
    return;
  }
  int first = 1;
  for (int i = 1; i <= n; ++i) {
    if (IsShownOnScreen(FEntries[i - 1])) {
      first = i;
      break;
    }
  }
  const int lastTop = FVisibleEntries < n ? n - FVisibleEntries + 1 : 1;
  ScrollToTop(qMin(first, lastTop));
}

TMemoEntry* TMemoListBox::ShownArticle() const {
  const int n = VisibleCount();
  if (FCurrentEntry != nullptr && !FCurrentEntry->Hidden && IsShownOnScreen(FCurrentEntry)) {
    return FCurrentEntry;
  }
  for (int i = 0; i < n; ++i) {
    if (IsShownOnScreen(FEntries[i])) {
      return FEntries[i];
    }
  }
  // Not laid out yet, as during an import.
  if (FCurrentEntry != nullptr && !FCurrentEntry->Hidden) {
    return FCurrentEntry;
  }
  return n > 0 ? FEntries[n - 1] : nullptr;
}

int TMemoListBox::FindEntry(const TMemoEntry* entry) const {
  for (qsizetype i = 0; i < FEntries.size(); ++i) {
    if (FEntries[i] == entry) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}
