#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

class TBaseRegistryClass;
class TTTS;
struct TTSMODEINFO;

// One engine of one manufacturer in one language and product, as the voice
// list and the options tree know it.
class TEngineEntry final {
 public:
  QString Name;  // key of the ENG_ setting and of voice naming
  QString Code;  // short code in voice setting keys; empty for Microsoft
  bool Enabled = true;
  QString Vendor;  // caption of the engine's node in the options tree
  QString MfgName;
  QString ProductName;
  qint32 LanguageID = 0;
  QString LanguageName;
  quint8 Flags = 0;  // handed to the text filter
};

// The engines found so far, in the order their first mode was examined. Only
// manufacturers the program knows are catalogued; every other mode is dropped.
class TEngineList final {
 public:
  // settings: where the ENG_ settings live; the global preferences when null.
  explicit TEngineList(TBaseRegistryClass* settings = nullptr);
  ~TEngineList();
  TEngineList(const TEngineList&) = delete;
  TEngineList& operator=(const TEngineList&) = delete;

  // The entry for the mode selected in the component, created (and its ENG_
  // setting registered) when needed; null for an unknown manufacturer or a
  // language without a name.
  TEngineEntry* FindOrAddEngine(const TTTS& component);
  TEngineEntry* FindOrAddEngine(const TTSMODEINFO& mode);

  // Out-of-range indices answer an empty vendor and false.
  QString EngineVendor(int index) const;
  bool EngineEnabled(int index) const;
  // The last entry of that exact name; null when there is none.
  TEngineEntry* FindEngine(const QString& name) const;

  void LoadEnabled();
  void SaveEnabled();
  void SetVendorEnabled(const QString& vendor, bool value);

  int Count() const { return static_cast<int>(FItems.size()); }
  TEngineEntry* Items(int index) const;

 private:
  TBaseRegistryClass& Settings() const;

  TBaseRegistryClass* FSettings;
  std::vector<std::unique_ptr<TEngineEntry>> FItems;
};

// The display name and three-letter code of a Windows language identifier;
// unknown identifiers fall back to their primary language, then to empty.
QString LanguageName(qint32 languageId);
QString LanguageCode(qint32 languageId);
// The test sentence for the engine's language from AudioTest.chl; empty when
// the file, or the language in it, is missing.
QString TestMessage(const TEngineEntry& entry);
