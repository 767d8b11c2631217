#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "RegistryEnhanced.h"
#include "SettingsTestSupport.h"
#include "TBaseRegistryClassUnit.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Section = QStringLiteral("Software\\KelmorSoft\\Test");

struct BaseRegistryClassTest : ::testing::Test, TSettingsFixture {
  TBaseRegistryClass Settings;
  TMessageRecorder Messages;
  BaseRegistryClassTest() { Settings.SubKey = QStringLiteral("Test"); }

  void Store(const QString& name, const TRegValue& value, const QString& key = Section) {
    TSettingsFixture::Store().CreateKey(key);
    TSettingsFixture::Store().SetValue(key, name, value);
  }
};

TEST_F(BaseRegistryClassTest, StoredTextsConvertByType) {
  struct TCase {
    quint8 Type;
    QVariant Default;
    TRegValue Stored;
    QVariant Expected;
  };
  const TCase cases[] = {
      {regInt, 3, RegStringValue(QStringLiteral("defaultvalue")), 3},
      {regInt, 3, RegStringValue(QStringLiteral("-12")), -12},
      {regInt, 3, RegDwordValue(7), 7},
      {regBool, false, RegDwordValue(1), false},
      {regBool, false, RegStringValue(QStringLiteral("TRUE")), true},
      {regBool, true, RegStringValue(QStringLiteral("yes")), false},
      {regString, QStringLiteral("d"), RegStringValue(QStringLiteral("DefaultValue")),
       QStringLiteral("DefaultValue")},
      {regString, QStringLiteral("d"), RegStringValue(QString()), QString()},
      {regReal, 1.5, RegStringValue(QStringLiteral("2.25")), 2.25},
  };
  int n = 0;
  for (const TCase& c : cases) {
    const QString name = QStringLiteral("S%1").arg(n++);
    Settings.AddItem(name, 2, QString(), c.Default, c.Type);
    Store(name, c.Stored);
  }
  Settings.LoadAll();
  n = 0;
  for (const TCase& c : cases) {
    const QString name = QStringLiteral("S%1").arg(n++);
    EXPECT_EQ(Settings.GetValue(name), c.Expected) << name.toStdString();
  }
  EXPECT_TRUE(Messages.All.isEmpty());
}

TEST_F(BaseRegistryClassTest, SavedValuesAreAlwaysText) {
  Settings.AddItem(QStringLiteral("Count"), 2, QString(), 0, regInt);
  Settings.AddItem(QStringLiteral("Flag"), 0, QString(), false, regBool);
  Store(QStringLiteral("Count"), RegDwordValue(7));
  Settings.LoadAll();
  Settings.SetValue(QStringLiteral("flag"), true);
  Settings.SaveAll();
  EXPECT_EQ(*TSettingsFixture::Store().Value(Section, QStringLiteral("Count")),
            RegStringValue(QStringLiteral("7")));
  EXPECT_EQ(*TSettingsFixture::Store().Value(QStringLiteral("Software\\KelmorSoft"),
                                             QStringLiteral("Flag")),
            RegStringValue(QStringLiteral("true")));
}

TEST_F(BaseRegistryClassTest, UnconvertibleValueTakesItsDefaultAndLoadingGoesOn) {
  Settings.AddItem(QStringLiteral("Before"), 2, QString(), 1, regInt);
  Settings.AddItem(QStringLiteral("Broken"), 2, QString(), 3, regInt);
  Settings.AddItem(QStringLiteral("BadReal"), 2, QString(), 0.5, regReal);
  Settings.AddItem(QStringLiteral("After"), 2, QString(), 4, regInt);
  Store(QStringLiteral("Before"), RegStringValue(QStringLiteral("10")));
  Store(QStringLiteral("Broken"), RegStringValue(QStringLiteral("12abc")));
  Store(QStringLiteral("BadReal"), RegStringValue(QStringLiteral("x")));
  Store(QStringLiteral("After"), RegStringValue(QStringLiteral("40")));
  Settings.LoadAll();
  EXPECT_EQ(Settings.GetValue(QStringLiteral("Before")), QVariant(10));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("Broken")), QVariant(3));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("BadReal")), QVariant(0.5));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("After")), QVariant(40));
  EXPECT_TRUE(
      Trace().contains(QStringLiteral("Setting Broken could not be loaded ('12abc' is not a "
                                      "valid integer value)")));
  EXPECT_TRUE(Trace().contains(QStringLiteral("'x' is not a valid floating point value")));
}

TEST_F(BaseRegistryClassTest, FormerNameIsReadOnlyForLocationOne) {
  Settings.AddItem(QStringLiteral("New1"), 1, QStringLiteral("Old1"), 0, regInt);
  Settings.AddItem(QStringLiteral("New2"), 2, QStringLiteral("Old2"), 0, regInt);
  Settings.AddItem(QStringLiteral("New3"), 1, QStringLiteral("Old3"), 0, regInt);
  Store(QStringLiteral("Old1"), RegStringValue(QStringLiteral("11")),
        QStringLiteral("Software\\KelmorSoft"));
  Store(QStringLiteral("Old2"), RegStringValue(QStringLiteral("22")),
        QStringLiteral("Software\\KelmorSoft"));
  Store(QStringLiteral("Old3"), RegStringValue(QStringLiteral("33")),
        QStringLiteral("Software\\KelmorSoft"));
  Store(QStringLiteral("New3"), RegStringValue(QStringLiteral("3")));
  Settings.LoadAll();
  EXPECT_EQ(Settings.GetValue(QStringLiteral("New1")), QVariant(11));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("New2")), QVariant(0));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("New3")), QVariant(3));
}

TEST_F(BaseRegistryClassTest, ListSavedOverALongerListLeavesOnlyItsEntries) {
  auto* list = dynamic_cast<TRegListClass*>(
      Settings.AddItem(QStringLiteral("Recent"), 2, QString(), QVariant(), regList));
  ASSERT_NE(list, nullptr);
  const QString listKey = Section + QStringLiteral("\\ListRecent");
  for (int i = 0; i < 5; ++i) {
    Store(QString::number(i), RegStringValue(QStringLiteral("old%1").arg(i)), listKey);
  }
  Store(QStringLiteral("odd name"), RegDwordValue(9), listKey);
  Settings.LoadAll();
  EXPECT_EQ(list->List,
            (QStringList{u"old0"_s, u"old1"_s, u"old2"_s, u"old3"_s, u"old4"_s, u"9"_s}));
  list->List = QStringList{QStringLiteral("a"), QStringLiteral("b\\c")};
  Settings.SaveAll();
  EXPECT_EQ(TSettingsFixture::Store().ValueNames(listKey), (QStringList{u"0"_s, u"1"_s}));
  Settings.LoadAll();
  EXPECT_EQ(list->List, (QStringList{u"a"_s, u"b\\c"_s}));
}

TEST_F(BaseRegistryClassTest, SaveAllWritesTheFileOnce) {
  for (int i = 0; i < 200; ++i) {
    Settings.AddItem(QStringLiteral("V%1").arg(i), 2, QString(), i, regInt);
  }
  Settings.LoadAll();
  const int before = TSettingsFixture::Store().FileWrites();
  Settings.SaveAll();
  EXPECT_EQ(TSettingsFixture::Store().FileWrites(), before + 1);
}

TEST_F(BaseRegistryClassTest, UnknownNamesAreReportedAndChangeNothing) {
  Settings.AddItem(QStringLiteral("Known"), 2, QString(), 5, regInt);
  EXPECT_EQ(Settings.AddItem(QStringLiteral("Bad"), 2, QString(), 5, 9), nullptr);
  Settings.AddItem(QStringLiteral("KNOWN"), 2, QString(), 6, regInt);
  Settings.LoadAll();
  QVariant value(QStringLiteral("keep"));
  Settings.GetValue(QStringLiteral("Unknown"), value);
  Settings.SetValue(QStringLiteral("Bad"), 1);
  EXPECT_EQ(value, QVariant(QStringLiteral("keep")));
  EXPECT_EQ(Messages.Messages,
            (QStringList{u"No such registry item as name between equals =Unknown="_s,
                         u"No such registry item as name between equals =Bad="_s}));
  EXPECT_EQ(Settings.GetValue(QStringLiteral("known")), QVariant(5)) << "the first one wins";
}

struct WindowPlacementTest : BaseRegistryClassTest {
  WindowPlacementTest() {
    SetScreenSizeProvider([] { return QSize(1024, 768); });
  }
  ~WindowPlacementTest() override { SetScreenSizeProvider(nullptr); }
};

TEST_F(WindowPlacementTest, RestoredWindowIsFittedOntoTheScreen) {
  struct TCase {
    QRect Stored;
    int Left, Top;
  };
  const TCase cases[] = {
      {QRect(100, 50, 400, 300), 100, 50},
      {QRect(900, 600, 400, 300), 624, 468},
      {QRect(-50, -20, 400, 300), 0, 0},
      {QRect(10, 10, 2000, 300), 0, 10},
  };
  for (const TCase& c : cases) {
    Settings.SaveWindowPlacement(QStringLiteral("Form1"), c.Stored, false);
    const auto placement = Settings.RestoreWindowPlacement(QStringLiteral("Form1"));
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->Left, c.Left);
    EXPECT_EQ(placement->Top, c.Top);
    EXPECT_EQ(placement->Width, c.Stored.width());
    EXPECT_EQ(placement->Height, c.Stored.height());
    EXPECT_FALSE(placement->Maximized);
  }
}

TEST_F(WindowPlacementTest, MaximisedSaveKeepsTheEarlierNormalBounds) {
  Settings.SaveWindowPlacement(QStringLiteral("ToolBarForm"), QRect(1, 2, 30, 40), true);
  EXPECT_FALSE(Settings.RestoreWindowPlacement(QStringLiteral("ToolBarForm")).has_value())
      << "first run: nothing stored but Maximized";

  Settings.SaveWindowPlacement(QStringLiteral("ToolBarForm"), QRect(5, 6, 70, 80), false);
  Settings.SaveWindowPlacement(QStringLiteral("ToolBarForm"), QRect(0, 0, 1024, 768), true);
  const auto placement = Settings.RestoreWindowPlacement(QStringLiteral("ToolBarForm"));
  ASSERT_TRUE(placement.has_value());
  EXPECT_EQ(QRect(placement->Left, placement->Top, placement->Width, placement->Height),
            QRect(5, 6, 70, 80));
  EXPECT_TRUE(placement->Maximized);
}

TEST_F(WindowPlacementTest, UnreadableStoredPlacementIsIgnored) {
  Settings.SaveWindowPlacement(QStringLiteral("VoiceEditForm"), QRect(5, 6, 70, 80), false);
  TRegistryEnhanced reg;
  reg.Key = QStringLiteral("Software\\KelmorSoft\\Windows\\") + AppPaths::ProgramFileName() +
            QStringLiteral("\\VoiceEditForm");
  reg.WriteValue(QStringLiteral("Top"), QStringLiteral("north"));
  EXPECT_FALSE(Settings.RestoreWindowPlacement(QStringLiteral("VoiceEditForm")).has_value());
  EXPECT_TRUE(Trace().contains(QStringLiteral("'north' is not a valid integer value")));
}

}  // namespace
