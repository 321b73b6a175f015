#pragma once

namespace zelmora {

// Starts PortAudio for a fresh look at the outputs (pair with
// Pa_Terminate), without its JACK host API (JACK is played to directly).
// The messages ALSA and JACK print on their own while they
// are probed (every missing card, plugin and server, at each start, so once
// a second while an output is lost) are kept off the terminal and the
// desktop's log, unless ZELMORA_AUDIO_DIAGNOSTICS is set in the
// environment. False when PortAudio does not start.
// Thread: control
bool StartSoundLibrary();

}  // namespace zelmora
