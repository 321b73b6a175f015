#pragma once

namespace zelmora {

// Runs the fuzz target linked in (LLVMFuzzerTestOneInput) over each file
// named on the command line, to replay a failure without libFuzzer and with
// any compiler. Returns the exit status: non-zero when a file cannot be
// read; a failed check aborts.
int ReplayFiles(int argc, char** argv);

}  // namespace zelmora
