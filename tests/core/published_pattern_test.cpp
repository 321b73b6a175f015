#include <QTest>

#include <atomic>
#include <string>
#include <thread>

#include "core/config.h"

using namespace zelmora;

class PublishedPatternTest : public QObject {
  Q_OBJECT

 private slots:
  // A reader on another thread sees only whole patterns, however often the
  // user-interface thread replaces them.
  void readerSeesWholePatterns() {
    TConfig config;
    const std::string shortBar = "Xxx";
    const std::string longBar = "X" + std::string(299, 'x');
    config.SetBeatPattern(shortBar);
    std::atomic<bool> done{false};
    std::atomic<long> torn{0};
    std::atomic<long> reads{0};
    std::thread reader([&] {
      while (!done.load()) {
        const auto pattern = config.BeatPatternForPlayers();
        if (*pattern != shortBar && *pattern != longBar) {
          ++torn;
        }
        ++reads;
      }
    });
    for (int i = 0; i < 20000; ++i) {
      config.SetBeatPattern(i % 2 ? shortBar : longBar);
    }
    while (reads.load() == 0) {
      std::this_thread::yield();
    }
    done = true;
    reader.join();
    QCOMPARE(torn.load(), 0L);
  }

  // Levels and tempo are read by the scheduler while the user changes them.
  void fieldsReadWhileWritten() {
    TConfig config;
    std::atomic<bool> done{false};
    std::atomic<long> outOfRange{0};
    std::thread reader([&] {
      while (!done.load()) {
        const int tempo = config.Tempo;
        if (tempo != 0 && (tempo < TConfig::kMinTempo || tempo > TConfig::kMaxTempo)) {
          ++outOfRange;
        }
        (void)config.Volume.load();
        (void)config.Bell.load();
      }
    });
    for (int i = 0; i < 20000; ++i) {
      config.SetTempo(i % 500);
      config.SetVolume(-(i % 12000));
      config.SetBell(i % 2 == 0);
    }
    done = true;
    reader.join();
    QCOMPARE(outOfRange.load(), 0L);
  }
};

QTEST_APPLESS_MAIN(PublishedPatternTest)
#include "published_pattern_test.moc"
