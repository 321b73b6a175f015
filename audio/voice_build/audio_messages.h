#pragma once

#include <string>

namespace zelmora {

// Where the audio output's failures are told to the user. The windows show
// each text in a plain message box titled with the application's name.
//
// Threads: called on the user-interface thread only.
class TAudioMessages {
 public:
  virtual ~TAudioMessages() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace zelmora
