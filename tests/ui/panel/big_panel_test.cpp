#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <vector>

#include "core/config.h"
#include "core/metronome.h"
#include "core/transport.h"
#include "tests/core/quiet_metronome.h"
#include "ui/frame/window_rules.h"
#include "ui/panel/beat_mark_view.h"
#include "ui/panel/beat_number_view.h"
#include "ui/panel/big_panel.h"
#include "ui/panel/status_line_view.h"

using namespace zelmora;

Q_DECLARE_METATYPE(std::vector<zelmora::TBeatFace>)

namespace {

constexpr std::uint32_t kGreen = kBeatMarkRunningColor;
constexpr std::uint32_t kGrey = kBeatMarkIdleColor;

TBeatFace Face(TBeatMark mark, std::uint32_t markColor, std::string number,
               std::uint32_t numberColor = kBeatNumberColor) {
  return {mark, markColor, std::move(number), numberColor};
}

// The settings as the store leaves them at start-up: panel 250 by 250 at
// 50, 50, shown when the "Beat Panel" check is set.
void StoredGeometry(TConfig& config, int left = 50, int top = 50, int width = 250,
                    int height = 250) {
  config.BigPanelLeft = left;
  config.BigPanelTop = top;
  config.BigPanelWidth = width;
  config.BigPanelHeight = height;
}

// Sizes a window by its outer size, frame included.
void SetOuterSize(QWidget& window, int width, int height) {
  const QSize frame = window.frameGeometry().size() - window.size();
  window.resize(width - frame.width(), height - frame.height());
}

}  // namespace

class BigPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void createdIdleFromTheStoredGeometry() {
    TConfig config;
    StoredGeometry(config, 120, 80, 260, 210);
    TfrmBigPanel panel(config);
    QCOMPARE(panel.windowTitle(), QString("(Beat Panel)"));
    QCOMPARE(panel.frameGeometry(), QRect(120, 80, 260, 210));
    QVERIFY(StaysOnTop(panel));
    QVERIFY(!panel.isVisible());  // the "Beat Panel" check is off
    QCOMPARE(panel.Face(), Face(TBeatMark::Circle, kGrey, ""));
    QVERIFY(!panel.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(panel.findChild<TBeatMarkView*>("LabelBeat") != nullptr);
    QVERIFY(panel.findChild<TBeatNumberView*>("lblBeatNumber") != nullptr);
  }

  void shownWhenTheMenuCheckIsSet() {
    TConfig config;
    StoredGeometry(config);
    config.Controls.mnuBeatIndicator->SetValue(true);
    auto panel = std::make_unique<TfrmBigPanel>(config);
    QVERIFY(panel->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    // The stored size is the outer size: the frame does not make the panel
    // grow from run to run.
    QTRY_COMPARE(panel->frameGeometry(), QRect(50, 50, 250, 250));
    panel.reset();
    QCOMPARE(config.BigPanelWidth, 250);
    QCOMPARE(config.BigPanelHeight, 250);
  }

  void creationBringsThePanelOntoItsMonitor_data() {
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QPoint>("placed");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QTest::newRow("inside") << QPoint(50, 50) << QPoint(50, 50);
    QTest::newRow("beyond the right and bottom")
        << QPoint(screen.right() - 100, screen.bottom() - 20)
        << QPoint(screen.right() + 1 - 250, screen.bottom() + 1 - 250);
    QTest::newRow("above and left") << QPoint(-400, -30) << screen.topLeft();
  }
  void creationBringsThePanelOntoItsMonitor() {
    QFETCH(QPoint, stored);
    QFETCH(QPoint, placed);
    TConfig config;
    StoredGeometry(config, stored.x(), stored.y());
    TfrmBigPanel panel(config);
    QCOMPARE(panel.pos(), placed);
  }

  void showBeat_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<std::vector<TBeatFace>>("faces");

    QTest::newRow("XxxXx: beats 1, 2, 4")
        << "XxxXx" << QList<int>{1, 2, 4}
        << std::vector{Face(TBeatMark::Star, kFirstBeatMarkColor, "1", kFirstBeatNumberColor),
                       Face(TBeatMark::Circle, kGreen, "2"), Face(TBeatMark::Star, kGreen, "4")};
    QTest::newRow("a silent beat shows its number but no mark")
        << "X-x-" << QList<int>{2, 3}
        << std::vector{Face(TBeatMark::None, kGreen, "2"), Face(TBeatMark::Circle, kGreen, "3")};
    QTest::newRow("a silent first beat keeps the first beat's colours")
        << "-xx" << QList<int>{1}
        << std::vector{Face(TBeatMark::None, kFirstBeatMarkColor, "1", kFirstBeatNumberColor)};
    QTest::newRow("a one-beat bar alternates its mark without a number")
        << "X" << QList<int>{1, 1, 1}
        << std::vector{Face(TBeatMark::Star, kGreen, " "), Face(TBeatMark::Circle, kGreen, " "),
                       Face(TBeatMark::Star, kGreen, " ")};
    QTest::newRow("one-beat bar, whatever its character")
        << "-" << QList<int>{1, 1}
        << std::vector{Face(TBeatMark::Star, kGreen, " "), Face(TBeatMark::Circle, kGreen, " ")};
    QTest::newRow("a position beyond a shortened bar shows nothing, then beat 1")
        << "Xxx" << QList<int>{7, 1}
        << std::vector{Face(TBeatMark::None, kGreen, " "),
                       Face(TBeatMark::Star, kFirstBeatMarkColor, "1", kFirstBeatNumberColor)};
    QTest::newRow("an empty bar shows nothing")
        << "" << QList<int>{1, 1}
        << std::vector{Face(TBeatMark::None, kGreen, " "), Face(TBeatMark::None, kGreen, " ")};
  }
  void showBeat() {
    QFETCH(QString, pattern);
    QFETCH(QList<int>, positions);
    QFETCH(std::vector<TBeatFace>, faces);
    TConfig config;
    StoredGeometry(config);
    config.SetBeatPattern(pattern.toStdString());
    TfrmBigPanel panel(config);
    panel.SetMarkColor(kGreen);  // as after start
    for (qsizetype i = 0; i < positions.size(); ++i) {
      panel.ShowBeat(positions[i]);
      QCOMPARE(panel.Face(), faces[static_cast<std::size_t>(i)]);
    }
  }

  void aPatternShortenedToOneBeatAlternates() {
    TConfig config;
    StoredGeometry(config);
    config.SetBeatPattern("Xxxx");
    TfrmBigPanel panel(config);
    panel.ShowBeat(3);
    config.SetBeatPattern("x");
    panel.ShowBeat(4);
    QCOMPARE(panel.Face(), Face(TBeatMark::Star, kGreen, " "));
  }

  // A silent bar's beat keeps its mark and number, dimmed; the status line
  // shows while practising, scales with the window, and stays after the
  // run until the next start.
  void practiceRunShowsOnThePanel() {
    TConfig config;
    StoredGeometry(config, 50, 50, 250, 280);
    config.SetBeatPattern("Xxx");
    test::TQuietMetronome quiet(config);
    TfrmBigPanel panel(config);
    panel.ShowRunOf(quiet.metronome);
    panel.show();
    const auto* status = panel.findChild<TStatusLineView*>("lblPracticeStatus");
    QVERIFY(status != nullptr);
    const int fontAt280 = status->FontPixelSize();
    SetOuterSize(panel, 500, 560);
    QVERIFY2(std::abs(status->FontPixelSize() - 2 * fontAt280) <= 1,
             qPrintable(QString("%1 then %2").arg(fontAt280).arg(status->FontPixelSize())));
    quiet.metronome.StartStop();
    TBeatShow beat{2};
    quiet.metronome.ShowBeat(beat);
    const TBeatFace played = panel.Face();
    QCOMPARE(status->Text(), std::string());
    beat.Practising = true;
    beat.Silent = true;
    beat.Bar = 4;
    quiet.metronome.ShowBeat(beat);
    QCOMPARE(panel.Face(), DimmedFace(played));
    QVERIFY(panel.Face().NumberColor != played.NumberColor);
    QCOMPARE(status->Text(), std::string("bar 4 \u00b7 0:00 \u00b7 silent bar"));
    quiet.metronome.StartStop();
    QCOMPARE(status->Text(), std::string("bar 4 \u00b7 0:00 \u00b7 silent bar"));
    quiet.metronome.StartStop();
    QCOMPARE(status->Text(), std::string());
    quiet.metronome.Shutdown();
  }

  void fontSizesFollowTheOuterHeight_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("markPixels");
    QTest::addColumn<int>("numberPixels");
    QTest::newRow("300 high") << 300 << 300 << 100;
    QTest::newRow("250 high") << 250 << 250 << 83;
  }
  void fontSizesFollowTheOuterHeight() {
    QFETCH(int, height);
    QFETCH(int, markPixels);
    QFETCH(int, numberPixels);
    TConfig config;
    StoredGeometry(config, 50, 50, 250, 400);
    TfrmBigPanel panel(config);
    panel.show();
    SetOuterSize(panel, 240, height);
    QCOMPARE(panel.frameGeometry().height(), height);
    QCOMPARE(panel.MarkFontPixelSize(), markPixels);
    QCOMPARE(panel.NumberFontPixelSize(), numberPixels);
    QCOMPARE(panel.findChild<TBeatNumberView*>("lblBeatNumber")->FontPixelSize(), numberPixels);
    // Both fill the window, and even the star stays inside it.
    const auto* mark = panel.findChild<TBeatMarkView*>("LabelBeat");
    QCOMPARE(mark->geometry(), panel.rect());
    panel.SetMark(TBeatMark::Star);
    QVERIFY(mark->MarkExtent() <= std::min(panel.width(), panel.height()));
  }

  void geometryIsKeptInTheSettings() {
    TConfig config;
    StoredGeometry(config);
    auto panel = std::make_unique<TfrmBigPanel>(config);
    panel->show();
    SetOuterSize(*panel, 321, 123);
    QCOMPARE(config.BigPanelWidth, 321);
    QCOMPARE(config.BigPanelHeight, 123);
    panel->move(70, 90);
    QCOMPARE(config.BigPanelLeft, 50);  // the position is written at the end
    panel->hide();
    panel.reset();
    QCOMPARE(config.BigPanelLeft, 70);
    QCOMPARE(config.BigPanelTop, 90);
    QCOMPARE(config.BigPanelWidth, 321);
    QCOMPARE(config.BigPanelHeight, 123);
    QVERIFY(!config.Controls.BeatPanelTopmost.IsBound());
  }

  void closingHidesAndClearsTheMenuCheck() {
    TConfig config;
    StoredGeometry(config);
    TfrmBigPanel panel(config);
    QSignalSpy closed(&panel, &TfrmBigPanel::closedByUser);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(panel.close());
    QVERIFY(!panel.isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(!panel.testAttribute(Qt::WA_QuitOnClose));
    // Shown again from the menu, it is where it was.
    panel.show();
    QCOMPARE(panel.pos(), QPoint(50, 50));
  }

  void startBeatsAndStopAsTheMetronomeTells() {
    TConfig config;
    StoredGeometry(config);
    config.SetBeatPattern("XxxXx");
    TfrmBigPanel panel(config);
    test::TQuietMetronome quiet(config);
    TMetronome& metronome = quiet.metronome;
    panel.ShowRunOf(metronome);

    metronome.StartStop();
    QCOMPARE(panel.Face(), Face(TBeatMark::Circle, kGreen, ""));
    metronome.ShowBeat(TBeatShow{1});
    QCOMPARE(panel.Face(), Face(TBeatMark::Star, kFirstBeatMarkColor, "1", kFirstBeatNumberColor));
    QCOMPARE(panel.LastPosition(), 1);
    metronome.ShowBeat(TBeatShow{3});
    metronome.StartStop();
    QCOMPARE(panel.Face().Mark, TBeatMark::Circle);
    QCOMPARE(panel.Face().MarkColor, kGrey);
    QCOMPARE(panel.Face().Number, std::string());

    panel.StopShowingRun();
    metronome.StartStop();
    QCOMPARE(panel.MarkColor(), kGrey);
    metronome.StartStop();
  }

  // Neither has to go first.
  void panelOrMetronomeMayGoFirst() {
    TConfig config;
    StoredGeometry(config);
    {
      test::TQuietMetronome quiet(config);
      {
        TfrmBigPanel panel(config);
        panel.ShowRunOf(quiet.metronome);
      }
      quiet.metronome.StartStop();
      quiet.metronome.ShowBeat(TBeatShow{1});
      quiet.metronome.StartStop();
    }
    TfrmBigPanel panel(config);
    {
      test::TQuietMetronome quiet(config);
      panel.ShowRunOf(quiet.metronome);
      quiet.metronome.StartStop();
    }
    // The metronome's end stops the run.
    QCOMPARE(panel.MarkColor(), kGrey);
  }

  void alwaysOnTopFollowsTheSetting() {
    TConfig config;
    StoredGeometry(config);
    TfrmBigPanel panel(config);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    config.SetStayOnTop(false);
    QVERIFY(!StaysOnTop(panel));
    QVERIFY(panel.isVisible());
    config.SetStayOnTop(true);
    QVERIFY(StaysOnTop(panel));
    QVERIFY(panel.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(panel.isVisible());
  }

  void docksToTheMainWindowAndFollowsIt() {
    QWidget main;
    main.show();
    main.move(100, 200);
    SetOuterSize(main, 300, 180);
    TConfig config;
    StoredGeometry(config);
    TfrmBigPanel panel(config, &main);
    panel.show();
    QVERIFY(!config.PanelDocked);

    panel.move(420, 260);
    QCOMPARE(panel.pos(), QPoint(400, 260));
    QVERIFY(config.PanelDocked);
    QCOMPARE(config.PanelOffsetX, 300);
    QCOMPARE(config.PanelOffsetY, 60);

    // A change of size only leaves docking alone.
    panel.resize(200, 250);
    QVERIFY(config.PanelDocked);
    QCOMPARE(config.PanelOffsetX, 300);

    main.move(180, 230);
    panel.FollowMainWindow(main.pos());
    QCOMPARE(panel.pos(), QPoint(480, 290));
    QVERIFY(config.PanelDocked);
    QCOMPARE(config.PanelOffsetY, 60);
    QVERIFY(StaysOnTop(panel));

    // Hidden, it stays behind and keeps its docking; shown, it follows again.
    panel.hide();
    main.move(100, 200);
    panel.FollowMainWindow(main.pos());
    QCOMPARE(panel.pos(), QPoint(480, 290));
    panel.show();
    main.move(110, 200);
    panel.FollowMainWindow(main.pos());
    QCOMPARE(panel.pos(), QPoint(410, 260));

    // Pulled away, it lets go.
    panel.move(560, 300);
    QVERIFY(!config.PanelDocked);
    main.move(130, 210);
    panel.FollowMainWindow(main.pos());
    QCOMPARE(panel.pos(), QPoint(560, 300));
  }

  void docksToTheLeftSide() {
    QWidget main;
    main.show();
    main.move(400, 200);
    SetOuterSize(main, 300, 180);
    TConfig config;
    StoredGeometry(config);
    TfrmBigPanel panel(config, &main);
    panel.show();
    panel.move(130, 100);  // right edge 20 left of the main window
    QCOMPARE(panel.pos(), QPoint(150, 100));
    QCOMPARE(config.PanelOffsetX, -250);
    QCOMPARE(config.PanelOffsetY, -100);
  }

  void snapsToTheWorkAreaWhenNotDocked() {
    TConfig config;
    StoredGeometry(config);
    QWidget main;
    main.setGeometry(400, 300, 200, 100);
    main.show();
    TfrmBigPanel panel(config, &main);
    panel.show();
    const QRect area = panel.screen()->availableGeometry();
    panel.move(area.left() + 10, area.top() + 100);
    QCOMPARE(panel.pos(), QPoint(area.left(), area.top() + 100));
  }

  void withoutAMainWindowNothingDocks() {
    TConfig config;
    StoredGeometry(config);
    TfrmBigPanel panel(config);
    panel.show();
    panel.move(8, 120);
    QCOMPARE(panel.pos(), QPoint(8, 120));
    QVERIFY(!config.PanelDocked);
  }
};

QTEST_MAIN(BigPanelTest)
#include "big_panel_test.moc"
