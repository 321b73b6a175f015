#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "store/preset_file.h"
#include "tests/store/error_text.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zelmora {
namespace {

using testing::ErrorText;

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file as another copy of the program, or a hand, could have written it:
// one setting that this version does not know.
const QByteArray kWrittenElsewhere = R"({
  "version": 1,
  "presets": [
    {"name": "Waltz", "settings": {"Tempo": "96", "BeatPattern": "Xxx", "Later Setting": "on"}},
    {"name": "Reel", "settings": {"Tempo": "112"}}
  ],
  "setlists": [{"name": "Friday", "presets": ["Reel", "Waltz"]}],
  "current": {"setlist": "Friday", "preset": "Waltz"}
})";

TPresetLibrary TwoPresets() {
  TPresetLibrary library;
  library.AddPreset("Waltz", {{"Tempo", "96"}});
  library.AddPreset("Reel", {{"Tempo", "112"}});
  library.AddSetlist("Friday");
  library.AddToSetlist("Friday", "Reel");
  return library;
}

bool SameLibrary(const TPresetLibrary& a, const TPresetLibrary& b) {
  return a.Presets() == b.Presets() && a.Setlists() == b.Setlists() && a.Current() == b.Current();
}

bool IsEmpty(const TPresetLibrary& library) {
  return SameLibrary(library, TPresetLibrary());
}

}  // namespace

class PresetFileTest : public QObject {
  Q_OBJECT

 private slots:
  // QSettings settles the user's folder on first use.
  void initTestCase() {
    QVERIFY(configHome_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
  }

  void presetFileIsBesideTheSettingsFile() {
#ifdef Q_OS_WIN
    QSKIP("the settings are in the registry on Windows");
#endif
    QCOMPARE(PresetFilePath(), configHome_.path() + "/Zelmora/presets.json");
  }

  void missingFileIsAnEmptyLibrary() {
    QTemporaryDir dir;
    TPresetFile file(dir.filePath("presets.json"));

    const TPresetFile::TLoaded loaded = file.Load();

    QVERIFY(IsEmpty(loaded.Library));
    QCOMPARE(loaded.Message, std::string());
    QVERIFY(file.MayWrite());
  }

  void unknownSettingsAreKept() {
    QTemporaryDir dir;
    const QString path = dir.filePath("presets.json");
    QVERIFY(WriteBytes(path, kWrittenElsewhere));
    TPresetFile file(path);
    const TPresetFile::TLoaded loaded = file.Load();
    QCOMPARE(loaded.Message, std::string());
    QCOMPARE(loaded.Library.FindPreset("Waltz")->Settings.at("Later Setting"), std::string("on"));
    QCOMPARE(loaded.Library.SetlistPresets("Friday"), (std::vector<std::string>{"Reel", "Waltz"}));
    QVERIFY(loaded.Library.Current() == (TPresetPlace{"Friday", "Waltz"}));

    file.Save(loaded.Library);

    const QJsonObject written = QJsonDocument::fromJson(Bytes(path)).object();
    QCOMPARE(written.value("version").toInt(), 1);
    TPresetFile again(path);
    QVERIFY(SameLibrary(again.Load().Library, loaded.Library));
  }

  // Every row is a file this version cannot take as it is.
  void damagedFileIsKeptAside_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QTest::newRow("cut off") << QByteArray(R"({"version": 1, "presets": [)")
                             << " at byte 27";  // Qt's words before it
    QTest::newRow("not an object") << QByteArray("[]") << "The text is not a JSON object";
    QTest::newRow("no version") << QByteArray(R"({"presets": [], "setlists": []})")
                                << R"(There is no "version")";
    QTest::newRow("presets not a list")
        << QByteArray(R"({"version": 1, "presets": {}, "setlists": []})")
        << R"("presets" is not a list)";
    QTest::newRow("a number for a setting")
        << QByteArray(
               R"({"version": 1, "presets": [{"name": "A", "settings": {"Tempo": 96}}], "setlists": []})")
        << R"(The setting "Tempo" is not a text)";
    QTest::newRow("a name twice")
        << QByteArray(R"({"version": 1, "presets": [{"name": "A", "settings": {}},
                     {"name": "A", "settings": {}}], "setlists": []})")
        << "There is already a preset named 'A'";
    QTest::newRow("setlist of an unknown preset") << QByteArray(R"({"version": 1, "presets": [],
                     "setlists": [{"name": "Gig", "presets": ["A"]}]})")
                                                  << "There is no preset named 'A'";
  }
  void damagedFileIsKeptAside() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath("presets.json");
    QVERIFY(WriteBytes(path, bytes));
    QVERIFY(WriteBytes(path + ".bad", "an older damaged file"));
    TPresetFile file(path);

    const TPresetFile::TLoaded loaded = file.Load();

    const QString message = QString::fromStdString(loaded.Message);
    QVERIFY2(message.startsWith("The presets file " + path + " is damaged: "), qPrintable(message));
    QVERIFY2(message.contains(problem), qPrintable(message));
    QVERIFY2(message.endsWith(". It is kept as " + path + ".bad, and the presets start empty"),
             qPrintable(message));
    QVERIFY(IsEmpty(loaded.Library));
    QCOMPARE(Bytes(path + ".bad"), bytes);
    QVERIFY(!QFile::exists(path));
    QVERIFY(file.MayWrite());
  }

  // A later version may have changed what the members mean; it still reads
  // its own file, which this run leaves alone.
  void newerFileIsLeftAsItIs() {
    QTemporaryDir dir;
    const QString path = dir.filePath("presets.json");
    const QByteArray newer = R"({"version": 2, "shelves": []})";
    QVERIFY(WriteBytes(path, newer));
    TPresetFile file(path);

    const TPresetFile::TLoaded loaded = file.Load();

    QCOMPARE(QString::fromStdString(loaded.Message),
             path +
                 " was written by a newer version of Zelmora (presets file version 2); it is left "
                 "as it is, and the presets are not saved in this run");
    QVERIFY(IsEmpty(loaded.Library));
    QVERIFY(!file.MayWrite());
    QCOMPARE(ErrorText([&] { file.Save(TwoPresets()); }),
             "The presets are not saved: " + path + " is kept as it was found");
    QCOMPARE(Bytes(path), newer);
    QVERIFY(!QFile::exists(path + ".bad"));
  }

  // Root ignores permission bits, so the failures are made another way: a
  // regular file where the folder belongs; a file name so long that the
  // temporary file beside it cannot be made; a disk that fills up.
  void failedWriteReportsAndKeepsTheOldFile_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder cannot be made") << "folder";
    QTest::newRow("no room for the new file beside it") << "name";
    QTest::newRow("disk full") << "size";
  }
  void failedWriteReportsAndKeepsTheOldFile() {
    QFETCH(QString, failure);
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const long nameMax = pathconf(QFile::encodeName(dir.path()).constData(), _PC_NAME_MAX);
    if (nameMax <= 0) {
      QSKIP("the folder reports no limit on file names");
    }
    const QString longName(static_cast<qsizetype>(nameMax) - 4, QChar('p'));
    const QString path = failure == "folder" ? dir.filePath("blocker/presets.json")
                         : failure == "name" ? dir.filePath(longName)
                                             : dir.filePath("presets.json");
    if (failure == "folder") {
      QVERIFY(WriteBytes(dir.filePath("blocker"), "a file"));
    } else {
      QVERIFY(WriteBytes(path, kWrittenElsewhere));
    }
    const QByteArray old = Bytes(path);
    TPresetFile file(path);
    file.Load();
    TPresetLibrary bigger = TwoPresets();
    for (int index = 0; index < 100; ++index) {
      bigger.AddPreset("Song " + std::to_string(index), {{ "Tempo", "100" }});
    }

    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit unlimited = limit;
    limit.rlim_cur = static_cast<rlim_t>(old.size()) + 20;
    const auto oldAction = std::signal(SIGXFSZ, SIG_IGN);
    if (failure == "size") {
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    const QString error = ErrorText([&] { file.Save(bigger); });
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, oldAction);

    QVERIFY2(error.startsWith("Cannot write " + path + ": "), qPrintable(error));
    QCOMPARE(Bytes(path), old);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(),
             failure == "folder" ? 0 : 1);  // no temporary file left behind
#else
    QSKIP("makes the failures the Unix way");
#endif
  }

  void exportedSetlistImportsIntoAnotherLibrary() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Friday.json");
    ExportSetlist(TwoPresets(), "Friday", path);
    TPresetLibrary library;

    const std::vector<std::string> added =
        ImportPresets(library, path, [](const TPreset&, const TPreset&) {
          QTest::qFail("no preset is in both", __FILE__, __LINE__);
          return TPresetConflict::KeepOurs;
        });

    QCOMPARE(added, std::vector<std::string>{"Friday"});
    QVERIFY(library.Presets() == std::vector<TPreset>({{"Reel", {{"Tempo", "112"}}}}));
    QVERIFY(library.Setlists() == TwoPresets().Setlists());
  }

  void importOfADamagedFileChangesNothing() {
    QTemporaryDir dir;
    const QString path = dir.filePath("Friday.json");
    QVERIFY(WriteBytes(path, "{"));
    TPresetLibrary library = TwoPresets();

    const QString error = ErrorText([&] {
      ImportPresets(library, path,
                    [](const TPreset&, const TPreset&) { return TPresetConflict::KeepBoth; });
    });

    QVERIFY2(error.startsWith(path + " is not a presets file: "), qPrintable(error));
    QVERIFY(SameLibrary(library, TwoPresets()));
    QCOMPARE(Bytes(path), QByteArray("{"));
  }

 private:
  QTemporaryDir configHome_;
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::PresetFileTest)
#include "preset_file_test.moc"
