// The program's meter constructor.
#include "ui/app/program.h"
#include "ui/main/main_window.h"
#include "ui/meter/meter_constructor.h"

namespace zelmora {

void TProgram::TMeterDeleter::operator()(TfrmMeterConstructor* meter) const {
  delete meter;
}

void TProgram::CreateMeterConstructor() {
  meter_.reset(new TfrmMeterConstructor(config_, main_.get()));
}

void TProgram::ShowMeterConstructor(bool modal) {
  if (modal) {
    meter_->ShowModal();
  } else {
    meter_->ShowModeless();
  }
}

}  // namespace zelmora
