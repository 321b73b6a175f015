#pragma once

namespace zelmora {

// CPU time (user and system) the whole process has used so far, in seconds.
double ProcessCpuSeconds();

}  // namespace zelmora
