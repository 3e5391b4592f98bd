#include "eqmd_support.h"

#include <cstdio>
#include <optional>

#include "entropy.h"
#include "routines.h"
#include "runend.h"
#include "units.h"

namespace eqmd_testing {

using namespace core;

namespace {

struct Tables {
    DDATA_t data;
    DDCON_t con;
    DDAIR_t air;
    DDENT_t entropy;
};

Tables g_loaded;

void load_body() {
    TABLES();
    g_loaded = {DDATA, DDCON, DDAIR, DDENT};
}

// TABLES runs once, on a copy of the data file, in a run of its own.
const std::optional<Tables>& loaded_tables() {
    static const std::optional<Tables> tables = [] {
        testing_support::ScratchDir dir;
        dir.copy_data("GPROP.DAT", "GPROP.DAT");
        const auto r = testing_support::run_inprocess_in(dir, load_body);
        return r.status == 0 && g_loaded.con.PSATM > 0 ? std::optional<Tables>(g_loaded)
                                                       : std::nullopt;
    }();
    return tables;
}

Problem g_problem;
bool g_call_eqmd = false;

void case_body() {
    open_unit(UNIT_REPORT, "OUTPUT.TP", OpenStatus::Unknown);
    TABLES();
    pose(g_problem);
    if (g_call_eqmd) EQMD();
    else PER();
    stop_run();
}

RunOutcome run_case(const Problem& p, bool call_eqmd) {
    testing_support::ScratchDir dir;
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    g_problem = p;
    g_call_eqmd = call_eqmd;
    RunOutcome o;
    o.run = testing_support::run_inprocess_in(dir, case_body);
    o.prop = PROP;
    o.report = dir.read("OUTPUT.TP");
    return o;
}

}  // namespace

std::string describe(const Problem& p) {
    char text[160];
    std::snprintf(text, sizeof text, "C%g H%g O%g N%g F=%g T=%g P=%g", p.AN, p.AM, p.AL, p.AK, p.F,
                  p.T, p.P);
    return text;
}

void PrintTo(const Problem& p, std::ostream* os) { *os << describe(p); }

bool fresh_run_state() {
    const auto& t = loaded_tables();
    reset_run_state();
    if (!t) return false;
    DDATA = t->data;
    DDCON = t->con;
    DDAIR = t->air;
    DDENT = t->entropy;
    return true;
}

void pose(const Problem& p) {
    BLOC_t& b = BLOC;
    b.AN = p.AN;
    b.AM = p.AM;
    b.AL = p.AL;
    b.AK = p.AK;
    b.F = p.F;
    b.T = p.T;
    b.P = p.P;
    GGCNTL.IERQ = 0;
}

int solve(const Problem& p) {
    pose(p);
    EQMD();
    return GGCNTL.IERQ;
}

ReportUnit::ReportUnit() { open_unit(UNIT_REPORT, dir_.file("OUTPUT.TP"), OpenStatus::Unknown); }

ReportUnit::~ReportUnit() { close_unit(UNIT_REPORT); }

std::string ReportUnit::text() {
    flush_all_units();
    return dir_.read("OUTPUT.TP");
}

RunOutcome run_per(const Problem& p) { return run_case(p, false); }
RunOutcome run_eqmd(const Problem& p) { return run_case(p, true); }

std::string message_line(const std::string& id, const std::string& routine) {
    return "**" + id + "** - ERROR IN SUBROUTINE    " + routine + "\r\n";
}

int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace eqmd_testing
