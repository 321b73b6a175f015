#pragma once

#include <stdexcept>
#include <string>

namespace zelmora {

// Every failure the user is told about travels as a TError carrying the
// message text; the event loop shows it in the general error box.
class TError : public std::runtime_error {
 public:
  // Thread: any
  explicit TError(const std::string& message) : std::runtime_error(message) {}
};

// The general error box ends a message with a full stop when its last
// character sorts after '.', that is when it ends in a letter or a digit.
// Thread: any
std::string WithFullStop(const std::string& message);

}  // namespace zelmora
