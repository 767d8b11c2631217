#include "KelmorAuDevFrm.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "BaseUtils.h"

namespace {

// The system default: ALSA's "default", which a sound server (PipeWire,
// PulseAudio) or dmix mixes with every other program's sound.
const QString kMapperEntry = QStringLiteral("Default output (system mixer)");

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

TAudioDeviceSource TAudioDeviceSource::System() {
  TAudioDeviceSource source;
  source.OutputCount = [] { return waveOutGetNumDevs(); };
  source.OutputCaps = [](int id, TWaveOutCaps& caps) { return TWaveDevices::OutputCaps(id, caps); };
  source.InputCount = [] { return waveInGetNumDevs(); };
  // Recording devices are never chosen by this program; their capabilities
  // are not read, so an input dialog lists only the default device.
  return source;
}

TMyAudioDeviceDlg::TMyAudioDeviceDlg(QWidget* parent, TAudioDeviceSource source)
    : QDialog(parent), FSource(std::move(source)) {
  setObjectName(QStringLiteral("MyAudioDeviceDlg"));
  setWindowTitle(QStringLiteral("Audio Device ID "));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setMinimumWidth(220);

  auto* details = new QFrame(this);
  details->setFrameShape(QFrame::StyledPanel);
  auto* form = new QFormLayout(details);
  lDeviceID = ValueLabel(details);
  lManufacturer = ValueLabel(details);
  lProduct = ValueLabel(details);
  lVersion = ValueLabel(details);
  lFormat = ValueLabel(details);
  lChannels = ValueLabel(details);
  lFormat->setMinimumHeight(lFormat->fontMetrics().lineSpacing() * 12);
  lFormat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  form->addRow(QStringLiteral("Device ID"), lDeviceID);
  form->addRow(QStringLiteral("ALSA name"), lManufacturer);
  form->addRow(QStringLiteral("Description"), lProduct);
  form->addRow(QStringLiteral("Plays through"), lVersion);
  form->addRow(QStringLiteral("Formats"), lFormat);
  form->addRow(QStringLiteral("Channels"), lChannels);

  auto* supports = new QFrame(this);
  supports->setFrameShape(QFrame::StyledPanel);
  lSupports = ValueLabel(supports);
  lSupports->setWordWrap(true);
  auto* supportsLayout = new QVBoxLayout(supports);
  supportsLayout->addWidget(lSupports);

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  OKBtn->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(ListBox1, 1);
  top->addWidget(details, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(supports);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(ListBox1, &QListWidget::currentRowChanged, this, &TMyAudioDeviceDlg::ShowDetails);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

TMyAudioDeviceDlg::~TMyAudioDeviceDlg() = default;

QString TMyAudioDeviceDlg::FormatsText(quint32 formats) {
  static const std::array<std::pair<quint32, const char16_t*>, 12> kFormats{{
      {WAVE_FORMAT_1M08, u"11.025 kHz, Mono, 8-bit"},
      {WAVE_FORMAT_1S08, u"11.025 kHz, Stereo, 8-bit"},
      {WAVE_FORMAT_1M16, u"11.025 kHz, Mono, 16-bit"},
      {WAVE_FORMAT_1S16, u"11.025 kHz, Stereo, 16-bit"},
      {WAVE_FORMAT_2M08, u"22.05 kHz, Mono, 8-bit "},
      {WAVE_FORMAT_2S08, u"22.05 kHz, Stereo, 8-bit"},
      {WAVE_FORMAT_2M16, u"22.05 kHz, Mono, 16-bit"},
      {WAVE_FORMAT_2S16, u"22.05 kHz, Stereo, 16-bit"},
      {WAVE_FORMAT_4M08, u"44.1 kHz, Mono, 8-bit"},
      {WAVE_FORMAT_4S08, u"44.1 kHz, Stereo, 8-bit"},
      {WAVE_FORMAT_4M16, u"44.1 kHz, Mono, 16-bit"},
      {WAVE_FORMAT_4S16, u"44.1 kHz, Stereo, 16-bit"},
  }};
  QString text;
  for (const auto& [bit, line] : kFormats) {
    if ((formats & bit) != 0) {
      text += QString::fromUtf16(line);
      if (bit != WAVE_FORMAT_4S16) {
        text += u'\n';
      }
    }
  }
  return text;
}

QString TMyAudioDeviceDlg::SupportsText(quint32 support) {
  static const std::array<std::pair<quint32, const char16_t*>, 6> kSupports{{
      {WAVECAPS_LRVOLUME, u"Supports separate left and right volume control. "},
      {WAVECAPS_PITCH, u"Supports pitch control. "},
      {WAVECAPS_PLAYBACKRATE, u"Support playback rate control. "},
      {WAVECAPS_SYNC, u"The driver is synchronous and will block while playing a buffer. "},
      {WAVECAPS_VOLUME, u"Supports volume control. "},
      {WAVECAPS_SAMPLEACCURATE, u"Returns sample-accurate position information."},
  }};
  QString text;
  for (const auto& [bit, phrase] : kSupports) {
    if ((support & bit) != 0) {
      text += QString::fromUtf16(phrase);
    }
  }
  return text;
}

void TMyAudioDeviceDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!FFilled) {
    FillList();
    if (const QScreen* screen = this->screen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
  }
}

void TMyAudioDeviceDlg::FillList() {
  FFilled = true;
  ListBox1->clear();
  FEntryIDs.clear();
  const auto& count = OutputUse() ? FSource.OutputCount : FSource.InputCount;
  const auto& caps = OutputUse() ? FSource.OutputCaps : FSource.InputCaps;
  const int devices = count ? count() : 0;
  if (devices >= 1) {
    setWindowTitle(OutputUse() ? QStringLiteral("Audio Destination Device ID")
                               : QStringLiteral("Audio Source Device ID"));
    ListBox1->addItem(kMapperEntry);
    FEntryIDs << -1;
    for (int id = 0; id < devices && caps; ++id) {
      TWaveOutCaps device;
      if (!caps(id, device)) {
        continue;
      }
      // An output device that takes none of the standard formats cannot
      // play the engine's audio.
      if (OutputUse() && (device.Formats & 0xFFFu) == 0) {
        continue;
      }
      ListBox1->addItem(device.ProductName.left(31));
      FEntryIDs << id;
    }
  }
  SelectDeviceID(FDeviceID);
}

void TMyAudioDeviceDlg::SelectDeviceID(qint32 deviceId) {
  FDeviceID = deviceId;
  const int row = static_cast<int>(FEntryIDs.indexOf(deviceId));
  if (row >= 0) {
    ListBox1->setCurrentRow(row);
    ShowDetails(row);
  } else {
    ListBox1->setCurrentRow(-1);
  }
}

qint32 TMyAudioDeviceDlg::SelectedDeviceID() const {
  const int row = ListBox1->currentRow();
  return row > 0 && row < FEntryIDs.size() ? FEntryIDs.at(row) : -1;
}

void TMyAudioDeviceDlg::ShowDetails(int row) {
  if (row < 0 || row >= FEntryIDs.size()) {
    return;
  }
  const int id = FEntryIDs.at(row);
  lDeviceID->setText(id == -1 ? QStringLiteral("-1 (system default)") : QString::number(id));
  const auto& capsOf = OutputUse() ? FSource.OutputCaps : FSource.InputCaps;
  TWaveOutCaps caps;
  if (!capsOf || !capsOf(id, caps)) {
    // Another device's details beside this one would mislead.
    for (QLabel* label : {lManufacturer, lProduct, lVersion, lFormat, lChannels, lSupports}) {
      label->clear();
    }
    return;
  }
  lManufacturer->setText(caps.PcmName);
  lProduct->setText(caps.Description.isEmpty() ? caps.ProductName : caps.Description);
  lVersion->setText(caps.PlaysThrough);
  lFormat->setText(FormatsText(caps.Formats));
  lChannels->setText(caps.Channels == 1   ? QStringLiteral("Mono")
                     : caps.Channels == 2 ? QStringLiteral("Stereo")
                                          : QString::number(caps.Channels));
  if (OutputUse()) {
    lSupports->setText(SupportsText(caps.Support));
  }
}

bool RunDeviceDialog(TAuDevDlg& request, QWidget* parent, TAudioDeviceSource source) {
  TMyAudioDeviceDlg dialog(parent, std::move(source));
  dialog.SetDlgUse(request.FDlgUse);
  dialog.SelectDeviceID(request.FAudioDeviceID);
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  request.FAudioDeviceID = dialog.SelectedDeviceID();
  UtilsClass::Trace(QStringLiteral("Audio device chosen: ") +
                    QString::number(request.FAudioDeviceID));
  return true;
}
