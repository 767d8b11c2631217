#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "AppPaths.h"
#include "GrabBaseClassUnit.h"
#include "PreferenceUnit.h"
#include "ScriptedEngine.h"
#include "TTSEngineUnit.h"

namespace {

TTSMODEINFO Mode(const QString& mfg, quint16 language, const QString& product = QString()) {
  TTSMODEINFO mode =
      TScriptedEngine::MakeMode(mfg, QStringLiteral("m"), QStringLiteral("s"), language);
  if (!product.isEmpty()) {
    mode.szProductName = product;
  }
  return mode;
}

int SettingsNamed(const TPreferences& prefs, const QString& name) {
  int count = 0;
  for (const auto& item : prefs.Items()) {
    count += item->Name == name ? 1 : 0;
  }
  return count;
}

struct TRecognitionCase {
  const char* MfgName;
  quint16 Language;
  const char* Name;  // nullptr: no entry
  const char* Vendor;
  const char* Code;
  const char* LanguageName;
  quint8 Flags;
};

}  // namespace

TEST(EngineCatalogue, RecognisesKnownManufacturersOnly) {
  const TRecognitionCase cases[] = {
      {"Microsoft", 1031, "Microsoft", "Microsoft", "", "US English", 3},
      {"Lernout && Hauspie Speech Products", 1036, "L & H TruVoice", "Lernout & Hauspie", "Lrn1",
       "US English", 0},
      {"Lernout & Hauspie Speech Products", 1033, nullptr, nullptr, nullptr, nullptr, 0},
      {"Lernout & Hauspie", 1036, "L & H - French", "Lernout & Hauspie", "Lrn2", "French", 0},
      {"Lernout & Hauspie", 1047, nullptr, nullptr, nullptr, nullptr, 0},
      {"Eloquent Technology, Inc.", 1034, "Eloquent - Spanish", "Eloquent Technology, Inc.", "Eloq",
       "Spanish", 0},
      {"ELAN Informatique", 1033, "Digalo - US English", "Digalo", "Diga", "US English", 0},
      {"eSpeak NG", 2057, "eSpeak NG - UK English", "eSpeak NG", "Espk", "UK English", 0},
      {"eSpeak NG", 1047, nullptr, nullptr, nullptr, nullptr, 0},
      {"Flite", 1033, "Flite - US English", "Flite", "Flte", "US English", 0},
      {"microsoft", 1033, nullptr, nullptr, nullptr, nullptr, 0},
      {"Acme Voices", 1033, nullptr, nullptr, nullptr, nullptr, 0},
  };
  for (const TRecognitionCase& c : cases) {
    SCOPED_TRACE(c.MfgName);
    TPreferences prefs;
    const int settingsBefore = static_cast<int>(prefs.Items().size());
    TEngineList engines(&prefs);
    const TEngineEntry* entry =
        engines.FindOrAddEngine(Mode(QString::fromUtf8(c.MfgName), c.Language));
    if (c.Name == nullptr) {
      EXPECT_EQ(entry, nullptr);
      EXPECT_EQ(engines.Count(), 0);
      EXPECT_EQ(static_cast<int>(prefs.Items().size()), settingsBefore);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Name, QString::fromUtf8(c.Name));
    EXPECT_EQ(entry->Vendor, QString::fromUtf8(c.Vendor));
    EXPECT_EQ(entry->Code, QString::fromUtf8(c.Code));
    EXPECT_EQ(entry->LanguageName, QString::fromUtf8(c.LanguageName));
    EXPECT_EQ(entry->Flags, c.Flags);
    EXPECT_EQ(entry->LanguageID, c.Language);
    EXPECT_TRUE(entry->Enabled);
    EXPECT_EQ(SettingsNamed(prefs, QStringLiteral("ENG_") + entry->Name), 1);
    const auto* setting =
        dynamic_cast<const TRegBoolClass*>(prefs.FindItem(QStringLiteral("ENG_") + entry->Name));
    ASSERT_NE(setting, nullptr);
    EXPECT_TRUE(setting->Default);
  }
}

TEST(EngineCatalogue, OneEntryPerProductAndLanguage) {
  TPreferences prefs;
  TEngineList engines(&prefs);
  TEngineEntry* french = engines.FindOrAddEngine(Mode(QStringLiteral("Lernout & Hauspie"), 1036));
  TEngineEntry* canadian = engines.FindOrAddEngine(Mode(QStringLiteral("Lernout & Hauspie"), 3084));
  ASSERT_NE(french, nullptr);
  ASSERT_NE(canadian, nullptr);
  EXPECT_NE(french, canadian);
  EXPECT_EQ(canadian->LanguageName, u"French");
  EXPECT_EQ(canadian->Name, french->Name);
  EXPECT_EQ(SettingsNamed(prefs, QStringLiteral("ENG_L & H - French")), 2);
  // A second mode of the same product and language joins its entry.
  EXPECT_EQ(engines.FindOrAddEngine(Mode(QStringLiteral("Lernout & Hauspie"), 1036)), french);
  EXPECT_EQ(engines.Count(), 2);
}

TEST(EngineCatalogue, FindEngineAndVendorSwitching) {
  TPreferences prefs;
  TEngineList engines(&prefs);
  TEngineEntry* first =
      engines.FindOrAddEngine(Mode(QStringLiteral("Microsoft"), 1033, QStringLiteral("A")));
  TEngineEntry* last =
      engines.FindOrAddEngine(Mode(QStringLiteral("Microsoft"), 1033, QStringLiteral("B")));
  TEngineEntry* eloquent =
      engines.FindOrAddEngine(Mode(QStringLiteral("Eloquent Technology, Inc."), 1033));
  EXPECT_NE(first, last);
  EXPECT_EQ(engines.FindEngine(QStringLiteral("Microsoft")), last);
  EXPECT_EQ(engines.FindEngine(QStringLiteral("microsoft")), nullptr);

  engines.SetVendorEnabled(QStringLiteral("Microsoft"), false);
  EXPECT_FALSE(first->Enabled);
  EXPECT_FALSE(last->Enabled);
  EXPECT_TRUE(eloquent->Enabled);
  EXPECT_EQ(engines.EngineVendor(2), u"Eloquent Technology, Inc.");
  EXPECT_TRUE(engines.EngineEnabled(2));
  EXPECT_EQ(engines.EngineVendor(3), QString());
  EXPECT_FALSE(engines.EngineEnabled(-1));

  // Saved and loaded through the ENG_ settings (one per name: both Microsoft
  // entries share theirs, the first registered wins lookups).
  engines.SaveEnabled();
  EXPECT_FALSE(prefs.GetValue(QStringLiteral("ENG_Microsoft")).toBool());
  prefs.SetValue(QStringLiteral("ENG_Microsoft"), true);
  prefs.SetValue(QStringLiteral("ENG_Eloquent - US English"), false);
  engines.LoadEnabled();
  EXPECT_TRUE(first->Enabled);
  EXPECT_TRUE(last->Enabled);
  EXPECT_FALSE(eloquent->Enabled);
}

TEST(EngineCatalogue, LanguageTableWithFallback) {
  struct {
    qint32 Id;
    const char* Name;
    const char* Code;
  } const cases[] = {
      {1033, "US English", "eng"},
      {1035, "Finish", "fin"},
      {2057, "UK English", "eng"},
      {2058, "Spanish [Mexican]", "spa"},
      {20490, "Spanish [Puerto Rico]", "spa"},
      {3084, "French", "fre"},
      {1047, "", ""},
      {0, "", ""},
      {0x0816, "Portuguese", "por"},
      {0x0C07, "German", "deu"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Id);
    EXPECT_EQ(LanguageName(c.Id), QString::fromUtf8(c.Name));
    EXPECT_EQ(LanguageCode(c.Id), QString::fromUtf8(c.Code));
  }
}

TEST(EngineCatalogue, TestMessageFromTheShippedFile) {
  TEngineEntry entry;
  entry.LanguageID = 2058;
  AppPaths::SetShareDir(QStringLiteral(VERBALUNE_SOURCE_DATA_DIR));
  EXPECT_EQ(TestMessage(entry), u"Gracias por probar Verbalune MP3.");

  // Every language of the table has its sentence.
  GrabBaseClass reader;
  QString error;
  reader.LoadFromFile(AppPaths::SharedFile(QStringLiteral("AudioTest.chl")), error);
  for (qint32 id = 1025; id <= 1054; ++id) {
    const QString code = LanguageCode(id);
    if (!code.isEmpty()) {
      EXPECT_FALSE(reader.GetText(QStringLiteral("/"), code).trimmed().isEmpty()) << id;
    }
  }

  entry.LanguageID = 1047;
  EXPECT_EQ(TestMessage(entry), QString());
  QTemporaryDir empty;
  AppPaths::SetShareDir(empty.path());
  entry.LanguageID = 1033;
  EXPECT_EQ(TestMessage(entry), QString());
  AppPaths::SetShareDir(QString());
}
