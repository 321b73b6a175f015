#include "tests/fuzz/settings_seeds.h"

#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <string>

#include "core/config.h"
#include "core/error.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"

namespace zelmora {
namespace {

// The program's save after a first run: every default, in its own layout.
std::string DefaultSave() {
  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("Zelmora.ini"));
  {
    QSettings settings(path, QSettings::IniFormat);
    TLMDIniCtrl store(&settings);
    TConfig config;
    config.Controls.WorkArea->SetValue({1920, 1040});
    LoadSettings(config, store);
    LoadVolumes(config, store);
    SaveSettings(config, store);
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw TError("cannot read the saved settings " + path.toStdString());
  }
  return file.readAll().toStdString();
}

std::string Utf16Le(const std::string& ascii) {
  std::string text = "\xFF\xFE";
  for (const char c : ascii) {
    text += c;
    text += '\0';
  }
  return text;
}

}  // namespace

std::vector<TTextSeed> MakeSettingsSeeds() {
  using namespace std::string_literals;
  const std::string oddValues =
      "[Zelmora]\n"
      "Tempo=0x1E\n"
      "BeatPattern=X-x?Xx\\tx\n"
      "Volume=99999\n"
      "Volume%20Regular%20Dif=-2147483648\n"
      "Bell Volume=-3000\n"
      "Pan=2147483647\n"
      "Bell=  2\n"
      "Boost%20Volume=$FF\n"
      "Sound%20Regular=\"/snd/a, b.wav\"\n"
      "Sound%20Accent=@@Variant(not one)\n"
      "Regular%20Sound%20Index=-0\n"
      "Accented%20Sound%20Index=4294967296\n"
      "MainLeft=-2147483648\n"
      "MainTop=\n"
      "BeatIndicatorVisible=x0\n"
      "Hue=-255\n"
      "Visual%20Offset=-9999\n";
  const std::string notTexts =
      "[Zelmora]\n"
      "Tempo=120, 130\n"
      "BeatPattern=@ByteArray(Xxx)\n"
      "Volume=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
      "Pan=@Invalid()\n"
      "Hue=@Size(3 4)\n"
      "Bell%20Volume=@Rect(1 2 3 4)\n";
  const std::string badLines =
      "[Zelmora]\n"
      "Tempo\n"
      "=5\n"
      "Tempo==90\n"
      "BeatPattern=\"Xxx\n"
      "Volume=-10\\\n"
      "0\n"
      "; Pan=100\n"
      "# Hue=100\n"
      "MainLeft = 12 \n"
      "MainTop=1\r"
      "Bell=0\r\n";
  const std::string brokenHeaders =
      "[Zelmora\n"
      "Tempo=300\n"
      "[]\n"
      "Volume=-5\n"
      "[Zel]mora]\n"
      "Pan=7\n"
      "[%5A%65lmora]\n"
      "Hue=30\n"
      "[[Zelmora]]\n"
      "Bell=0\n";
  const std::string otherSections =
      "[General]\n"
      "Zelmora/Tempo=99\n"
      "[Common]\n"
      "Volume=-100\n"
      "[Zelmora/Sub]\n"
      "Tempo=5\n"
      "[zelmora]\n"
      "Tempo=77\n"
      "[Zelmora]\n"
      "Pan=-800\n"
      "Other%20Key=1, 2\n";
  const std::string encodings =
      "\xEF\xBB\xBF[Zelmora]\r\n"
      "Sound%20Regular=/snd/r\xE9gulier.wav\r\n"
      "Sound%20Accent=/snd/\xC3\xA9t\xC3\xA9\\x20ac.wav\r\n"
      "BeatPattern=Xx\0xX\r\n"s
      "Tempo=1\xD9\xA0\r\n";
  // Other values that the save does not carry over as they were.
  const std::string foreignList =
      "[Zelmora]\n"
      "Tempo=90\n"
      "[Other]\n"
      "names=@me, you\n";
  const std::string slashedKey =
      "[Zelmora]\n"
      "Tempo=100\n"
      "BeatPattern/=x\n";
  // A stored list that claims two billion entries: Qt asks for room for
  // all of them before it reads one, and carries on when it gets none.
  const std::string hugeList =
      "[Zelmora]\n"
      "Tempo=90\n"
      "Volume=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n";
  return {
      {"default-save.ini", DefaultSave()},
      {"odd-values.ini", oddValues},
      {"not-texts.ini", notTexts},
      {"bad-lines.ini", badLines},
      {"broken-headers.ini", brokenHeaders},
      {"other-sections.ini", otherSections},
      {"encodings.ini", encodings},
      {"utf-16.ini", Utf16Le("[Zelmora]\r\nTempo=90\r\nPan=100\r\n")},
      {"foreign-list.ini", foreignList},
      {"slashed-key.ini", slashedKey},
      {"huge-list.ini", hugeList},
      {"empty.ini", ""},
  };
}

}  // namespace zelmora
