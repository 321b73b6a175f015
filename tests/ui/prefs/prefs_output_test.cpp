#include <QComboBox>
#include <QTest>

#include <string>
#include <vector>

#include "prefs_rig.h"
#include "ui/prefs/output_entries.h"

using namespace zelmora;
using namespace zelmora::test;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

const std::vector<std::string> kFound = {"ALSA: HDA Intel PCH: ALC892 Analog (hw:0,0)",
                                         "ALSA: default", "JACK Audio Connection Kit: system"};

QStringList Texts(const QComboBox& combo) {
  QStringList texts;
  for (int i = 0; i < combo.count(); ++i) {
    texts << combo.itemText(i);
  }
  return texts;
}

}  // namespace

// The output list: what it offers, what choosing an entry stores, and a
// stored output that is absent.
class PrefsOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void entries_data() {
    QTest::addColumn<std::vector<std::string>>("found");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("choices");
    QTest::newRow("nothing found")
        << std::vector<std::string>{} << "System default" << QStringList{"System default"}
        << QStringList{"System default"};
    QTest::newRow("a found output chosen")
        << kFound << "ALSA: default"
        << QStringList{"System default", kFound[0].c_str(), "ALSA: default", kFound[2].c_str()}
        << QStringList{"System default", kFound[0].c_str(), "ALSA: default", kFound[2].c_str()};
    QTest::newRow("a stored output that is absent")
        << std::vector<std::string>{"ALSA: default"} << "ALSA: USB Audio (hw:1,0)"
        << QStringList{"System default", "ALSA: default", "ALSA: USB Audio (hw:1,0) (not found)"}
        << QStringList{"System default", "ALSA: default", "ALSA: USB Audio (hw:1,0)"};
  }
  void entries() {
    QFETCH(std::vector<std::string>, found);
    QFETCH(QString, chosen);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, choices);
    QStringList gotTexts;
    QStringList gotChoices;
    for (const TOutputEntry& entry : OutputEntries(found, chosen.toStdString())) {
      gotTexts << QString::fromStdString(entry.Text);
      gotChoices << QString::fromStdString(entry.Choice);
    }
    QCOMPARE(gotTexts, texts);
    QCOMPARE(gotChoices, choices);
  }

  // Picking an entry stores its output by name and tells the sound card;
  // a name written by the load selects its entry.
  void choosingAnOutput() {
    TPrefsRig rig;
    TRecordingControl<std::string> device;
    const TScope bound = rig.config.Controls.AudioOutput.Bind(device, TOnUnbind::Forget);
    rig.dialog.SetOutputLister([] { return kFound; });
    auto* combo = rig.Find<QComboBox>("cmbOutputDevice");
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->currentText(), QString("System default"));

    combo->setCurrentIndex(3);
    emit combo->activated(3);
    QCOMPARE(rig.config.OutputDevice, kFound[2]);
    QCOMPARE(device.Value(), kFound[2]);

    rig.config.SetOutputDevice(kFound[0]);
    QCOMPARE(combo->currentText(), QString::fromStdString(kFound[0]));
    QCOMPARE(device.Value(), kFound[0]);
  }

  // The stored name stays until the user picks another: choosing its own
  // entry again changes nothing.
  void anAbsentOutputIsKept() {
    TPrefsRig rig;
    rig.dialog.SetOutputLister([] { return kFound; });
    rig.config.SetOutputDevice("ALSA: USB Audio (hw:1,0)");
    auto* combo = rig.Find<QComboBox>("cmbOutputDevice");
    QCOMPARE(Texts(*combo).size(), 5);
    QCOMPARE(combo->currentText(), QString("ALSA: USB Audio (hw:1,0) (not found)"));
    emit combo->activated(combo->currentIndex());
    QCOMPARE(rig.config.OutputDevice, std::string("ALSA: USB Audio (hw:1,0)"));
    emit combo->activated(0);
    QCOMPARE(rig.config.OutputDevice, std::string("System default"));
    QCOMPARE(Texts(*combo).size(), 4);
  }
};

QTEST_MAIN(PrefsOutputTest)
#include "prefs_output_test.moc"
