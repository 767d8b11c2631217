#include <gtest/gtest.h>

#include <QDateTime>

#include "RegistryEnhanced.h"
#include "SettingsErrors.h"
#include "SettingsTestSupport.h"
#include "TBrkApart.h"
#include "TRegistry.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct RegistryEnhancedTest : ::testing::Test, TSettingsFixture {
  TRegistryEnhanced Reg;
  RegistryEnhancedTest() { Reg.Key = QStringLiteral("Software\\KelmorSoft\\Verbalune"); }
};

TEST(TBrkApartTest, SplitsAtEverySeparator) {
  struct TCase {
    QString Base, Break;
    bool AllowEmpty;
    QStringList Expected;
  };
  const TCase cases[] = {
      {QStringLiteral("a\\b\\c"), QStringLiteral("\\"), false, {u"a"_s, u"b"_s, u"c"_s}},
      {QStringLiteral("\\a\\\\b\\"), QStringLiteral("\\"), false, {u"a"_s, u"b"_s}},
      {QStringLiteral("\\a\\\\b\\"),
       QStringLiteral("\\"),
       true,
       {u""_s, u"a"_s, u""_s, u"b"_s, u""_s}},
      {QStringLiteral("one--two"), QStringLiteral("--"), false, {u"one"_s, u"two"_s}},
      {QString(), QStringLiteral("\\"), false, {}},
      {QString(), QStringLiteral("\\"), true, {u""_s}},
      {QStringLiteral("abc"), QString(), false, {u"abc"_s}},
  };
  for (const TCase& c : cases) {
    TBrkApart breaker;
    breaker.BaseString = c.Base;
    breaker.BreakString = c.Break;
    breaker.AllowEmptyString = c.AllowEmpty;
    breaker.Split();
    EXPECT_EQ(breaker.StringList(), c.Expected) << c.Base.toStdString();
  }
}

TEST_F(RegistryEnhancedTest, NamesSplitIntoKeyAndValueName) {
  struct TCase {
    QString Key, Name, FullKey, ValueName;
  };
  const TCase cases[] = {
      {QStringLiteral("Software\\KelmorSoft\\Verbalune"), QStringLiteral("Voices\\Default"),
       QStringLiteral("\\Software\\KelmorSoft\\Verbalune\\Voices"), QStringLiteral("Default")},
      {QStringLiteral("Software\\K"), QStringLiteral("\\Word"), QStringLiteral("\\Software\\K"),
       QStringLiteral("\\Word")},
      {QStringLiteral("\\Software\\K\\"), QStringLiteral("a\\b\\c"),
       QStringLiteral("\\Software\\K\\a\\b"), QStringLiteral("c")},
      {QStringLiteral("\\"), QStringLiteral("v"), QStringLiteral("\\\\"), QStringLiteral("v")},
      {QStringLiteral("K"), QStringLiteral("x\\\\y"), QStringLiteral("\\K\\x"),
       QStringLiteral("y")},
  };
  for (const TCase& c : cases) {
    Reg.Key = c.Key;
    EXPECT_EQ(Reg.FullKey(c.Name), c.FullKey) << c.Key.toStdString() << " " << c.Name.toStdString();
    EXPECT_EQ(Reg.ValueNameOf(c.Name), c.ValueName);
  }
}

TEST_F(RegistryEnhancedTest, TypedValuesReadBackAsTheyWereStored) {
  Reg.WriteValue(QStringLiteral("Dword"), 5);
  Reg.WriteValue(QStringLiteral("Text"), QStringLiteral("5"));
  Reg.WriteValue(QStringLiteral("Flag"), true);
  Reg.WriteValue(QStringLiteral("Real"), 2.5);
  Reg.WriteValue(QStringLiteral("Money"), QVariant::fromValue(TCurrency{123456}));
  Reg.WriteValue(QStringLiteral("When"), QDateTime(QDate(1899, 12, 31), QTime(12, 0)));

  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Dword"), QStringLiteral("x")), QVariant(5));
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Text"), 0), QVariant(QStringLiteral("5")));
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Flag"), false), QVariant(1));
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Real"), 0), QVariant(8)) << "binary gives its size";
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Missing"), 7), QVariant(7));

  const QString key = QStringLiteral("Software\\KelmorSoft\\Verbalune");
  auto stored = [&](const char16_t* name) {
    return Store().Value(key, QString::fromUtf16(name))->Data;
  };
  auto bytesOf = [](const auto& value) {
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
  };
  EXPECT_EQ(stored(u"Real"), bytesOf(2.5));
  EXPECT_EQ(stored(u"Money"), bytesOf(qint64(123456)));
  EXPECT_EQ(stored(u"When"), bytesOf(1.5));
}

TEST_F(RegistryEnhancedTest, UnsupportedVariantTypesStoreNothing) {
  for (const QVariant& value : {QVariant::fromValue<qint16>(3), QVariant::fromValue(1.5f),
                                QVariant::fromValue<qint64>(1), QVariant(QStringList())}) {
    Reg.WriteValue(QStringLiteral("Odd"), value);
    EXPECT_FALSE(Store().KeyExists(QStringLiteral("Software\\KelmorSoft\\Verbalune\\Odd")));
    EXPECT_TRUE(Store().ValueNames(QStringLiteral("Software\\KelmorSoft\\Verbalune")).isEmpty())
        << value.typeName();
  }
}

TEST_F(RegistryEnhancedTest, ThreePieceNameCreatesNestedKeys) {
  Reg.WriteValue(QStringLiteral("One\\Two\\Value"), QStringLiteral("v"));
  EXPECT_EQ(Store().SubKeyNames(QStringLiteral("Software\\KelmorSoft\\Verbalune")),
            QStringList{QStringLiteral("One")});
  EXPECT_EQ(Store().ValueNames(QStringLiteral("Software\\KelmorSoft\\Verbalune\\One\\Two")),
            QStringList{QStringLiteral("Value")});
  EXPECT_EQ(Reg.ReadValue(QStringLiteral("one\\two\\value")), QVariant(QStringLiteral("v")));
}

TEST_F(RegistryEnhancedTest, ValueNamesOfEmptyAndMissingKeys) {
  Reg.WriteValue(QStringLiteral("Empty\\x"), 1);
  ASSERT_TRUE(Reg.DeleteValue(QStringLiteral("Empty\\x")));
  EXPECT_FALSE(Reg.DeleteValue(QStringLiteral("Empty\\x")));
  QStringList list{QStringLiteral("stale")};
  Reg.GetValueNames(QStringLiteral("Empty"), list);
  EXPECT_TRUE(list.isEmpty());
  list = QStringList{QStringLiteral("stale")};
  Reg.GetValueNames(QStringLiteral("\\Missing\\"), list);
  EXPECT_EQ(list, QStringList{QStringLiteral("stale")});
}

TEST_F(RegistryEnhancedTest, EmptyKeyDoesNothing) {
  Reg.Key.clear();
  Reg.WriteValue(QStringLiteral("x"), 1);
  EXPECT_TRUE(Store().SubKeyNames(QString()).isEmpty());
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("x"), 9), QVariant(9));
  QVariant untouched(QStringLiteral("keep"));
  Reg.ReadValue(QStringLiteral("x"), untouched);
  EXPECT_EQ(untouched, QVariant(QStringLiteral("keep")));
}

TEST_F(RegistryEnhancedTest, BinaryValuesNeverOverrunTheReadBuffer) {
  const QString key = QStringLiteral("Software\\KelmorSoft\\Verbalune");
  Store().CreateKey(key);
  Store().SetValue(key, QStringLiteral("Fits"), RegBinaryValue(QByteArray(256, 'a')));
  Store().SetValue(key, QStringLiteral("Long"), RegBinaryValue(QByteArray(4096, 'b')));
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Fits"), -1), QVariant(256));
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Long"), -1), QVariant(-1));
  EXPECT_THROW(Reg.ReadValue(QStringLiteral("Long")), ERegistryException);
}

TEST_F(RegistryEnhancedTest, ReadValuePassesDataErrorsOn) {
  const QString key = QStringLiteral("Software\\KelmorSoft\\Verbalune");
  Store().CreateKey(key);
  Store().SetValue(key, QStringLiteral("Wide"), TRegValue{REG_DWORD, QByteArray(8, '\1')});
  Store().SetValue(key, QStringLiteral("None"), TRegValue{REG_NONE, QByteArray("x")});
  try {
    Reg.ReadValue(QStringLiteral("Wide"));
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Failed to get data for 'Wide'"));
  }
  EXPECT_EQ(Reg.ReadValueDef(QStringLiteral("Wide"), 3), QVariant(3));
  EXPECT_EQ(Reg.ReadValue(QStringLiteral("None")), QVariant());
  EXPECT_EQ(Reg.ReadValue(QStringLiteral("Missing")), QVariant());
}

TEST_F(RegistryEnhancedTest, TRegistryRaisesTheDataErrors) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\T"), true));
  reg.WriteInteger(QStringLiteral("n"), -7);
  reg.WriteString(QStringLiteral("s"), QStringLiteral("ab"));
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("n")), -7);
  EXPECT_EQ(reg.ReadString(QStringLiteral("missing")), QString());
  TRegDataInfo info;
  ASSERT_TRUE(reg.GetDataInfo(QStringLiteral("s"), info));
  EXPECT_EQ(info.RegData, rdString);
  EXPECT_EQ(info.DataSize, 3) << "text plus its NUL";

  auto message = [](auto&& call) {
    try {
      call();
    } catch (const ERegistryException& e) {
      return e.Message();
    }
    return QString();
  };
  EXPECT_EQ(message([&] { reg.ReadString(QStringLiteral("n")); }),
            QStringLiteral("Invalid data type for 'n'"));
  EXPECT_EQ(message([&] { reg.ReadInteger(QStringLiteral("s")); }),
            QStringLiteral("Invalid data type for 's'"));
  EXPECT_EQ(message([&] { reg.ReadInteger(QStringLiteral("gone")); }),
            QStringLiteral("Failed to get data for 'gone'"));
  char small[2];
  EXPECT_EQ(message([&] { reg.ReadBinaryData(QStringLiteral("n"), small, 2); }),
            QStringLiteral("Invalid data type for 'n'"));
  EXPECT_EQ(reg.ReadBinaryData(QStringLiteral("gone"), small, 2), 0);

  TRegistry readOnly;
  readOnly.SetAccess(KEY_READ);
  ASSERT_TRUE(readOnly.OpenKey(QStringLiteral("\\Software\\T"), false));
  EXPECT_EQ(message([&] { readOnly.WriteString(QStringLiteral("s"), QStringLiteral("x")); }),
            QStringLiteral("Failed to set data for 's'"));
  EXPECT_FALSE(readOnly.OpenKey(QStringLiteral("New"), true));
}

TEST_F(RegistryEnhancedTest, OpenKeyResolvesRelativeAndAbsolutePaths) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey(QStringLiteral("Software"), false));
  EXPECT_FALSE(reg.HasCurrentKey());
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software"), true));
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("A\\B"), true));
  EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\A\\B"));
  EXPECT_TRUE(Store().KeyExists(QStringLiteral("Software\\A\\B")));
  EXPECT_FALSE(reg.OpenKey(QStringLiteral("Nope"), false));
  EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\A\\B")) << "failure changes nothing";
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\A"), false));
  EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\A"));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(reg.HasCurrentKey()) << "changing the root closes the key";
}

}  // namespace
