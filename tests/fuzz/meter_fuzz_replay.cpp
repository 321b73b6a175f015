// Runs the meter fuzz target without libFuzzer: over the built-in seeds and
// every cut-off start of them, then over any files named on the command
// line.

#include "tests/fuzz/meter_seeds.h"
#include "tests/fuzz/replay_files.h"

int main(int argc, char** argv) {
  return zelmora::ReplayTextSeeds(zelmora::MakeMeterSeeds(), "meter", argc, argv);
}
