#pragma once

#include <QString>

#include "core/error.h"

namespace zelmora::testing {

// The message of the TError that `action` throws, or an empty text when it
// throws none. Any other exception reaches the test runner as a failure.
template <typename Action>
QString ErrorText(Action&& action) {
  try {
    action();
  } catch (const TError& error) {
    return QString::fromUtf8(error.what());
  }
  return {};
}

}  // namespace zelmora::testing
