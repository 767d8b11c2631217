#include "TTSEngineUnit.h"

#include <array>

#include "AppPaths.h"
#include "GrabBaseClassUnit.h"
#include "PreferenceUnit.h"
#include "TTS.h"

namespace {

// Every setting of the program sits under the Verbalune sub-key.
constexpr TRegLocation InSubKey = 2;
// Mode records hold their texts in fixed arrays of this many units.
constexpr qsizetype ModeTextLimit = 262;

struct TLanguageRow {
  qint32 Id;
  const char16_t* Name;
  const char16_t* Code;  // only the primary languages carry one
};

constexpr std::array<TLanguageRow, 50> LanguageTable{{
    {1025, u"Arabic", u"ara"},
    {1026, u"Bulgarian", u"bul"},
    {1027, u"Catalan", u"cat"},
    {1028, u"Chinese", u"chi"},
    {1029, u"Czech", u"cze"},
    {1030, u"Danish", u"dan"},
    {1031, u"German", u"deu"},
    {1032, u"Greek", u"gre"},
    {1033, u"US English", u"eng"},
    {1034, u"Spanish", u"spa"},
    {1035, u"Finish", u"fin"},
    {1036, u"French", u"fre"},
    {1037, u"Hebrew", u"heb"},
    {1038, u"Hungarian", u"hun"},
    {1039, u"Icelandic", u"ice"},
    {1040, u"Italian", u"ita"},
    {1041, u"Japanese", u"jpn"},
    {1042, u"Korean", u"kor"},
    {1043, u"Dutch", u"dut"},
    {1044, u"Norwegian", u"nor"},
    {1045, u"Polish", u"pol"},
    {1046, u"Portuguese [Brazilian]", u"por"},
    {1048, u"Romanian", u"ron"},
    {1049, u"Russian", u"rus"},
    {1050, u"Croatian", u"cro"},
    {1051, u"Slovak", u"slo"},
    {1052, u"Albanian", u"alb"},
    {1053, u"Swedish", u"swe"},
    {1054, u"Thai", u"tha"},
    {2057, u"UK English", nullptr},
    {2058, u"Spanish [Mexican]", nullptr},
    {2070, u"Portuguese", nullptr},
    {3082, u"Spanish [Modern]", nullptr},
    {4106, u"Spanish [Guatemala]", nullptr},
    {5130, u"Spanish [Costa Rica]", nullptr},
    {6154, u"Spanish [Panama]", nullptr},
    {7178, u"Spanish [Domican Republic]", nullptr},
    {8202, u"Spanish [Venezuela]", nullptr},
    {9226, u"Spanish [Columbia]", nullptr},
    {10250, u"Spanish [Peru]", nullptr},
    {11274, u"Spanish [Argentina]", nullptr},
    {12298, u"Spanish [Ecuador]", nullptr},
    {13322, u"Spanish [Chile]", nullptr},
    {14346, u"Spanish [Uruguay]", nullptr},
    {15370, u"Spanish [Paraguay]", nullptr},
    {16394, u"Spanish [Bolivia]", nullptr},
    {17418, u"Spanish [El Salvador]", nullptr},
    {18442, u"Spanish [Hondurus]", nullptr},
    {19466, u"Spanish [Nicaragua]", nullptr},
    {20490, u"Spanish [Puerto Rico]", nullptr},
}};

// The text of the identifier's row, or of its primary language's row.
QString LookUp(qint32 languageId, const char16_t* TLanguageRow::*column) {
  auto find = [column](qint32 id) -> const char16_t* {
    for (const TLanguageRow& row : LanguageTable) {
      if (row.Id == id) {
        return row.*column;
      }
    }
    return nullptr;
  };
  const char16_t* text = find(languageId);
  if (text == nullptr) {
    text = find((languageId & 0xFF) | 0x400);
  }
  return text == nullptr ? QString() : QString::fromUtf16(text);
}

// Fills Name, Vendor, Code, LanguageName and Flags from the manufacturer;
// leaves Vendor empty for a manufacturer the program does not know.
void Recognise(TEngineEntry& entry) {
  const QString& mfg = entry.MfgName;
  const QString language = LanguageName(entry.LanguageID);
  auto set = [&entry](const QString& name, const QString& vendor, const QString& code,
                      const QString& languageName, quint8 flags) {
    entry.Name = name;
    entry.Vendor = vendor;
    entry.Code = code;
    entry.LanguageName = languageName;
    entry.Flags = flags;
  };
  if (mfg == u"Microsoft") {
    set(QStringLiteral("Microsoft"), QStringLiteral("Microsoft"), QString(),
        QStringLiteral("US English"), 3);
  } else if (mfg == u"Lernout && Hauspie Speech Products") {
    set(QStringLiteral("L & H TruVoice"), QStringLiteral("Lernout & Hauspie"),
        QStringLiteral("Lrn1"), QStringLiteral("US English"), 0);
  } else if (mfg == u"Lernout & Hauspie") {
    set(QStringLiteral("L & H - ") + language, QStringLiteral("Lernout & Hauspie"),
        QStringLiteral("Lrn2"), language, 0);
  } else if (mfg == u"Eloquent Technology, Inc.") {
    set(QStringLiteral("Eloquent - ") + language, QStringLiteral("Eloquent Technology, Inc."),
        QStringLiteral("Eloq"), language, 0);
  } else if (mfg == u"ELAN Informatique") {
    set(QStringLiteral("Digalo - ") + language, QStringLiteral("Digalo"), QStringLiteral("Diga"),
        language, 0);
  } else if (mfg == u"eSpeak NG") {
    set(QStringLiteral("eSpeak NG - ") + language, QStringLiteral("eSpeak NG"),
        QStringLiteral("Espk"), language, 0);
  } else if (mfg == u"Flite") {
    set(QStringLiteral("Flite - ") + language, QStringLiteral("Flite"), QStringLiteral("Flte"),
        language, 0);
  }
}

}  // namespace

TEngineList::TEngineList(TBaseRegistryClass* settings) : FSettings(settings) {}

TEngineList::~TEngineList() = default;

TBaseRegistryClass& TEngineList::Settings() const {
  return FSettings != nullptr ? *FSettings : *Preferences;
}

TEngineEntry* TEngineList::FindOrAddEngine(const TTTS& component) {
  return FindOrAddEngine(component.ModeInfo());
}

TEngineEntry* TEngineList::FindOrAddEngine(const TTSMODEINFO& mode) {
  const QString mfgName = mode.szMfgName.left(ModeTextLimit);
  const QString productName = mode.szProductName.left(ModeTextLimit);
  const qint32 languageId = mode.language.LanguageID;
  for (const auto& entry : FItems) {
    if (entry->MfgName == mfgName && entry->ProductName == productName &&
        entry->LanguageID == languageId) {
      return entry.get();
    }
  }
  auto entry = std::make_unique<TEngineEntry>();
  entry->MfgName = mfgName;
  entry->ProductName = productName;
  entry->LanguageID = languageId;
  Recognise(*entry);
  if (entry->Vendor.isEmpty() || entry->LanguageName.isEmpty()) {
    return nullptr;
  }
  Settings().AddItem(QStringLiteral("ENG_") + entry->Name, InSubKey, QString(), true, regBool);
  FItems.push_back(std::move(entry));
  return FItems.back().get();
}

TEngineEntry* TEngineList::Items(int index) const {
  if (index < 0 || index >= Count()) {
    return nullptr;
  }
  return FItems[static_cast<std::size_t>(index)].get();
}

QString TEngineList::EngineVendor(int index) const {
  const TEngineEntry* entry = Items(index);
  return entry != nullptr ? entry->Vendor : QString();
}

bool TEngineList::EngineEnabled(int index) const {
  const TEngineEntry* entry = Items(index);
  return entry != nullptr && entry->Enabled;
}

TEngineEntry* TEngineList::FindEngine(const QString& name) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    if ((*it)->Name == name) {
      return it->get();
    }
  }
  return nullptr;
}

void TEngineList::LoadEnabled() {
  for (const auto& entry : FItems) {
    QVariant value = entry->Enabled;
    Settings().GetValue(QStringLiteral("ENG_") + entry->Name, value);
    entry->Enabled = value.toBool();
  }
}

void TEngineList::SaveEnabled() {
  for (const auto& entry : FItems) {
    Settings().SetValue(QStringLiteral("ENG_") + entry->Name, entry->Enabled);
  }
}

void TEngineList::SetVendorEnabled(const QString& vendor, bool value) {
  for (const auto& entry : FItems) {
    if (entry->Vendor == vendor) {
      entry->Enabled = value;
    }
  }
}

QString LanguageName(qint32 languageId) {
  return LookUp(languageId, &TLanguageRow::Name);
}

QString LanguageCode(qint32 languageId) {
  return LookUp(languageId, &TLanguageRow::Code);
}

QString TestMessage(const TEngineEntry& entry) {
  const QString code = LanguageCode(entry.LanguageID);
  if (code.isEmpty()) {
    return QString();
  }
  // The callers fall back to a sentence of their own, so a file that cannot
  // be read is not worth a message.
  try {
    GrabBaseClass reader;
    QString errorText;
    reader.LoadFromFile(AppPaths::SharedFile(QStringLiteral("AudioTest.chl")), errorText);
    return reader.GetText(QStringLiteral("/"), code);
  } catch (const std::exception&) {
    return QString();
  }
}
