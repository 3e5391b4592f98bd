// The driver that both flame programs share: braskot2 (constant volume) and quellin
// (constant pressure) read the same reactant file, echo it alike, iterate with the
// core's flame iteration and write the same results section. They differ only in what
// a FlameProgram names.
#pragma once

#include <string_view>

#include "flame.h"

namespace flame {

struct FlameProgram {
    const char* input_name;       // "INPUT.UV"
    const char* report_name;      // "OUTPUT.UV"
    core::FlameEnergy energy;     // the energy balanced, and so the pressure rule
    std::string_view temperature_label;  // the first results line, as wide as the others
};

// The main program: opens the files, reads three titles and eleven values, echoes them,
// loads the tables, iterates, and writes the results or the line that says why there
// are none. Ends through core::stop_run or finish_run (or an input/output failure).
// `per` is PER in the programs; tests of the iteration give a stand-in.
void run_flame_program(const FlameProgram& program, void (*per)());

// The flame programs' setting of the shared equilibrium solver (its table-row rule),
// made once before a run.
void configure_solver();

}  // namespace flame
