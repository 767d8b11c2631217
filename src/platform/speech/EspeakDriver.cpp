#include "EspeakDriver.h"

#include <espeak-ng/speak_lib.h>

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// espeak-ng is one engine per process: one synthesis at a time.
std::mutex& EngineLock() {
  static std::mutex lock;
  return lock;
}

int InitialRate() {
  static int rate = [] {
    // Synchronous output only: espeak's own playback hangs without a sound card.
    return espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 40, nullptr, espeakINITIALIZE_DONT_EXIT);
  }();
  return rate;
}

struct TSpeakerDef {
  const char* Name;
  const char* Variant;  // variant file, empty for the language's own voice
  quint16 Gender;       // 1 female, 2 male
};

// Readable, distinct speakers. English gets several of each gender.
const TSpeakerDef kEnglishSpeakers[] = {
    {"Adam", "", 2},         {"Michael", "Michael", 2}, {"Robert", "robert", 2},
    {"Paul", "paul", 2},     {"Linda", "linda", 1},     {"Annie", "Annie", 1},
    {"Alicia", "Alicia", 1}, {"Steph", "steph", 1},
};
const TSpeakerDef kOtherSpeakers[] = {
    {"Max", "", 2},
    {"Anna", "f2", 1},
};

// Regional variants whose identifier would fall back to the same language name
// as another entry (Belgian and Swiss French, Cantonese, Serbian) are left out: they
// would produce two voices with one name and one settings key.
const QHash<QString, quint16>& LanguageTable() {
  static const QHash<QString, quint16> table = {
      {QStringLiteral("ar"), 1025},    {QStringLiteral("bg"), 1026},
      {QStringLiteral("ca"), 1027},    {QStringLiteral("cmn"), 2052},
      {QStringLiteral("cs"), 1029},    {QStringLiteral("da"), 1030},
      {QStringLiteral("de"), 1031},    {QStringLiteral("el"), 1032},
      {QStringLiteral("en-us"), 1033}, {QStringLiteral("es"), 1034},
      {QStringLiteral("fi"), 1035},    {QStringLiteral("fr-fr"), 1036},
      {QStringLiteral("he"), 1037},    {QStringLiteral("hu"), 1038},
      {QStringLiteral("is"), 1039},    {QStringLiteral("it"), 1040},
      {QStringLiteral("ja"), 1041},    {QStringLiteral("ko"), 1042},
      {QStringLiteral("nl"), 1043},    {QStringLiteral("nb"), 1044},
      {QStringLiteral("pl"), 1045},    {QStringLiteral("pt-br"), 1046},
      {QStringLiteral("ro"), 1048},    {QStringLiteral("ru"), 1049},
      {QStringLiteral("hr"), 1050},    {QStringLiteral("sk"), 1051},
      {QStringLiteral("sq"), 1052},    {QStringLiteral("sv"), 1053},
      {QStringLiteral("th"), 1054},    {QStringLiteral("tr"), 1055},
      {QStringLiteral("id"), 1057},    {QStringLiteral("uk"), 1058},
      {QStringLiteral("be"), 1059},    {QStringLiteral("sl"), 1060},
      {QStringLiteral("et"), 1061},    {QStringLiteral("lv"), 1062},
      {QStringLiteral("lt"), 1063},    {QStringLiteral("fa"), 1065},
      {QStringLiteral("vi"), 1066},    {QStringLiteral("hy"), 1067},
      {QStringLiteral("eu"), 1069},    {QStringLiteral("mk"), 1071},
      {QStringLiteral("af"), 1078},    {QStringLiteral("ka"), 1079},
      {QStringLiteral("hi"), 1081},    {QStringLiteral("mt"), 1082},
      {QStringLiteral("ms"), 1086},    {QStringLiteral("sw"), 1089},
      {QStringLiteral("en-gb"), 2057}, {QStringLiteral("es-419"), 2058},
      {QStringLiteral("pt"), 2070},
  };
  return table;
}

struct TVoiceRef {
  QString Identifier;  // voice file, e.g. "gmw/en-US"
  QString Variant;     // variant file name or empty
};

QHash<QString, TVoiceRef>& VoiceRefs() {  // by mode name
  static QHash<QString, TVoiceRef> refs;
  return refs;
}

const QList<TTSMODEINFO>& AllModes() {
  static const QList<TTSMODEINFO> modes = [] {
    QList<TTSMODEINFO> result;
    std::lock_guard lock(EngineLock());
    if (InitialRate() <= 0) {
      return result;
    }
    const espeak_VOICE** voices = espeak_ListVoices(nullptr);
    for (int i = 0; voices != nullptr && voices[i] != nullptr; ++i) {
      const espeak_VOICE* voice = voices[i];
      const QString language = QString::fromUtf8(voice->languages + 1).toLower();
      const quint16 languageId = TEspeakDriver::LanguageIdOf(language);
      if (languageId == 0) {
        continue;
      }
      const bool english = language.startsWith(u"en-");
      const QString identifier = QString::fromUtf8(voice->identifier);
      auto add = [&](const TSpeakerDef& speaker) {
        const QString modeName =
            QStringLiteral("eSpeak NG %1 %2").arg(language, QString::fromLatin1(speaker.Name));
        if (VoiceRefs().contains(modeName)) {
          return;  // a second voice for the same language: the first one names it
        }
        TTSMODEINFO mode;
        mode.szMfgName = QStringLiteral("eSpeak NG");
        mode.szProductName = QStringLiteral("eSpeak NG");
        mode.gEngineID = TGUID::FromName(QStringLiteral("eSpeak NG"));
        mode.szSpeaker = QString::fromLatin1(speaker.Name);
        mode.szModeName = modeName;
        mode.gModeID = TGUID::FromName(mode.szModeName);
        mode.language.LanguageID = languageId;
        mode.language.szDialect = language;
        mode.szStyle = QString::fromUtf8(voice->name);
        mode.wGender = speaker.Gender;
        mode.dwFeatures = TTSFEATURE_SPEED | TTSFEATURE_PITCH | TTSFEATURE_WORDPOSITION;
        mode.dwInterfaces = TTSI_ITTSCENTRAL | TTSI_ITTSATTRIBUTES | TTSI_ITTSDIALOGS;
        VoiceRefs().insert(mode.szModeName, {identifier, QString::fromLatin1(speaker.Variant)});
        result.append(mode);
      };
      if (english) {
        for (const TSpeakerDef& speaker : kEnglishSpeakers) {
          add(speaker);
        }
      } else {
        for (const TSpeakerDef& speaker : kOtherSpeakers) {
          add(speaker);
        }
      }
    }
    return result;
  }();
  return modes;
}

QString& CurrentVoice() {
  static QString current;
  return current;
}

class TEspeakSynthesizer final : public TSynthesizer {
 public:
  explicit TEspeakSynthesizer(TVoiceRef voice) : FVoice(std::move(voice)) {}

  TPcmFormat Format() const override { return {InitialRate(), 1}; }
  TSynthLimits Limits() const override {
    TSynthLimits limits;
    limits.MinPitch = 0;
    limits.MaxPitch = 100;
    limits.DefaultPitch = 50;
    limits.MinSpeed = espeakRATE_MINIMUM;
    limits.MaxSpeed = espeakRATE_MAXIMUM;
    limits.DefaultSpeed = espeakRATE_NORMAL;
    return limits;
  }

  HRESULT Speak(QStringView text, const TSynthSettings& settings, TSynthOutput& output) override {
    // espeak reports positions in code points; keep where each starts in UTF-16.
    FCodePointStarts.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
      FCodePointStarts.push_back(static_cast<int>(i));
      if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        ++i;
      }
    }
    QByteArray utf8 = text.toUtf8();
    std::lock_guard lock(EngineLock());
    const QString voiceName =
        FVoice.Variant.isEmpty() ? FVoice.Identifier : FVoice.Identifier + u'+' + FVoice.Variant;
    if (CurrentVoice() != voiceName) {
      if (espeak_SetVoiceByName(voiceName.toUtf8().constData()) != EE_OK) {
        return TTSERR_INVALIDMODE;
      }
      CurrentVoice() = voiceName;
    }
    espeak_SetParameter(espeakRATE, static_cast<int>(settings.Speed), 0);
    espeak_SetParameter(espeakPITCH, settings.Pitch, 0);
    espeak_SetSynthCallback(&TEspeakSynthesizer::Callback);
    FOutput = &output;
    FSamples = 0;
    FAborted = false;
    const espeak_ERROR rc =
        espeak_Synth(utf8.constData(), static_cast<size_t>(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, this);
    FOutput = nullptr;
    if (FAborted) {
      return E_ABORT;
    }
    return rc == EE_OK ? S_OK : E_FAIL;
  }

 private:
  // Audio and the events inside it, in order; returning 1 stops espeak within
  // milliseconds (espeak_Cancel would not stop a synthesis under way).
  static int Callback(short* wav, int count, espeak_EVENT* events) {
    auto* self = events != nullptr ? static_cast<TEspeakSynthesizer*>(events->user_data) : nullptr;
    if (self == nullptr || self->FOutput == nullptr) {
      return 0;
    }
    int done = 0;
    for (; events->type != espeakEVENT_LIST_TERMINATED; ++events) {
      if (events->type != espeakEVENT_WORD) {
        continue;
      }
      const int at = std::clamp(events->sample - self->FSamples, done, count);
      if (wav != nullptr && at > done && !self->FOutput->Audio(wav + done, at - done)) {
        self->FAborted = true;
        return 1;
      }
      done = at;
      const int index = events->text_position - 1;
      if (index >= 0 && index < static_cast<int>(self->FCodePointStarts.size()) &&
          !self->FOutput->Word(self->FCodePointStarts[static_cast<std::size_t>(index)])) {
        self->FAborted = true;
        return 1;
      }
    }
    if (wav != nullptr && count > done && !self->FOutput->Audio(wav + done, count - done)) {
      self->FAborted = true;
      return 1;
    }
    self->FSamples += count;
    return 0;
  }

  TVoiceRef FVoice;
  std::vector<int> FCodePointStarts;
  TSynthOutput* FOutput = nullptr;
  int FSamples = 0;
  bool FAborted = false;
};

}  // namespace

bool TEspeakDriver::Available() {
  std::lock_guard lock(EngineLock());
  return InitialRate() > 0;
}

quint16 TEspeakDriver::LanguageIdOf(const QString& espeakLanguage) {
  return LanguageTable().value(espeakLanguage.toLower(), 0);
}

void TEspeakDriver::SortForLocale(QList<TTSMODEINFO>& modes, quint16 localeLanguageId) {
  auto rank = [localeLanguageId](const TTSMODEINFO& mode) {
    if (mode.language.LanguageID == localeLanguageId) {
      return 0;
    }
    return mode.language.LanguageID == 1033 ? 1 : 2;
  };
  std::stable_sort(modes.begin(), modes.end(),
                   [&](const TTSMODEINFO& a, const TTSMODEINFO& b) { return rank(a) < rank(b); });
}

QList<TTSMODEINFO> TEspeakDriver::Modes() {
  QList<TTSMODEINFO> modes = AllModes();
  // The locale's language in espeak terms: "de_DE" -> "de", "en_GB" -> "en-gb".
  const QString locale = QLocale::system().name().toLower().replace(u'_', u'-');
  quint16 localeId = LanguageIdOf(locale);
  if (localeId == 0) {
    localeId = LanguageIdOf(locale.section(u'-', 0, 0));
  }
  if (localeId == 0 && locale.startsWith(u"fr")) {
    localeId = 1036;
  }
  SortForLocale(modes, localeId == 0 ? 1033 : localeId);
  return modes;
}

HRESULT TEspeakDriver::CreateSynthesizer(const TTSMODEINFO& mode,
                                         std::unique_ptr<TSynthesizer>& synthesizer) {
  AllModes();
  const auto found = VoiceRefs().constFind(mode.szModeName);
  if (found == VoiceRefs().constEnd()) {
    return TTSERR_INVALIDMODE;
  }
  synthesizer = std::make_unique<TEspeakSynthesizer>(*found);
  return S_OK;
}
