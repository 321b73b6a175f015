#pragma once

#include <vector>

#include "tests/fuzz/text_seed.h"

namespace zelmora {

// Runs the fuzz target linked in (LLVMFuzzerTestOneInput) over each file
// named on the command line, to replay a failure without libFuzzer and with
// any compiler. Returns the exit status: non-zero when a file cannot be
// read; a failed check aborts.
int ReplayFiles(int argc, char** argv);

// The replay's whole run for a text target: every seed and every cut-off
// start of it, then the files on the command line (ReplayFiles). Prints
// that `target` passed; returns the exit status.
int ReplayTextSeeds(const std::vector<TTextSeed>& seeds, const char* target, int argc, char** argv);

}  // namespace zelmora
