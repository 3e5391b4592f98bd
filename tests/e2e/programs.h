// The three solver programs as the end-to-end tests run them: the built executable, its
// files, and the shipped example (data/examples/) that makes a complete input.
#pragma once

namespace e2e {

struct Program {
    const char* name;
    const char* exe;
    const char* input;
    const char* report;
    const char* example;
};

inline const Program kZorvath{"zorvath", ZORVATH_EXE, "INPUT.TP", "OUTPUT.TP", "methane.tp"};
inline const Program kBraskot2{"braskot2", BRASKOT2_EXE, "INPUT.UV", "OUTPUT.UV", "methane.uv"};
inline const Program kQuellin{"quellin", QUELLIN_EXE, "INPUT.HP", "OUTPUT.HP", "methane.hp"};
inline const Program* const kAllPrograms[] = {&kZorvath, &kBraskot2, &kQuellin};

}  // namespace e2e
