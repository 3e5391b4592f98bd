// quellin: the constant-pressure adiabatic flame program.
#pragma once

#include "flame_program.h"

namespace hp {

// INPUT.HP (laid out as INPUT.UV) in, OUTPUT.HP out; the enthalpy is balanced at the
// reactant pressure, which stays constant.
extern const flame::FlameProgram PROGRAM;

// The main program. Ends through core::stop_run (or an input/output failure); run it
// with core::run_program after flame::configure_solver().
void QUELLIN();

}  // namespace hp
