// zorvath: the fixed-temperature, fixed-pressure equilibrium program.
#pragma once

namespace tp {

// The main program: INPUT.TP in, OUTPUT.TP out, one equilibrium solution. Ends through
// core::stop_run (or an input/output failure); run it with core::run_program, or as
// the whole process with core::run_process.
void ZORVATH();
// The results section of OUTPUT.TP.
void PRTOUT();

}  // namespace tp
