#include "FliteDriver.h"

// Flite's headers declare C functions without saying so.
extern "C" {
#include <flite/flite.h>
// clang-format off
#include <flite/cst_cg.h>
// clang-format on
}

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <mutex>

extern "C" {
cst_voice* register_cmu_us_kal(const char* voxdir);
cst_voice* register_cmu_us_kal16(const char* voxdir);
cst_voice* register_cmu_us_awb(const char* voxdir);
cst_voice* register_cmu_us_rms(const char* voxdir);
cst_voice* register_cmu_us_slt(const char* voxdir);
void usenglish_init(cst_voice* v);
cst_lexicon* cmu_lex_init(void);
}

namespace {

// Flite keeps global state (lexicon caches, voice features we change per
// call): one synthesis at a time in the whole process.
std::mutex& EngineLock() {
  static std::mutex lock;
  return lock;
}

// Guards the list of voices. Kept apart from the engine lock so that listing
// the modes never waits for a sentence being synthesised.
std::mutex& ListLock() {
  static std::mutex lock;
  return lock;
}

// Speed is in the same units as the other engine's (about words per minute),
// so a user who moves between engines finds the same slider.
constexpr quint32 kDefaultSpeed = 175;
constexpr quint32 kMinSpeed = 80;
constexpr quint32 kMaxSpeed = 450;
// Utterances longer than this are cut at a space: Flite computes a whole
// utterance before its first sound, and a reset can only stop it between
// utterances.
constexpr qsizetype kLongUtterance = 240;

struct TFliteVoice {
  QString Speaker;
  quint16 Gender = 2;
  cst_voice* Voice = nullptr;
  float Stretch = 1.0f;  // the voice's own duration stretch
  quint16 F0Mean = 100;  // the voice's own mean pitch in Hz
  int Rate = 16000;
};

class TFliteSynthesizer;

// The synthesiser speaking now (under the engine lock): the streaming
// callback Flite calls has no other way back to it.
TFliteSynthesizer*& Current() {
  static TFliteSynthesizer* current = nullptr;
  return current;
}

int Stream(const cst_wave* wave, int start, int size, int last, cst_audio_streaming_info* info);

// Reads the voice's own speed and pitch, and makes it stream its audio to us.
void Probe(TFliteVoice& voice) {
  cst_features* f = voice.Voice->features;
  voice.Rate = flite_get_param_int(f, "sample_rate", 16000);
  // The feature owns the record from here on, as long as the voice lives.
  cst_audio_streaming_info* streaming = new_audio_streaming_info();
  streaming->asc = &Stream;
  // Small pieces keep the first sound and a reset prompt.
  streaming->min_buffsize = 256;
  flite_feat_set(f, "streaming_info", audio_streaming_info_val(streaming));
  voice.Stretch = flite_get_param_float(f, "duration_stretch", 1.0f);
  float f0 = flite_get_param_float(f, "int_f0_target_mean", 0.0f);
  if (f0 <= 0.0f && feat_present(f, "cg_db")) {
    f0 = val_cg_db(feat_val(f, "cg_db"))->f0_mean;
  }
  voice.F0Mean = static_cast<quint16>(std::clamp(f0 > 0.0f ? f0 : 100.0f, 40.0f, 400.0f));
}

struct TVoices {
  std::vector<TFliteVoice> List;
  QString Folder;
};

TVoices& Loaded() {
  static TVoices voices;
  return voices;
}

// Registers the built-in voices once and the voice files of the folder the
// first time that folder is asked for. Under the list lock.
void Load(const QString& folder) {
  static bool initialised = false;
  TVoices& voices = Loaded();
  if (!initialised) {
    initialised = true;
    flite_init();
    // Voice files name their language; only US English has its rules here.
    flite_add_lang("eng", usenglish_init, cmu_lex_init);
    flite_add_lang("usenglish", usenglish_init, cmu_lex_init);
    const struct {
      const char* Speaker;
      quint16 Gender;
      cst_voice* (*Register)(const char*);
    } builtIn[] = {
        // The clearest voices first: with Flite alone the first is the default.
        {"Slt", 1, register_cmu_us_slt}, {"Rms", 2, register_cmu_us_rms},
        {"Awb", 2, register_cmu_us_awb}, {"Kal16", 2, register_cmu_us_kal16},
        {"Kal", 2, register_cmu_us_kal},
    };
    for (const auto& entry : builtIn) {
      TFliteVoice voice;
      voice.Speaker = QString::fromLatin1(entry.Speaker);
      voice.Gender = entry.Gender;
      voice.Voice = entry.Register(nullptr);
      if (voice.Voice != nullptr) {
        Probe(voice);
        voices.List.push_back(voice);
      }
    }
  }
  if (folder.isEmpty() || folder == voices.Folder) {
    return;
  }
  voices.Folder = folder;
  const QFileInfoList files =
      QDir(folder).entryInfoList({QStringLiteral("*.flitevox")}, QDir::Files, QDir::Name);
  for (const QFileInfo& file : files) {
    const QString speaker = file.completeBaseName();
    const bool known = std::any_of(voices.List.begin(), voices.List.end(), [&](const auto& v) {
      return v.Speaker.compare(speaker, Qt::CaseInsensitive) == 0;
    });
    if (known) {
      continue;
    }
    // A damaged or foreign file gives no voice; Flite reports it on stderr.
    cst_voice* loaded = flite_voice_load(QFile::encodeName(file.absoluteFilePath()).constData());
    if (loaded == nullptr) {
      continue;
    }
    TFliteVoice voice;
    voice.Speaker = speaker;
    const char* gender = flite_get_param_string(loaded->features, "gender", "");
    voice.Gender = qstrcmp(gender, "female") == 0 ? 1 : 2;
    voice.Voice = loaded;
    Probe(voice);
    voices.List.push_back(voice);
  }
}

QString ModeName(const QString& speaker) {
  return QStringLiteral("Flite ") + speaker;
}

class TFliteSynthesizer final : public TSynthesizer {
 public:
  explicit TFliteSynthesizer(const TFliteVoice& voice) : FVoice(voice) {}

  TPcmFormat Format() const override { return {FVoice.Rate, 1}; }

  TSynthLimits Limits() const override {
    TSynthLimits limits;
    // Flite's intonation stays natural within about an octave either way of
    // the voice's own mean; further out the voices crack.
    limits.DefaultPitch = FVoice.F0Mean;
    limits.MinPitch = static_cast<quint16>(std::max(40, FVoice.F0Mean / 2));
    limits.MaxPitch = static_cast<quint16>(std::min(400, FVoice.F0Mean * 2));
    limits.MinSpeed = kMinSpeed;
    limits.MaxSpeed = kMaxSpeed;
    limits.DefaultSpeed = kDefaultSpeed;
    return limits;
  }

  HRESULT Speak(QStringView text, const TSynthSettings& settings, TSynthOutput& output) override {
    std::vector<int> origins;
    const QByteArray ascii = TFliteDriver::Fold(text, origins);
    std::lock_guard lock(EngineLock());
    cst_features* features = FVoice.Voice->features;
    const float stretch = FVoice.Stretch * static_cast<float>(kDefaultSpeed) /
                          static_cast<float>(std::max<quint32>(settings.Speed, 1));
    flite_feat_set_float(features, "duration_stretch", stretch);
    flite_feat_set_float(features, "int_f0_target_mean", settings.Pitch);
    Current() = this;
    FOutput = &output;
    FAborted = false;
    FOrigins = &origins;
    qsizetype start = 0;
    while (start < ascii.size() && !FAborted) {
      const qsizetype end = TFliteDriver::UtteranceEnd(ascii, start);
      FPiece = ascii.mid(start, end - start);
      FPieceStart = start;
      FWords.clear();
      FNextWord = 0;
      FWordsKnown = false;
      if (FPiece.trimmed().isEmpty()) {
        start = end;
        continue;
      }
      cst_utterance* utterance = flite_synth_text(FPiece.constData(), FVoice.Voice);
      if (utterance != nullptr) {
        // A voice that did not stream (or stopped early) still gets its words.
        if (!FAborted && !FWordsKnown) {
          FindWords(utterance, FVoice.Rate);
          for (; FNextWord < FWords.size() && !FAborted; ++FNextWord) {
            FAborted = !FOutput->Word(FWords[FNextWord].Index);
          }
        }
        delete_utterance(utterance);
      }
      start = end;
    }
    Current() = nullptr;
    FOutput = nullptr;
    FOrigins = nullptr;
    return FAborted ? E_ABORT : S_OK;
  }

 private:
  struct TWordAt {
    long Sample;
    int Index;  // UTF-16 index into the piece
  };

  // The words of the utterance with the sample each starts at. Flite's
  // tokens carry their own text; each is looked up in order in the text it
  // was given, so the position is exact whatever punctuation surrounds it.
  void FindWords(const cst_utterance* utterance, int rate) {
    FWordsKnown = true;
    FWords.clear();
    qsizetype cursor = 0;
    for (const cst_item* token = relation_head(utt_relation(utterance, "Token")); token != nullptr;
         token = item_next(token)) {
      const char* name = item_feat_string(token, "name");
      const qsizetype length = qstrlen(name);
      if (length == 0) {
        continue;
      }
      const qsizetype at = FPiece.indexOf(QByteArrayView(name, length), cursor);
      if (at < 0) {
        continue;
      }
      cursor = at + length;
      const cst_item* word = item_daughter(token);
      if (word == nullptr) {
        continue;  // punctuation only: nothing is spoken
      }
      long sample = -1;
      const cst_item* syllable = item_daughter(item_as(word, "SylStructure"));
      const cst_item* segment = syllable != nullptr ? item_daughter(syllable) : nullptr;
      if (segment != nullptr) {
        const cst_item* previous = item_prev(item_as(segment, "Segment"));
        const float seconds = previous != nullptr ? item_feat_float(previous, "end") : 0.0f;
        sample = std::lround(seconds * static_cast<float>(rate));
      }
      const long last = FWords.empty() ? 0 : FWords.back().Sample;
      FWords.push_back(
          {std::max(sample, last), (*FOrigins)[static_cast<std::size_t>(FPieceStart + at)]});
    }
  }

 public:
  // Audio as Flite makes it, with the marks of the words that start in it.
  static int Stream(const cst_wave* wave, int start, int size, int last,
                    cst_audio_streaming_info* info) {
    Q_UNUSED(last);
    TFliteSynthesizer* self = Current();
    if (self == nullptr || self->FOutput == nullptr || self->FAborted) {
      return CST_AUDIO_STREAM_STOP;
    }
    if (!self->FWordsKnown && info->utt != nullptr) {
      self->FindWords(info->utt, wave->sample_rate);
    }
    long done = start;
    const long end = static_cast<long>(start) + size;
    while (self->FNextWord < self->FWords.size() && self->FWords[self->FNextWord].Sample < end) {
      const long at = std::max(done, self->FWords[self->FNextWord].Sample);
      if (at > done && !self->FOutput->Audio(wave->samples + done, at - done)) {
        self->FAborted = true;
        return CST_AUDIO_STREAM_STOP;
      }
      done = at;
      if (!self->FOutput->Word(self->FWords[self->FNextWord].Index)) {
        self->FAborted = true;
        return CST_AUDIO_STREAM_STOP;
      }
      ++self->FNextWord;
    }
    if (end > done && !self->FOutput->Audio(wave->samples + done, end - done)) {
      self->FAborted = true;
      return CST_AUDIO_STREAM_STOP;
    }
    return CST_AUDIO_STREAM_CONT;
  }

 private:
  TFliteVoice FVoice;
  TSynthOutput* FOutput = nullptr;
  const std::vector<int>* FOrigins = nullptr;
  QByteArray FPiece;
  qsizetype FPieceStart = 0;
  std::vector<TWordAt> FWords;
  std::size_t FNextWord = 0;
  bool FWordsKnown = false;
  bool FAborted = false;
};

int Stream(const cst_wave* wave, int start, int size, int last, cst_audio_streaming_info* info) {
  return TFliteSynthesizer::Stream(wave, start, size, last, info);
}

}  // namespace

QByteArray TFliteDriver::Fold(QStringView text, std::vector<int>& origins) {
  QByteArray result;
  result.reserve(text.size());
  origins.clear();
  origins.reserve(static_cast<std::size_t>(text.size()));
  auto put = [&](char c, qsizetype from) {
    result.append(c);
    origins.push_back(static_cast<int>(from));
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    const char16_t u = c.unicode();
    if (u != 0 && u < 0x80) {
      put(static_cast<char>(u), i);
      continue;
    }
    char32_t code = u;
    const qsizetype from = i;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      code = QChar::surrogateToUcs4(c, text.at(i + 1));
      ++i;
    }
    switch (code) {
      case 0x2018:
      case 0x2019:
        put('\'', from);
        continue;
      case 0x201C:
      case 0x201D:
        put('"', from);
        continue;
      default:
        break;
    }
    // "é" -> "e", "ﬁ" -> "fi", "…" -> "...": what Flite can say of it.
    const QString decomposed =
        QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD);
    bool any = false;
    for (const QChar d : decomposed) {
      if (d.unicode() > 0 && d.unicode() < 0x80) {
        put(static_cast<char>(d.unicode()), from);
        any = true;
      }
    }
    if (!any) {
      put(' ', from);
    }
  }
  return result;
}

qsizetype TFliteDriver::UtteranceEnd(const QByteArray& text, qsizetype start) {
  const qsizetype size = text.size();
  qsizetype lastSpace = -1;
  int lineEnds = 0;  // since the last visible character
  for (qsizetype i = start; i < size; ++i) {
    const char c = text.at(i);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      // As in Flite's own reader, a single line end is a space (wrapped text
      // breaks in mid-sentence) and an empty line ends the paragraph: every
      // utterance ends in a pause.
      if (c == '\n' || (c == '\r' && (i + 1 == size || text.at(i + 1) != '\n'))) {
        ++lineEnds;
      }
      const char before = i > start ? text.at(i - 1) : ' ';
      if (lineEnds >= 2 || before == '.' || before == '!' || before == '?' || before == ':' ||
          before == ';') {
        return i + 1;
      }
      lastSpace = i;
    } else {
      lineEnds = 0;
    }
    if (i - start >= kLongUtterance && lastSpace > start) {
      return lastSpace + 1;
    }
  }
  return size;
}

QList<TTSMODEINFO> TFliteDriver::Modes() {
  QList<TTSMODEINFO> modes;
  std::lock_guard lock(ListLock());
  Load(FVoiceFolder);
  for (const TFliteVoice& voice : Loaded().List) {
    TTSMODEINFO mode;
    mode.szMfgName = QStringLiteral("Flite");
    mode.szProductName = QStringLiteral("Flite");
    mode.gEngineID = TGUID::FromName(QStringLiteral("Flite"));
    mode.szSpeaker = voice.Speaker;
    mode.szModeName = ModeName(voice.Speaker);
    mode.gModeID = TGUID::FromName(mode.szModeName);
    mode.language.LanguageID = 1033;
    mode.language.szDialect = QStringLiteral("en-us");
    mode.szStyle = QString::fromUtf8(voice.Voice->name);
    mode.wGender = voice.Gender;
    mode.dwFeatures = TTSFEATURE_SPEED | TTSFEATURE_PITCH | TTSFEATURE_WORDPOSITION;
    mode.dwInterfaces = TTSI_ITTSCENTRAL | TTSI_ITTSATTRIBUTES | TTSI_ITTSDIALOGS;
    modes.append(mode);
  }
  return modes;
}

HRESULT TFliteDriver::CreateSynthesizer(const TTSMODEINFO& mode,
                                        std::unique_ptr<TSynthesizer>& synthesizer) {
  std::lock_guard lock(ListLock());
  Load(FVoiceFolder);
  for (const TFliteVoice& voice : Loaded().List) {
    if (ModeName(voice.Speaker) == mode.szModeName) {
      synthesizer = std::make_unique<TFliteSynthesizer>(voice);
      return S_OK;
    }
  }
  return TTSERR_INVALIDMODE;
}
