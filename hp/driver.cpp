#include "hp.h"
#include "routines.h"

namespace hp {

const flame::FlameProgram PROGRAM = {
    "INPUT.HP",
    "OUTPUT.HP",
    core::FlameEnergy::H,
    "Const-pres Flame Temperature [K] =   ",
};

void QUELLIN() { flame::run_flame_program(PROGRAM, core::PER); }

}  // namespace hp
