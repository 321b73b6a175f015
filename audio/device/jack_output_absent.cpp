// Built where the JACK library is not installed: there is no JACK output.
#include "audio/device/jack_output.h"

namespace zelmora {

int TJackOutput::ServerRate() {
  return 0;
}

std::unique_ptr<TJackOutput> TJackOutput::Open(TRender /*render*/, void* /*context*/) {
  return nullptr;
}

TJackOutput::~TJackOutput() = default;

bool TJackOutput::Start() {
  return false;
}

double TJackOutput::OutputLatencySeconds() const {
  return 0.0;
}

double TJackOutput::PeriodSeconds() const {
  return 0.0;
}

}  // namespace zelmora
