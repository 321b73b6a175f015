#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "audio/device/audio_device.h"
#include "core/error.h"

using namespace zelmora;

// The output with nothing to play on: no sound server, no JACK, and (on the
// machines that run the tests) no sound card.
class AudioDeviceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Before PortAudio, ALSA or PulseAudio first look at the environment.
    qputenv("PULSE_SERVER", "unix:/nonexistent/zelmora/pulse/native");
    // A client that finds no server must not start one.
    QVERIFY(dir_.isValid());
    QFile config(dir_.filePath("client.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("autospawn = no\n");
    config.close();
    qputenv("PULSE_CLIENTCONFIG", config.fileName().toLocal8Bit());
    qputenv("JACK_NO_START_SERVER", "1");
  }

  // No output: the user's message, and a device left closed that can be
  // tried again, with the same result.
  void noOutputDeviceFailsCleanly() {
    TAudioDevice device;
    for (int attempt = 0; attempt < 2; ++attempt) {
      std::string message;
      try {
        device.Open();
      } catch (const TError& e) {
        message = e.what();
      }
      if (device.IsOpen()) {
        QSKIP("PortAudio found an output without a sound server (a sound card)");
      }
      QCOMPARE(message, std::string("Failed to create IDirectSound object"));
      QVERIFY(device.Mixer() == nullptr);
      QCOMPARE(device.SampleRate(), 0);
      QCOMPARE(device.FramesPerBuffer(), 0);
    }
    device.Close();  // closing a closed device does nothing
    QVERIFY(!device.IsOpen());
  }

 private:
  QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(AudioDeviceTest)
#include "audio_device_test.moc"
