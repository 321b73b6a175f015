#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <QTest>

#include <vector>

#include "core/config.h"
#include "tests/core/recording_control.h"
#include "ui/controls/widget_controls.h"

using namespace zelmora;
using zelmora::test::TRecordingControl;

// The settings object and real sliders wired as the windows wire them: the
// setter writes the slider only when it shows something else, and the
// slider's change handler calls the setter back with its own position.
class SliderLoopTest : public QObject {
  Q_OBJECT

 private:
  struct TSliders {
    explicit TSliders(TConfig& config) {
      volume.setRange(0, 3000);
      bell.setRange(-2100, 0);
      pan.setRange(-5000, 5000);
      bindings.push_back(config.Controls.sTrackBarVol.Bind(volumeControl));
      bindings.push_back(config.Controls.strbBellVolume.Bind(bellControl));
      bindings.push_back(config.Controls.sTrackBarPan.Bind(panControl));
      bindings.push_back(config.Controls.chkBoostVolume.Bind(boostControl));
      // The fader shows attenuation as a positive number.
      QObject::connect(&volume, &QSlider::valueChanged,
                       [&config](int position) { config.SetVolume(-position); });
      QObject::connect(&bell, &QSlider::valueChanged,
                       [&config](int position) { config.SetBellVolume(position); });
      QObject::connect(&pan, &QSlider::valueChanged,
                       [&config](int position) { config.SetPan(position); });
      QObject::connect(&boost, &QCheckBox::toggled, [&config, this](bool checked) {
        ++boostClicks;
        config.SetBoostVolume(checked);
      });
    }
    QSlider volume, bell, pan;
    QCheckBox boost;
    TSliderControl volumeControl{&volume}, bellControl{&bell}, panControl{&pan};
    TCheckControl boostControl{&boost};
    int boostClicks = 0;
    std::vector<TScope> bindings;
  };

 private slots:
  void volumeFaderAtItsEndLetsTheLevelGoOn() {
    TConfig config;
    TSliders sliders(config);
    config.SetVolume(-3000);
    QCOMPARE(sliders.volume.value(), 3000);
    // The keypad minus key lowers the level in steps of 100.
    for (int i = 0; i < 80; ++i) {
      config.SetVolume(config.Volume - 100);
    }
    QCOMPARE(config.Volume.load(), -10000);
    QCOMPARE(sliders.volume.value(), 3000);
  }

  void volumeFaderThatHasToMoveBringsTheLevelBack() {
    TConfig config;
    TSliders sliders(config);
    QCOMPARE(sliders.volume.value(), 0);
    config.SetVolume(-5000);
    QCOMPARE(sliders.volume.value(), 3000);
    QCOMPARE(config.Volume.load(), -3000);
    // Below silence the setter clamps first, then the fader settles it.
    config.SetVolume(0);
    config.SetVolume(-20000);
    QCOMPARE(config.Volume.load(), -3000);
  }

  void bellSliderBoundsTheBellLevel() {
    TConfig config;
    TSliders sliders(config);
    config.SetBellVolume(-600);
    QCOMPARE(sliders.bell.value(), -600);
    config.SetBellVolume(-3000);
    QCOMPARE(sliders.bell.value(), -2100);
    QCOMPARE(config.BellVolume.load(), -2100);
    // Standing at its end already, the slider does not move and the setter's
    // own value stays.
    config.SetBellVolume(-2500);
    QCOMPARE(config.BellVolume.load(), -2500);
  }

  void panSliderAndVoices() {
    TConfig config;
    TSliders sliders(config);
    TRecordingControl<int> bellVoice, accentVoice, regularVoice;
    const TScope bellVoiceBound = config.Controls.BellVoicePan.Bind(bellVoice);
    const TScope accentVoiceBound = config.Controls.AccentVoicePan.Bind(accentVoice);
    const TScope regularVoiceBound = config.Controls.RegularVoicePan.Bind(regularVoice);
    config.SetPan(2000);
    QCOMPARE(sliders.pan.value(), 2000);
    QCOMPARE(config.Pan, 2000);
    QCOMPARE(bellVoice.Value(), -2000);
    QCOMPARE(accentVoice.Value(), -2000);
    QCOMPARE(regularVoice.Value(), -2000);
    // Beyond the slider's range the slider calls back with its end, and the
    // voices follow the bounded value. (Each move of the slider calls back,
    // so every value reaches the voices twice or is corrected once.)
    config.SetPan(7000);
    QCOMPARE(sliders.pan.value(), 5000);
    QCOMPARE(config.Pan, 5000);
    QCOMPARE(regularVoice.writes, (std::vector<int>{-2000, -2000, -7000, -5000}));
  }

  void boostCheckBoxCallsBackWithTheSameValue() {
    TConfig config;
    TSliders sliders(config);
    config.SetBoostVolume(true);
    QVERIFY(sliders.boost.isChecked());
    QVERIFY(config.BoostVolume);
    QCOMPARE(sliders.boostClicks, 1);
    config.SetBoostVolume(true);
    QCOMPARE(sliders.boostClicks, 1);
  }
};

QTEST_MAIN(SliderLoopTest)
#include "slider_loop_test.moc"
