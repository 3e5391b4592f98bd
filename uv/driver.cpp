#include <cmath>
#include <string>

#include "eqmd.h"
#include "reads.h"
#include "report.h"
#include "routines.h"
#include "runend.h"
#include "state.h"
#include "units.h"
#include "uv.h"

namespace uv {

using namespace core;

namespace {

// This program's own gas constant, J/(kmol K), held in single precision as it always
// has been (8314.509765625); RJOUL of the tables is not used for the reactants.
constexpr double RGAS_REACTANTS = double(8314.51f);
// The iteration has converged when a correction is at most this, K (single precision:
// 0.009999999776482582).
constexpr double DELT_BOUND = double(0.01f);
constexpr int MAX_PASSES = 25;

void write_echo(const std::string& a1, const std::string& a2, const std::string& a3) {
    write_record(UNIT_REPORT, a1);
    write_record(UNIT_REPORT, a2);
    write_blank_record(UNIT_REPORT);
    write_record(UNIT_REPORT, a3);
    write_blank_record(UNIT_REPORT);
    write_echo_intro("INPUT.UV");
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

// A division the iteration cannot make: the reason goes into the report, starting in
// column 1 like the non-convergence line, and the run stops normally without results.
[[noreturn]] void stop_for(const char* reason) {
    write_record(UNIT_REPORT, reason);
    close_unit(UNIT_REPORT);
    stop_run();
}

// Reactant values so large that the temperature or the pressure overflows.
constexpr const char* kNotFinite =
    "Temperature or pressure beyond the range of numbers - check the reactant values!";

}  // namespace

void configure_solver() { set_eqmd_table_row_rule(TableRowRule::Scale); }

void BRASKOT2() { run_flame_program(PER); }

void run_flame_program(void (*per)()) {
    open_unit(UNIT_INPUT, "INPUT.UV", OpenStatus::Unknown);
    open_unit(UNIT_REPORT, "OUTPUT.UV", OpenStatus::Unknown);
    console_record(" The results are stored in the file OUTPUT.UV");

    std::string a1 = read_text(UNIT_INPUT, 72, 72);
    std::string a2 = read_text(UNIT_INPUT, 72, 72);
    std::string a3 = read_text(UNIT_INPUT, 72, 72);
    BLOC_t& b = BLOC;
    FUEL_t& f = FUEL;
    for (double* item : {&b.AN, &b.AM, &b.AL, &b.AK, &b.F, &b.T, &f.TREAC, &f.PREAC, &f.HREAC, &f.RMOLES, &f.AVMR})
        read_free(UNIT_INPUT, *item);
    close_unit(UNIT_INPUT);
    write_echo(a1, a2, a3);

    if (f.TREAC == 0) stop_for("Reactant temperature is zero - the initial pressure cannot be computed!");
    b.P = (f.PREAC / f.TREAC) * b.T;
    if (!std::isfinite(b.P)) stop_for(kNotFinite);
    TABLES();
    f.HREAC = f.HREAC * 1000;  // kJ/kmol to J/kmol
    const double UREAC = f.RMOLES * f.TREAC * (-RGAS_REACTANTS) + f.HREAC;

    for (int ITER = 1; ITER <= MAX_PASSES; ++ITER) {
        per();
        const PROP_t& p = PROP;
        if (f.RMOLES * f.AVMR == 0)
            stop_for("Reactant moles or molecular weight is zero - the energy per kg cannot be computed!");
        if (p.DUT == 0)
            stop_for("No equilibrium solution at the first temperature - the iteration cannot start!");
        const double DELT = (p.U - UREAC / (f.RMOLES * f.AVMR)) / p.DUT;
        b.T = b.T - DELT;
        b.P = ((f.AVMR / (p.AVM * f.TREAC)) * f.PREAC) * b.T;
        if (!std::isfinite(b.T) || !std::isfinite(b.P)) stop_for(kNotFinite);
        if (std::fabs(DELT) <= DELT_BOUND) break;
        if (ITER >= MAX_PASSES) write_record(UNIT_REPORT, "Iterations reached 25 - Solution has not converged!");
    }
    PRTOUT();
    close_unit(UNIT_REPORT);
    finish_run();  // back to run_program: a normal end needs no unwinding
}

}  // namespace uv
