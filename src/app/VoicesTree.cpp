#include "VoicesTree.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>

#include "BaseUtils.h"
#include "ClickLabel.h"
#include "MainWindow.h"
#include "MakerSite.h"
#include "OptionsCommands.h"
#include "PreferenceUnit.h"
#include "TTSEngineUnit.h"
#include "TTSUnit.h"
#include "UserMessages.h"
#include "VoiceEditUnit.h"

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
enum : int { kVendorNode = 1, kVoiceNode = 2 };

QIcon DrawImage(int image) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  if (image == TVoicesTree::imDefault) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
      const double radius = i % 2 == 0 ? 7.5 : 3.2;
      const double angle = M_PI / 5 * i - M_PI / 2;
      const QPointF point(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
      i == 0 ? star.moveTo(point) : star.lineTo(point);
    }
    star.closeSubpath();
    painter.setPen(QPen(QColor(150, 110, 0), 1));
    painter.setBrush(QColor(255, 200, 0));
    painter.drawPath(star);
    return QIcon(pixmap);
  }
  const bool enabled = image == TVoicesTree::imEnabled;
  painter.setPen(Qt::NoPen);
  painter.setBrush(enabled ? QColor(40, 160, 60) : QColor(200, 50, 40));
  painter.drawEllipse(QRectF(1, 1, 14, 14));
  painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (enabled) {
    painter.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5)}));
  } else {
    painter.drawLine(QPointF(5, 5), QPointF(11, 11));
    painter.drawLine(QPointF(11, 5), QPointF(5, 11));
  }
  return QIcon(pixmap);
}

QLabel* LegendRow(const QIcon& icon, const QString& text, QWidget* parent, QGridLayout* grid,
                  int row) {
  auto* image = new QLabel(parent);
  image->setPixmap(icon.pixmap(16, 16));
  auto* label = new QLabel(text, parent);
  grid->addWidget(image, row, 0);
  grid->addWidget(label, row, 1);
  return label;
}

}  // namespace

TVoicesTree* VoicesTreeOf(const TForm1& form) {
  return form.findChild<TVoicesTree*>(QString(), Qt::FindDirectChildrenOnly);
}

TVoicesTree::TVoicesTree(TForm1& form, TTTSForm& speech, TPreferences& preferences)
    : QObject(&form),
      FForm(form),
      FTab(form.EngineVoicesTab),
      FSpeech(speech),
      FPreferences(preferences) {
  setObjectName(QStringLiteral("VoicesTree"));
  for (int i = 0; i < 3; ++i) {
    ImageList2[static_cast<size_t>(i)] = DrawImage(i);
  }
  QWidget* page = FForm.EngineVoicesTab;
  EngineVoicesTV = new QTreeWidget(page);
  EngineVoicesTV->setObjectName(QStringLiteral("EngineVoicesTV"));
  EngineVoicesTV->setHeaderHidden(true);
  EngineVoicesTV->setColumnCount(1);
  EngineVoicesTV->setEditTriggers(QAbstractItemView::NoEditTriggers);
  EngineVoicesTV->setExpandsOnDoubleClick(false);
  EngineVoicesTV->setContextMenuPolicy(Qt::CustomContextMenu);
  EngineVoicesTV->viewport()->installEventFilter(this);

  EnableBtn = new QPushButton(QStringLiteral("Disable"), page);
  SetDfltBtn = new QPushButton(QStringLiteral("Set Default"), page);
  EditBtn = new QPushButton(QStringLiteral("Edit"), page);
  TestButton = new QPushButton(QStringLiteral("Test"), page);
  EnableBtn->setObjectName(QStringLiteral("EnableBtn"));
  SetDfltBtn->setObjectName(QStringLiteral("SetDfltBtn"));
  EditBtn->setObjectName(QStringLiteral("EditBtn"));
  TestButton->setObjectName(QStringLiteral("TestButton"));
  auto* link = new TClickLabel(QStringLiteral("Want more voices and Languages?  Click Here"), page);
  link->SetLinkLook();
  VoicesLinkLbl = link;
  VoicesLinkLbl->setObjectName(QStringLiteral("VoicesLinkLbl"));

  auto* legend = new QGridLayout;
  legend->setSpacing(3);
  LegendRow(ImageList2[0], QStringLiteral("Favorite Voice/Engine"), page, legend, 0);
  LegendRow(ImageList2[1], QStringLiteral("Exclude Voice/Engine"), page, legend, 1);
  LegendRow(ImageList2[2], QStringLiteral("Defalt Voice"), page, legend, 2);
  legend->setColumnStretch(1, 1);
  auto* buttons = new QGridLayout;
  buttons->addWidget(EnableBtn, 0, 0);
  buttons->addWidget(SetDfltBtn, 0, 1);
  buttons->addWidget(EditBtn, 1, 0);
  buttons->addWidget(TestButton, 1, 1);
  auto* side = new QVBoxLayout;
  side->addLayout(legend);
  side->addStretch();
  side->addLayout(buttons);
  auto* top = new QHBoxLayout;
  top->addWidget(EngineVoicesTV, 1);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 4);
  layout->setSpacing(3);
  layout->addLayout(top, 1);
  layout->addWidget(VoicesLinkLbl, 0, Qt::AlignHCenter);

  PopupMenu3 = new QMenu(EngineVoicesTV);
  PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
  EnableItem = PopupMenu3->addAction(QStringLiteral("Disable Voice"));
  SetDfltItem = PopupMenu3->addAction(QStringLiteral("Set Voice as Default"));
  EditVoiceItem = PopupMenu3->addAction(QStringLiteral("Edit Voice"));
  TestItem = PopupMenu3->addAction(QStringLiteral("Test"));
  PopupMenu3->addSeparator();
  PronunciationItem = PopupMenu3->addAction(QStringLiteral("Pronunciation Editor"));
  PronunciationItem->setObjectName(QStringLiteral("PronunciationItem"));
  EnableItem->setObjectName(QStringLiteral("EnableItem"));
  SetDfltItem->setObjectName(QStringLiteral("SetDfltItem"));
  EditVoiceItem->setObjectName(QStringLiteral("EditVoiceItem"));
  TestItem->setObjectName(QStringLiteral("TestItem"));

  connect(EnableBtn, &QPushButton::clicked, this, &TVoicesTree::EnableBtnClick);
  connect(SetDfltBtn, &QPushButton::clicked, this, &TVoicesTree::SetDfltBtnClick);
  connect(EditBtn, &QPushButton::clicked, this, &TVoicesTree::EditBtnClick);
  connect(TestButton, &QPushButton::clicked, this, &TVoicesTree::TestButtonClick);
  connect(EnableItem, &QAction::triggered, this, &TVoicesTree::EnableItemClick);
  connect(SetDfltItem, &QAction::triggered, this, &TVoicesTree::SetDfltItemClick);
  connect(EditVoiceItem, &QAction::triggered, this, &TVoicesTree::EditVoiceItemClick);
  connect(TestItem, &QAction::triggered, this, &TVoicesTree::TestItemClick);
  connect(PronunciationItem, &QAction::triggered, this, [this] {
    FSpeech.ShowPronunciationEditor(&FForm, QStringLiteral("Verbalune MP3 Pronunciation"));
  });
  connect(PopupMenu3, &QMenu::aboutToShow, this, &TVoicesTree::PopupMenu3Popup);
  connect(EngineVoicesTV, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* node) { EngineVoicesTVDblClick(node); });
  // Keyboard moves select nodes as well as the mouse does.
  connect(EngineVoicesTV, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
    if (node != nullptr) {
      EngineVoicesTVMouseDown(node);
    }
  });
  connect(EngineVoicesTV, &QTreeWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) {
            QTreeWidgetItem* node = EngineVoicesTV->itemAt(pos);
            if (node == nullptr) {
              return;
            }
            EngineVoicesTV->setCurrentItem(node);
            PopupMenu3->popup(EngineVoicesTV->viewport()->mapToGlobal(pos));
          });
  connect(link, &TClickLabel::Clicked, this, [] { UtilsClass::OpenLink(MakerSite::VoicesPage()); });
  connect(&FForm, &TForm1::RunStateChanged, this, &TVoicesTree::RunStateChanged);
  page->installEventFilter(this);

  SetDfltBtn->setEnabled(false);
  EditBtn->setEnabled(false);
  TestButton->setEnabled(false);
}

TVoicesTree::~TVoicesTree() = default;

bool TVoicesTree::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FTab && event->type() == QEvent::Show) {
    EngineVoicesTabShow();
  } else if (event->type() == QEvent::MouseButtonPress && watched == EngineVoicesTV->viewport()) {
    // A press beside every node changes nothing.
    const auto* mouse = static_cast<QMouseEvent*>(event);
    QTreeWidgetItem* node = EngineVoicesTV->itemAt(mouse->position().toPoint());
    if (node != nullptr && node == EngineVoicesTV->currentItem()) {
      EngineVoicesTVMouseDown(node);
    }
  }
  return QObject::eventFilter(watched, event);
}

TVoiceEntry* TVoicesTree::VoiceOf(const QTreeWidgetItem* node) {
  if (node == nullptr || node->data(0, kKindRole).toInt() != kVoiceNode) {
    return nullptr;
  }
  return reinterpret_cast<TVoiceEntry*>(node->data(0, kEntryRole).value<quintptr>());
}

TEngineEntry* TVoicesTree::EngineOf(const QTreeWidgetItem* node) {
  if (node == nullptr || node->data(0, kKindRole).toInt() != kVendorNode) {
    return nullptr;
  }
  return reinterpret_cast<TEngineEntry*>(node->data(0, kEntryRole).value<quintptr>());
}

int TVoicesTree::ImageOf(const QTreeWidgetItem* node) {
  return node == nullptr ? -1 : node->data(0, kImageRole).toInt();
}

void TVoicesTree::SetImage(QTreeWidgetItem* node, int image) {
  node->setData(0, kImageRole, image);
  node->setIcon(0, ImageList2[static_cast<size_t>(image)]);
}

QTreeWidgetItem* TVoicesTree::Selected() const {
  return EngineVoicesTV->currentItem();
}

// --- building ---

void TVoicesTree::EngineVoicesTabShow() {
  if (FForm.VoicesTreeBuilt) {
    RefreshImages();
    return;
  }
  BuildTree();
}

void TVoicesTree::BuildTree() {
  EngineVoicesTV->clear();
  const TEngineList& engines = *FSpeech.Engines;
  for (int i = 0; i < engines.Count(); ++i) {
    const QString vendor = engines.EngineVendor(i);
    bool known = false;
    for (int n = 0; n < EngineVoicesTV->topLevelItemCount() && !known; ++n) {
      known = EngineVoicesTV->topLevelItem(n)->text(0) == vendor;
    }
    if (known) {
      continue;
    }
    auto* vendorNode = new QTreeWidgetItem(EngineVoicesTV, {vendor});
    vendorNode->setData(0, kKindRole, kVendorNode);
    vendorNode->setData(0, kEntryRole,
                        QVariant::fromValue(reinterpret_cast<quintptr>(engines.Items(i))));
    SetImage(vendorNode, engines.EngineEnabled(i) ? imEnabled : imDisabled);
    for (const auto& voice : FSpeech.Voices) {
      if (voice->Engine == nullptr || voice->Engine->Vendor != vendor) {
        continue;
      }
      auto* voiceNode = new QTreeWidgetItem(vendorNode, {voice->Name});
      voiceNode->setData(0, kKindRole, kVoiceNode);
      voiceNode->setData(0, kEntryRole,
                         QVariant::fromValue(reinterpret_cast<quintptr>(voice.get())));
      SetImage(voiceNode, voice->Name == FPreferences.TTS_DefaultVoiceName ? imDefault
                          : voice->Favorite                                ? imEnabled
                                                                           : imDisabled);
    }
    vendorNode->setExpanded(true);
  }
  QTreeWidgetItem* first = EngineVoicesTV->topLevelItem(0);
  {
    const QSignalBlocker blocker(EngineVoicesTV);
    EngineVoicesTV->setCurrentItem(first);
  }
  EnableBtn->setText(ImageOf(first) == imDisabled ? QStringLiteral("Enable")
                                                  : QStringLiteral("Disable"));
  EnableBtn->setEnabled(first != nullptr && ImageOf(first) != imDefault);
  FVoiceSelected = false;
  SetDfltBtn->setEnabled(false);
  EditBtn->setEnabled(false);
  TestButton->setEnabled(false);
  FForm.VoicesTreeBuilt = true;
}

void TVoicesTree::RefreshImages() {
  for (int n = 0; n < EngineVoicesTV->topLevelItemCount(); ++n) {
    QTreeWidgetItem* vendorNode = EngineVoicesTV->topLevelItem(n);
    const TEngineEntry* engine = EngineOf(vendorNode);
    SetImage(vendorNode, engine != nullptr && engine->Enabled ? imEnabled : imDisabled);
    for (int v = 0; v < vendorNode->childCount(); ++v) {
      QTreeWidgetItem* voiceNode = vendorNode->child(v);
      const TVoiceEntry* voice = VoiceOf(voiceNode);
      SetImage(voiceNode, voice->Name == FPreferences.TTS_DefaultVoiceName ? imDefault
                          : voice->Favorite                                ? imEnabled
                                                                           : imDisabled);
    }
  }
  EngineVoicesTV->viewport()->update();
}

// --- selection, buttons and menu ---

void TVoicesTree::EngineVoicesTVMouseDown(QTreeWidgetItem* node) {
  if (node == nullptr) {
    return;
  }
  if (EngineVoicesTV->currentItem() != node) {
    EngineVoicesTV->setCurrentItem(node);
  }
  FVoiceSelected = VoiceOf(node) != nullptr;
  SetDfltBtn->setEnabled(FVoiceSelected);
  EditBtn->setEnabled(FVoiceSelected);
  RunStateChanged();
  EnableBtn->setText(ImageOf(node) == imDisabled ? QStringLiteral("Enable")
                                                 : QStringLiteral("Disable"));
  EnableBtn->setEnabled(ImageOf(node) != imDefault);
}

void TVoicesTree::RunStateChanged() {
  TestButton->setEnabled(FVoiceSelected && FForm.RunState == rsIdle);
}

void TVoicesTree::PopupMenu3Popup() {
  PronunciationItem->setEnabled(FForm.RunState == rsIdle);
  QTreeWidgetItem* node = Selected();
  if (const TVoiceEntry* voice = VoiceOf(node)) {
    EnableItem->setText(voice->Favorite ? QStringLiteral("Disable Voice")
                                        : QStringLiteral("Enable Voice"));
    EnableItem->setEnabled(voice->Name != FPreferences.TTS_DefaultVoiceName);
    SetDfltItem->setEnabled(true);
    EditVoiceItem->setEnabled(true);
    TestItem->setEnabled(FForm.RunState == rsIdle);
    return;
  }
  const TEngineEntry* engine = EngineOf(node);
  EnableItem->setText(engine != nullptr && engine->Enabled ? QStringLiteral("Disable Engine")
                                                           : QStringLiteral("Enable Engine"));
  EnableItem->setEnabled(engine != nullptr);
  SetDfltItem->setEnabled(false);
  EditVoiceItem->setEnabled(false);
  TestItem->setEnabled(false);
}

// --- changes ---

void TVoicesTree::ToggleVoice(TVoiceEntry& voice) {
  voice.Favorite = !voice.Favorite;
  if (voice.Favorite) {
    FSpeech.Engines->SetVendorEnabled(voice.Engine->Vendor, true);
  }
}

void TVoicesTree::EnableItemClick() {
  QTreeWidgetItem* node = Selected();
  if (TVoiceEntry* voice = VoiceOf(node)) {
    // The button and the menu item are disabled for it; the default voice
    // must stay usable whatever the caller.
    if (voice->Name == FPreferences.TTS_DefaultVoiceName) {
      return;
    }
    ToggleVoice(*voice);
  } else if (TEngineEntry* engine = EngineOf(node)) {
    const TVoiceEntry* defaultVoice = FSpeech.FindVoice(FPreferences.TTS_DefaultVoiceName);
    if (engine->Enabled && defaultVoice != nullptr && defaultVoice->Engine != nullptr &&
        defaultVoice->Engine->Vendor == engine->Vendor) {
      UserMessages().ShowMessage(
          QStringLiteral(
              "This engine cannot be disabled because it contains the default voice, [") +
          defaultVoice->Name + u']');
      return;
    }
    FSpeech.SetEngineVoicesEnabled(engine->Vendor, !engine->Enabled);
  } else {
    return;
  }
  ChoicesChanged();
}

void TVoicesTree::ChoicesChanged() {
  RefreshImages();
  QTreeWidgetItem* node = Selected();
  EnableBtn->setText(ImageOf(node) == imDisabled ? QStringLiteral("Enable")
                                                 : QStringLiteral("Disable"));
  EnableBtn->setEnabled(node != nullptr && ImageOf(node) != imDefault);
  FForm.LoadFavoriteVoices();
  FillDefaultVoiceList(FForm);
  FSpeech.SaveVoiceSettings();
}

void TVoicesTree::EngineVoicesTVDblClick(QTreeWidgetItem* node) {
  TVoiceEntry* voice = VoiceOf(node);
  if (voice == nullptr) {
    return;
  }
  if (voice->Name == FPreferences.TTS_DefaultVoiceName) {
    UserMessages().ShowMessage(voice->Name + QStringLiteral(" is the default voice"));
    return;
  }
  ToggleVoice(*voice);
  ChoicesChanged();
}

void TVoicesTree::SetDfltItemClick() {
  QTreeWidgetItem* node = Selected();
  TVoiceEntry* voice = VoiceOf(node);
  if (voice == nullptr || voice->Name == FPreferences.TTS_DefaultVoiceName) {
    return;
  }
  FPreferences.TTS_DefaultVoiceName = voice->Name;
  voice->Favorite = true;
  FSpeech.Engines->SetVendorEnabled(voice->Engine->Vendor, true);
  // Every image follows from the new state, the old default's included.
  ChoicesChanged();
}

void TVoicesTree::EditVoiceItemClick() {
  TVoiceEntry* voice = VoiceOf(Selected());
  if (voice != nullptr && EditVoice) {
    EditVoice(*voice);
  }
}

void TVoicesTree::TestButtonClick() {
  const TVoiceEntry* voice = VoiceOf(Selected());
  if (voice == nullptr || FForm.RunState != rsIdle) {
    return;
  }
  const QString text = TVoiceEditForm::TestText(*voice);
  FForm.ShowStatus(QStringLiteral("Reading Test Message"));
  if (SpeakText) {
    SpeakText(text, voice->Name);
  }
}
