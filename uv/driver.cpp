#include "routines.h"
#include "uv.h"

namespace uv {

const flame::FlameProgram PROGRAM = {
    "INPUT.UV",
    "OUTPUT.UV",
    core::FlameEnergy::U,
    "Const-vol Flame Temperature [K] =    ",
};

void BRASKOT2() { flame::run_flame_program(PROGRAM, core::PER); }

}  // namespace uv
