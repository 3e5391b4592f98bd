#include "flame_program.h"

#include <string>

#include "eqmd.h"
#include "reads.h"
#include "report.h"
#include "routines.h"
#include "runend.h"
#include "state.h"
#include "units.h"

namespace flame {

using namespace core;

namespace {

void write_echo(const FlameProgram& program, const std::string& a1, const std::string& a2, const std::string& a3) {
    write_record(UNIT_REPORT, a1);
    write_record(UNIT_REPORT, a2);
    write_blank_record(UNIT_REPORT);
    write_record(UNIT_REPORT, a3);
    write_blank_record(UNIT_REPORT);
    write_echo_intro(program.input_name);
    const BLOC_t& b = BLOC;
    const FUEL_t& f = FUEL;
    const EchoLine lines[] = {
        {"CARBON ATOMS", b.AN, 5, 1},
        {"HYDROGEN ATOMS", b.AM, 5, 1},
        {"OXYGEN ATOMS", b.AL, 5, 1},
        {"NITROGEN ATOMS", b.AK, 5, 1},
        {"EQUIVALENCE RATIO", b.F, 7, 3},
        {"FINAL TEMPERATURE (K) guess", b.T, 7, 1},
        {"REACTANT TEMPERATURE (K)", f.TREAC, 7, 1},
        {"REACTANT PRESSURE (Pa)", f.PREAC, 11, 1},
        {"ENTHALPY OF REACTANTS (kJ/kmol of fuel)", f.HREAC, 11, 1},
        {"MOLES OF REACTANTS (kmol/kmol of fuel)", f.RMOLES, 8, 3},
        {"MOLEC WT OF REACTANTS (kg/kmol)", f.AVMR, 8, 3},
    };
    write_echo_values(lines, 40);
}

// An iteration that cannot go on: its line goes into the report, starting in column 1
// like the non-convergence line, and the run stops normally without results.
[[noreturn]] void stop_for(FlameEnd end) {
    write_record(UNIT_REPORT, flame_end_line(end));
    close_unit(UNIT_REPORT);
    stop_run();
}

// The results section: the shared section headed by the flame temperature and the
// pressure of the last correction.
void PRTOUT(const FlameProgram& program) {
    const ResultLine head[] = {
        {program.temperature_label, BLOC.T, 'F', 10, 2},
        {"Pressure [Pa] =                      ", BLOC.P, 'E', 13, 6},
    };
    write_results("FLAME TEMP. & COMBUSTION PRODUCTS PROPERTIES", head);
}

}  // namespace

void configure_solver() { set_eqmd_table_row_rule(TableRowRule::Scale); }

void run_flame_program(const FlameProgram& program, void (*per)()) {
    open_unit(UNIT_INPUT, program.input_name, OpenStatus::Unknown, "three titles and 11 values");
    open_unit(UNIT_REPORT, program.report_name, OpenStatus::Unknown);
    console_record(std::string(" The results are stored in the file ") + program.report_name);

    std::string a1 = read_text(UNIT_INPUT, 72, 72);
    std::string a2 = read_text(UNIT_INPUT, 72, 72);
    std::string a3 = read_text(UNIT_INPUT, 72, 72);
    BLOC_t& b = BLOC;
    FUEL_t& f = FUEL;
    for (double* item : {&b.AN, &b.AM, &b.AL, &b.AK, &b.F, &b.T, &f.TREAC, &f.PREAC, &f.HREAC, &f.RMOLES, &f.AVMR})
        read_free(UNIT_INPUT, *item);
    close_unit(UNIT_INPUT);
    write_echo(program, a1, a2, a3);

    if (const std::optional<FlameEnd> end = flame_start(program.energy)) stop_for(*end);
    TABLES();
    REACHK();
    f.HREAC = f.HREAC * 1000;  // kJ/kmol to J/kmol
    const FlameResult result = flame_iterate(program.energy, per);
    if (result.end == FlameEnd::NotConverged) write_record(UNIT_REPORT, flame_end_line(result.end));
    else if (result.end != FlameEnd::Converged) stop_for(result.end);
    PRTOUT(program);
    close_unit(UNIT_REPORT);
    finish_run();  // back to run_program: a normal end needs no unwinding
}

}  // namespace flame
