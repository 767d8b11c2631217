// Heights of the top panel and the widths of the status bar.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>

#include "AppTestSupport.h"
#include "MemoListUnit.h"

namespace {

class Layout : public ::testing::Test {
 protected:
  TTempFolders Folders;
  TMessageRecorder Messages;
};

}  // namespace

TEST(PanelHeights, FullHeightFollowsTheScreenDensityOnce) {
  EXPECT_EQ(TForm1::FullPanelHeight(96), 257);
  EXPECT_EQ(TForm1::FullPanelHeight(120), 316);
  // Other densities are scaled by Qt itself, not here.
  EXPECT_EQ(TForm1::FullPanelHeight(144), 257);
  EXPECT_EQ(TForm1::FullPanelHeight(72), 257);
}

TEST_F(Layout, EveryCombinationOfToolbarAndPanels) {
  struct TCase {
    bool Toolbar;
    bool Panels;
    int Height;
  };
  const TCase cases[] = {
      {true, true, 257}, {true, false, 56}, {false, true, 201}, {false, false, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "toolbar " << c.Toolbar << " panels " << c.Panels);
    EXPECT_EQ(TForm1::Panel2Height(c.Toolbar, c.Panels, 257), c.Height);

    StorePreferences([&c](TPreferences& p) {
      p.ShowToolbar = c.Toolbar;
      p.ShowOptions = c.Panels;
    });
    TStartedReader reader;
    TForm1& form = *reader.Form;
    EXPECT_EQ(form.Panel2->height(), c.Height);
    EXPECT_EQ(form.ToolBar1->isVisibleTo(&form), c.Toolbar);
    EXPECT_EQ(form.Panel3->isVisibleTo(&form), c.Panels);
    EXPECT_EQ(form.OptionsBtn->isChecked(), c.Panels);
    EXPECT_EQ(form.ShowOptionsMItm->isChecked(), c.Panels);
    EXPECT_EQ(form.ShowToolbarMItm->isChecked(), c.Toolbar);

    // The Options button flips the panels, the View menu the toolbar.
    form.MMLabel1Click();
    EXPECT_EQ(form.Panel2->height(), TForm1::Panel2Height(c.Toolbar, !c.Panels, 257));
    EXPECT_EQ(form.OptionsBtn->isChecked(), !c.Panels);
    EXPECT_EQ(Preferences->ShowOptions, !c.Panels);
    form.MMLabel1Click();
    EXPECT_EQ(form.Panel2->height(), c.Height);

    form.ShowToolbarMItmClick();
    EXPECT_EQ(form.Panel2->height(), TForm1::Panel2Height(!c.Toolbar, c.Panels, 257));
    EXPECT_EQ(form.ToolBar1->isVisibleTo(&form), !c.Toolbar);
    EXPECT_EQ(Preferences->ShowToolbar, !c.Toolbar);
    form.ShowToolbarMItmClick();
    EXPECT_EQ(form.Panel2->height(), c.Height);
  }
}

TEST_F(Layout, StatusBarSplitsThreeToOneAndTheWindowCanShrinkAgain) {
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  for (const int width : {1001, 800, 700}) {
    reader.Form->resize(width, 600);
    QTest::qWait(50);
    EXPECT_EQ(reader.Form->width(), width);
    const int panel0 = reader.Form->StatusPanel0->width();
    const int panel1 = reader.Form->StatusPanel1->width();
    EXPECT_NEAR(panel0, 3 * panel1, 4) << width;
    EXPECT_LE(panel0 + panel1, width);
    EXPECT_GE(panel0 + panel1, width - 40);
  }
}

TEST_F(Layout, ProgressGaugeFillsPanelOneAndFollowsResizes) {
  TStartedReader reader;
  ASSERT_TRUE(reader.ShowAndActivate());
  TForm1& form = *reader.Form;
  QTest::qWait(50);
  EXPECT_EQ(form.ProgressGauge->parentWidget(), form.StatusPanel1);
  EXPECT_EQ(form.ProgressGauge->width(), form.StatusPanel1->width());
  EXPECT_GT(form.ProgressGauge->width(), 100);
  for (const int width : {1100, 700, 900}) {
    form.resize(width, 600);
    QTest::qWait(50);
    SCOPED_TRACE(width);
    EXPECT_EQ(form.ProgressGauge->width(), form.StatusPanel1->width());
    EXPECT_EQ(form.ProgressGauge->x(), 0);
    EXPECT_EQ(form.ProgressGauge->height(), 15);
  }
}
