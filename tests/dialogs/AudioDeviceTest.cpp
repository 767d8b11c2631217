// The audio device dialog over devices a test describes, and the sound card
// error dialog in the controller's check before a reading.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cerrno>

#include "DialogTestRig.h"
#include "DiscardPcmOutput.h"
#include "KelmorAuDevFrm.h"
#include "SoundCardError.h"

namespace {

// Three output devices; device 1 cannot be read and device 2 takes no
// standard format, so only devices 0 and 3 are listed.
TAudioDeviceSource FourDevices() {
  TAudioDeviceSource source;
  source.OutputCount = [] { return 4; };
  source.OutputCaps = [](int id, TWaveOutCaps& caps) {
    if (id == 1 || id < -1 || id > 3) {
      return false;
    }
    caps = TWaveOutCaps{};
    caps.DeviceID = id;
    caps.ProductName = id == -1
                           ? QStringLiteral("Default device")
                           : QStringLiteral("A card with a rather long product name %1").arg(id);
    caps.PcmName = id == -1 ? QStringLiteral("default") : QStringLiteral("hw:CARD=C%1").arg(id);
    caps.Description = id == 0 ? QString() : caps.ProductName + QStringLiteral(", analog");
    caps.PlaysThrough = id == -1 ? QStringLiteral("PipeWire") : QStringLiteral("ALSA");
    caps.Formats = id == 2 ? 0 : WAVE_FORMAT_2M16 | WAVE_FORMAT_4S16;
    caps.Channels = id == 3 ? 1 : 2;
    caps.Support = id == 3 ? WAVECAPS_VOLUME | WAVECAPS_SAMPLEACCURATE : 0;
    return true;
  };
  return source;
}

TAudioDeviceSource NoDevices() {
  TAudioDeviceSource source;
  source.OutputCount = [] { return 0; };
  source.OutputCaps = [](int, TWaveOutCaps&) { return false; };
  return source;
}

struct TDeviceCase {
  const char* Name;
  qint32 Stored;
  int ClickRow;  // -1: leave the selection alone
  bool Confirm;
  bool ExpectedResult;
  qint32 ExpectedId;
};

class AudioDevice : public ::testing::TestWithParam<TDeviceCase> {
 protected:
  TTempFolders Folders;
  TMessageRecorder Messages;
};

TEST_P(AudioDevice, EachEntryAnswersItsOwnDeviceIdentifier) {
  const TDeviceCase& c = GetParam();
  TAuDevDlg request{duTTS, c.Stored};
  OnNextModal([&c](QDialog& dialog) {
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"));
    if (c.ClickRow >= 0) {
      list->setCurrentRow(c.ClickRow);
    }
    c.Confirm ? dialog.accept() : dialog.reject();
  });
  EXPECT_EQ(RunDeviceDialog(request, nullptr, FourDevices()), c.ExpectedResult);
  EXPECT_EQ(request.FAudioDeviceID, c.ExpectedId);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, AudioDevice,
    ::testing::Values(TDeviceCase{"DeviceAfterOnesLeftOut", -1, 2, true, true, 3},
                      TDeviceCase{"FirstCard", 3, 1, true, true, 0},
                      TDeviceCase{"WaveMapper", 0, 0, true, true, -1},
                      TDeviceCase{"KeepsStoredDevice", 3, -1, true, true, 3},
                      TDeviceCase{"NothingSelected", 7, -1, true, true, -1},
                      TDeviceCase{"UnlistedDeviceGivesNoSelection", 2, -1, true, true, -1},
                      TDeviceCase{"CancelKeepsRequest", 0, 2, false, false, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AudioDeviceDialog, ListsDevicesWithTheirDetails) {
  TMyAudioDeviceDlg dialog(nullptr, FourDevices());
  dialog.SelectDeviceID(3);
  dialog.FillList();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Audio Destination Device ID"));
  ASSERT_EQ(dialog.ListBox1->count(), 3);
  EXPECT_EQ(dialog.ListBox1->item(0)->text(), QStringLiteral("Default output (system mixer)"));
  EXPECT_EQ(dialog.ListBox1->item(2)->text(), QStringLiteral("A card with a rather long produ"));
  EXPECT_EQ(dialog.EntryDeviceIDs(), (QList<int>{-1, 0, 3}));
  EXPECT_EQ(dialog.ListBox1->currentRow(), 2);
  EXPECT_EQ(dialog.lDeviceID->text(), QStringLiteral("3"));
  // What ALSA and a sound server call the device, not the numbers of
  // another system's driver model.
  EXPECT_EQ(dialog.lManufacturer->text(), QStringLiteral("hw:CARD=C3"));
  EXPECT_EQ(dialog.lProduct->text(),
            QStringLiteral("A card with a rather long product name 3, analog"));
  EXPECT_EQ(dialog.lVersion->text(), QStringLiteral("ALSA"));
  EXPECT_EQ(dialog.lFormat->text(),
            QStringLiteral("22.05 kHz, Mono, 16-bit\n44.1 kHz, Stereo, 16-bit"));
  EXPECT_EQ(dialog.lChannels->text(), QStringLiteral("Mono"));
  EXPECT_EQ(
      dialog.lSupports->text(),
      QStringLiteral("Supports volume control. Returns sample-accurate position information."));

  dialog.ListBox1->setCurrentRow(0);
  EXPECT_EQ(dialog.lDeviceID->text(), QStringLiteral("-1 (system default)"));
  EXPECT_EQ(dialog.lVersion->text(), QStringLiteral("PipeWire"));
  EXPECT_EQ(dialog.lChannels->text(), QStringLiteral("Stereo"));
  EXPECT_TRUE(dialog.lSupports->text().isEmpty());
}

TEST(AudioDeviceDialog, FormatLinesKeepTheirOrderAndOnlyTheLastHasNoBreak) {
  EXPECT_EQ(TMyAudioDeviceDlg::FormatsText(0xFFF).split(u'\n').size(), 12);
  EXPECT_EQ(TMyAudioDeviceDlg::FormatsText(WAVE_FORMAT_2M08 | WAVE_FORMAT_1S08),
            QStringLiteral("11.025 kHz, Stereo, 8-bit\n22.05 kHz, Mono, 8-bit \n"));
  EXPECT_EQ(TMyAudioDeviceDlg::SupportsText(0x3F).count(u'.'), 6);
}

TEST(AudioDeviceDialog, NoDevicesLeavesAnEmptyListAndOkAnswersTheDefault) {
  TTempFolders folders;
  TAuDevDlg request{duTTS, 2};
  OnNextModal([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Audio Device ID "));
    EXPECT_EQ(dialog.findChild<QListWidget*>(QStringLiteral("ListBox1"))->count(), 0);
    dialog.accept();
  });
  EXPECT_TRUE(RunDeviceDialog(request, nullptr, NoDevices()));
  EXPECT_EQ(request.FAudioDeviceID, -1);
}

TEST(AudioDeviceDialog, DoubleClickConfirms) {
  TMyAudioDeviceDlg dialog(nullptr, FourDevices());
  dialog.FillList();
  QListWidgetItem* item = dialog.ListBox1->item(1);
  dialog.ListBox1->setCurrentItem(item);
  emit dialog.ListBox1->itemDoubleClicked(item);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.SelectedDeviceID(), 0);
}

// The message seam of the program as far as the sound card check needs it.
class TSoundCardSink final : public TUserMessages {
 public:
  TSoundCardSink() { SetUserMessages(this); }
  ~TSoundCardSink() override { SetUserMessages(nullptr); }
  TSoundCardSink(const TSoundCardSink&) = delete;
  TSoundCardSink& operator=(const TSoundCardSink&) = delete;
  void ShowMessage(const QString& text) override { Messages << text; }
  void ShowError(const QString& text, const QString&) override { Messages << text; }
  int ShowModalDialog(const QString& name) override {
    Dialogs << name;
    return name == u"SoundCardError" ? ShowSoundCardError() : int(mrOk);
  }
  QStringList Messages;
  QStringList Dialogs;
};

void Answer(bool tick, bool untick, bool proceed) {
  OnNextModal([=](QDialog& dialog) {
    auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
    if (tick) {
      box->click();
    }
    if (untick) {
      box->click();
    }
    dialog
        .findChild<QPushButton*>(proceed ? QStringLiteral("ProceedBtn")
                                         : QStringLiteral("CancelBtn"))
        ->click();
  });
}

TEST(SoundCardCheck, ErrorDialogDecidesTheReadingAndItsBoxTurnsTheCheckOff) {
  TScriptedController rig;
  auto openResult = std::make_shared<int>(-ENODEV);
  rig.System->CreatePcmOutput = [openResult](int) -> std::unique_ptr<TPcmOutput> {
    return std::make_unique<TDiscardPcmOutput>(*openResult);
  };
  TSoundCardSink sink;
  rig.Prefs.TTS_SoundCardCheckErr = true;
  const QString text = QStringLiteral("Hello there");

  // Cancel is the default answer and abandons the reading.
  Answer(false, false, false);
  EXPECT_FALSE(rig.Controller->Play(text, QStringLiteral("Adam")));
  EXPECT_EQ(sink.Dialogs.size(), 1);

  // Ticking and unticking before closing keeps the check.
  Answer(true, true, false);
  EXPECT_FALSE(rig.Controller->Play(text, QStringLiteral("Adam")));
  EXPECT_TRUE(rig.Prefs.TTS_SoundCardCheckErr);
  EXPECT_EQ(sink.Dialogs.size(), 2);

  Answer(true, false, true);
  rig.Controller->Play(text, QStringLiteral("Adam"));
  EXPECT_EQ(sink.Dialogs.size(), 3);
  EXPECT_FALSE(rig.Prefs.TTS_SoundCardCheckErr);

  // Later failed checks read without asking.
  rig.Controller->Play(text, QStringLiteral("Adam"));
  EXPECT_EQ(sink.Dialogs.size(), 3);

  // A busy card is reported, never asked about.
  *openResult = -EBUSY;
  rig.Prefs.TTS_SoundCardCheckErr = true;
  EXPECT_FALSE(rig.Controller->Play(text, QStringLiteral("Adam")));
  EXPECT_EQ(sink.Dialogs.size(), 3);
  EXPECT_TRUE(sink.Messages.contains(QStringLiteral("Sound card is busy.  Wait and try again.")));
  rig.Controller->TTS1->SetActive(false);
}

TEST(SoundCardCheck, ErrorFormShowsItsTextWithTheSupportAddress) {
  TSoundCardErrorForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Sound Card Error Detected"));
  const QStringList lines = form.Memo1->toPlainText().split(u'\n');
  ASSERT_EQ(lines.size(), 10);
  EXPECT_TRUE(lines[3].isEmpty());
  EXPECT_TRUE(lines[5].startsWith(QStringLiteral("problems please contact ")));
  EXPECT_TRUE(lines[5].endsWith(QStringLiteral(". ")));
  EXPECT_TRUE(form.CancelBtn->isDefault());
  EXPECT_EQ(form.CheckBox1->text(), QStringLiteral("Disable Sound Card Check in the Future"));
}

}  // namespace
