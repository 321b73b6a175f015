#pragma once

#include "core/config.h"
#include "core/transport.h"

namespace zelmora {

// What the main window's meter box does when the user edits its text or
// picks an entry: apply the text, and start the next bar at beat 1 when the
// new bar is shorter than the position reached. Throws what SetMeterText
// throws.
// Thread: ui
void ApplyMeterBoxChange(TConfig& config, TTransport& transport);

}  // namespace zelmora
