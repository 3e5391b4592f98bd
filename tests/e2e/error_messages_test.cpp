// The input/output error report names the line and the text at fault: each kind of
// read error, in INPUT.TP, INPUT.UV and GPROP.DAT, through the real programs; the whole
// report fits in the 256 bytes the launcher shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scratch.h"

using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

const std::string kTp = "methane\n1\n4\n0\n0\n1\n2000\n101325\n";

// The shipped GPROP.DAT with `text` written over its line `line` from column `column`
// on, or cut after `keep` lines.
std::string gprop(int line, size_t column, const std::string& text, int keep = 0) {
    const std::string shipped = testing_support::read_file(std::string(SUITE_DATA_DIR) + "/GPROP.DAT");
    std::string out;
    int n = 0;
    for (size_t at = 0; at < shipped.size(); ++n) {
        size_t end = shipped.find('\n', at) + 1;
        std::string rec = shipped.substr(at, end - at);
        if (keep > 0 && n == keep) break;
        if (n + 1 == line) rec.replace(column - 1, text.size(), text);
        out += rec;
        at = end;
    }
    return out;
}

struct Case {
    std::string input;   // the program's input file
    std::string tables;  // GPROP.DAT; empty: the shipped one
    const char* op;      // "READ(INPUT.TP)"
    std::string message;
    bool uv = false;
};

std::vector<Case> cases() {
    const std::string invalid = "invalid number: line ";
    return {
        {"t\n1\n4x\n0\n0\n1\n2000\n101325\n", "", "F2003: READ(INPUT.TP)",
         invalid + "3 holds '4x', which is not a decimal number"},
        {"t\n\n1\n\n4\n0\n0\nabc def\n2000\n101325\n", "",
         "F2003: READ(INPUT.TP)", invalid + "8 holds 'abc', which is not a decimal number"},
        {"t\n1\n4\n0\n0\n1\n" + std::string(50, 'x') + "\n101325\n", "",
         "F2003: READ(INPUT.TP)", invalid + "7 holds '" + std::string(40, 'x') + "...', which is not a decimal number"},
        {"t\n1\n4\n0*5\n0\n1\n2000\n101325\n", "", "F2004: READ(INPUT.TP)",
         "invalid repeat count: line 4 holds '0*5'; write r*value with r a positive integer"},
        {"t\n" + std::string(300, '1') + "\n4\n0\n0\n1\n2000\n101325\n", "", "F2005: READ(INPUT.TP)",
         "value too long: line 2 holds a value of 300 characters, more than 260"},
        {"t\n1\n4\n0\n0\n", "", "F2002: READ(INPUT.TP)",
         "end of file: INPUT.TP has 5 lines, the program reads a title and 7 values"},
        {"t\n1\n\n4\n0\n0\n1\n2000\n", "", "F2002: READ(INPUT.TP)",
         "end of file: INPUT.TP has 8 lines (1 of them blank), the program reads a title and 7 values"},
        {"a\nb\nc\n1\n4\n0\n0\n1\n2500\n298.15\n101325\n-74600kJ\n10.52\n27.6\n", "",
         "F2003: READ(INPUT.UV)", invalid + "12 holds '-74600kJ', which is not a decimal number", true},
        {kTp, gprop(2, 31, "abc       "), "F2003: READ(GPROP.DAT)",
         invalid + "2, columns 31-40 hold 'abc', which is not a decimal number"},
        {kTp, gprop(159, 16, "x"), "F2003: READ(GPROP.DAT)",
         invalid + "159, column 16 holds 'x', which is not a whole number"},
        {kTp, gprop(5, 12, "\x1a"), "F2006: READ(GPROP.DAT)",
         "Ctrl-Z (end-of-file mark) in a number field: line 5, columns 9-16"},
        {kTp, gprop(0, 0, "", 150), "F2002: READ(GPROP.DAT)",
         "end of file: GPROP.DAT has 150 lines, the program reads 207 lines"},
    };
}

TEST(ErrorMessages, NameTheLineAndTheTextAtFault) {
    for (const Case& c : cases()) {
        ScratchDir dir;
        if (c.tables.empty()) dir.copy_data("GPROP.DAT", "GPROP.DAT");
        else dir.write("GPROP.DAT", c.tables);
        dir.write(c.uv ? "INPUT.UV" : "INPUT.TP", c.input);
        const RunResult r = testing_support::run_in(dir, c.uv ? BRASKOT2_EXE : ZORVATH_EXE);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_EQ(r.err, "\r\nrun-time error " + std::string(c.op) + "\r\n- " + c.message + "\r\n") << c.message;
        EXPECT_LE(r.err.size(), 256u) << c.message;
    }
}

}  // namespace
