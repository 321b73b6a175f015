#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "presets_rig.h"

using namespace zelmora;
using namespace zelmora::test;

Q_DECLARE_METATYPE(std::optional<TPresetConflict>)

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// The Presets dialog's editing: each way in changes the session's library,
// and so the preset file, or shows why not and changes nothing.
class PresetsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

  void saveAsNewCapturesTheCurrentSetup_data() {
    QTest::addColumn<QString>("setlist");
    QTest::addColumn<QStringList>("inSetlist");
    QTest::newRow("all presets") << "All presets"
                                 << QStringList{"Intro", "Ballad", "Rock", "Encore"};
    QTest::newRow("a setlist too") << "Gig" << QStringList{"Rock", "Intro", "Encore"};
  }
  void saveAsNewCapturesTheCurrentSetup() {
    QFETCH(QString, setlist);
    QFETCH(QStringList, inSetlist);
    TPresetsRig rig;
    rig.Seed();
    rig.config.SetTempo(96);
    rig.Show(setlist, "Intro");
    rig.questions.name = "  Encore ";

    rig.Find<QPushButton>("sbtnSaveAsNew")->click();

    QCOMPARE(rig.questions.proposedNames, QStringList{"Preset"});
    const TPreset* saved = rig.session.Library().FindPreset("Encore");
    QVERIFY(saved != nullptr);
    QCOMPARE(saved->Settings, rig.session.Capture());
    QCOMPARE(saved->Settings.at("Tempo"), std::string("96"));
    QCOMPARE(rig.InLibrary(setlist.toUtf8().constData()), inSetlist);
    QCOMPARE(rig.InLibrary("All presets").size(), 4);
    // It is the setup now, so the current preset.
    QCOMPARE(rig.session.Library().Current(), (TPresetPlace{setlist.toStdString(), "Encore"}));
    QVERIFY(rig.StoredAsShown());
    QCOMPARE(TPresetsRig::Shown(rig.Presets()), inSetlist);
    QCOMPARE(TPresetsRig::Selected(rig.Presets()), QString("Encore"));
    QCOMPARE(TPresetsRig::Marked(rig.Presets()), QStringList{"Encore"});
    QVERIFY(rig.errors.empty());
  }

  void saveOverGivesThePresetTheCurrentSetup_data() {
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("tempo");
    QTest::newRow("confirmed") << true << "150";
    QTest::newRow("declined") << false << "70";
  }
  void saveOverGivesThePresetTheCurrentSetup() {
    QFETCH(bool, confirmed);
    QFETCH(QString, tempo);
    TPresetsRig rig;
    rig.Seed();
    rig.config.SetTempo(150);
    rig.Show("All presets", "Ballad");
    rig.questions.yes = confirmed;

    rig.Find<QPushButton>("sbtnSaveOver")->click();

    QCOMPARE(rig.questions.confirmations.size(), 1);
    QCOMPARE(rig.session.Library().FindPreset("Ballad")->Settings.at("Tempo"), tempo.toStdString());
    QCOMPARE(rig.InLibrary("All presets"), (QStringList{"Intro", "Ballad", "Rock"}));
    QVERIFY(rig.StoredAsShown());
  }

  void recallSetsTheTempo_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("double-click") << "double-click";
    QTest::newRow("Recall button") << "button";
  }
  void recallSetsTheTempo() {
    QFETCH(QString, way);
    TPresetsRig rig;
    rig.Seed();
    rig.config.SetTempo(120);
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    rig.Show("Gig", "Intro");
    QListWidget* presets = rig.Presets();

    if (way == "Enter") {
      QTest::keyClick(presets, Qt::Key_Return);
    } else if (way == "double-click") {
      const QRect row = presets->visualItemRect(presets->findItems("Intro", Qt::MatchExactly)[0]);
      // The second press of a double-click comes as the double-click.
      QTest::mouseClick(presets->viewport(), Qt::LeftButton, {}, row.center());
      QTest::mouseDClick(presets->viewport(), Qt::LeftButton, {}, row.center());
    } else {
      rig.Find<QPushButton>("sbtnRecall")->click();
    }

    QCOMPARE(rig.config.Tempo.load(), 90);
    QCOMPARE(rig.session.Library().Current(), (TPresetPlace{"Gig", "Intro"}));
    QVERIFY(rig.StoredAsShown());
    QCOMPARE(TPresetsRig::Marked(rig.Setlists()), QStringList{"Gig"});
    QCOMPARE(TPresetsRig::Marked(rig.Presets()), QStringList{"Intro"});
    QVERIFY(rig.dialog.isVisible());
  }

  void keysEditTheSelectedPreset_data() {
    QTest::addColumn<QString>("setlist");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QString>("answer");  // the new name, or whether a Delete is confirmed
    QTest::addColumn<QStringList>("all");
    QTest::addColumn<QStringList>("gig");
    QTest::addColumn<QString>("selected");
    const QStringList all{"Intro", "Ballad", "Rock"};
    const QStringList gig{"Rock", "Intro"};
    QTest::newRow("F2 renames") << "All presets"
                                << "Ballad" << int(Qt::Key_F2) << false << "Slow one"
                                << QStringList{"Intro", "Slow one", "Rock"} << gig << "Slow one";
    QTest::newRow("F2 renames in every setlist")
        << "Gig"
        << "Intro" << int(Qt::Key_F2) << false << "Opener"
        << QStringList{"Opener", "Ballad", "Rock"} << QStringList{"Rock", "Opener"} << "Opener";
    QTest::newRow("Delete deletes everywhere")
        << "All presets"
        << "Rock" << int(Qt::Key_Delete) << false << "yes" << QStringList{"Intro", "Ballad"}
        << QStringList{"Intro"} << "Ballad";
    QTest::newRow("Delete declined")
        << "Gig"
        << "Rock" << int(Qt::Key_Delete) << false << "no" << all << gig << "Rock";
    QTest::newRow("Ctrl+Up orders the library")
        << "All presets"
        << "Rock" << int(Qt::Key_Up) << true << "" << QStringList{"Intro", "Rock", "Ballad"} << gig
        << "Rock";
    QTest::newRow("Ctrl+Down orders the setlist") << "Gig"
                                                  << "Rock" << int(Qt::Key_Down) << true << ""
                                                  << all << QStringList{"Intro", "Rock"} << "Rock";
    QTest::newRow("Ctrl+Down at the end")
        << "All presets"
        << "Rock" << int(Qt::Key_Down) << true << "" << all << gig << "Rock";
    QTest::newRow("Up alone only selects")
        << "All presets"
        << "Rock" << int(Qt::Key_Up) << false << "" << all << gig << "Ballad";
  }
  void keysEditTheSelectedPreset() {
    QFETCH(QString, setlist);
    QFETCH(QString, preset);
    QFETCH(int, key);
    QFETCH(bool, ctrl);
    QFETCH(QString, answer);
    QFETCH(QStringList, all);
    QFETCH(QStringList, gig);
    QFETCH(QString, selected);
    TPresetsRig rig;
    rig.Seed();
    rig.Show(setlist, preset);
    rig.questions.name = answer;
    rig.questions.yes = answer == "yes";

    QTest::keyClick(rig.Presets(), Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);

    QCOMPARE(rig.InLibrary("All presets"), all);
    QCOMPARE(rig.InLibrary("Gig"), gig);
    QVERIFY(rig.StoredAsShown());
    QCOMPARE(TPresetsRig::Shown(rig.Presets()), setlist == "Gig" ? gig : all);
    QCOMPARE(TPresetsRig::Selected(rig.Presets()), selected);
    QVERIFY(rig.errors.empty());
  }

  // A drop inside the list moves its row in the list's model, as Qt
  // reckons it; the dialog makes that the setlist's order.
  void dropReordersTheSetlist() {
    TPresetsRig rig;
    rig.Seed();
    rig.Show("Gig", "Rock");
    QListWidget* presets = rig.Presets();

    QVERIFY(presets->model()->moveRow(QModelIndex(), 0, QModelIndex(), 2));
    QApplication::processEvents();

    QCOMPARE(rig.InLibrary("Gig"), (QStringList{"Intro", "Rock"}));
    QCOMPARE(rig.InLibrary("All presets"), (QStringList{"Intro", "Ballad", "Rock"}));
    QVERIFY(rig.StoredAsShown());
    QCOMPARE(TPresetsRig::Shown(presets), (QStringList{"Intro", "Rock"}));
    QCOMPARE(TPresetsRig::Selected(presets), QString("Rock"));
  }

  void badNamesShowTheErrorAndChangeNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("setlist");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::newRow("new preset, blank") << "sbtnSaveAsNew"
                                       << "Gig"
                                       << "   "
                                       << "A preset needs a name";
    QTest::newRow("new preset, taken") << "sbtnSaveAsNew"
                                       << "All presets"
                                       << "Ballad "
                                       << "There is already a preset named 'Ballad'";
    QTest::newRow("renamed preset, taken") << "sbtnRenamePreset"
                                           << "Gig"
                                           << "Ballad"
                                           << "There is already a preset named 'Ballad'";
    QTest::newRow("renamed preset, empty") << "sbtnRenamePreset"
                                           << "All presets"
                                           << ""
                                           << "A preset needs a name";
    QTest::newRow("new setlist, taken") << "sbtnNewSetlist"
                                        << "All presets"
                                        << "Rehearsal"
                                        << "There is already a setlist named 'Rehearsal'";
    QTest::newRow("new setlist, all presets") << "sbtnNewSetlist"
                                              << "Gig"
                                              << "All presets"
                                              << "There is already a setlist named 'All presets'";
    QTest::newRow("renamed setlist, empty") << "sbtnRenameSetlist"
                                            << "Gig"
                                            << " "
                                            << "A setlist needs a name";
  }
  void badNamesShowTheErrorAndChangeNothing() {
    QFETCH(QString, button);
    QFETCH(QString, setlist);
    QFETCH(QString, name);
    QFETCH(QString, error);
    TPresetsRig rig;
    rig.Seed();
    rig.Show(setlist, "Rock");
    const QByteArray file = Bytes(rig.path);
    const TPresetLibrary before = rig.session.Library();
    rig.questions.name = name;

    rig.Find<QPushButton>(button.toLatin1().constData())->click();

    QCOMPARE(rig.errors, std::vector<std::string>{error.toStdString()});
    QCOMPARE(rig.session.Library().Presets(), before.Presets());
    QCOMPARE(rig.session.Library().Setlists(), before.Setlists());
    QCOMPARE(rig.session.Library().Current(), before.Current());
    QCOMPARE(Bytes(rig.path), file);
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), setlist);
    QCOMPARE(TPresetsRig::Selected(rig.Presets()), QString("Rock"));
  }

  void importMergesWithTheAnswer_data() {
    QTest::addColumn<std::optional<TPresetConflict>>("answer");
    QTest::addColumn<QStringList>("all");
    QTest::addColumn<QStringList>("imported");  // the imported setlist, as it is added
    QTest::addColumn<QString>("introTempo");
    QTest::newRow("keep both") << std::optional(TPresetConflict::KeepBoth)
                               << QStringList{"Intro", "Ballad", "Rock", "Waltz", "Intro (2)"}
                               << QStringList{"Waltz", "Intro (2)", "Ballad"} << "90";
    QTest::newRow("replace") << std::optional(TPresetConflict::Replace)
                             << QStringList{"Intro", "Ballad", "Rock", "Waltz"}
                             << QStringList{"Waltz", "Intro", "Ballad"} << "100";
    QTest::newRow("keep ours") << std::optional(TPresetConflict::KeepOurs)
                               << QStringList{"Intro", "Ballad", "Rock", "Waltz"}
                               << QStringList{"Waltz", "Intro", "Ballad"} << "90";
    QTest::newRow("cancel") << std::optional<TPresetConflict>()
                            << QStringList{"Intro", "Ballad", "Rock"} << QStringList{} << "90";
  }
  void importMergesWithTheAnswer() {
    QFETCH(std::optional<TPresetConflict>, answer);
    QFETCH(QStringList, all);
    QFETCH(QStringList, imported);
    QFETCH(QString, introTempo);
    TPresetsRig rig;
    rig.Seed();
    // Another musician's Gig: Intro at another tempo, the same Ballad, and
    // a Waltz.
    TPresetLibrary theirs;
    theirs.AddPreset("Intro", AtTempo(100));
    theirs.AddPreset("Ballad", AtTempo(70));
    theirs.AddPreset("Waltz", AtTempo(180));
    theirs.AddSetlist("Gig");
    theirs.AddToSetlist("Gig", "Waltz");
    theirs.AddToSetlist("Gig", "Intro");
    theirs.AddToSetlist("Gig", "Ballad");
    const QString file = rig.folder.filePath("theirs.json");
    ExportSetlist(theirs, "Gig", file);
    const QByteArray stored = Bytes(rig.path);
    rig.questions.file = file;
    rig.questions.conflict = answer;

    rig.Find<QPushButton>("sbtnImport")->click();

    QCOMPARE(rig.questions.conflicts, QStringList{"Intro"});
    QCOMPARE(rig.InLibrary("All presets"), all);
    QCOMPARE(rig.session.Library().FindPreset("Intro")->Settings.at("Tempo"),
             introTempo.toStdString());
    QCOMPARE(rig.InLibrary("Gig"), (QStringList{"Rock", "Intro"}));
    QVERIFY(rig.errors.empty());
    if (!answer) {
      QCOMPARE(rig.session.Library().Setlists().size(), std::size_t{2});
      QCOMPARE(Bytes(rig.path), stored);
      return;
    }
    QCOMPARE(rig.InLibrary("Gig (2)"), imported);
    QVERIFY(rig.StoredAsShown());
    // What came in is shown.
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), QString("Gig (2)"));
    QCOMPARE(TPresetsRig::Shown(rig.Presets()), imported);
  }

  void importOfADamagedFileShowsTheError() {
    TPresetsRig rig;
    rig.Seed();
    const QString file = rig.folder.filePath("broken.json");
    QFile broken(file);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("{ not json");
    broken.close();
    rig.questions.file = file;

    rig.Find<QPushButton>("sbtnImport")->click();

    QCOMPARE(rig.errors.size(), std::size_t{1});
    QVERIFY(rig.errors[0].find("broken.json") != std::string::npos);
    QCOMPARE(rig.InLibrary("All presets"), (QStringList{"Intro", "Ballad", "Rock"}));
    QCOMPARE(rig.session.Library().Setlists().size(), std::size_t{2});
  }

  void exportWritesTheSelectedSetlist() {
    TPresetsRig rig;
    rig.Seed();
    rig.Show("Gig", "Intro");
    rig.questions.file = rig.folder.filePath("gig.json");

    rig.Find<QPushButton>("sbtnExport")->click();

    QCOMPARE(rig.questions.proposedFile, QString("Gig.json"));
    TPresetLibrary read;
    ImportPresets(read, *rig.questions.file, {});
    QCOMPARE(Texts(read.SetlistPresets("All presets")), (QStringList{"Rock", "Intro"}));
    QCOMPARE(Texts(read.SetlistPresets("Gig")), (QStringList{"Rock", "Intro"}));
    QVERIFY(rig.errors.empty());

    rig.questions.file = rig.path + "/gig.json";  // under a file: cannot be written
    rig.Find<QPushButton>("sbtnExport")->click();
    QCOMPARE(rig.errors.size(), std::size_t{1});
  }

  // A setlist's life from the keys and buttons, and what "All presets"
  // does not allow.
  void setlistsAreMadeFilledRenamedAndDeleted() {
    TPresetsRig rig;
    rig.Seed();
    rig.Show("All presets", "Ballad");
    QVERIFY(!rig.Find<QPushButton>("sbtnRenameSetlist")->isEnabled());
    QVERIFY(!rig.Find<QPushButton>("sbtnDeleteSetlist")->isEnabled());
    QVERIFY(!rig.Find<QPushButton>("sbtnRemoveFromSetlist")->isEnabled());

    rig.questions.setlist = "Rehearsal";
    rig.Find<QPushButton>("sbtnAddToSetlist")->click();
    QCOMPARE(rig.questions.offeredSetlists, (QStringList{"Gig", "Rehearsal"}));
    QCOMPARE(rig.InLibrary("Rehearsal"), QStringList{"Ballad"});

    rig.questions.name = "Tour";
    rig.Find<QPushButton>("sbtnNewSetlist")->click();
    QCOMPARE(rig.questions.proposedNames.last(), QString("Setlist"));
    QCOMPARE(TPresetsRig::Shown(rig.Setlists()),
             (QStringList{"All presets", "Gig", "Rehearsal", "Tour"}));
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), QString("Tour"));
    QVERIFY(TPresetsRig::Shown(rig.Presets()).isEmpty());

    rig.questions.name = "Tour 2027";
    QTest::keyClick(rig.Setlists(), Qt::Key_F2);
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), QString("Tour 2027"));

    rig.Show("Rehearsal", "Ballad");
    rig.Find<QPushButton>("sbtnRemoveFromSetlist")->click();
    QVERIFY(rig.InLibrary("Rehearsal").isEmpty());
    QCOMPARE(rig.InLibrary("All presets"), (QStringList{"Intro", "Ballad", "Rock"}));

    rig.questions.yes = true;
    QTest::keyClick(rig.Setlists(), Qt::Key_Delete);
    QCOMPARE(TPresetsRig::Shown(rig.Setlists()), (QStringList{"All presets", "Gig", "Tour 2027"}));
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), QString("All presets"));
    QVERIFY(rig.StoredAsShown());
    QVERIFY(rig.errors.empty());
  }

  // A change made elsewhere (the main window's steps through the set) is
  // shown at once.
  void showsChangesFromElsewhere() {
    TPresetsRig rig;
    rig.Seed();
    rig.session.Recall("Gig", "Rock");
    rig.dialog.show();
    QCOMPARE(TPresetsRig::Selected(rig.Setlists()), QString("Gig"));
    QCOMPARE(TPresetsRig::Selected(rig.Presets()), QString("Rock"));

    rig.session.Step(TPresetStep::Next);
    QCOMPARE(TPresetsRig::Marked(rig.Presets()), QStringList{"Intro"});
    QCOMPARE(TPresetsRig::Selected(rig.Presets()), QString("Rock"));  // the user's stays

    rig.session.Edit([](TPresetLibrary& library) { library.AddToSetlist("Gig", "Ballad"); });
    QCOMPARE(TPresetsRig::Shown(rig.Presets()), (QStringList{"Rock", "Intro", "Ballad"}));
  }
};

QTEST_MAIN(PresetsDialogTest)
#include "presets_dialog_test.moc"
