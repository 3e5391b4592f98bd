// Support for the tests of EQMD and PER: the tables of data/GPROP.DAT loaded once by
// TABLES, problems posed into BLOC, a report unit to catch warnings, and whole
// in-process runs for the messages that end a run.
#pragma once

#include <ostream>
#include <string>

#include "scratch.h"
#include "state.h"

namespace eqmd_testing {

// A fuel C(AN) H(AM) O(AL) N(AK) burnt at equivalence ratio F, products at T (K), P (Pa).
struct Problem {
    double AN = 1, AM = 4, AL = 0, AK = 0;
    double F = 1, T = 2000, P = 101325;
};

inline constexpr double ATM = 101325;

// The problem in one line, for failure messages and test names.
std::string describe(const Problem& p);
void PrintTo(const Problem& p, std::ostream* os);

// A clean run state with the tables of GPROP.DAT in place, as after TABLES. False when
// the tables could not be loaded (the caller fails the test).
bool fresh_run_state();

// The problem into BLOC, IERQ cleared, as PER leaves it before calling EQMD.
void pose(const Problem& p);

// pose, then EQMD; returns IERQ.
int solve(const Problem& p);

// An open report unit (OUTPUT.TP in a scratch directory) for the warnings that
// EQMD and PER write while the run goes on.
class ReportUnit {
public:
    ReportUnit();
    ~ReportUnit();
    std::string text();  // what has been written so far

private:
    testing_support::ScratchDir dir_;
};

// A whole run in-process: report opened, TABLES from a copy of GPROP.DAT, the
// problem posed, PER called, and the normal stop if PER returns.
struct RunOutcome {
    testing_support::RunResult run;
    std::string report;
    core::PROP_t prop;  // PROP when the run ended
};
RunOutcome run_per(const Problem& p);
// The same with EQMD called in place of PER (its own range checks are reached).
RunOutcome run_eqmd(const Problem& p);

// The message block of SERMSG for an id and a routine name of four characters.
std::string message_line(const std::string& id, const std::string& routine);
// Number of times a text occurs in another.
int count(const std::string& text, const std::string& part);

}  // namespace eqmd_testing
