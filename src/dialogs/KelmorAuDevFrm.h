#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "WaveDevices.h"

class QLabel;
class QListWidget;
class QPushButton;

// Capability bits a wave output device may report.
enum : quint32 {
  WAVECAPS_PITCH = 0x1,
  WAVECAPS_PLAYBACKRATE = 0x2,
  WAVECAPS_VOLUME = 0x4,
  WAVECAPS_LRVOLUME = 0x8,
  WAVECAPS_SYNC = 0x10,
  WAVECAPS_SAMPLEACCURATE = 0x20,
};

// What a device dialog chooses: output devices for speech (duTTS, duVTxt),
// input devices for the recognisers (duSR, duVCmd, duVDct, duNone).
enum TDlgUse : quint8 { duNone, duTTS, duSR, duVCmd, duVDct, duVTxt };

// A device request: the dialog's use and the identifier it starts from and,
// when confirmed, returns (-1 is the system default device).
struct TAuDevDlg {
  TDlgUse FDlgUse = duTTS;
  qint32 FAudioDeviceID = -1;
};

// Where the dialog learns about devices; tests give it devices of their own.
struct TAudioDeviceSource {
  std::function<int()> OutputCount;
  std::function<bool(int deviceId, TWaveOutCaps& caps)> OutputCaps;
  std::function<int()> InputCount;
  std::function<bool(int deviceId, TWaveOutCaps& caps)> InputCaps;
  // The machine's ALSA devices.
  static TAudioDeviceSource System();
};

// "Audio Device ID ": the devices of one kind with their capabilities. Each
// list entry keeps the identifier of its device, so devices left out of the
// list never shift the identifiers of those after them.
class TMyAudioDeviceDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMyAudioDeviceDlg)

 public:
  explicit TMyAudioDeviceDlg(QWidget* parent = nullptr,
                             TAudioDeviceSource source = TAudioDeviceSource::System());
  ~TMyAudioDeviceDlg() override;

  static QString FormatsText(quint32 formats);
  static QString SupportsText(quint32 support);

  void SetDlgUse(TDlgUse use) { FDlgUse = use; }
  TDlgUse DlgUse() const { return FDlgUse; }
  // Remembers the identifier and, when it names a listed device, selects it.
  void SelectDeviceID(qint32 deviceId);
  // The identifier of the selected entry; -1 for the default device or none.
  qint32 SelectedDeviceID() const;
  // Fills the list; done once, when the dialog first shows.
  void FillList();
  // The identifier each list entry stands for.
  const QList<int>& EntryDeviceIDs() const { return FEntryIDs; }

  QListWidget* ListBox1;
  QLabel* lDeviceID;
  QLabel* lManufacturer;
  QLabel* lProduct;
  QLabel* lVersion;
  QLabel* lFormat;
  QLabel* lChannels;
  QLabel* lSupports;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool OutputUse() const { return FDlgUse == duTTS || FDlgUse == duVTxt; }
  void ShowDetails(int row);

  TAudioDeviceSource FSource;
  TDlgUse FDlgUse = duTTS;
  qint32 FDeviceID = -1;
  bool FFilled = false;
  QList<int> FEntryIDs;
};

// Shows the dialog for the request; true when the user confirmed, and then
// the request holds the chosen identifier.
bool RunDeviceDialog(TAuDevDlg& request, QWidget* parent = nullptr,
                     TAudioDeviceSource source = TAudioDeviceSource::System());
