// braskot2: the constant-volume adiabatic flame program.
#pragma once

namespace uv {

// The main program: INPUT.UV in, OUTPUT.UV out; iterates on the flame temperature.
// Ends through core::stop_run (or an input/output failure); run it with
// core::run_program after configure_solver().
void BRASKOT2();
// The same program with the property routine given: PER in the program, a stand-in in
// tests of the iteration itself.
void run_flame_program(void (*per)());
// The results section of OUTPUT.UV.
void PRTOUT();
// The program's setting of the shared equilibrium solver (its table-row rule).
void configure_solver();

}  // namespace uv
