#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "store/ini_ctrl.h"
#include "store/user_settings.h"

namespace zelmora {

class UserSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  // QSettings settles the user's folder on first use, so point it at a
  // temporary one before anything opens settings.
  void initTestCase() {
    QVERIFY(configHome_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome_.path()));
  }

  void userSettingsAreAnIniFileInTheConfigFolder() {
#ifdef Q_OS_WIN
    QSKIP("the registry keeps them on Windows");
#endif
    auto settings = OpenUserSettings();
    const QString path = configHome_.path() + "/Zelmora/Zelmora.ini";
    QCOMPARE(settings->fileName(), path);
    QCOMPARE(settings->format(), QSettings::IniFormat);
    QVERIFY(settings->isAtomicSyncRequired());

    TLMDIniCtrl store(settings.get());
    store.WriteInteger("Zelmora", "Tempo", 96);  // makes the folder first

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Zelmora]\nTempo=96\n"));
  }

 private:
  QTemporaryDir configHome_;
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::UserSettingsTest)
#include "user_settings_test.moc"
