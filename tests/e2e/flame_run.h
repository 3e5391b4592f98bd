// End-to-end runs of the flame programs, which read the same reactant file: the eleven
// values, a run of the real program on them, and the check of a run that stopped
// normally without results.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scratch.h"

namespace flame_run {

// The values of an INPUT.UV or INPUT.HP: stoichiometric methane from 298.15 K and 1 atm.
struct Values {
    double AN = 1, AM = 4, AL = 0, AK = 0, F = 1, T = 2500, TREAC = 298.15, PREAC = 101325;
    double HREAC = -74600, RMOLES = 10.52, AVMR = 27.6332;
};

inline std::string input(const Values& v) {
    std::string s = "a\r\nb\r\nc\r\n";
    for (double x : {v.AN, v.AM, v.AL, v.AK, v.F, v.T, v.TREAC, v.PREAC, v.HREAC, v.RMOLES, v.AVMR}) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g\r\n", x);
        s += buf;
    }
    return s;
}

// One of the programs: its executable and the names of its files.
struct Program {
    std::string exe, input_name, report_name;
    std::string console_ok() const {
        return "The results are stored in the file " + report_name + "\r\nStop - Program terminated.\r\n";
    }
};

struct Run {
    testing_support::ScratchDir dir;
    testing_support::RunResult result;
    std::string report;
};

inline void run(Run& r, const Program& p, const std::string& input_bytes) {
    r.result = testing_support::run_solver_in(r.dir, p.exe, p.input_name, input_bytes);
    r.report = r.dir.read(p.report_name);
}

// The run stopped normally, without a results section, the report ending in `tail`.
inline void expect_stopped_with(const Run& r, const Program& p, const std::string& tail) {
    EXPECT_EQ(r.result.status, 0);
    EXPECT_EQ(r.result.err, "");
    EXPECT_EQ(r.result.out, p.console_ok());
    EXPECT_EQ(r.report.find("FLAME TEMP."), std::string::npos);
    ASSERT_GE(r.report.size(), tail.size());
    EXPECT_EQ(r.report.substr(r.report.size() - tail.size()), tail) << r.report;
    EXPECT_EQ(r.report.find("nan"), std::string::npos);
    EXPECT_EQ(r.report.find("inf"), std::string::npos);
}

}  // namespace flame_run
