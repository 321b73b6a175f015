#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTest>

namespace zelmora::testing {

// A tool dialog of the main window: modeless, centred over `main` wherever
// that stands, each time it is shown, and hidden by its Close button
// (`closeButton`). `main` must be shown.
inline void CheckModelessOverMain(QDialog& dialog, QWidget& main, const char* closeButton) {
  for (const QPoint place : {QPoint(300, 200), QPoint(520, 310)}) {
    main.move(place);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.isModal());
    QVERIFY((dialog.frameGeometry().center() - main.frameGeometry().center()).manhattanLength() <=
            2);
    auto* close = dialog.findChild<QPushButton*>(QString::fromLatin1(closeButton));
    QVERIFY(close != nullptr);
    close->click();
    QVERIFY(!dialog.isVisible());
  }
}

}  // namespace zelmora::testing
