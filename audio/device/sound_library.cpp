#include "audio/device/sound_library.h"

#include <portaudio.h>

#include <cstdlib>

#if defined(ZELMORA_HAVE_ALSA)
#include <alsa/asoundlib.h>
#endif
#if defined(ZELMORA_HAVE_JACK)
#include <jack/jack.h>
#include <pa_jack.h>

#include <string>
#endif

namespace zelmora {
namespace {

#if defined(ZELMORA_HAVE_ALSA)
// NOLINTNEXTLINE(cert-dcl50-cpp): the library's handler type is variadic
void IgnoreAlsaMessage(const char* /*file*/, int /*line*/, const char* /*function*/, int /*error*/,
                       const char* /*format*/, ...) {}
#endif
#if defined(ZELMORA_HAVE_JACK)
void IgnoreJackMessage(const char* /*message*/) {}
#endif

void QuietenLibraries() {
  // Nothing in the program changes its environment.
  // NOLINTNEXTLINE(concurrency-mt-unsafe)
  if (std::getenv("ZELMORA_AUDIO_DIAGNOSTICS") != nullptr) {
    return;
  }
#if defined(ZELMORA_HAVE_ALSA)
  snd_lib_error_set_handler(IgnoreAlsaMessage);
#endif
#if defined(ZELMORA_HAVE_JACK)
  jack_set_error_function(IgnoreJackMessage);
  jack_set_info_function(IgnoreJackMessage);
#endif
}

// PortAudio's JACK host API is kept off the JACK server: the program plays
// to JACK itself (TJackOutput), and PortAudio's client there, idle, would be
// woken every period for nothing and, once the server has gone, abort the
// program as PortAudio shuts down (its teardown asserts that closing the
// client succeeds). PortAudio has no switch to leave a host API out; a
// client name one character over JACK's limit, which PortAudio's own check
// lets through and JACK refuses, keeps its client from being made.
void KeepPortAudioOffJack() {
#if defined(ZELMORA_HAVE_JACK)
  // PortAudio keeps the pointer.
  static const std::string kRefusedName(static_cast<std::size_t>(jack_client_name_size()), 'z');
  PaJack_SetClientName(kRefusedName.c_str());
#endif
}

}  // namespace

bool StartSoundLibrary() {
  QuietenLibraries();
  KeepPortAudioOffJack();
  return Pa_Initialize() == paNoError;
}

}  // namespace zelmora
