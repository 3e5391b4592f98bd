// A flame temperature guess that is already quellin's answer: the first correction is
// within the bound, so the program makes one pass of the real PER and reports that
// temperature. (At constant volume the first pass is made at the reactants' pressure
// rule, not at the answer's, so there the answer as guess still takes more passes.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "eqmd.h"
#include "hp.h"
#include "routines.h"
#include "scratch.h"
#include "state.h"

namespace {

int passes = 0;

void counting_PER() {
    ++passes;
    core::PER();
}
void flame_program() { flame::run_flame_program(hp::PROGRAM, counting_PER); }

// quellin on the shipped methane example with the guess replaced; the report and the
// flame temperature it shows.
double run(double guess, std::string& report) {
    std::string s = testing_support::read_file(std::string(SUITE_DATA_DIR) + "/examples/methane.hp");
    size_t line = 0;
    for (int i = 0; i < 8; ++i) line = s.find('\n', line) + 1;  // three titles, five values
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", guess);
    testing_support::ScratchDir dir;
    dir.copy_data("GPROP.DAT", "GPROP.DAT");
    dir.write("INPUT.HP", s.substr(0, line) + buf + s.substr(s.find('\n', line) - 1));
    passes = 0;
    flame::configure_solver();
    auto r = testing_support::run_inprocess_in(dir, flame_program);
    core::set_eqmd_table_row_rule(core::TableRowRule::Divide);
    EXPECT_EQ(r.status, 0) << r.err;
    report = dir.read("OUTPUT.HP");
    return core::BLOC.T;
}

TEST(QuellinAnswerAsGuess, TakesOnePass) {
    std::string report;
    const double answer = run(2000, report);
    EXPECT_GT(passes, 2);
    const double again = run(answer, report);
    EXPECT_EQ(passes, 1);
    EXPECT_LE(std::fabs(again - answer), 0.01);
    EXPECT_NE(report.find("FLAME TEMP."), std::string::npos);
    EXPECT_EQ(report.find("not converged"), std::string::npos);
}

}  // namespace
