#include "WaveDevices.h"

#include <alsa/asoundlib.h>

#include <QFileInfo>
#include <cerrno>
#include <mutex>

namespace {

void SilentHandler(const char*, int, const char*, int, const char*, ...) {}

QStringList HintNames(const char* wantedIo) {
  SilenceAlsaErrors();
  QStringList names;
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0 || hints == nullptr) {
    return names;
  }
  for (void** hint = hints; *hint != nullptr; ++hint) {
    char* name = snd_device_name_get_hint(*hint, "NAME");
    char* io = snd_device_name_get_hint(*hint, "IOID");
    // No IOID means the PCM does both directions.
    const bool wanted = io == nullptr || qstrcmp(io, wantedIo) == 0;
    if (name != nullptr && wanted && qstrcmp(name, "default") != 0) {
      names.append(QString::fromUtf8(name));
    }
    free(name);
    free(io);
  }
  snd_device_name_free_hint(hints);
  return names;
}

// The sound server behind ALSA's default device, by the sockets it listens on.
QString SoundServer() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty()) {
    if (QFileInfo::exists(runtime + QStringLiteral("/pipewire-0"))) {
      return QStringLiteral("PipeWire");
    }
    if (QFileInfo::exists(runtime + QStringLiteral("/pulse/native"))) {
      return QStringLiteral("PulseAudio");
    }
  }
  return QStringLiteral("ALSA (no sound server)");
}

QString HintDescription(const QString& pcmName, bool firstLine = true) {
  QString result;
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0 || hints == nullptr) {
    return result;
  }
  for (void** hint = hints; *hint != nullptr && result.isEmpty(); ++hint) {
    char* name = snd_device_name_get_hint(*hint, "NAME");
    if (name != nullptr && QString::fromUtf8(name) == pcmName) {
      char* desc = snd_device_name_get_hint(*hint, "DESC");
      if (desc != nullptr) {
        result = QString::fromUtf8(desc);
        if (firstLine) {
          result = result.section(QLatin1Char('\n'), 0, 0);
        }
      }
      free(desc);
    }
    free(name);
  }
  snd_device_name_free_hint(hints);
  return result;
}

}  // namespace

void SilenceAlsaErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&SilentHandler); });
}

QStringList TWaveDevices::OutputNames() {
  return HintNames("Output");
}

QString TWaveDevices::PcmName(int deviceId) {
  if (deviceId == -1) {
    return QStringLiteral("default");
  }
  const QStringList names = OutputNames();
  return deviceId >= 0 && deviceId < names.size() ? names.at(deviceId) : QString();
}

int TWaveDevices::OutputCount() {
  return static_cast<int>(OutputNames().size());
}

int TWaveDevices::InputCount() {
  return static_cast<int>(HintNames("Input").size());
}

bool TWaveDevices::OutputCaps(int deviceId, TWaveOutCaps& caps) {
  const QString name = PcmName(deviceId);
  if (name.isEmpty()) {
    return false;
  }
  SilenceAlsaErrors();
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, name.toUtf8().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) <
      0) {
    return false;
  }
  snd_pcm_hw_params_t* all = nullptr;
  snd_pcm_hw_params_t* trial = nullptr;
  snd_pcm_hw_params_alloca(&all);
  snd_pcm_hw_params_alloca(&trial);
  if (snd_pcm_hw_params_any(pcm, all) < 0) {
    snd_pcm_close(pcm);
    return false;
  }
  caps = TWaveOutCaps{};
  caps.DeviceID = deviceId;
  QString product = deviceId == -1 ? QStringLiteral("Default device") : HintDescription(name);
  if (product.isEmpty()) {
    product = name;
  }
  caps.ProductName = product.left(31);
  caps.PcmName = name;
  caps.Description = deviceId == -1
                         ? QStringLiteral("Default output (system mixer)")
                         : HintDescription(name, false).replace(u'\n', QStringLiteral(", "));
  caps.PlaysThrough = deviceId == -1 || !name.startsWith(QStringLiteral("hw:"))
                          ? SoundServer()
                          : QStringLiteral("ALSA, straight to the card");
  // Bit order: for each rate, mono 8, stereo 8, mono 16, stereo 16.
  const unsigned rates[] = {11025, 22050, 44100};
  quint32 bit = 1;
  for (unsigned rate : rates) {
    for (snd_pcm_format_t format : {SND_PCM_FORMAT_U8, SND_PCM_FORMAT_S16}) {
      for (unsigned channels : {1u, 2u}) {
        snd_pcm_hw_params_copy(trial, all);
        if (snd_pcm_hw_params_set_format(pcm, trial, format) == 0 &&
            snd_pcm_hw_params_set_channels(pcm, trial, channels) == 0 &&
            snd_pcm_hw_params_test_rate(pcm, trial, rate, 0) == 0) {
          caps.Formats |= bit;
        }
        bit <<= 1;
      }
    }
  }
  unsigned maxChannels = 0;
  snd_pcm_hw_params_get_channels_max(all, &maxChannels);
  caps.Channels = maxChannels >= 2 ? 2 : 1;
  snd_pcm_close(pcm);
  return true;
}

int TWaveDevices::ProbeWaveOut(int deviceId) {
  const QString name = PcmName(deviceId);
  if (name.isEmpty()) {
    return WAVE_PROBE_FAILED;
  }
  SilenceAlsaErrors();
  snd_pcm_t* pcm = nullptr;
  int rc = snd_pcm_open(&pcm, name.toUtf8().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (rc == -EBUSY) {
    return WAVE_PROBE_BUSY;
  }
  if (rc < 0) {
    return WAVE_PROBE_FAILED;
  }
  rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, 22050, 1,
                          500000);
  snd_pcm_close(pcm);
  if (rc == -EBUSY) {
    return WAVE_PROBE_BUSY;
  }
  return rc < 0 ? WAVE_PROBE_FAILED : WAVE_PROBE_OK;
}
