#include <QTest>
#include <string>
#include <vector>

#include "store/presets.h"
#include "tests/store/error_text.h"

namespace zelmora {
namespace {

using testing::ErrorText;
using TNames = std::vector<std::string>;
using TOperation = void (*)(TPresetLibrary&);

// Presets A, B, C, D, each of its own tempo; "Gig" plays C, A, D and
// "Rehearsal" B, C.
TPresetLibrary FourPresets() {
  TPresetLibrary library;
  int tempo = 60;
  for (const char* name : {"A", "B", "C", "D"}) {
    library.AddPreset(name, {{"Tempo", std::to_string(tempo += 10)}});
  }
  library.AddSetlist("Gig");
  for (const char* name : {"C", "A", "D"}) {
    library.AddToSetlist("Gig", name);
  }
  library.AddSetlist("Rehearsal");
  library.AddToSetlist("Rehearsal", "B");
  library.AddToSetlist("Rehearsal", "C");
  return library;
}

TNames PresetNames(const TPresetLibrary& library) {
  return library.SetlistPresets(TPresetLibrary::kAllPresets);
}

}  // namespace
}  // namespace zelmora

Q_DECLARE_METATYPE(zelmora::TOperation)

namespace zelmora {

class PresetsTest : public QObject {
  Q_OBJECT

 private slots:
  void namesAreTrimmedAndUnique() {
    TPresetLibrary library = FourPresets();

    QCOMPARE(library.AddPreset("  Ballad \t", {}).Name, std::string("Ballad"));
    QVERIFY(library.FindPreset(" Ballad") != nullptr);
    library.RenamePreset("A", "a");  // a name of its own, compared exactly

    QCOMPARE(PresetNames(library), TNames({"a", "B", "C", "D", "Ballad"}));
  }

  void overwriteKeepsKeysTheCaptureLacks() {
    TPresetLibrary library;
    library.AddPreset("Song", {{"Tempo", "90"}, {"Setting Of A Later Version", "7"}});

    library.OverwritePreset("Song", {{"Tempo", "100"}, {"Bell", "0"}});

    QVERIFY(
        library.FindPreset("Song")->Settings ==
        (TPresetSettings{{"Tempo", "100"}, {"Bell", "0"}, {"Setting Of A Later Version", "7"}}));
  }

  // Each throws before it changes anything.
  void brokenRulesAreRefused_data() {
    QTest::addColumn<TOperation>("operation");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, TOperation operation, const char* message) {
      QTest::newRow(name) << operation << QString(message);
    };
    row(
        "empty preset name", [](TPresetLibrary& l) { l.AddPreset(" ", {}); },
        "A preset needs a name");
    row(
        "preset name taken", [](TPresetLibrary& l) { l.AddPreset("C ", {}); },
        "There is already a preset named 'C'");
    row(
        "rename onto another", [](TPresetLibrary& l) { l.RenamePreset("A", "B"); },
        "There is already a preset named 'B'");
    row(
        "unknown preset", [](TPresetLibrary& l) { l.DeletePreset("E"); },
        "There is no preset named 'E'");
    row(
        "setlist name taken", [](TPresetLibrary& l) { l.AddSetlist("Gig"); },
        "There is already a setlist named 'Gig'");
    row(
        "setlist named as all", [](TPresetLibrary& l) { l.AddSetlist("All presets"); },
        "There is already a setlist named 'All presets'");
    row(
        "rename all", [](TPresetLibrary& l) { l.RenameSetlist("All presets", "Every"); },
        "'All presets' cannot be renamed");
    row(
        "delete all", [](TPresetLibrary& l) { l.DeleteSetlist("All presets"); },
        "'All presets' cannot be deleted");
    row(
        "add to all", [](TPresetLibrary& l) { l.AddToSetlist("All presets", "A"); },
        "'All presets' always holds every preset and cannot be changed by hand");
    row(
        "twice in a setlist", [](TPresetLibrary& l) { l.AddToSetlist("Gig", "A"); },
        "'A' is already in 'Gig'");
    row(
        "current not in its setlist", [](TPresetLibrary& l) { l.SetCurrent("Gig", "B"); },
        "'B' is not in 'Gig'");
  }
  void brokenRulesAreRefused() {
    QFETCH(TOperation, operation);
    QFETCH(QString, message);
    TPresetLibrary library = FourPresets();

    QCOMPARE(ErrorText([&] { operation(library); }), message);

    const TPresetLibrary untouched = FourPresets();
    QVERIFY(library.Presets() == untouched.Presets());
    QVERIFY(library.Setlists() == untouched.Setlists());
    QVERIFY(library.Current() == untouched.Current());
  }

  void renameReachesEverySetlistAndTheCurrentPlace() {
    TPresetLibrary library = FourPresets();
    library.SetCurrent("Rehearsal", "C");

    library.RenamePreset("C", "Closer");

    QCOMPARE(PresetNames(library), TNames({"A", "B", "Closer", "D"}));
    QCOMPARE(library.SetlistPresets("Gig"), TNames({"Closer", "A", "D"}));
    QCOMPARE(library.SetlistPresets("Rehearsal"), TNames({"B", "Closer"}));
    QVERIFY(library.Current() == (TPresetPlace{"Rehearsal", "Closer"}));
    QCOMPARE(library.FindPreset("Closer")->Settings.at("Tempo"), std::string("90"));
  }

  void deleteLeavesEverySetlist() {
    TPresetLibrary library = FourPresets();
    library.SetCurrent("Gig", "C");

    library.DeletePreset("C");

    QCOMPARE(PresetNames(library), TNames({"A", "B", "D"}));
    QCOMPARE(library.SetlistPresets("Gig"), TNames({"A", "D"}));
    QCOMPARE(library.SetlistPresets("Rehearsal"), TNames({"B"}));
    QVERIFY(library.Current() == (TPresetPlace{"Gig", ""}));
  }

  void setlistsAreRenamedAndDeletedWithTheCurrentPlace() {
    TPresetLibrary library = FourPresets();
    library.SetCurrent("Gig", "D");

    library.RenameSetlist("Gig", "Friday");
    QVERIFY(library.Current() == (TPresetPlace{"Friday", "D"}));
    library.DeleteSetlist("Friday");

    QCOMPARE(library.Setlists().size(), std::size_t{1});
    QVERIFY(library.Current() == (TPresetPlace{"All presets", "D"}));
    QCOMPARE(PresetNames(library), TNames({"A", "B", "C", "D"}));
  }

  void moveReorders_data() {
    QTest::addColumn<QString>("setlist");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order");
    QTest::newRow("down") << "Gig" << 0 << 2 << "ADC";
    QTest::newRow("up") << "Gig" << 2 << 0 << "DCA";
    QTest::newRow("in place") << "Gig" << 1 << 1 << "CAD";
    QTest::newRow("the library") << "All presets" << 3 << 1 << "ADBC";
  }
  void moveReorders() {
    QFETCH(QString, setlist);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, order);
    TPresetLibrary library = FourPresets();

    library.MoveInSetlist(setlist.toStdString(), from, to);

    TNames expected;
    for (const QChar name : order) {
      expected.emplace_back(1, name.toLatin1());
    }
    QCOMPARE(library.SetlistPresets(setlist.toStdString()), expected);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, library.MoveInSetlist("Gig", 3, 0));
  }

  void stepStopsAtTheEnds_data() {
    QTest::addColumn<QString>("setlist");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("next");
    QTest::addColumn<QString>("reached");  // empty: nowhere, the place stays
    QTest::newRow("next") << "Gig"
                          << "C" << true << "A";
    QTest::newRow("previous") << "Gig"
                              << "D" << false << "A";
    QTest::newRow("next after the last") << "Gig"
                                         << "D" << true << "";
    QTest::newRow("previous before the first") << "Gig"
                                               << "C" << false << "";
    QTest::newRow("next from none") << "Gig"
                                    << "" << true << "C";
    QTest::newRow("previous from none") << "Gig"
                                        << "" << false << "C";
    QTest::newRow("through all presets") << "All presets"
                                         << "B" << true << "C";
    QTest::newRow("empty setlist") << "Empty"
                                   << "" << true << "";
  }
  void stepStopsAtTheEnds() {
    QFETCH(QString, setlist);
    QFETCH(QString, from);
    QFETCH(bool, next);
    QFETCH(QString, reached);
    TPresetLibrary library = FourPresets();
    library.AddSetlist("Empty");
    library.SetCurrent(setlist.toStdString(), from.toStdString());

    const TPreset* preset = library.Step(next ? TPresetStep::Next : TPresetStep::Previous);

    QCOMPARE(preset ? QString::fromStdString(preset->Name) : QString(), reached);
    const QString stays = reached.isEmpty() ? from : reached;
    QVERIFY(library.Current() == (TPresetPlace{setlist.toStdString(), stays.toStdString()}));
  }
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::PresetsTest)
#include "presets_test.moc"
