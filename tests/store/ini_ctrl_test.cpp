#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <climits>
#include <string>

#include "store/ini_ctrl.h"
#include "tests/store/error_text.h"
#include "tests/store/temp_ini.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zelmora {
namespace {

using testing::ErrorText;
using testing::TTempIni;

std::string StdText(const QByteArray& bytes) {
  return std::string(bytes.data(), bytes.size());
}

#ifdef Q_OS_UNIX
// A full disk, as far as this process can tell: no file may grow beyond
// `bytes`, and a write past it fails instead of ending the process.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldAction_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldAction_);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldAction_)(int) = nullptr;
};
#endif

}  // namespace

class TLMDIniCtrlTest : public QObject {
  Q_OBJECT

 private slots:
  void emptySectionUsesTheLastNamedOne() {
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());

    store.WriteInteger("", "First", 1);  // no section named yet
    QCOMPARE(store.ReadInteger("Zelmora", "First", 0), 0);
    store.WriteInteger("", "Second", 2);  // a read names a section too
    store.WriteInteger("Other", "Third", 3);
    QCOMPARE(store.ReadInteger("", "Third", 0), 3);

    QCOMPARE(ini.StoredKeys(), QStringList({"Common/First", "Other/Third", "Zelmora/Second"}));
  }

  void readString_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("NUL inside") << QByteArray(R"(Text="Xx\0xx")") << QByteArray("Xx");
    QTest::newRow("NUL first") << QByteArray(R"(Text="\0abc")") << QByteArray("");
    QTest::newRow("empty") << QByteArray("Text=") << QByteArray("");
    QTest::newRow("blanks kept") << QByteArray(R"(Text="  a b  ")") << QByteArray("  a b  ");
    QTest::newRow("UTF-8") << QByteArray("Text=\xC3\xA9t\xC3\xA9")
                           << QByteArray("\xC3\xA9t\xC3\xA9");
    QTest::newRow("missing") << QByteArray("Other=1") << QByteArray("default");
  }
  void readString() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);
    TTempIni ini;
    QVERIFY(ini.WriteBytes("[Zelmora]\n" + line + "\n"));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());

    QCOMPARE(store.ReadString("Zelmora", "Text", "default"), StdText(expected));
  }

  // QSettings reads these back as a list, a number, bytes and nothing.
  void valueThatIsNoTextFailsEveryRead_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("list") << QByteArray("Tempo=1, 2");
    QTest::newRow("number") << QByteArray(R"(Tempo=@Variant(\0\0\0\x2\0\0\0\x5))");
    QTest::newRow("bytes") << QByteArray("Tempo=@ByteArray(120)");
    QTest::newRow("invalid") << QByteArray("Tempo=@Invalid()");
  }
  void valueThatIsNoTextFailsEveryRead() {
    QFETCH(QByteArray, line);
    TTempIni ini;
    QVERIFY(ini.WriteBytes("[Zelmora]\n" + line + "\n"));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    const QString expected = "Invalid data type for 'Tempo'";

    QCOMPARE(ErrorText([&] { store.ReadInteger("Zelmora", "Tempo", 120); }), expected);
    QCOMPARE(ErrorText([&] { store.ReadBool("Zelmora", "Tempo", true); }), expected);
    QCOMPARE(ErrorText([&] { store.ReadString("Zelmora", "Tempo", ""); }), expected);
    // The failed read left the group it entered.
    QCOMPARE(settings->group(), QString());
  }

  void writeStringKeepsATextPlain_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("comma") << QByteArray("a, b") << QByteArray("a, b");
    QTest::newRow("QSettings marker") << QByteArray("@Variant(x)") << QByteArray("@Variant(x)");
    QTest::newRow("blanks") << QByteArray("  90 ") << QByteArray("  90 ");
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9t\xC3\xA9") << QByteArray("\xC3\xA9t\xC3\xA9");
    QTest::newRow("NUL") << QByteArray("Xx\0xx", 5) << QByteArray("Xx");
    QTest::newRow("empty") << QByteArray() << QByteArray();
  }
  void writeStringKeepsATextPlain() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    TTempIni ini;
    {
      auto settings = ini.Open();
      TLMDIniCtrl store(settings.get());
      store.WriteString("Zelmora", "Text", StdText(text));
    }
    QCOMPARE(ini.Stored("Zelmora/Text"), QVariant(QString::fromUtf8(expected)));

    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    QCOMPARE(store.ReadString("Zelmora", "Text", "default"), StdText(expected));
  }

  void numbersAndFlagsAreDecimalText() {
    TTempIni ini;
    {
      auto settings = ini.Open();
      TLMDIniCtrl store(settings.get());
      store.WriteInteger("Zelmora", "Low", INT_MIN);
      store.WriteInteger("", "High", INT_MAX);
      store.WriteBool("", "On", true);
      store.WriteBool("", "Off", false);
    }
    QCOMPARE(ini.Stored("Zelmora/Low"), QVariant(QString("-2147483648")));
    QCOMPARE(ini.Stored("Zelmora/High"), QVariant(QString("2147483647")));
    QCOMPARE(ini.Stored("Zelmora/On"), QVariant(QString("1")));
    QCOMPARE(ini.Stored("Zelmora/Off"), QVariant(QString("0")));

    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    QCOMPARE(store.ReadInteger("Zelmora", "Low", 0), INT_MIN);
    QCOMPARE(store.ReadInteger("", "High", 0), INT_MAX);
    QCOMPARE(store.ReadBool("", "On", false), true);
    QCOMPARE(store.ReadBool("", "Off", true), false);
  }

  // A regular file where the folder of the settings belongs stops even root.
  void folderThatCannotBeMadeNamesTheSection_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("expected");
    QTest::newRow("named") << "Zelmora"
                           << "Failed to create key Zelmora";
    QTest::newRow("never named") << ""
                                 << "Failed to create key Common";
  }
  void folderThatCannotBeMadeNamesTheSection() {
    QFETCH(QString, section);
    QFETCH(QString, expected);
    TTempIni ini("blocker/Zelmora/Zelmora.ini");
    QFile blocker(ini.Folder() + "/blocker");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());

    QCOMPARE(ErrorText([&] { store.WriteInteger(section.toStdString(), "Tempo", 120); }), expected);
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
  }

  // A line that QSettings cannot parse must not hide that the disk is full.
  void writeFailureIsReportedWhateverTheFileHolds_data() {
    QTest::addColumn<QByteArray>("old");
    QTest::newRow("well-formed") << QByteArray("[Zelmora]\nTempo=90\n");
    QTest::newRow("line without =")
        << QByteArray("[Zelmora]\nmy note: keep tempo at 90\nTempo=90\n");
    QTest::newRow("broken section") << QByteArray("[Zelmora\nTempo=90\n");
  }
  void writeFailureIsReportedWhateverTheFileHolds() {
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, old);
    TTempIni ini;
    QVERIFY(ini.WriteBytes(old));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    store.ReadInteger("Zelmora", "Tempo", 120);
    QString error;
    {
      const TFileSizeLimit full(0);
      error = ErrorText([&] { store.WriteInteger("Zelmora", "Tempo", 120); });
    }
    QCOMPARE(error, QString("Failed to set data for 'Tempo'"));
    QCOMPARE(ini.Bytes(), old);
#else
    QSKIP("limits the file size the Unix way");
#endif
  }

  // An update reaches the file whole or not at all: with room for some of
  // its values but not for all, the file keeps every old one.
  void updateIsWrittenWholeOrNotAtAll() {
#ifdef Q_OS_UNIX
    TTempIni ini;
    const QByteArray old = "[Zelmora]\nA=1\nB=2\nC=3\nD=4\n";
    QVERIFY(ini.WriteBytes(old));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    QString error;
    {
      const TFileSizeLimit room(static_cast<rlim_t>(old.size()) + 8);
      error = ErrorText([&] {
        store.BeginUpdate();
        for (const char* name : {"A", "B", "C", "D"}) {
          store.WriteString("Zelmora", name, "longer value");
        }
        store.EndUpdate();
      });
    }
    QCOMPARE(error, QString("Failed to set data for 'A'"));
    QCOMPARE(ini.Bytes(), old);

    // Without the limit the same update goes through, in one replacement.
    store.BeginUpdate();
    store.WriteInteger("Zelmora", "A", 10);
    store.WriteInteger("", "D", 40);
    QCOMPARE(ini.Bytes(), old);  // nothing before the end of the update
    store.EndUpdate();
    QCOMPARE(ini.Stored("Zelmora/A"), QVariant(QString("10")));
    QCOMPARE(ini.Stored("Zelmora/B"), QVariant(QString("2")));
    QCOMPARE(ini.Stored("Zelmora/D"), QVariant(QString("40")));
    QCOMPARE(store.ReadInteger("", "A", 0), 10);
#else
    QSKIP("limits the file size the Unix way");
#endif
  }

  // The file is replaced by a renamed new one, never rewritten in place, so
  // a write that breaks off cannot leave half a file behind.
  void writeReplacesTheFileWhole() {
#ifdef Q_OS_UNIX
    TTempIni ini;
    QVERIFY(ini.WriteBytes("[Zelmora]\nTempo=90\n"));
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(ini.Path()).constData(), &before), 0);
    auto settings = ini.Open();
    QVERIFY(settings->isAtomicSyncRequired());
    TLMDIniCtrl store(settings.get());

    store.WriteInteger("Zelmora", "Tempo", 120);

    struct stat after {};
    QCOMPARE(stat(QFile::encodeName(ini.Path()).constData(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino);
    QCOMPARE(ini.Stored("Zelmora/Tempo"), QVariant(QString("120")));
#else
    QSKIP("checks the file's inode");
#endif
  }
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::TLMDIniCtrlTest)
#include "ini_ctrl_test.moc"
