#pragma once

namespace zelmora {

// Asks for a raised scheduling priority for the calling thread in the way
// the platform allows without special rights; carries on silently when
// refused. Returns whether it was granted. The ticker raises its own.
// Thread: any
bool RaiseCurrentThreadPriority();

}  // namespace zelmora
