#include "audio/voice_build/sound_error_text.h"

#include <algorithm>
#include <array>

namespace zelmora {
namespace {

struct TErrorText {
  std::uint32_t Code;
  const char* Text;
};

// The wording users of the audio output know from its error boxes; kept word
// for word, oddities included.
constexpr std::array<TErrorText, 23> kErrorTexts{{
    {0x00000000, "The request completed successfully."},
    {0x80004001, "The function called is not supported at this time."},
    {0x80004002, "The requested COM interface is not available."},
    {0x80004005, "An undetermined error occurred inside the DirectSound subsystem."},
    {0x80040110, "The object does not support aggregation."},
    {0x80070005, "Access is denied."},
    {0x8007000E,
     "The DirectSound subsystem could not allocate sufficient memory to complete the callers "
     "request."},
    {0x80070057, "An invalid parameter was passed to the returning function."},
    {0x8878000A,
     "The request failed because resources, such as a priority level, were already in use by "
     "another caller."},
    {0x8878001E,
     "The control (volume, pan, and so forth) requested by the caller is not available."},
    {0x88780032, "This function is not valid for the current state of this object."},
    {0x88780046,
     "The caller does not have the priority level required for the function to succeed."},
    {0x88780064, "The specified wave format is not supported."},
    {0x88780078, "No sound driver is available for use."},
    {0x88780082, "The object is already initialized."},
    {0x88780096, "The buffer memory has been lost and must be restored."},
    {0x887800A0,
     "Another application has a higher priority level, preventing this call from succeeding."},
    {0x887800AA,
     "The IDirectSound::Initialize method has not been called or has not been called "
     "successfully before other methods were called."},
    {0x887800B4,
     "Tried to create a DSBCAPS_CTRLFX buffer shorter than DSBSIZE_FX_MIN milliseconds."},
    {0x887800BE, "Attempt to use DirectSound 8 functionality on an older DirectSound object."},
    {0x887800C8, "A circular loop of send effects was detected."},
    {0x887800D2, "The GUID specified in an audiopath file does not match a valid MIXIN buffer."},
    {0x88781161, "The object requested was not found (numerically equal to DMUS_E_NOT_FOUND)."},
}};

}  // namespace

std::string SoundErrorText(std::uint32_t code) {
  const auto* found = std::find_if(kErrorTexts.begin(), kErrorTexts.end(),
                                   [code](const TErrorText& entry) { return entry.Code == code; });
  return found != kErrorTexts.end() ? found->Text : "Unrecognized Error";
}

}  // namespace zelmora
