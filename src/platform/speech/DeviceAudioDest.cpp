#include "DeviceAudioDest.h"

#include <cerrno>

#include "ErrorCause.h"
#include "WaveDevices.h"
#include "WavePlayer.h"

namespace {
HRESULT DeviceFailure(HRESULT hr, int deviceId, int errnum) {
  QString name = TWaveDevices::PcmName(deviceId);
  if (name.isEmpty()) {
    name = QString::number(deviceId);
  }
  SetErrorInfo(hr, FileFailureText(QStringLiteral("Cannot open sound output"), name, errnum));
  return hr;
}
}  // namespace

TDeviceAudioDest::TDeviceAudioDest(TOutputFactory factory, std::function<int()> deviceCount)
    : FFactory(std::move(factory)), FDeviceCount(std::move(deviceCount)) {}

TDeviceAudioDest::~TDeviceAudioDest() {
  Unclaim();
}

HRESULT TDeviceAudioDest::DeviceNumSet(int deviceId) {
  if (deviceId < -1 || deviceId >= FDeviceCount()) {
    return AUDERR_BADDEVICEID;
  }
  FDeviceId = deviceId;
  return S_OK;
}

HRESULT TDeviceAudioDest::Claim(const TPcmFormat& format, TListener listener) {
  Unclaim();
  std::unique_ptr<TPcmOutput> output = FFactory(FDeviceId);
  if (!output) {
    return DeviceFailure(AUDERR_BADDEVICEID, FDeviceId, ENODEV);
  }
  auto player = std::make_unique<TWavePlayer>(
      std::move(output), [listener](TWavePlayer::TEventKind kind, quint64 generation, quint64 tag) {
        listener(kind == TWavePlayer::TEventKind::Started ? TEventKind::Started
                 : kind == TWavePlayer::TEventKind::Mark  ? TEventKind::Mark
                                                          : TEventKind::Drained,
                 generation, tag);
      });
  const int rc = player->Open(format);
  if (rc == -EBUSY) {
    return DeviceFailure(AUDERR_ALREADYCLAIMED, FDeviceId, EBUSY);
  }
  if (rc < 0) {
    return DeviceFailure(AUDERR_NODRIVER, FDeviceId, -rc);
  }
  FPlayer = std::move(player);
  return S_OK;
}

void TDeviceAudioDest::Unclaim() {
  if (FPlayer) {
    FPlayer->Close();
    FPlayer.reset();
  }
}

bool TDeviceAudioDest::Write(const qint16* frames, long count, quint64 generation) {
  return FPlayer && FPlayer->Write(frames, count, generation);
}

void TDeviceAudioDest::Mark(quint64 tag, quint64 generation) {
  if (FPlayer) {
    FPlayer->Mark(tag, generation);
  }
}

void TDeviceAudioDest::EndOfStream(quint64 generation) {
  if (FPlayer) {
    FPlayer->EndOfStream(generation);
  }
}

void TDeviceAudioDest::SetPaused(bool paused) {
  if (FPlayer) {
    FPlayer->SetPaused(paused);
  }
}

void TDeviceAudioDest::Reset(quint64 newGeneration) {
  if (FPlayer) {
    FPlayer->Reset(newGeneration);
  }
}

long long TDeviceAudioDest::FramesHandedOver() const {
  return FPlayer ? FPlayer->FramesHandedOver() : 0;
}
