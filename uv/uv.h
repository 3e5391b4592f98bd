// braskot2: the constant-volume adiabatic flame program.
#pragma once

#include "flame_program.h"

namespace uv {

// INPUT.UV in, OUTPUT.UV out; the internal energy is balanced and the pressure rises
// with the temperature at the reactants' volume.
extern const flame::FlameProgram PROGRAM;

// The main program. Ends through core::stop_run (or an input/output failure); run it
// with core::run_program after flame::configure_solver().
void BRASKOT2();

}  // namespace uv
