#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "core/error.h"
#include "store/preset_session.h"
#include "tests/core/ticker_rig.h"

using namespace zelmora;
using namespace zelmora::test;
using namespace std::chrono_literals;

namespace {

// A session over a run of the beat loop on simulated time, its file in a
// folder of its own, every report noted.
struct TSessionRig {
  explicit TSessionRig(const std::string& pattern = "Xx", int tempo = 120)
      : run(pattern, tempo, false) {}

  TPresetSession& Open(const QString& path) {
    session = std::make_unique<TPresetSession>(
        TPresetSession::TPorts{run.config,
                               run.metronome,
                               {},
                               [this](const std::string& message) { reports.push_back(message); }},
        path);
    session->Load();
    return *session;
  }

  void AddTwoPresets() {
    session->Edit([](TPresetLibrary& library) {
      library.AddPreset("Waltz", {{"Tempo", "60"}, {"BeatPattern", "Xxx"}});
      library.AddPreset("Reel", {{"Tempo", "112"}, {"BeatPattern", "Xxxx"}});
    });
  }

  QTemporaryDir dir;
  TRun run;
  std::unique_ptr<TPresetSession> session;
  std::vector<std::string> reports;
};

}  // namespace

class PresetSessionTest : public QObject {
  Q_OBJECT

 private slots:
  // Stepping while the metronome runs: the bar in progress ends as it was,
  // the next one is the preset's from its first beat. The place is saved.
  void aStepWhileRunningActsFromTheNextBar() {
    TSessionRig rig;
    const QString path = rig.dir.filePath("presets.json");
    TPresetSession& session = rig.Open(path);
    rig.AddTwoPresets();
    // During the first bar's second beat.
    rig.run.time.At(rig.run.time.now + 700ms, [&] { session.Step(TPresetStep::Next); });
    const Beats beats = rig.run.Play(6);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 6), (Beats{"A", "R", "A", "R", "R", "A"}));
    const Frames intervals = rig.run.Intervals();
    QCOMPARE(Frames(intervals.begin(), intervals.begin() + 4),
             (Frames{24000, 24000, 48000, 48000}));
    QCOMPARE(session.CurrentPresetName(), std::string("Waltz"));

    TPresetFile reread(path);
    QCOMPARE(reread.Load().Library.Current().Preset, std::string("Waltz"));
  }

  // Stopped, a recall acts at once; at the setlist's end a step stays.
  void stepsStopAtTheEnds() {
    TSessionRig rig;
    TPresetSession& session = rig.Open(rig.dir.filePath("presets.json"));
    rig.AddTwoPresets();
    session.Step(TPresetStep::Previous);
    QCOMPARE(rig.run.config.Tempo.load(), 60);
    session.Step(TPresetStep::Next);
    session.Step(TPresetStep::Next);
    QCOMPARE(session.CurrentPresetName(), std::string("Reel"));
    QCOMPARE(rig.run.config.Tempo.load(), 112);
    QCOMPARE(rig.run.config.BeatPattern, std::string("Xxxx"));
    rig.run.config.SetTempo(90);
    session.Step(TPresetStep::Next);
    QCOMPARE(rig.run.config.Tempo.load(), 90);
  }

  // A bad edit changes neither the library nor the file.
  void anEditThatFailsChangesNothing() {
    TSessionRig rig;
    const QString path = rig.dir.filePath("presets.json");
    TPresetSession& session = rig.Open(path);
    rig.AddTwoPresets();
    const std::vector<TPreset> before = session.Library().Presets();
    bool thrown = false;
    try {
      session.Edit([](TPresetLibrary& library) {
        library.AddPreset("Jig", {});
        library.AddPreset("Reel", {});  // taken
      });
    } catch (const TError&) {
      thrown = true;
    }
    QVERIFY(thrown);
    QCOMPARE(session.Library().Presets(), before);
    QCOMPARE(TPresetFile(path).Load().Library.Presets(), before);
  }

  // On stage a failing disk must not bring a box at every step: one report
  // until a save works again.
  void aFailedSaveIsReportedOnceUntilOneWorks() {
    TSessionRig rig;
    // A file where the folder should be: no save can work.
    const QString folder = rig.dir.filePath("taken");
    const auto block = [&folder] {
      QFile file(folder);
      return file.open(QIODevice::WriteOnly);
    };
    QVERIFY(block());
    TPresetSession& session = rig.Open(folder + "/presets.json");
    rig.AddTwoPresets();
    session.Step(TPresetStep::Next);
    session.Step(TPresetStep::Next);
    QCOMPARE(rig.reports.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(rig.reports[0]).contains("presets.json"));
    QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));
    session.Step(TPresetStep::Previous);
    QCOMPARE(rig.reports.size(), std::size_t{1});
    QVERIFY(QDir(folder).removeRecursively() && block());
    session.Step(TPresetStep::Next);
    QCOMPARE(rig.reports.size(), std::size_t{2});
  }
};

QTEST_GUILESS_MAIN(PresetSessionTest)
#include "preset_session_test.moc"
