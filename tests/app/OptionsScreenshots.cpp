// Pictures of the option pages, the voices tree and the three dialogs for a
// person to look at; written only when VERBALUNE_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>

#include "KelmorAuDevFrm.h"
#include "OptionsTestRig.h"
#include "SoundCardError.h"
#include "VoiceEditUnit.h"

namespace {

void Save(QWidget* widget, const QString& name) {
  QApplication::processEvents();
  const QString dir = qEnvironmentVariable("VERBALUNE_SCREENSHOT_DIR");
  EXPECT_TRUE(widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
}

TEST(OptionsScreenshots, PagesTreeAndDialogs) {
  if (qEnvironmentVariableIsEmpty("VERBALUNE_SCREENSHOT_DIR")) {
    GTEST_SKIP() << "no screenshot folder";
  }
  TOptionsRig rig;
  ASSERT_TRUE(rig.Started);
  TForm1& form = rig.Form();
  if (!Preferences->ShowOptions) {
    form.MMLabel1Click();
  }
  form.resize(760, 640);
  const QList<QWidget*> tabs{form.ClipboardSheet, form.EngineVoicesTab, form.TabSheet2,
                             form.MiscSheet};
  const QStringList names{QStringLiteral("clipboard"), QStringLiteral("voices"),
                          QStringLiteral("file-options"), QStringLiteral("misc")};
  for (int i = 0; i < tabs.size(); ++i) {
    form.PageControl1->setCurrentWidget(tabs.at(i));
    Save(&form, QStringLiteral("options-single-") + names.at(i));
  }
  form.ToolButton2Click();
  form.PageControl1->setCurrentWidget(form.EngineVoicesTab);
  rig.Select(QStringLiteral("Linda"));
  Save(&form, QStringLiteral("options-multi-voices"));

  TVoiceEditForm edit(&form, &rig.Speech());
  edit.EditVoice = rig.Speech().FindVoice(QStringLiteral("Linda"));
  edit.show();
  Save(&edit, QStringLiteral("voice-edit"));
  edit.hide();

  TAudioDeviceSource devices;
  devices.OutputCount = [] { return 2; };
  devices.OutputCaps = [](int id, TWaveOutCaps& caps) {
    caps = TWaveOutCaps{};
    caps.DeviceID = id;
    caps.ProductName =
        id == 0 ? QStringLiteral("HDA Intel PCH, ALC892 Analog") : QStringLiteral("USB Audio");
    caps.PcmName =
        id == 0 ? QStringLiteral("hw:CARD=PCH,DEV=0") : QStringLiteral("hw:CARD=Device,DEV=0");
    caps.Description = caps.ProductName + QStringLiteral(", Direct hardware device");
    caps.PlaysThrough = QStringLiteral("ALSA, straight to the card");
    caps.Formats = 0xFFF;
    caps.Channels = 2;
    caps.Support = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
    return true;
  };
  TMyAudioDeviceDlg device(&form, devices);
  device.SelectDeviceID(0);
  device.show();
  Save(&device, QStringLiteral("audio-device"));
  device.hide();

  TSoundCardErrorForm error(&form);
  error.show();
  Save(&error, QStringLiteral("sound-card-error"));
  error.hide();
}

}  // namespace
