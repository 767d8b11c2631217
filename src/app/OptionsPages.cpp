#include "OptionsPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AutoStartCommands.h"
#include "BaseUtils.h"
#include "Forms.h"
#include "MainWindow.h"
#include "MemoListUnit.h"
#include "PreferenceUnit.h"
#include "RadioGroup.h"
#include "SelectDirectory.h"
#include "TTS.h"

namespace {

// Large enough for any sensible threshold or delay, small enough that the
// clipboard code may turn seconds into milliseconds without overflow.
constexpr int kMaxThreshold = 100000000;
constexpr int kMaxPromptDelay = 86400;

QVBoxLayout* PageLayout(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(4);
  return layout;
}

QLineEdit* NumberEdit(QWidget* parent, int maximum, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setValidator(new QIntValidator(0, maximum, edit));
  edit->setMaximumWidth(64);
  edit->setAlignment(Qt::AlignRight);
  // The number edits blend with the page, as on the original forms.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
  return edit;
}

QCheckBox* CheckBox(const QString& caption, const QString& name, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

TOptionsPages* OptionsPagesOf(const TForm1& form) {
  return form.findChild<TOptionsPages*>(QString(), Qt::FindDirectChildrenOnly);
}

TOptionsPages::TOptionsPages(TForm1& form, TPreferences& preferences)
    : QObject(&form),
      FForm(form),
      FSISheet(form.SIOptionsSheet),
      FMISheet(form.MIOptionsSheet),
      FMiscSheet(form.MiscSheet),
      FPreferences(preferences) {
  setObjectName(QStringLiteral("OptionsPages"));
  BuildSingleArticlePage();
  BuildMultiArticlePage();
  BuildClipboardTab();
  BuildFileOptionsTab();
  BuildMiscTab();
  for (QWidget* sheet : {FForm.SIOptionsSheet, FForm.MIOptionsSheet, FForm.MiscSheet}) {
    sheet->installEventFilter(this);
  }
  LoadStartValues();
  // The page already on screen has had its showing.
  if (FForm.MISIOptionsPage->currentWidget() == FForm.MIOptionsSheet) {
    MIOptionsSheetShow();
  } else {
    SIOptionsSheetShow();
  }
}

TOptionsPages::~TOptionsPages() = default;

void TOptionsPages::BuildSingleArticlePage() {
  QWidget* page = FForm.SIOptionsSheet;
  auto* layout = PageLayout(page);
  auto* title = new QLabel(QStringLiteral("Single-Article Options"), page);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  SIVoiceGrp = new TRadioGroup(QStringLiteral("Voice Selection:"),
                               {QStringLiteral("Default"), QStringLiteral("Random")}, page);
  SIVoiceGrp->setObjectName(QStringLiteral("SIVoiceGrp"));
  AutoSpeakCB = CheckBox(QStringLiteral("Automatically Speak New Text "),
                         QStringLiteral("AutoSpeakCB"), page);
  AutoTitleCB = CheckBox(QStringLiteral("Generate Default Article Titles"),
                         QStringLiteral("AutoTitleCB"), page);
  layout->addWidget(title);
  layout->addWidget(SIVoiceGrp);
  layout->addWidget(AutoSpeakCB);
  layout->addWidget(AutoTitleCB);
  layout->addStretch();
  connect(SIVoiceGrp, &TRadioGroup::ItemClicked, this, &TOptionsPages::VoiceGrpClick);
  connect(AutoSpeakCB, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.SetAutoSpeak(checked); });
  connect(AutoTitleCB, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.SetDefaultTitles(checked); });
}

void TOptionsPages::BuildMultiArticlePage() {
  QWidget* page = FForm.MIOptionsSheet;
  auto* layout = PageLayout(page);
  auto* title = new QLabel(QStringLiteral("Multi-Article Options"), page);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  MIVoiceGrp = new TRadioGroup(
      QStringLiteral("Voice Selection:"),
      {QStringLiteral("Default"), QStringLiteral("Random"), QStringLiteral("Round Robin")}, page);
  MIVoiceGrp->setObjectName(QStringLiteral("MIVoiceGrp"));
  ODestGrp =
      new TRadioGroup(QStringLiteral("File Output:"),
                      {QStringLiteral("Single File"), QStringLiteral("Multiple Files")}, page);
  ODestGrp->setObjectName(QStringLiteral("ODestGrp"));
  AutoDeleteCB = CheckBox(QStringLiteral("Automatically Delete Text after play"),
                          QStringLiteral("AutoDeleteCB"), page);
  auto* groups = new QHBoxLayout;
  groups->addWidget(MIVoiceGrp);
  groups->addWidget(ODestGrp, 0, Qt::AlignTop);
  layout->addWidget(title);
  layout->addLayout(groups);
  layout->addWidget(AutoDeleteCB);
  layout->addStretch();
  connect(MIVoiceGrp, &TRadioGroup::ItemClicked, this, &TOptionsPages::VoiceGrpClick);
  connect(ODestGrp, &TRadioGroup::ItemClicked, this, &TOptionsPages::ODestGrpClick);
  connect(AutoDeleteCB, &QCheckBox::clicked, this, &TOptionsPages::AutoDeleteCBClick);
}

void TOptionsPages::BuildClipboardTab() {
  QWidget* page = FForm.ClipboardSheet;
  auto* layout = PageLayout(page);
  MonitorCB = CheckBox(QStringLiteral("Watch Clipboard"), QStringLiteral("MonitorCB"), page);
  ClearClipboardCB = CheckBox(QStringLiteral("Clear Clipboard after Copy"),
                              QStringLiteral("ClearClipboardCB"), page);
  ThreshHoldEdit = NumberEdit(page, kMaxThreshold, QStringLiteral("ThreshHoldEdit"));
  auto* threshold = new QHBoxLayout;
  threshold->addWidget(new QLabel(QStringLiteral("Ignore Clipboard Text less than"), page));
  threshold->addWidget(ThreshHoldEdit);
  threshold->addWidget(new QLabel(QStringLiteral("characters"), page));
  threshold->addStretch();

  auto* prompt = new QGroupBox(QStringLiteral("Prompt Options"), page);
  PromptCkbx = CheckBox(QStringLiteral("Prompt to copy from clipboard"),
                        QStringLiteral("PromptCkbx"), prompt);
  PromptDelayEdit = NumberEdit(prompt, kMaxPromptDelay, QStringLiteral("PromptDelayEdit"));
  PromptDfltActCBox = new QComboBox(prompt);
  PromptDfltActCBox->setObjectName(QStringLiteral("PromptDfltActCBox"));
  PromptDfltActCBox->addItems({QStringLiteral("New"), QStringLiteral("Append"),
                               QStringLiteral("Cancel"), QStringLiteral("Remember Last")});
  auto* promptGrid = new QGridLayout(prompt);
  promptGrid->setContentsMargins(8, 4, 8, 4);
  promptGrid->addWidget(PromptCkbx, 0, 0, 1, 4);
  promptGrid->addWidget(new QLabel(QStringLiteral("Display Prompt for"), prompt), 1, 0);
  promptGrid->addWidget(PromptDelayEdit, 1, 1);
  promptGrid->addWidget(new QLabel(QStringLiteral("seconds"), prompt), 1, 2);
  promptGrid->addWidget(new QLabel(QStringLiteral("Default Action:"), prompt), 2, 0);
  promptGrid->addWidget(PromptDfltActCBox, 2, 1, 1, 2);
  promptGrid->setColumnStretch(3, 1);

  layout->addWidget(MonitorCB);
  layout->addWidget(ClearClipboardCB);
  layout->addLayout(threshold);
  layout->addWidget(prompt);
  layout->addStretch();

  // Watching is the clipboard code's command, shared with both menus.
  connect(MonitorCB, &QCheckBox::clicked, this, [this] { FForm.MonitorCBClick(); });
  connect(ClearClipboardCB, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.CB_ClearOnCopy = checked; });
  connect(ThreshHoldEdit, &QLineEdit::textEdited, this, &TOptionsPages::ThreshHoldEditChange);
  connect(ThreshHoldEdit, &QLineEdit::editingFinished, this,
          [this] { NumberEditDone(ThreshHoldEdit, FPreferences.CB_ThreshHold); });
  connect(PromptCkbx, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.CB_Prompt = checked; });
  connect(PromptDelayEdit, &QLineEdit::textEdited, this, &TOptionsPages::PromptDelayEditChange);
  connect(PromptDelayEdit, &QLineEdit::editingFinished, this,
          [this] { NumberEditDone(PromptDelayEdit, FPreferences.CB_PromptDelay); });
  connect(PromptDfltActCBox, &QComboBox::activated, this,
          [this](int index) { FPreferences.CB_DfltPromptAction = static_cast<quint8>(index); });
}

void TOptionsPages::BuildFileOptionsTab() {
  QWidget* page = FForm.TabSheet2;
  auto* layout = PageLayout(page);
  FileFormatRGrp = new TRadioGroup(QStringLiteral("Output File Format"),
                                   {QStringLiteral("Wav"), QStringLiteral("MP3")}, page);
  FileFormatRGrp->setObjectName(QStringLiteral("FileFormatRGrp"));
  AudioQltyCbx = new QComboBox(page);
  AudioQltyCbx->setObjectName(QStringLiteral("AudioQltyCbx"));
  AudioQltyCbx->addItems(
      {QStringLiteral("16 kbps / 16.0 KHz"), QStringLiteral("32 kbps / 22.05 KHz"),
       QStringLiteral("40 kbps / 22.05 KHz"), QStringLiteral("48 kbps / 22.05 KHz"),
       QStringLiteral("56 kbps / 44.1 KHz"), QStringLiteral("64 kbps / 44.1 KHz")});
  auto* qualityLabel = new QLabel(QStringLiteral("Quality:"), page);
  qualityLabel->setObjectName(QStringLiteral("QualityLbl"));
  auto* format = new QHBoxLayout;
  format->addWidget(FileFormatRGrp);
  auto* quality = new QVBoxLayout;
  quality->addStretch();
  quality->addWidget(qualityLabel);
  quality->addWidget(AudioQltyCbx);
  format->addLayout(quality);
  format->addStretch();

  OutDirEdit = new QLineEdit(page);
  OutDirEdit->setObjectName(QStringLiteral("OutDirEdit"));
  Button1 = new QPushButton(QStringLiteral("Browse"), page);
  Button1->setObjectName(QStringLiteral("Button1"));
  auto* directory = new QHBoxLayout;
  directory->addWidget(OutDirEdit, 1);
  directory->addWidget(Button1);

  layout->addLayout(format);
  layout->addWidget(new QLabel(QStringLiteral("File Output Directory:"), page));
  layout->addLayout(directory);
  layout->addStretch();

  connect(FileFormatRGrp, &TRadioGroup::ItemClicked, this, &TOptionsPages::FileFormatRGrpClick);
  connect(AudioQltyCbx, &QComboBox::activated, this, &TOptionsPages::AudioQltyCbxChange);
  connect(OutDirEdit, &QLineEdit::textEdited, this, &TOptionsPages::OutDirEditChange);
  connect(Button1, &QPushButton::clicked, this, &TOptionsPages::Button1Click);
}

void TOptionsPages::BuildMiscTab() {
  QWidget* page = FForm.MiscSheet;
  auto* layout = PageLayout(page);
  DfltVoiceCB = new QComboBox(page);
  DfltVoiceCB->setObjectName(QStringLiteral("DfltVoiceCB"));
  DfltVoiceCB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  DfltVoiceCB->setMinimumContentsLength(20);
  ToolbarMinCB = new QComboBox(page);
  ToolbarMinCB->setObjectName(QStringLiteral("ToolbarMinCB"));
  ToolbarMinCB->addItems({QStringLiteral("On request only"), QStringLiteral("When minimized"),
                          QStringLiteral("When minimized and reading starts")});
  TBOnTopCB =
      CheckBox(QStringLiteral("Floating Toolbar Always on Top"), QStringLiteral("TBOnTopCB"), page);
  HighlightCB =
      CheckBox(QStringLiteral("Highlight Current Word"), QStringLiteral("HighlightCB"), page);
  AutoStartAppCB =
      CheckBox(QStringLiteral("Start Verbalune at Login"), QStringLiteral("AutoStartAppCB"), page);
  FilterCB = CheckBox(QStringLiteral("Filter non-alpha symbols"), QStringLiteral("FilterCB"), page);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Default Voice:"), page), 0, 0);
  grid->addWidget(DfltVoiceCB, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Show Floating Toolbar:"), page), 1, 0);
  grid->addWidget(ToolbarMinCB, 1, 1);
  grid->setColumnStretch(2, 1);
  auto* boxes = new QGridLayout;
  boxes->addWidget(TBOnTopCB, 0, 0);
  boxes->addWidget(HighlightCB, 0, 1);
  boxes->addWidget(AutoStartAppCB, 1, 0);
  boxes->addWidget(FilterCB, 1, 1);
  layout->addLayout(grid);
  layout->addLayout(boxes);
  layout->addStretch();

  connect(DfltVoiceCB, &QComboBox::activated, this, &TOptionsPages::DfltVoiceCBChange);
  connect(ToolbarMinCB, &QComboBox::activated, this,
          [this](int index) { FPreferences.ToolbarOnMinOption = static_cast<quint8>(index); });
  connect(TBOnTopCB, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.ToolbarOnTop = checked; });
  connect(HighlightCB, &QCheckBox::clicked, this, &TOptionsPages::HighlightPosnClick);
  connect(AutoStartAppCB, &QCheckBox::clicked, this,
          [](bool checked) { AutoStartAppCBClick(checked); });
  connect(FilterCB, &QCheckBox::clicked, this,
          [this](bool checked) { FPreferences.TTS_FilterSymbols = checked; });
}

bool TOptionsPages::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (watched == FSISheet) {
      SIOptionsSheetShow();
    } else if (watched == FMISheet) {
      MIOptionsSheetShow();
    } else if (watched == FMiscSheet) {
      MiscSheetShow();
    }
  }
  return QObject::eventFilter(watched, event);
}

// --- loading ---

void TOptionsPages::LoadStartValues() {
  const TPreferences& p = FPreferences;
  const QSignalBlocker blockers[] = {
      QSignalBlocker(MonitorCB),       QSignalBlocker(ClearClipboardCB),
      QSignalBlocker(ThreshHoldEdit),  QSignalBlocker(PromptCkbx),
      QSignalBlocker(PromptDelayEdit), QSignalBlocker(PromptDfltActCBox),
      QSignalBlocker(FileFormatRGrp),  QSignalBlocker(AudioQltyCbx),
      QSignalBlocker(OutDirEdit),      QSignalBlocker(ToolbarMinCB),
      QSignalBlocker(TBOnTopCB),       QSignalBlocker(HighlightCB),
      QSignalBlocker(FilterCB),        QSignalBlocker(AutoDeleteCB)};
  AutoDeleteCB->setChecked(p.AutoDelete());
  MonitorCB->setChecked(p.CB_Monitor);
  ClearClipboardCB->setChecked(p.CB_ClearOnCopy);
  ThreshHoldEdit->setText(QString::number(p.CB_ThreshHold));
  PromptCkbx->setChecked(p.CB_Prompt);
  PromptDelayEdit->setText(QString::number(p.CB_PromptDelay));
  PromptDfltActCBox->setCurrentIndex(
      p.CB_DfltPromptAction < PromptDfltActCBox->count() ? p.CB_DfltPromptAction : 0);
  FileFormatRGrp->SetItemIndex(p.OUT_FileFormat);
  AudioQltyCbx->setCurrentIndex(1);
  for (int i = 0; i < AudioQltyCbx->count(); ++i) {
    if (BitRateOfItem(AudioQltyCbx->itemText(i)) == p.BitRate) {
      AudioQltyCbx->setCurrentIndex(i);
      break;
    }
  }
  EnableQualityControls();
  OutDirEdit->setText(p.OUT_Directory);
  ToolbarMinCB->setCurrentIndex(p.ToolbarOnMinOption < ToolbarMinCB->count() ? p.ToolbarOnMinOption
                                                                             : 0);
  TBOnTopCB->setChecked(p.ToolbarOnTop);
  HighlightCB->setChecked(p.TTS_HighlightPosition);
  FilterCB->setChecked(p.TTS_FilterSymbols);
}

void TOptionsPages::SIOptionsSheetShow() {
  SIVoiceGrp->SetItemIndex(FPreferences.Voice());
  AutoSpeakCB->setChecked(FPreferences.AutoSpeak());
  AutoTitleCB->setChecked(FPreferences.DefaultTitles());
}

void TOptionsPages::MIOptionsSheetShow() {
  MIVoiceGrp->SetItemIndex(FPreferences.Voice());
  ODestGrp->SetItemIndex(FPreferences.FileDest());
  AutoDeleteCB->setChecked(FPreferences.AutoDelete());
}

void TOptionsPages::MiscSheetShow() {
  AutoStartAppCB->setChecked(AutoStartAppEnabled());
  // The favourites may have changed since the list was filled.
  FillDefaultVoiceList();
}

void TOptionsPages::FillDefaultVoiceList() {
  const QSignalBlocker blocker(DfltVoiceCB);
  DfltVoiceCB->clear();
  DfltVoiceCB->addItems(FForm.FavoriteVoices);
  const int index =
      static_cast<int>(FForm.FavoriteVoices.indexOf(FPreferences.TTS_DefaultVoiceName));
  DfltVoiceCB->setCurrentIndex(index >= 0 ? index : (DfltVoiceCB->count() > 0 ? 0 : -1));
}

// --- changes ---

QString TOptionsPages::DirectoryFromEdit(const QString& text) {
  QString directory = text.trimmed();
  // One trailing separator goes, so file names can be joined on; the root
  // folder keeps its only one.
  if (directory.size() > 1 && (directory.endsWith(u'/') || directory.endsWith(u'\\'))) {
    directory.chop(1);
  }
  return directory;
}

int TOptionsPages::BitRateOfItem(const QString& itemText) {
  bool ok = false;
  const int rate = itemText.left(2).toInt(&ok);
  return ok ? rate : 0;
}

void TOptionsPages::VoiceGrpClick(int index) {
  FPreferences.SetVoice(static_cast<quint8>(index));
}

void TOptionsPages::ODestGrpClick(int index) {
  FPreferences.SetFileDest(static_cast<quint8>(index));
  FForm.ReadDestination = index == 1 ? rdMultipleFiles : rdSingleFile;
}

void TOptionsPages::AutoDeleteCBClick() {
  if (FForm.Initialized) {
    FPreferences.SetAutoDelete(AutoDeleteCB->isChecked());
  }
}

void TOptionsPages::NumberEditChange(QLineEdit* edit, qint32& preference) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  if (ok) {
    preference = value;
  }
}

void TOptionsPages::NumberEditDone(QLineEdit* edit, const qint32& preference) {
  bool ok = false;
  edit->text().trimmed().toInt(&ok);
  if (!ok) {
    // An emptied edit shows the value still in force.
    const QSignalBlocker blocker(edit);
    edit->setText(QString::number(preference));
  }
}

void TOptionsPages::ThreshHoldEditChange() {
  NumberEditChange(ThreshHoldEdit, FPreferences.CB_ThreshHold);
}

void TOptionsPages::PromptDelayEditChange() {
  NumberEditChange(PromptDelayEdit, FPreferences.CB_PromptDelay);
}

void TOptionsPages::FileFormatRGrpClick(int index) {
  if (FForm.Initialized) {
    FPreferences.OUT_FileFormat = static_cast<quint8>(index);
  }
  EnableQualityControls();
}

void TOptionsPages::EnableQualityControls() {
  const bool mp3 = FileFormatRGrp->ItemIndex() == 1;
  AudioQltyCbx->setEnabled(mp3);
  if (auto* label = FForm.TabSheet2->findChild<QLabel*>(QStringLiteral("QualityLbl"))) {
    label->setEnabled(mp3);
  }
}

void TOptionsPages::AudioQltyCbxChange(int index) {
  const int rate = BitRateOfItem(AudioQltyCbx->itemText(index));
  if (rate > 0) {
    FPreferences.BitRate = rate;
  }
}

void TOptionsPages::OutDirEditChange() {
  FPreferences.OUT_Directory = DirectoryFromEdit(OutDirEdit->text());
}

void TOptionsPages::Button1Click() {
  TOutDirDialog* dialog = OutDirDialog;
  std::unique_ptr<TOutDirDialog> own;
  if (dialog == nullptr) {
    own = std::make_unique<TOutDirDialog>(&FForm);
    dialog = own.get();
  }
  if (dialog->exec() == QDialog::Accepted) {
    const QSignalBlocker blocker(OutDirEdit);
    OutDirEdit->setText(FPreferences.OUT_Directory);
  }
}

void TOptionsPages::DfltVoiceCBChange(int index) {
  if (index >= 0) {
    FPreferences.TTS_DefaultVoiceName = DfltVoiceCB->itemText(index);
  }
}

void TOptionsPages::HighlightPosnClick() {
  FPreferences.TTS_HighlightPosition = HighlightCB->isChecked();
  // Only a highlight switched on has anything to show in the article.
  if (!FPreferences.TTS_HighlightPosition || FForm.RunState != rsReading || TTSForm == nullptr ||
      FForm.Articles == nullptr) {
    return;
  }
  // The article being read is only known by the engine's tag; it counts only
  // while it is still one of the list's entries.
  TMemoEntry* reading = nullptr;
  for (TMemoEntry* entry : FForm.Articles->Entries()) {
    if (reinterpret_cast<qintptr>(entry) == TTSForm->TTS1->Tag) {
      reading = entry;
    }
  }
  if (reading == nullptr) {
    return;
  }
  if (!reading->isVisible()) {
    FForm.Articles->ScrollToTop(FForm.Articles->FindEntry(reading));
  }
  reading->Editor->setFocus();
}
