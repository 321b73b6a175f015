// Runs the settings fuzz target without libFuzzer: over the built-in seeds and
// every cut-off start of them, then over any files named on the command
// line.

#include "tests/fuzz/replay_files.h"
#include "tests/fuzz/settings_seeds.h"

int main(int argc, char** argv) {
  return zelmora::ReplayTextSeeds(zelmora::MakeSettingsSeeds(), "settings", argc, argv);
}
