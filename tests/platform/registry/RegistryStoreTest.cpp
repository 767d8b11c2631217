#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "RegFileFormat.h"
#include "TRegistryStore.h"
#include "TestEnvironment.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct TStoreFixture : ::testing::Test {
  TTempFolders Folders;
  QString File = Folders.ConfigDir() + QStringLiteral("/registry.reg");
  std::vector<TRegistryProblem> Problems;

  std::unique_ptr<TRegistryStore> Open() {
    auto store = std::make_unique<TRegistryStore>();
    store->SetProblemHandler([this](const TRegistryProblem& p) { Problems.push_back(p); });
    store->BindFile(File);
    return store;
  }
};

TRegValue Raw(quint32 type, const QByteArray& data) {
  return TRegValue{type, data};
}

TEST_F(TStoreFixture, HostileNamesAndDataSurviveSaveAndLoad) {
  const QString key = QStringLiteral("Software\\Kelmor [x] \"q\"\\Sub]key");
  const std::vector<std::pair<QString, TRegValue>> values = {
      {QStringLiteral("plain"), RegStringValue(QStringLiteral("text"))},
      {QString(), RegStringValue(QStringLiteral("the default value"))},
      {QStringLiteral("back\\slash\\\\"), RegStringValue(QStringLiteral("C:\\dir\\"))},
      {QStringLiteral("\"quoted\"=\"x\""), RegStringValue(QStringLiteral("say \"hi\"=@"))},
      {QStringLiteral("line\nbreak\r\n"), RegStringValue(QStringLiteral("a\nb\r\nc\\n"))},
      {QString::fromUtf8("Grüße ✓ 😀"), RegStringValue(QString::fromUtf8("Überschrift 😀"))},
      {QString::fromUtf16(u"nul\0in name", 11), RegStringValue(QStringLiteral("x"))},
      {QStringLiteral("embedded nul"), Raw(REG_SZ, QByteArray("a\0b\0", 4))},
      {QStringLiteral("not utf8"), Raw(REG_SZ, QByteArray("\xff\xfe\x80\0", 4))},
      {QStringLiteral("no terminator"), Raw(REG_SZ, QByteArray("abc"))},
      {QStringLiteral("empty sz"), Raw(REG_SZ, QByteArray())},
      {QStringLiteral("expand"), RegStringValue(QStringLiteral("%HOME%\\x"), REG_EXPAND_SZ)},
      {QStringLiteral("dword"), RegDwordValue(0xDEADBEEF)},
      {QStringLiteral("short dword"), Raw(REG_DWORD, QByteArray("\x01\x02", 2))},
      {QStringLiteral("binary"), RegBinaryValue(QByteArray("\0\x01\xff\n\r\\\"", 7))},
      {QStringLiteral("none"), Raw(REG_NONE, QByteArray())},
      {QStringLiteral("multi"), Raw(7, QByteArray("a\0b\0\0", 5))},
      {QStringLiteral(" spaces "), RegStringValue(QStringLiteral("  "))},
      {QStringLiteral("; not a comment"), RegStringValue(QStringLiteral("[not a key]"))},
  };
  {
    auto store = Open();
    ASSERT_TRUE(store->CreateKey(key));
    for (const auto& [name, value] : values) {
      ASSERT_TRUE(store->SetValue(key, name, value));
    }
  }
  auto reloaded = Open();
  EXPECT_TRUE(Problems.empty()) << Problems.front().Detail.toStdString();
  QStringList expectedNames;
  for (const auto& [name, value] : values) {
    expectedNames << name;
    const auto back = reloaded->Value(key, name);
    ASSERT_TRUE(back.has_value()) << name.toStdString();
    EXPECT_EQ(back->Type, value.Type) << name.toStdString();
    EXPECT_EQ(back->Data, value.Data) << name.toStdString();
  }
  EXPECT_EQ(reloaded->ValueNames(key), expectedNames);  // creation order is kept
}

TEST_F(TStoreFixture, NamesMatchIgnoringCaseAndKeepTheirFirstSpelling) {
  auto store = Open();
  ASSERT_TRUE(store->CreateKey(QStringLiteral("Software\\KelmorSoft")));
  ASSERT_TRUE(store->CreateKey(QStringLiteral("SOFTWARE\\kelmorsoft\\Verbalune")));
  EXPECT_EQ(store->SubKeyNames(QString()), QStringList{QStringLiteral("Software")});
  store->SetValue(QStringLiteral("software\\KELMORSOFT"), QStringLiteral("Name"), RegDwordValue(1));
  store->SetValue(QStringLiteral("Software\\KelmorSoft"), QStringLiteral("NAME"), RegDwordValue(2));
  EXPECT_EQ(store->ValueNames(QStringLiteral("Software\\KelmorSoft")),
            QStringList{QStringLiteral("Name")});
  EXPECT_EQ(*store->Value(QStringLiteral("Software\\KelmorSoft"), QStringLiteral("name")),
            RegDwordValue(2));
}

TEST_F(TStoreFixture, InvalidPathsAreRefused) {
  auto store = Open();
  for (const QString& path : {QStringLiteral("\\"), QStringLiteral("a\\\\b"), QStringLiteral("a\\"),
                              QStringLiteral("\\a"), QStringLiteral("line\nbreak")}) {
    EXPECT_FALSE(store->CreateKey(path)) << path.toStdString();
  }
  EXPECT_FALSE(store->SetValue(QStringLiteral("missing"), QStringLiteral("x"), RegDwordValue(1)));
  EXPECT_FALSE(store->DeleteValue(QStringLiteral("missing"), QStringLiteral("x")));
}

TEST_F(TStoreFixture, DeletingAKeyRemovesEverythingBelowIt) {
  auto store = Open();
  store->CreateKey(QStringLiteral("a\\b\\c"));
  store->SetValue(QStringLiteral("a\\b\\c"), QStringLiteral("v"), RegDwordValue(1));
  EXPECT_TRUE(store->DeleteKey(QStringLiteral("A\\B")));
  EXPECT_FALSE(store->KeyExists(QStringLiteral("a\\b\\c")));
  EXPECT_TRUE(store->KeyExists(QStringLiteral("a")));
  auto reloaded = Open();
  EXPECT_FALSE(reloaded->KeyExists(QStringLiteral("a\\b")));
  EXPECT_TRUE(reloaded->KeyExists(QStringLiteral("a")));
}

TEST_F(TStoreFixture, EachChangeIsWrittenButABatchWritesOnce) {
  auto store = Open();
  store->CreateKey(QStringLiteral("k"));
  store->SetValue(QStringLiteral("k"), QStringLiteral("a"), RegDwordValue(1));
  EXPECT_EQ(store->FileWrites(), 2);
  store->SetValue(QStringLiteral("k"), QStringLiteral("a"), RegDwordValue(1));
  EXPECT_EQ(store->FileWrites(), 2) << "an unchanged value is not written again";
  {
    TRegistryBatch outer(*store);
    for (int i = 0; i < 100; ++i) {
      TRegistryBatch inner(*store);
      store->SetValue(QStringLiteral("k"), QString::number(i), RegDwordValue(i));
    }
    EXPECT_EQ(store->FileWrites(), 2);
  }
  EXPECT_EQ(store->FileWrites(), 3);
  EXPECT_EQ(Open()->ValueNames(QStringLiteral("k")).size(), 101);
  const QFile::Permissions others =
      QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
  EXPECT_EQ(QFileInfo(File).permissions() & others, QFile::Permissions());
  EXPECT_EQ(QDir(Folders.ConfigDir()).entryList(QDir::Files), QStringList{u"registry.reg"_s});
}

TEST_F(TStoreFixture, DamagedFileKeepsWhatParsesAndIsMovedAside) {
  const QByteArray damaged =
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Good]\n"
      "\"Kept\"=\"yes\"\n"
      "\"Broken=\"no closing quote\n"
      "garbage line\n"
      "\"BadDword\"=dword:xyz\n"
      "\"Wrapped\"=hex:01,02,\\\n"
      "  03,04\n"
      "[HKEY_LOCAL_MACHINE\\Elsewhere]\n"
      "\"Lost\"=\"outside the root\"\n"
      "[HKEY_CURRENT_USER\\Software\\Also]\n"
      "\"Num\"=dword:0000002a\n"
      "\"Trunc";
  ASSERT_TRUE(WriteWholeFile(File, damaged));
  auto store = Open();
  ASSERT_EQ(Problems.size(), 1u);
  const TRegistryProblem& problem = Problems.front();
  EXPECT_EQ(problem.Kind, TRegistryProblem::pkDamagedFile);
  EXPECT_EQ(problem.BadLines, 6);
  EXPECT_EQ(ReadWholeFile(problem.KeptAsPath), damaged);
  EXPECT_EQ(*store->Value(QStringLiteral("Software\\Good"), QStringLiteral("Kept")),
            RegStringValue(QStringLiteral("yes")));
  EXPECT_EQ(store->Value(QStringLiteral("Software\\Good"), QStringLiteral("Wrapped"))->Data,
            QByteArray("\x01\x02\x03\x04"));
  EXPECT_EQ(*store->Value(QStringLiteral("Software\\Also"), QStringLiteral("Num")),
            RegDwordValue(42));

  // What survived is back in place at once, and loads cleanly.
  Problems.clear();
  auto again = Open();
  EXPECT_TRUE(Problems.empty());
  EXPECT_TRUE(again->Value(QStringLiteral("Software\\Good"), QStringLiteral("Kept")));
}

TEST_F(TStoreFixture, ForeignEncodingAndMissingHeaderCountAsDamage) {
  ASSERT_TRUE(WriteWholeFile(File, "[HKEY_CURRENT_USER\\K]\n\"a\"=\"caf\xe9\"\n"));
  auto store = Open();
  ASSERT_EQ(Problems.size(), 1u);
  EXPECT_EQ(Problems.front().BadLines, 2);
  EXPECT_TRUE(store->Value(QStringLiteral("K"), QStringLiteral("a")).has_value());
}

TEST_F(TStoreFixture, RegeditVersion5FilesAndDeletionEntriesAreAccepted) {
  ASSERT_TRUE(WriteWholeFile(File,
                             "Windows Registry Editor Version 5.00\r\n\r\n"
                             "; exported\r\n"
                             "[-HKEY_CURRENT_USER\\Old]\r\n"
                             "[HKEY_CURRENT_USER\\K]\r\n"
                             "@=\"default\"\r\n"
                             "\"gone\"=-\r\n"));
  auto store = Open();
  EXPECT_TRUE(Problems.empty());
  EXPECT_EQ(store->ValueNames(QStringLiteral("K")), QStringList{QString()});
}

TEST_F(TStoreFixture, FailedSaveIsReportedAndKeepsTheValuesInMemory) {
  auto store = std::make_unique<TRegistryStore>();
  store->SetProblemHandler([this](const TRegistryProblem& p) { Problems.push_back(p); });
  store->BindFile(QStringLiteral("/dev/null/registry.reg"));
  EXPECT_FALSE(store->CreateKey(QStringLiteral("k")) && store->Flush());
  ASSERT_FALSE(Problems.empty());
  EXPECT_EQ(Problems.front().Kind, TRegistryProblem::pkSaveFailed);
  EXPECT_TRUE(store->KeyExists(QStringLiteral("k")));
}

TEST_F(TStoreFixture, UnreadableFileIsNeverOverwritten) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root reads any file";
  }
  ASSERT_TRUE(WriteWholeFile(File, "REGEDIT4\n"));
  QFile::setPermissions(File, QFileDevice::Permissions());
  auto store = Open();
  ASSERT_EQ(Problems.size(), 1u);
  EXPECT_EQ(Problems.front().Kind, TRegistryProblem::pkUnreadableFile);
  EXPECT_TRUE(QFileInfo::exists(Problems.front().KeptAsPath));
}

TEST(RegFileFormatTest, DataFormsParseBack) {
  const std::vector<std::pair<QString, TRegValue>> cases = {
      {QStringLiteral("\"a\\\\b\""), RegStringValue(QStringLiteral("a\\b"))},
      {QStringLiteral("dword:0000000a"), RegDwordValue(10)},
      {QStringLiteral("DWORD:FFFFFFFF"), RegDwordValue(0xFFFFFFFF)},
      {QStringLiteral("hex:"), RegBinaryValue(QByteArray())},
      {QStringLiteral("hex: 0a , ff"), RegBinaryValue(QByteArray("\x0a\xff"))},
      {QStringLiteral("hex(0):"), TRegValue{REG_NONE, QByteArray()}},
      {QStringLiteral("hex(2):41,00"), TRegValue{REG_EXPAND_SZ, QByteArray("A\0", 2)}},
  };
  for (const auto& [text, value] : cases) {
    const auto parsed = RegFileFormat::ParseData(text);
    ASSERT_TRUE(parsed.has_value()) << text.toStdString();
    EXPECT_EQ(*parsed, value) << text.toStdString();
  }
  for (const QString& bad :
       {QStringLiteral("dword:123456789"), QStringLiteral("dword:"), QStringLiteral("hex:1,,2"),
        QStringLiteral("hex:100"), QStringLiteral("hex(zz):00"), QStringLiteral("\"open"),
        QStringLiteral("\"a\" trailing"), QStringLiteral("word")}) {
    EXPECT_FALSE(RegFileFormat::ParseData(bad).has_value()) << bad.toStdString();
  }
}

}  // namespace
