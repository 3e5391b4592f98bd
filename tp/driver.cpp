#include <string>

#include "edit.h"
#include "reads.h"
#include "report.h"
#include "routines.h"
#include "runend.h"
#include "state.h"
#include "tp.h"
#include "units.h"

namespace tp {

using namespace core;

namespace {

// The echo of the input: title, the intro, then each value under its 20-column label.
void write_echo(const std::string& title) {
    write_record(UNIT_REPORT, title);
    write_blank_record(UNIT_REPORT);
    write_echo_intro("INPUT.TP");
    const BLOC_t& b = BLOC;
    const EchoLine lines[] = {
        {"CARBON ATOMS        ", b.AN, 5, 1},
        {"HYDROGEN ATOMS      ", b.AM, 5, 1},
        {"OXYGEN ATOMS        ", b.AL, 5, 1},
        {"NITROGEN ATOMS      ", b.AK, 5, 1},
        {"EQUIVALENCE RATIO   ", b.F, 6, 3},
        {"TEMPERATURE (K)     ", b.T, 7, 1},
        {"PRESSURE (Pa)       ", b.P, 10, 1},
    };
    write_echo_values(lines, 20);
}

}  // namespace

void ZORVATH() {
    open_unit(UNIT_INPUT, "INPUT.TP", OpenStatus::Unknown, "a title and 7 values");
    open_unit(UNIT_REPORT, "OUTPUT.TP", OpenStatus::Unknown);
    console_record(" The results are stored in the file OUTPUT.TP");

    std::string title = read_text(UNIT_INPUT, 72, 72);
    BLOC_t& b = BLOC;
    for (double* item : {&b.AN, &b.AM, &b.AL, &b.AK, &b.F, &b.T, &b.P}) read_free(UNIT_INPUT, *item);
    close_unit(UNIT_INPUT);

    write_echo(title);
    TABLES();
    PER();
    PRTOUT();
    close_unit(UNIT_REPORT);
    finish_run();  // back to run_program: a normal end needs no unwinding
}

}  // namespace tp
