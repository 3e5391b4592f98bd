// The three solver programs as the end-to-end tests run them: the built executable, its
// files, and the shipped example (data/examples/) that makes a complete input.
#pragma once

#include <string>

#include "scratch.h"

namespace e2e {

struct Program {
    const char* name;
    const char* exe;
    const char* input;
    const char* report;
    const char* example;
    const char* reads;  // what the end-of-file report says the program reads
};

inline const Program kZorvath{"zorvath", ZORVATH_EXE, "INPUT.TP", "OUTPUT.TP", "methane.tp", "a title and 7 values"};
inline const Program kBraskot2{"braskot2", BRASKOT2_EXE, "INPUT.UV", "OUTPUT.UV", "methane.uv", "three titles and 11 values"};
inline const Program kQuellin{"quellin", QUELLIN_EXE, "INPUT.HP", "OUTPUT.HP", "methane.hp", "three titles and 11 values"};
inline const Program* const kAllPrograms[] = {&kZorvath, &kBraskot2, &kQuellin};

// A run of a program on an input in a scratch directory of its own: how it ended, and
// its report.
struct ProgramRun {
    testing_support::ScratchDir dir;
    testing_support::RunResult result;
    std::string report;
};

inline void run(ProgramRun& r, const Program& p, const std::string& input) {
    r.result = testing_support::run_solver_in(r.dir, p.exe, p.input, input);
    r.report = r.dir.read(p.report);
}

}  // namespace e2e
