#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The vocabulary of the speech engine layer: result codes, mode identifiers and
// the mode records the component and the catalogue read.

using HRESULT = qint32;

constexpr HRESULT MakeHResult(quint32 value) {
  return static_cast<HRESULT>(value);
}
constexpr bool Failed(HRESULT hr) {
  return hr < 0;
}

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001u);
constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002u);
constexpr HRESULT E_FAIL = MakeHResult(0x80004005u);
constexpr HRESULT E_ABORT = MakeHResult(0x80004004u);
constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057u);
constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154u);

// Engine results; the low 16 bits name the message the component shows.
constexpr HRESULT TTSERR_NOTENOUGHDATA = MakeHResult(0x80040201u);
constexpr HRESULT TTSERR_WAVEFORMATNOTSUPPORTED = MakeHResult(0x80040202u);
constexpr HRESULT TTSERR_DEVICEINUSE = MakeHResult(0x80040203u);
constexpr HRESULT TTSERR_INVALIDPARAM = MakeHResult(0x80040204u);
constexpr HRESULT TTSERR_DISKERROR = MakeHResult(0x80040205u);
constexpr HRESULT TTSERR_INVALIDMODE = MakeHResult(0x80040206u);
constexpr HRESULT TTSERR_NOTSUPPORTED = MakeHResult(0x80040208u);
constexpr HRESULT TTSERR_OUTOFMEMORY = MakeHResult(0x8004020Au);
constexpr HRESULT TTSERR_EMPTYTEXT = MakeHResult(0x8004020Bu);
constexpr HRESULT AUDERR_BADDEVICEID = MakeHResult(0x80040301u);
constexpr HRESULT AUDERR_NOTPLAYING = MakeHResult(0x80040306u);
constexpr HRESULT AUDERR_NODRIVER = MakeHResult(0x80040317u);
constexpr HRESULT AUDERR_ALREADYCLAIMED = MakeHResult(0x8004031Du);
constexpr HRESULT AUDERR_NOTREADY = MakeHResult(0x8004031Eu);

// A layer that fails with a code leaves the cause in words (what failed, where
// and the system's reason) on the failing thread, as the system's per-thread
// error object does; whoever turns that same code into a message takes it.
// A later failure replaces it, so a stale cause never names the wrong file.
void SetErrorInfo(HRESULT hr, const QString& cause);
// The cause left for hr on this thread, once; empty when there is none or it
// was left for another code.
QString TakeErrorInfo(HRESULT hr);

// A 16-byte identifier (engine modes are told apart by these).
struct TGUID {
  quint32 D1 = 0;
  quint16 D2 = 0;
  quint16 D3 = 0;
  std::array<quint8, 8> D4{};

  bool IsNull() const { return *this == TGUID{}; }
  QString ToString() const;
  // A stable identifier derived from a name (same name, same GUID).
  static TGUID FromName(const QString& name);
  friend bool operator==(const TGUID&, const TGUID&) = default;
};

struct TLanguage {
  quint16 LanguageID = 0;  // Windows language identifier (1033 US English)
  QString szDialect;
};

// Feature bits of a mode.
enum : quint32 {
  TTSFEATURE_SPEED = 0x4,
  TTSFEATURE_PITCH = 0x8,
  TTSFEATURE_TAGGED = 0x10,
  TTSFEATURE_WORDPOSITION = 0x80,
};

// Interfaces a mode offers beside the central one.
enum : quint32 {
  TTSI_ILEXPRONOUNCE = 0x1,
  TTSI_ITTSATTRIBUTES = 0x2,
  TTSI_ITTSCENTRAL = 0x4,
  TTSI_ITTSDIALOGS = 0x8,
};

// One engine mode: one voice of one engine in one language.
struct TTSMODEINFO {
  TGUID gEngineID;
  QString szMfgName;
  QString szProductName;
  TGUID gModeID;
  QString szModeName;
  TLanguage language;
  QString szSpeaker;
  QString szStyle;
  quint16 wGender = 0;  // 0 neutral, 1 female, 2 male
  quint16 wAge = 0;
  quint32 dwFeatures = 0;
  quint32 dwInterfaces = 0;
  quint32 dwEngineFeatures = 0;
};

// Weights for Find: the better a mode matches the weighted fields, the better
// its rank; a zero weight ignores the field.
struct TTSMODEINFORANK {
  quint32 dwEngineID = 0;
  quint32 dwMfgName = 0;
  quint32 dwProductName = 0;
  quint32 dwModeID = 0;
  quint32 dwModeName = 0;
  quint32 dwLanguage = 0;
  quint32 dwDialect = 0;
  quint32 dwSpeaker = 0;
  quint32 dwStyle = 0;
  quint32 dwGender = 0;
  quint32 dwAge = 0;
  quint32 dwFeatures = 0;
  quint32 dwInterfaces = 0;
  quint32 dwEngineFeatures = 0;
};

// Mouth shape of a visual notification.
struct TTSMOUTH {
  quint8 bMouthHeight = 0;
  quint8 bMouthWidth = 0;
  quint8 bMouthUpturn = 0;
  quint8 bJawOpen = 0;
  quint8 bTeethUpperVisible = 0;
  quint8 bTeethLowerVisible = 0;
  quint8 bTonguePosn = 0;
  quint8 bLipTension = 0;
};

// Attribute numbers of AttribChanged.
enum : quint32 { TTSNSAC_PITCH = 1, TTSNSAC_SPEED = 2 };

// Character sets of TextData.
enum : quint32 { CHARSET_TEXT = 0, CHARSET_IPAPHONETIC = 1, CHARSET_ENGINEPHONETIC = 2 };
// Flags of TextData.
enum : quint32 { TTSDATAFLAG_TAGGED = 1 };
