#include <QTest>
#include <string>
#include <vector>

#include "store/preset_exchange.h"
#include "tests/store/error_text.h"

namespace zelmora {
namespace {

using testing::ErrorText;
using TNames = std::vector<std::string>;

TPresetSettings AtTempo(int tempo) {
  return {{"Tempo", std::to_string(tempo)}};
}

// Ours: "Song" at 100 and "Same" at 80, in the setlist "Gig".
TPresetLibrary Ours() {
  TPresetLibrary library;
  library.AddPreset("Song", AtTempo(100));
  library.AddPreset("Same", AtTempo(80));
  library.AddSetlist("Gig");
  library.AddToSetlist("Gig", "Song");
  return library;
}

// Theirs: "Song" at 140 (the conflict), "Song (2)" and "New" (new to us)
// and "Same" at 80 (the same), all in their own "Gig".
TPresetLibrary Imported() {
  TPresetLibrary library;
  library.AddPreset("Song", AtTempo(140));
  library.AddPreset("Song (2)", AtTempo(150));
  library.AddPreset("Same", AtTempo(80));
  library.AddPreset("New", AtTempo(60));
  library.AddSetlist("Gig");
  for (const char* name : {"New", "Song", "Same", "Song (2)"}) {
    library.AddToSetlist("Gig", name);
  }
  return library;
}

// Every preset as "name@tempo", in the library's order.
TNames Tempos(const TPresetLibrary& library) {
  TNames tempos;
  for (const TPreset& preset : library.Presets()) {
    tempos.push_back(preset.Name + "@" + preset.Settings.at("Tempo"));
  }
  return tempos;
}

}  // namespace
}  // namespace zelmora

Q_DECLARE_METATYPE(zelmora::TPresetConflict)
Q_DECLARE_METATYPE(zelmora::TNames)

namespace zelmora {

class PresetExchangeTest : public QObject {
  Q_OBJECT

 private slots:
  void importMergesByName_data() {
    QTest::addColumn<TPresetConflict>("answer");
    QTest::addColumn<TNames>("presets");
    QTest::addColumn<TNames>("importedGig");
    // A new name never meets an imported preset's: "Song (2)" is theirs.
    QTest::newRow("keep both") << TPresetConflict::KeepBoth
                               << TNames{"Song@100", "Same@80", "Song (3)@140", "Song (2)@150",
                                         "New@60"}
                               << TNames{"New", "Song (3)", "Same", "Song (2)"};
    QTest::newRow("replace") << TPresetConflict::Replace
                             << TNames{"Song@140", "Same@80", "Song (2)@150", "New@60"}
                             << TNames{"New", "Song", "Same", "Song (2)"};
    QTest::newRow("keep ours") << TPresetConflict::KeepOurs
                               << TNames{"Song@100", "Same@80", "Song (2)@150", "New@60"}
                               << TNames{"New", "Song", "Same", "Song (2)"};
  }
  void importMergesByName() {
    QFETCH(TPresetConflict, answer);
    QFETCH(TNames, presets);
    QFETCH(TNames, importedGig);
    TPresetLibrary library = Ours();
    library.SetCurrent("Gig", "Song");
    TNames asked;

    const TNames added =
        MergePresets(library, Imported(), [&](const TPreset& ours, const TPreset& imported) {
          asked.push_back(ours.Name + "@" + ours.Settings.at("Tempo") + " or " +
                          imported.Settings.at("Tempo"));
          return answer;
        });

    QCOMPARE(asked, TNames{"Song@100 or 140"});  // "Same" is the same preset
    QCOMPARE(Tempos(library), presets);
    QCOMPARE(added, TNames{"Gig (2)"});
    QCOMPARE(library.SetlistPresets("Gig (2)"), importedGig);
    QCOMPARE(library.SetlistPresets("Gig"), TNames{"Song"});
    QVERIFY(library.Current() == (TPresetPlace{"Gig", "Song"}));
  }

  void importThatIsCancelledChangesNothing() {
    TPresetLibrary library = Ours();

    const QString error = ErrorText([&] {
      MergePresets(library, Imported(), [](const TPreset&, const TPreset&) -> TPresetConflict {
        throw TError("cancelled");
      });
    });

    QCOMPARE(error, QString("cancelled"));
    QCOMPARE(Tempos(library), Tempos(Ours()));
    QCOMPARE(library.Setlists().size(), std::size_t{1});
  }

  void exportHoldsTheSetlistAndItsPresets() {
    const TPresetLibrary library = Imported();

    const TPresetLibrary gig = SetlistAlone(library, "Gig");
    const TPresetLibrary all = SetlistAlone(library, TPresetLibrary::kAllPresets);

    QCOMPARE(Tempos(gig), (TNames{"New@60", "Song@140", "Same@80", "Song (2)@150"}));
    QVERIFY(gig.Setlists() == library.Setlists());
    QCOMPARE(Tempos(all), Tempos(library));
    QVERIFY(all.Setlists().empty());
  }
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::PresetExchangeTest)
#include "preset_exchange_test.moc"
