#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <string>

namespace zelmora {

// The general error box: title "Zelmora", an error icon, an OK button and
// the message with its full stop. Every error a handler raises ends here,
// and the program carries on.
void ShowErrorBox(const std::string& message);

// A plain message box (application title, OK button), as the audio output
// uses for a voice that cannot be built or a sound file that is missing.
void ShowMessageBox(const std::string& message);

// How the boxes are shown: tests put a recorder here so that nothing
// blocks. `error` tells the general error box from the plain one. An empty
// function restores the real boxes.
struct TShownBox {
  QString Title;
  QString Text;
  bool Error = false;
};
using TMessageBoxHook = std::function<void(const TShownBox&)>;
void SetMessageBoxHook(TMessageBoxHook hook);

// Reports what the running handler threw; call inside a catch block.
void ReportCurrentException();

// Runs an event handler and shows whatever it throws in the general error
// box. Handlers run from Qt signals go through here, so that no exception
// unwinds through the toolkit's own code.
template <typename F>
void RunHandler(F&& handler) {
  try {
    std::forward<F>(handler)();
  } catch (...) {
    ReportCurrentException();
  }
}

}  // namespace zelmora
