#include "TTS.h"

#include <algorithm>
#include <mutex>

#include "EngineCentral.h"
#include "SpeechSystem.h"
#include "TTSEnumerator.h"
#include "TTSSinks.h"

namespace {

constexpr int kMaxShortText = 255;  // tags and titles

struct TModuleState {
  bool Initialised = false;
  bool SpeechPresent = false;
  bool TTSEnginesPresent = false;
  bool WaveOutPresent = false;
};

TModuleState& Module() {
  static TModuleState state;
  if (!state.Initialised) {
    state.Initialised = true;
    const auto system = TSpeechSystem::Default();
    state.SpeechPresent = !system->Drivers.empty();
    state.TTSEnginesPresent = false;
    for (const auto& driver : system->Drivers) {
      state.TTSEnginesPresent = state.TTSEnginesPresent || !driver->Modes().isEmpty();
    }
    state.WaveOutPresent = system->WaveOutCount() > 0;
  }
  return state;
}

std::unique_ptr<TTTSEnum> CreateEnumOrRaise(const TSpeechSystem& system) {
  std::unique_ptr<TTTSEnum> enumerator;
  const HRESULT hr = system.CreateEnum(enumerator);
  if (Failed(hr)) {
    throw ESpeechError(hr);
  }
  return enumerator;
}

}  // namespace

bool SpeechPresent() {
  return Module().SpeechPresent;
}
bool TTSEnginesPresent() {
  return Module().TTSEnginesPresent;
}
bool WaveOutPresent() {
  return Module().WaveOutPresent;
}
void ResetTTSModule() {
  Module().Initialised = false;
}

TTTS::TTTS(QObject* owner, std::shared_ptr<TSpeechSystem> system)
    : TSpeechComponent(owner),
      FSystem(system ? std::move(system) : TSpeechSystem::Default()),
      FModeInfo(std::make_unique<TTSMODEINFO>()) {
  TModuleState& module = Module();
  std::unique_ptr<TTTSEnum> enumerator;
  module.SpeechPresent = !Failed(FSystem->CreateEnum(enumerator));
  module.TTSEnginesPresent = false;
  if (module.SpeechPresent) {
    TTSMODEINFO first;
    quint32 fetched = 0;
    module.TTSEnginesPresent = !Failed(enumerator->Reset()) &&
                               !Failed(enumerator->Next(1, &first, &fetched)) && fetched > 0;
  }
  if (module.SpeechPresent && module.TTSEnginesPresent) {
    TTSMODEINFO found;
    if (!Failed(enumerator->Find(TTSMODEINFO{}, nullptr, &found))) {
      TakeMode(found);
    }
  }
}

TTTS::~TTTS() {
  FModeInfo.reset();
  ReleaseAll();
}

void* TTTS::EngineInterface() const {
  return FCentral.get();
}

void TTTS::TakeMode(const TTSMODEINFO& mode) {
  if (!FModeInfo) {
    FModeInfo = std::make_unique<TTSMODEINFO>();
  }
  *FModeInfo = mode;
  FModeID = mode.gModeID;
}

void TTTS::Loaded() {
  if (FModeInfo) {
    FModeID = FModeInfo->gModeID;
  }
}

TTSMODEINFO TTTS::ModeInfo() const {
  return FModeInfo ? *FModeInfo : TTSMODEINFO{};
}

void TTTS::RequireActive(const QString& what) const {
  if (!FActive || !FCentral) {
    throw EOleError(TTSTexts::ActiveMustBeTrue().arg(what));
  }
}

void TTTS::RequireInactive(const QString& property) const {
  if (FActive) {
    throw EOleError(TTSTexts::ActiveMustBeFalse().arg(property));
  }
}

void TTTS::RaiseEngineError(HRESULT hr, const QString& operation) const {
  const QString product = FModeInfo ? FModeInfo->szProductName : QString();
  switch (static_cast<quint32>(hr)) {
    case 0x80004001u:
    case 0x80040208u:
      throw EOleError(TTSTexts::NotImplemented().arg(operation, product));
    case 0x80040801u:
      throw EOleError(QStringLiteral("Lexicon error - Invalid Text Character"));
    case 0x80040802u:
      throw EOleError(QStringLiteral("Lexicon error - Invalid Sense"));
    case 0x80040803u:
      throw EOleError(QStringLiteral("Lexicon error - Lexicon not found in dictionary"));
    case 0x80040804u:
      throw EOleError(QStringLiteral("Lexicon error - Out of Disk Space"));
    case 0x80040805u:
      throw EOleError(QStringLiteral("Lexicon error - Invalid Pronouncation error"));
    case 0x00040806u:
      throw EOleError(QStringLiteral("Lexicon error - Lexicon already in dictionary"));
    case 0x80040807u:
      throw EOleError(QStringLiteral("Lexicon error - Pronounce buffer to small"));
    case 0x80040808u:
      throw EOleError(QStringLiteral("Lexicon error - Engine info buffer to small"));
    default:
      throw ESpeechError(hr);
  }
}

void TTTS::CheckTranslated(HRESULT hr, const QString& operation) const {
  // A result is examined only outside loading, and only a non-zero one raises.
  if (hr != S_OK && !Loading()) {
    RaiseEngineError(hr, operation);
  }
}

QString TTTS::CharSetName(TChrSet charSet) {
  switch (charSet) {
    case csIPAPhonetic:
      return QStringLiteral("csIPAPhonetic");
    case csEnginePhonetic:
      return QStringLiteral("csEnginePhonetic");
    case csText:
      break;
  }
  return QStringLiteral("csText");
}

// --- mode selection ---

QString TTTS::ModeName() const {
  if (!FModeInfo) {
    return QString();
  }
  if (FModeName == u"Default") {
    return FModeName;
  }
  return FModeInfo->szModeName;
}

void TTTS::SetModeName(const QString& value) {
  if (value.isEmpty() || !SpeechPresent() || !TTSEnginesPresent()) {
    return;
  }
  RequireInactive(QStringLiteral("ModeName"));
  const auto enumerator = CreateEnumOrRaise(*FSystem);
  TTSMODEINFO criteria;
  const bool isDefault = value == u"Default";
  if (!isDefault) {
    criteria.szModeName = value;
  }
  TTSMODEINFORANK rank;
  rank.dwModeName = 10;
  TTSMODEINFO found;
  if (const HRESULT hr = enumerator->Find(criteria, &rank, &found); Failed(hr)) {
    throw ESpeechError(hr);
  }
  if (isDefault && !found.szModeName.isEmpty()) {
    TakeMode(found);
    FModeName = QStringLiteral("Default");
    return;
  }
  enumerator->Reset();
  TTSMODEINFO mode;
  quint32 fetched = 0;
  while (!Failed(enumerator->Next(1, &mode, &fetched)) && fetched == 1) {
    if (mode.szModeName == value) {
      TakeMode(mode);
      FModeName = mode.szModeName;
      return;
    }
  }
  throw EOleError(TTSTexts::InvalidModeName());
}

void TTTS::SetModeID(const TGUID& value) {
  RequireInactive(QStringLiteral("ModeID"));
  const auto enumerator = CreateEnumOrRaise(*FSystem);
  TTSMODEINFO criteria;
  criteria.gModeID = value;
  TTSMODEINFORANK rank;
  rank.dwModeID = 10;
  TTSMODEINFO found;
  if (const HRESULT hr = enumerator->Find(criteria, &rank, &found); Failed(hr)) {
    throw ESpeechError(hr);
  }
  if (found.gModeID == value) {
    TakeMode(found);
    FModeName = found.szModeName;
    return;
  }
  enumerator->Reset();
  TTSMODEINFO mode;
  quint32 fetched = 0;
  while (!Failed(enumerator->Next(1, &mode, &fetched)) && fetched == 1) {
    if (mode.gModeID == value) {
      TakeMode(mode);
      return;
    }
  }
  throw EOleError(TTSTexts::InvalidModeName());
}

// --- devices and destinations ---

int TTTS::AudioDeviceID() const {
  if (FAudioDeviceID < -1 || FAudioDeviceID > FSystem->WaveOutCount()) {
    return -1;
  }
  return FAudioDeviceID;
}

void TTTS::SetAudioDeviceID(int value) {
  if (!WaveOutPresent()) {
    return;
  }
  RequireInactive(QStringLiteral("AudioDeviceID"));
  // The count itself is accepted, as it always was.
  if (value < -1 || value > FSystem->WaveOutCount()) {
    throw EOleError(TTSTexts::DeviceOutOfRange());
  }
  FAudioDeviceID = value;
}

void TTTS::SetOutputFile(const QString& value) {
  if (FActive && OutputDest == odFile && FAudioDest) {
    auto* file = dynamic_cast<IAudioFile*>(FAudioDest.get());
    if (file != nullptr) {
      if (const HRESULT hr = file->Set(value, 1); Failed(hr)) {
        throw ESpeechError(hr);
      }
    }
  }
  FOutputFile = value;
}

std::shared_ptr<TAudioDest> TTTS::CreateAudioDest() {
  switch (OutputDest) {
    case odAudioDevice: {
      std::shared_ptr<IAudioMultiMediaDevice> device;
      if (const HRESULT hr = FSystem->CreateDeviceDest(device); Failed(hr)) {
        throw ESpeechError(hr);
      }
      if (!WaveOutPresent()) {
        throw EOleError(TTSTexts::NoWaveOut());
      }
      if (const HRESULT hr = device->DeviceNumSet(AudioDeviceID()); Failed(hr)) {
        throw ESpeechError(hr);
      }
      return device;
    }
    case odFile: {
      std::shared_ptr<IAudioFile> file;
      if (const HRESULT hr = FSystem->CreateFileDest(file); Failed(hr)) {
        throw ESpeechError(hr);
      }
      if (FOutputFile.isEmpty()) {
        throw EOleError(TTSTexts::NeedOutputFile());
      }
      // The whole path goes through: cutting it would write somewhere else.
      if (const HRESULT hr = file->Set(FOutputFile, 1); Failed(hr)) {
        throw ESpeechError(hr);
      }
      return file;
    }
    case odDirect:
      // There is no direct-sound destination on this system.
      throw ESpeechError(REGDB_E_CLASSNOTREG);
    case odOther: {
      if (!OnMakeOtherDest) {
        throw EOleError(TTSTexts::NeedOtherDestEvent());
      }
      std::shared_ptr<TAudioDest> dest;
      OnMakeOtherDest(this, dest);
      if (!dest) {
        throw EOleError(TTSTexts::OtherDestUnassigned());
      }
      return dest;
    }
  }
  return nullptr;
}

// --- activation ---

void TTTS::SetActive(bool value) {
  if (value == FActive) {
    return;
  }
  if (value) {
    Activate();
  } else {
    Deactivate();
  }
}

void TTTS::Activate() {
  FClosedFileError.clear();
  const auto enumerator = CreateEnumOrRaise(*FSystem);
  try {
    FAudioDest = CreateAudioDest();
    if (!FAudioDest) {
      return;
    }
    if (const HRESULT hr = enumerator->Select(FModeID, FCentral, FAudioDest); Failed(hr)) {
      throw ESpeechError(hr);
    }
    if (OutputDest != odFile) {
      FAudioDest.reset();
    }
    if (FModeInfo && (FModeInfo->dwInterfaces & TTSI_ITTSATTRIBUTES) != 0) {
      FAttributes = FCentral->Attributes();
      if (FAttributes == nullptr) {
        throw EOleError(TTSTexts::NoAttributes());
      }
    }
    FNotifySink = std::make_shared<TTSNotifySink>(this);
    if (Failed(FCentral->Register(FNotifySink, &FNotifyKey))) {
      // Speech still works, only without audio start and stop.
      FNotifySink.reset();
    }
    FBufNotifySink = std::make_shared<TTSBufNotifySink>(this);
    FDialogs = FCentral->Dialogs();
    if (FDialogs == nullptr) {
      throw EOleError(TTSTexts::NoDialogs());
    }
    FActive = true;
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

QString TTTS::FileErrorReason(const IAudioFile& file, HRESULT hr) {
  const QString reason = file.ErrorText();
  return reason.isEmpty() ? SystemErrorText(hr) : reason;
}

QString TTTS::OutputFileError() const {
  const auto* file =
      OutputDest == odFile ? dynamic_cast<const IAudioFile*>(FAudioDest.get()) : nullptr;
  if (file == nullptr) {
    return FClosedFileError;
  }
  return file->WriteError() == S_OK ? QString() : FileErrorReason(*file, file->WriteError());
}

void TTTS::Deactivate() {
  HRESULT flushResult = S_OK;
  std::shared_ptr<TAudioDest> written;
  if (OutputDest == odFile && FAudioDest) {
    if (auto* file = dynamic_cast<IAudioFile*>(FAudioDest.get())) {
      flushResult = file->Flush();
    }
    written = std::move(FAudioDest);
  }
  // Released even when the file could not be completed: an engine kept open
  // would fail the same way at every later attempt.
  ReleaseAll();
  FActive = false;
  FAudioPaused = false;
  if (Failed(flushResult)) {
    FClosedFileError = FileErrorReason(dynamic_cast<const IAudioFile&>(*written), flushResult);
    throw ESpeechError(flushResult);
  }
}

void TTTS::ReleaseAll() {
  FDialogs = nullptr;
  FAttributes = nullptr;
  if (FCentral && FNotifySink) {
    FCentral->UnRegister(FNotifyKey);
  }
  FNotifySink.reset();
  FBufNotifySink.reset();
  FAudioDest.reset();
  if (FCentral) {
    ReleaseCentral(std::move(FCentral));
  }
  FActive = false;
}

// --- speaking ---

void TTTS::Speak(const QString& text) {
  RequireActive(QStringLiteral("Speak"));
  std::u16string buffer = text.toStdU16String();
  // The engine reads up to the first NUL; one inside a text (a damaged file)
  // would end the speech there without a word. A space in its place keeps
  // every later word position where it was.
  std::replace(buffer.begin(), buffer.end(), u'\0', u' ');
  const auto size = static_cast<quint32>((buffer.size() + 1) * 2);
  const HRESULT hr = FCentral->TextData(FCharacterSet, FControlTags == ctTagged ? 1 : 0,
                                        buffer.c_str(), size, FBufNotifySink);
  CheckTranslated(hr, QStringLiteral("Speak method failed. ") + u' ' + CharSetName(FCharacterSet));
}

void TTTS::Inject(const QString& tag) {
  RequireActive(QStringLiteral("Inject"));
  CheckTranslated(FCentral->Inject(tag.left(kMaxShortText)), QStringLiteral("The Inject function"));
}

QString TTTS::ConvertToPhoneme(TChrSet charSet, quint32 flags, const QString& text) {
  RequireActive(QStringLiteral("ConvertToPhoneme"));
  FPhonemes.clear();
  QString result;
  const HRESULT hr = FCentral->Phoneme(charSet, flags, text, &result);
  if (Failed(hr)) {
    RaiseEngineError(
        hr, QStringLiteral("ConvertToPhoneme method failed. ") + u' ' + CharSetName(charSet));
  }
  FPhonemes = result;
  return FPhonemes;
}

void TTTS::ShowLexiconDlg(void* parent, const QString* title) {
  ShowDlg(QStringLiteral("Lexicon"), parent, title);
}

void TTTS::ShowDlg(const QString& name, void* parent, const QString* title) {
  RequireActive(QStringLiteral("Show") + name + QStringLiteral("Dlg"));
  QString shortTitle;
  const QString* titleArg = nullptr;
  if (title != nullptr) {
    shortTitle = title->left(kMaxShortText);
    titleArg = &shortTitle;
  }
  HRESULT hr = S_OK;
  if (FDialogs != nullptr && !name.isEmpty()) {
    switch (name.at(0).unicode()) {
      case u'A':
        hr = FDialogs->AboutDlg(parent, titleArg);
        break;
      case u'G':
        hr = FDialogs->GeneralDlg(parent, titleArg);
        break;
      case u'L':
        hr = FDialogs->LexiconDlg(parent, titleArg);
        break;
      case u'T':
        hr = FDialogs->TranslateDlg(parent, titleArg);
        break;
      default:
        break;
    }
  }
  if (Failed(hr)) {
    RaiseEngineError(hr, QStringLiteral("The Show") + name + QStringLiteral("Dlg function"));
  }
}

// --- audio control ---

void TTTS::SetAudioPaused(bool value) {
  if (value == FAudioPaused) {
    return;
  }
  RequireActive(QStringLiteral("AudioPaused"));
  const HRESULT hr = value ? FCentral->AudioPause() : FCentral->AudioResume();
  if (Failed(hr)) {
    throw ESpeechError(hr);
  }
  FAudioPaused = value;
}

void TTTS::AudioReset() {
  RequireActive(QStringLiteral("AudioReset"));
  FAudioPaused = false;
  if (const HRESULT hr = FCentral->AudioReset(); Failed(hr)) {
    throw ESpeechError(hr);
  }
}

// --- attributes ---

int TTTS::Pitch() const {
  if (FAttributes == nullptr) {
    return -1;
  }
  quint16 value = 0;
  const HRESULT hr = FAttributes->PitchGet(&value);
  if (Failed(hr) && hr != E_NOTIMPL) {
    throw ESpeechError(hr);
  }
  return value;
}

int TTTS::Speed() const {
  if (FAttributes == nullptr) {
    return 0;
  }
  quint32 value = 0;
  const HRESULT hr = FAttributes->SpeedGet(&value);
  if (Failed(hr) && hr != E_NOTIMPL) {
    throw ESpeechError(hr);
  }
  return static_cast<int>(value);
}

void TTTS::SetPitch(int value) {
  if (FAttributes == nullptr) {
    throw EOleError(TTSTexts::ActiveMustBeTrue().arg(QStringLiteral("Pitch")));
  }
  const HRESULT hr = FAttributes->PitchSet(static_cast<quint16>(value));
  if (hr != E_NOTIMPL) {
    CheckTranslated(Failed(hr) ? hr : S_OK, QStringLiteral("Pitch attribute"));
  }
}

void TTTS::SetSpeed(int value) {
  if (FAttributes == nullptr) {
    throw EOleError(TTSTexts::ActiveMustBeTrue().arg(QStringLiteral("Speed")));
  }
  const HRESULT hr = FAttributes->SpeedSet(static_cast<quint32>(value));
  if (hr != E_NOTIMPL) {
    CheckTranslated(Failed(hr) ? hr : S_OK, QStringLiteral("Speed attribute"));
  }
}

// Ranges are found by setting an extreme, reading what the engine clamped it
// to, and putting the old value back.
int TTTS::MinPitch() {
  quint16 old = 0;
  if (FAttributes == nullptr || FAttributes->PitchGet(&old) == E_NOTIMPL) {
    return 0;
  }
  quint16 result = 0;
  FAttributes->PitchSet(0);
  FAttributes->PitchGet(&result);
  FAttributes->PitchSet(old);
  return result;
}

int TTTS::MaxPitch() {
  quint16 old = 0;
  if (FAttributes == nullptr || FAttributes->PitchGet(&old) == E_NOTIMPL) {
    return 100;
  }
  quint16 result = 0;
  FAttributes->PitchSet(0xFFFF);
  FAttributes->PitchGet(&result);
  FAttributes->PitchSet(old);
  return result;
}

int TTTS::MinSpeed() {
  quint32 old = 0;
  if (FAttributes == nullptr || FAttributes->SpeedGet(&old) == E_NOTIMPL) {
    return 0;
  }
  quint32 result = 0;
  FAttributes->SpeedSet(0);
  FAttributes->SpeedGet(&result);
  FAttributes->SpeedSet(old);
  return static_cast<int>(result);
}

int TTTS::MaxSpeed() {
  quint32 old = 0;
  if (FAttributes == nullptr || FAttributes->SpeedGet(&old) == E_NOTIMPL) {
    return 100;
  }
  quint32 result = 0;
  FAttributes->SpeedSet(0xFFFFFFFFu);
  FAttributes->SpeedGet(&result);
  FAttributes->SpeedSet(old);
  return static_cast<int>(result);
}

// --- character set and tags ---

void TTTS::SetCharacterSet(TChrSet value) {
  const TChrSet previous = FCharacterSet;
  FCharacterSet = value;
  if (FActive && FCentral) {
    // The engine is asked whether it takes the set with an empty buffer.
    const char16_t zero[1] = {0};
    const HRESULT hr = FCentral->TextData(value, 0, zero, 1, nullptr);
    if (Failed(hr)) {
      FCharacterSet = previous;
      if (!Loading()) {
        RaiseEngineError(hr, CharSetName(value));
      }
    }
  }
}

void TTTS::SetControlTags(TCtrlTags value) {
  if (value != ctTagged) {
    FControlTags = ctNone;
    return;
  }
  if (!FModeInfo) {
    return;
  }
  if ((FModeInfo->dwFeatures & TTSFEATURE_TAGGED) != 0) {
    FControlTags = ctTagged;
    return;
  }
  FControlTags = ctNone;
  throw EOleError(
      TTSTexts::NotImplemented().arg(QStringLiteral("Control Tagging"), FModeInfo->szProductName));
}

// --- module operations ---

HRESULT GetTTSModeNames(QStringList& list) {
  const auto enumerator = CreateEnumOrRaise(*TSpeechSystem::Default());
  HRESULT hr = enumerator->Reset();
  if (Failed(hr)) {
    return hr;
  }
  while (true) {
    TTSMODEINFO mode;
    quint32 fetched = 0;
    hr = enumerator->Next(1, &mode, &fetched);
    if (Failed(hr) || fetched == 0) {
      return hr;
    }
    list.append(mode.szModeName.left(262));
  }
}

TGUID FindModeIDByName(const QString& name) {
  TGUID result;
  const auto enumerator = CreateEnumOrRaise(*TSpeechSystem::Default());
  if (const HRESULT hr = enumerator->Reset(); Failed(hr)) {
    throw ESpeechError(hr);
  }
  const QString wanted = name.trimmed();
  while (true) {
    TTSMODEINFO mode;
    quint32 fetched = 0;
    if (Failed(enumerator->Next(1, &mode, &fetched)) || fetched == 0) {
      return result;
    }
    if (mode.szModeName.trimmed() == wanted) {
      return mode.gModeID;
    }
  }
}
