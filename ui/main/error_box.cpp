#include "ui/main/error_box.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

#include "core/error.h"

namespace zelmora {
namespace {

TMessageBoxHook& Hook() {
  static TMessageBoxHook hook;
  return hook;
}

// The application's title, which every message box carries.
QString AppTitle() {
  return QStringLiteral("Zelmora");
}

void Show(const QString& text, bool error) {
  const TShownBox box{AppTitle(), text, error};
  if (Hook()) {
    Hook()(box);
    return;
  }
  // Messages break their lines with carriage returns, which a Qt label
  // would not show as breaks.
  QString shown = box.Text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox message(error ? QMessageBox::Critical : QMessageBox::NoIcon, box.Title, shown,
                      QMessageBox::Ok, QApplication::activeWindow());
  // Messages quote what the user typed: show it as it is, never as markup.
  message.setTextFormat(Qt::PlainText);
  message.exec();
}

}  // namespace

void ShowErrorBox(const std::string& message) {
  Show(QString::fromStdString(WithFullStop(message)), true);
}

void ShowMessageBox(const std::string& message) {
  Show(QString::fromStdString(message), false);
}

void SetMessageBoxHook(TMessageBoxHook hook) {
  Hook() = std::move(hook);
}

void ReportCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  } catch (...) {
    ShowErrorBox("Unknown error");
  }
}

}  // namespace zelmora
