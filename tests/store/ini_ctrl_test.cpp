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
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelmora {
namespace {

using testing::ErrorText;
using testing::TTempIni;

std::string StdText(const QByteArray& bytes) {
  return std::string(bytes.data(), bytes.size());
}

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
