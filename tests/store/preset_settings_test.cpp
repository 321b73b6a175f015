#include <QTest>
#include <set>
#include <string>

#include "core/config.h"
#include "store/preset_settings.h"
#include "store/setting_keys.h"
#include "store/setting_text.h"
#include "tests/store/unusual_settings.h"

namespace zelmora {
namespace {

using testing::ApplyUnusualSettings;

// The settings that belong to the desk rather than to the piece.
const std::set<std::string, std::less<>> kLeftOut = {
    "MainLeft",      "MainTop",       "BeatIndicatorVisible", "BigPanelLeft",
    "BigPanelTop",   "BigPanelWidth", "BigPanelHeight",       "Hue",
    "Visual Offset", "Output Device"};

// The settings a preset leaves out, as the settings save writes them.
TPresetSettings DeskSettings(const TConfig& config) {
  TPresetSettings desk;
  for (const TSettingKey& key : SettingKeys()) {
    if (key.PresetRole == TPresetRole::None) {
      const TSettingValue value = key.Save(config);
      desk.emplace(key.Name, std::holds_alternative<bool>(value) ? FlagText(std::get<bool>(value))
                             : std::holds_alternative<int>(value)
                                 ? IntegerText(std::get<int>(value))
                                 : std::get<std::string>(value));
    }
  }
  return desk;
}

}  // namespace

class PresetSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPresetSettingRoundTrips() {
    TConfig unusual;
    ApplyUnusualSettings(unusual);
    const TConfig fresh;
    const TPresetSettings freshPreset = CapturePreset(fresh);

    const TPresetSettings preset = CapturePreset(unusual);

    QCOMPARE(preset.size() + kLeftOut.size(), SettingKeys().size());
    for (const TSettingKey& key : SettingKeys()) {
      const bool leftOut = kLeftOut.contains(key.Name);
      QVERIFY2(preset.contains(key.Name) == !leftOut, key.Name.data());
      if (!leftOut) {  // else the round trip below would prove nothing
        QVERIFY2(preset.find(key.Name)->second != freshPreset.find(key.Name)->second,
                 key.Name.data());
      }
    }
    TConfig recalled;
    const TPresetSettings desk = DeskSettings(recalled);
    TPresetSettings withDesk = preset;
    withDesk.merge(DeskSettings(unusual));  // a recall passes over them

    RecallPreset(recalled, withDesk);

    QCOMPARE(CapturePreset(recalled), preset);
    QCOMPARE(DeskSettings(recalled), desk);
  }

  void textThatDoesNotConvertTakesTheDefault_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("recalled");
    QTest::newRow("tempo in words") << "Tempo"
                                    << "fast"
                                    << "120";
    QTest::newRow("flag in words") << "Boost Volume"
                                   << "on"
                                   << "0";
    QTest::newRow("empty level") << "Bell Volume"
                                 << ""
                                 << "-600";
    QTest::newRow("index beyond 32 bits") << "Accented Sound Index"
                                          << "4294967296"
                                          << "18";
    QTest::newRow("trailing blank") << "Swing"
                                    << "60 "
                                    << "50";
  }
  void textThatDoesNotConvertTakesTheDefault() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, recalled);
    TConfig config;
    ApplyUnusualSettings(config);

    RecallPreset(config, {{key.toStdString(), text.toStdString()}});

    QCOMPARE(QString::fromStdString(CapturePreset(config).at(key.toStdString())), recalled);
  }

  // Also a preset of an older version, which knew fewer settings.
  void missingKeyLeavesItsSettingAlone() {
    TConfig config;
    ApplyUnusualSettings(config);
    TPresetSettings expected = CapturePreset(config);
    expected["Tempo"] = "96";

    RecallPreset(config, {{"Tempo", "96"}, {"Setting Of A Later Version", "7"}});

    QCOMPARE(CapturePreset(config), expected);
  }

  void recallTellsWhichSoundsChanged_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("changed");
    QTest::newRow("accent file") << "Sound Accent"
                                 << "/snd/other.wav"
                                 << "accent";
    QTest::newRow("accent index") << "Accented Sound Index"
                                  << "3"
                                  << "accent";
    QTest::newRow("regular index") << "Regular Sound Index"
                                   << "0"
                                   << "regular";
    QTest::newRow("subdivision file") << "Sound Subdivision"
                                      << ""
                                      << "subdivision";
    QTest::newRow("layer index") << "Layer Sound Index"
                                 << "4"
                                 << "layer";
    QTest::newRow("the same sound") << "Layer Sound Index"
                                    << "-1"
                                    << "";
    QTest::newRow("no sound") << "Tempo"
                              << "60"
                              << "";
  }
  void recallTellsWhichSoundsChanged() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, changed);
    TConfig config;
    ApplyUnusualSettings(config);
    TPresetSettings preset = CapturePreset(config);
    preset[key.toStdString()] = text.toStdString();

    const TChangedSounds sounds = RecallPreset(config, preset);

    const TChangedSounds expected{changed == "accent", changed == "regular",
                                  changed == "subdivision", changed == "layer"};
    QVERIFY(sounds == expected);
    QCOMPARE(sounds.Any(), !changed.isEmpty());
  }
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::PresetSettingsTest)
#include "preset_settings_test.moc"
