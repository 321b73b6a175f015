#include <QTest>

#include <algorithm>

#include "tempo/fader_keys.h"
#include "tempo/standard_tempos.h"

using namespace zelmora;

Q_DECLARE_METATYPE(zelmora::TFaderKey)

class TempoLadderTest : public QObject {
  Q_OBJECT

 private slots:
  void ladderIsTheTraditionalScale() {
    // 40..60 by 2, 60..72 by 3, 72..120 by 4, 120..144 by 6, 144..208 by 8.
    std::vector<int> expected;
    const int steps[][3] = {{40, 60, 2}, {60, 72, 3}, {72, 120, 4}, {120, 144, 6}, {144, 208, 8}};
    for (const auto& [from, to, step] : steps) {
      for (int t = from; t < to; t += step) {
        expected.push_back(t);
      }
    }
    expected.push_back(208);
    QCOMPARE(std::vector<int>(StandardTempos.begin(), StandardTempos.end()), expected);
    QCOMPARE(StandardTempos.front(), kFaderMinTempo);
    QCOMPARE(StandardTempos.back(), kFaderMaxTempo);
  }

  void lookups_data() {
    QTest::addColumn<int>("tempo");
    QTest::addColumn<int>("atOrAbove");
    QTest::addColumn<int>("atOrBelow");
    QTest::newRow("below the scale") << 39 << 40 << 39;
    QTest::newRow("far below") << 20 << 40 << 20;
    QTest::newRow("bottom end") << 40 << 40 << 40;
    QTest::newRow("between 40 and 42") << 41 << 42 << 40;
    QTest::newRow("where the step widens") << 61 << 63 << 60;
    QTest::newRow("on a mark") << 100 << 100 << 100;
    QTest::newRow("between marks") << 101 << 104 << 100;
    QTest::newRow("just below the top") << 207 << 208 << 200;
    QTest::newRow("top end") << 208 << 208 << 208;
    QTest::newRow("above the scale") << 209 << 209 << 208;
    QTest::newRow("far above") << 416 << 416 << 208;
  }
  void lookups() {
    QFETCH(int, tempo);
    QFETCH(int, atOrAbove);
    QFETCH(int, atOrBelow);
    QCOMPARE(StandardTempoAtOrAbove(tempo), atOrAbove);
    QCOMPARE(StandardTempoAtOrBelow(tempo), atOrBelow);
  }

  // Every mark's neighbours, checked against the table itself.
  void lookupsAgreeWithTheTableEverywhere() {
    for (int t = 0; t <= 420; ++t) {
      const auto above =
          std::find_if(StandardTempos.begin(), StandardTempos.end(), [t](int s) { return s >= t; });
      QCOMPARE(StandardTempoAtOrAbove(t), above == StandardTempos.end() ? t : *above);
      int below = t;
      for (int s : StandardTempos) {
        if (s <= t)
          below = s;
      }
      QCOMPARE(StandardTempoAtOrBelow(t), below);
    }
  }

  void faderKeys_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<zelmora::TFaderKey>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("to");
    using K = TFaderKey;
    QTest::newRow("Up") << 100 << K::Up << false << 101;
    QTest::newRow("Left") << 100 << K::Left << false << 101;
    QTest::newRow("Down") << 100 << K::Down << false << 99;
    QTest::newRow("Right") << 100 << K::Right << false << 99;
    QTest::newRow("PageUp") << 100 << K::PageUp << false << 110;
    QTest::newRow("PageDown") << 100 << K::PageDown << false << 90;
    QTest::newRow("Home") << 100 << K::Home << false << 208;
    QTest::newRow("End") << 100 << K::End << false << 40;
    QTest::newRow("Up stops at the top") << 208 << K::Up << false << 208;
    QTest::newRow("PageUp stops at the top") << 203 << K::PageUp << false << 208;
    QTest::newRow("PageDown stops at the bottom") << 45 << K::PageDown << false << 40;
    QTest::newRow("Down stops at the bottom") << 40 << K::Down << false << 40;
    QTest::newRow("above the fader, Down") << 300 << K::Down << false << 207;
    QTest::newRow("above the fader, Up") << 300 << K::Up << false << 208;
    QTest::newRow("below the fader, Up") << 20 << K::Up << false << 41;
    QTest::newRow("Ctrl+Up on a mark") << 100 << K::Up << true << 104;
    QTest::newRow("Ctrl+Down on a mark") << 100 << K::Down << true << 96;
    QTest::newRow("Ctrl+Up between marks") << 101 << K::Up << true << 104;
    QTest::newRow("Ctrl+Down between marks") << 101 << K::Down << true << 100;
    QTest::newRow("Ctrl+Right from 63") << 63 << K::Right << true << 60;
    QTest::newRow("Ctrl+Left from 60") << 60 << K::Left << true << 63;
    QTest::newRow("Ctrl+Up one below a mark") << 59 << K::Up << true << 60;
    QTest::newRow("Ctrl+Up at the top") << 208 << K::Up << true << 208;
    QTest::newRow("Ctrl+Down at the bottom") << 40 << K::Down << true << 40;
    QTest::newRow("Ctrl+Down above the fader") << 300 << K::Down << true << 200;
    QTest::newRow("Ctrl+Up below the fader") << 20 << K::Up << true << 42;
    QTest::newRow("Ctrl does not change PageUp") << 100 << K::PageUp << true << 110;
    QTest::newRow("Ctrl does not change Home") << 100 << K::Home << true << 208;
  }
  void faderKeys() {
    QFETCH(int, from);
    QFETCH(zelmora::TFaderKey, key);
    QFETCH(bool, ctrl);
    QFETCH(int, to);
    QCOMPARE(TempoAfterFaderKey(from, key, ctrl), to);
    const int position = -std::clamp(from, kFaderMinTempo, kFaderMaxTempo);
    QCOMPARE(FaderPositionAfterKey(position, key, ctrl), -to);
  }

  void ctrlUpClimbsTheLadder() {
    int tempo = 58;
    std::vector<int> visited;
    for (int i = 0; i < 6; ++i) {
      tempo = TempoAfterFaderKey(tempo, TFaderKey::Up, true);
      visited.push_back(tempo);
    }
    QCOMPARE(visited, (std::vector<int>{60, 63, 66, 69, 72, 76}));
  }

  // From the bottom to the top and back, Ctrl+arrows visit every mark once.
  void ctrlArrowsVisitEveryMark() {
    std::vector<int> up{40};
    while (up.back() != 208) {
      up.push_back(TempoAfterFaderKey(up.back(), TFaderKey::Left, true));
    }
    QCOMPARE(up, std::vector<int>(StandardTempos.begin(), StandardTempos.end()));
    std::vector<int> down{208};
    while (down.back() != 40) {
      down.push_back(TempoAfterFaderKey(down.back(), TFaderKey::Right, true));
    }
    std::reverse(down.begin(), down.end());
    QCOMPARE(down, up);
  }
};

QTEST_APPLESS_MAIN(TempoLadderTest)
#include "tempo_ladder_test.moc"
