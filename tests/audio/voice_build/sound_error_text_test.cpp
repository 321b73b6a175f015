#include <QTest>

#include <cstdint>

#include "audio/voice_build/sound_error_text.h"

using namespace zelmora;

class SoundErrorTextTest : public QObject {
  Q_OBJECT

 private slots:
  // Every code has its own text, word for word; any other code gets the
  // catch-all text.
  void textOfCode_data() {
    QTest::addColumn<std::uint32_t>("code");
    QTest::addColumn<QByteArray>("text");
    const auto row = [](std::uint32_t code, const char* text) {
      QTest::addRow("%08X", code) << code << QByteArray(text);
    };
    row(0x00000000, "The request completed successfully.");
    row(0x80004001, "The function called is not supported at this time.");
    row(0x80004002, "The requested COM interface is not available.");
    row(0x80004005, "An undetermined error occurred inside the DirectSound subsystem.");
    row(0x80040110, "The object does not support aggregation.");
    row(0x80070005, "Access is denied.");
    row(0x8007000E,
        "The DirectSound subsystem could not allocate sufficient memory to complete the callers "
        "request.");
    row(0x80070057, "An invalid parameter was passed to the returning function.");
    row(0x8878000A,
        "The request failed because resources, such as a priority level, were already in use by "
        "another caller.");
    row(0x8878001E,
        "The control (volume, pan, and so forth) requested by the caller is not available.");
    row(0x88780032, "This function is not valid for the current state of this object.");
    row(0x88780046,
        "The caller does not have the priority level required for the function to succeed.");
    row(0x88780064, "The specified wave format is not supported.");
    row(0x88780078, "No sound driver is available for use.");
    row(0x88780082, "The object is already initialized.");
    row(0x88780096, "The buffer memory has been lost and must be restored.");
    row(0x887800A0,
        "Another application has a higher priority level, preventing this call from succeeding.");
    row(0x887800AA,
        "The IDirectSound::Initialize method has not been called or has not been called "
        "successfully before other methods were called.");
    row(0x887800B4,
        "Tried to create a DSBCAPS_CTRLFX buffer shorter than DSBSIZE_FX_MIN milliseconds.");
    row(0x887800BE, "Attempt to use DirectSound 8 functionality on an older DirectSound object.");
    row(0x887800C8, "A circular loop of send effects was detected.");
    row(0x887800D2, "The GUID specified in an audiopath file does not match a valid MIXIN buffer.");
    row(0x88781161, "The object requested was not found (numerically equal to DMUS_E_NOT_FOUND).");
    // Neighbours of known codes and the extremes.
    row(0x00000001, "Unrecognized Error");
    row(0x88780065, "Unrecognized Error");
    row(0x08780064, "Unrecognized Error");
    row(0xFFFFFFFF, "Unrecognized Error");
  }
  void textOfCode() {
    QFETCH(std::uint32_t, code);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(SoundErrorText(code)), text);
  }
};

QTEST_APPLESS_MAIN(SoundErrorTextTest)
#include "sound_error_text_test.moc"
