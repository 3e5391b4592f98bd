// Reading rules of the text layer: records, the free-form read, text and fixed fields,
// and the input/output error report that ends a run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reads.h"
#include "runend.h"
#include "scratch.h"
#include "units.h"

using namespace core;
using testing_support::ScratchDir;

namespace {

// Reads values one free-form read each from a file holding the given bytes, starting
// every item at `initial`. Stops at the first failure, whose report lands in `err`.
struct FreeReads {
    std::vector<double> values;
    int status = 0;
    std::string err;
};

FreeReads free_reads(const std::string& bytes, int count, double initial = -7.0) {
    ScratchDir dir;
    dir.write("IN.DAT", bytes);
    FreeReads r;
    console_capture(nullptr, &r.err);
    try {
        open_unit(UNIT_INPUT, dir.file("IN.DAT"), OpenStatus::Old);
        for (int i = 0; i < count; ++i) {
            double v = initial;
            read_free(UNIT_INPUT, v);
            r.values.push_back(v);
        }
    } catch (const RunEnd& end) {
        r.status = end.status;
    }
    console_capture(nullptr, nullptr);
    release_all_units();
    return r;
}

double one(const std::string& line) {
    FreeReads r = free_reads(line, 1);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.values.empty() ? -999.0 : r.values[0];
}

// The error message line of a failed single read ("- ..." without CR LF).
std::string failure(const std::string& bytes, int count = 1) {
    FreeReads r = free_reads(bytes, count);
    EXPECT_EQ(r.status, 1);
    return r.err;
}

TEST(FreeFormRead, NumberSyntax) {
    EXPECT_EQ(one("8"), 8.0);
    EXPECT_EQ(one("8.0"), 8.0);
    EXPECT_EQ(one("-.5"), -0.5);
    EXPECT_EQ(one("+3."), 3.0);
    EXPECT_EQ(one("1.5E3"), 1500.0);
    EXPECT_EQ(one("1.5e+3"), 1500.0);
    EXPECT_EQ(one("1.5D3"), 1500.0);
    EXPECT_EQ(one("1.5d-3"), 0.0015);
    EXPECT_EQ(one("1.5+3"), 1500.0);   // a sign directly after the digits is an exponent
    EXPECT_EQ(one("25-1"), 2.5);
    EXPECT_EQ(one("101325.0"), 101325.0);
    EXPECT_EQ(one("1e-400"), 0.0);     // underflow reads as zero, not an error
}

TEST(FreeFormRead, TheValueIsTheFirstTokenOfItsLine) {
    EXPECT_EQ(one("300   degrees kelvin\r\n"), 300.0);
    EXPECT_EQ(one("8.0,carbon atoms"), 8.0);
    EXPECT_EQ(one("  \t8"), 8.0);
    EXPECT_EQ(one("8\tlabel"), 8.0);
    EXPECT_EQ(one("8/ comment"), 8.0);
    // Two values on a line: the second is skipped with the rest of the line.
    FreeReads r = free_reads("1 2\n3\n", 2);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.values, (std::vector<double>{1.0, 3.0}));
}

TEST(FreeFormRead, BlankRecordsAreSkipped) {
    FreeReads r = free_reads("\n  \n\t\r\n5\n\n\n6", 2);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.values, (std::vector<double>{5.0, 6.0}));
}

TEST(FreeFormRead, NullValuesKeepTheItem) {
    EXPECT_EQ(one(",5"), -7.0);
    EXPECT_EQ(one("  , 5"), -7.0);
    EXPECT_EQ(one("/"), -7.0);
    EXPECT_EQ(one("3*"), -7.0);
    EXPECT_EQ(one("3*,9"), -7.0);
    EXPECT_EQ(one("3*4.5"), 4.5);
    // The null value uses up its line: the next read takes the next line.
    FreeReads r = free_reads(",\n2\n", 2);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.values, (std::vector<double>{-7.0, 2.0}));
}

TEST(FreeFormRead, RecordEnds) {
    EXPECT_EQ(one("42"), 42.0);            // last record without a line end
    EXPECT_EQ(one("42\r"), 42.0);
    EXPECT_EQ(one("42\rjunk\n"), 42.0);    // a CR ends the text; the rest is skipped
    FreeReads r = free_reads("1\r\n2\n3\r\n", 3);
    EXPECT_EQ(r.values, (std::vector<double>{1.0, 2.0, 3.0}));
    // A zero byte after the line end lies in a record that is never read.
    EXPECT_EQ(one(std::string("7\r\n\0", 4)), 7.0);
}

// The message of an invalid value on the first line.
std::string invalid(const std::string& shown) {
    return "- invalid number: line 1 holds '" + shown + "', which is not a decimal number\r\n";
}

TEST(FreeFormRead, InvalidValuesEndTheRun) {
    for (std::string bad : {"300K", "1.2.3", "e5", ".", "-", "1.5E", "1.5E+", "0x10",
                            "inf", "nan", "1e400", "-1e999", "1.5e3x"}) {
        std::string err = failure(bad);
        EXPECT_NE(err.find(invalid(bad)), std::string::npos) << bad << " gave " << err;
    }
    std::string zero_byte = failure(std::string("8.0\0", 4));
    EXPECT_NE(zero_byte.find(invalid("8.0\\x00")), std::string::npos) << zero_byte;
    EXPECT_NE(failure("\x1a").find(invalid("\\x1A")), std::string::npos);
}

// A comma directly followed by a digit is taken for a decimal comma: the read fails
// with the fix, where reading the digits before it would give a wrong value. A comma
// followed by anything else still ends the value.
TEST(FreeFormRead, DecimalCommasEndTheRun) {
    const std::string lead = "- invalid number: line 1 holds ";
    const std::string list = ": a comma between digits; write one value a line, decimals with a point\r\n";
    struct Case {
        const char* line;
        std::string message;
    } cases[] = {
        {"2200,5", lead + "'2200,5': write decimals with a point, 2200.5\r\n"},
        {"0,8  equivalence ratio", lead + "'0,8': write decimals with a point, 0.8\r\n"},
        {"-74600,25/ kJ", lead + "'-74600,25': write decimals with a point, -74600.25\r\n"},
        {"2*3,5", lead + "'2*3,5': write decimals with a point, 2*3.5\r\n"},
        {"10,52E1", lead + "'10,52E1': write decimals with a point, 10.52E1\r\n"},
        {"1,2,3", lead + "'1,2,3'" + list},
        {"1.5,3", lead + "'1.5,3'" + list},
        {"1,5x", lead + "'1,5x'" + list},
        {"1,5K*2", lead + "'1,5K*2'" + list},  // an asterisk after the comma is no repeat count
    };
    for (const Case& c : cases) {
        const std::string err = failure(c.line);
        EXPECT_NE(err.find("run-time error F2003"), std::string::npos) << c.line;
        EXPECT_EQ(err.substr(err.find("- ")), c.message) << c.line;
    }
    // The line named is the value's own, blank lines counted.
    EXPECT_NE(failure("1\n\n2,5\n", 2).find("line 3 holds '2,5'"), std::string::npos);
    EXPECT_EQ(one("8,carbon atoms"), 8.0);
    EXPECT_EQ(one("8, 5"), 8.0);
    EXPECT_EQ(one("8,,5"), 8.0);
    EXPECT_EQ(one("8 ,5"), 8.0);
    EXPECT_EQ(one("8,"), 8.0);
    EXPECT_EQ(one(",5"), -7.0);  // a null value, as before
}

TEST(FreeFormRead, RepeatCountsAndLongValues) {
    const std::string bad_repeat = "- invalid repeat count";
    EXPECT_NE(failure("0*5").find(bad_repeat), std::string::npos);
    EXPECT_NE(failure("00*5").find(bad_repeat), std::string::npos);
    EXPECT_NE(failure("2*3*4").find(bad_repeat), std::string::npos);
    EXPECT_NE(failure("*5").find(bad_repeat), std::string::npos);
    EXPECT_NE(failure("x*5").find(bad_repeat), std::string::npos);
    EXPECT_EQ(one(std::string(259, '0') + "1"), 1.0);  // 260 characters fit
    EXPECT_NE(failure(std::string(261, '1')).find("- value too long"), std::string::npos);
    EXPECT_NE(failure(std::string(100000, '1')).find("- value too long"), std::string::npos);
}

TEST(ErrorReport, HasExactlyItsForm) {
    ScratchDir dir;
    dir.write("INPUT.TP", "title\n1\n");
    std::string err;
    console_capture(nullptr, &err);
    int status = 0;
    try {
        open_unit(UNIT_INPUT, dir.file("INPUT.TP"), OpenStatus::Old);
        read_record(UNIT_INPUT);
        double v = 0;
        read_free(UNIT_INPUT, v);
        read_free(UNIT_INPUT, v);
    } catch (const RunEnd& end) {
        status = end.status;
    }
    console_capture(nullptr, nullptr);
    release_all_units();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "\r\nrun-time error F2002: READ(" + dir.file("INPUT.TP") + ")\r\n- end of file: " +
                       dir.file("INPUT.TP") + " has 2 lines, fewer than the program reads\r\n");
}

TEST(ErrorReport, DetailedMessageKeepsTheLeadAndFitsTheLauncher) {
    std::string err;
    console_capture(nullptr, &err);
    try {
        io_failure(IoOp::Read, "INPUT.TP", IoError::InvalidNumber, std::string(400, 'd'));
    } catch (const RunEnd&) {
    }
    console_capture(nullptr, nullptr);
    const std::string start = "\r\nrun-time error F2003: READ(INPUT.TP)\r\n- invalid number: ddd";
    EXPECT_EQ(err.substr(0, start.size()), start);
    EXPECT_EQ(err.substr(err.size() - 3), "d\r\n");
    EXPECT_EQ(err.size(), kIoReportMax);
}

TEST(ErrorReport, OpenOfAMissingOldFile) {
    ScratchDir dir;
    std::string err;
    console_capture(nullptr, &err);
    int status = 0;
    try {
        open_unit(UNIT_TABLES, dir.file("GPROP.DAT"), OpenStatus::Old);
    } catch (const RunEnd& end) {
        status = end.status;
    }
    console_capture(nullptr, nullptr);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "\r\nrun-time error F2001: OPEN(" + dir.file("GPROP.DAT") + ")\r\n- file not found\r\n");
}

TEST(ErrorReport, EveryErrorHasItsOwnNumberAndMessage) {
    const IoError all[] = {IoError::FileNotFound, IoError::EndOfFile, IoError::InvalidNumber,
                           IoError::BadRepeatCount, IoError::ValueTooLong, IoError::CtrlZInField,
                           IoError::AccessRefused, IoError::DiskFull, IoError::OpenFailed,
                           IoError::ReadFailed, IoError::WriteFailed};
    for (size_t i = 0; i < std::size(all); ++i) {
        int n = io_error_number(all[i]);
        EXPECT_GE(n, 1000);
        EXPECT_LE(n, 9999);
        EXPECT_EQ(std::string(io_error_message(all[i])).find('\n'), std::string::npos);
        for (size_t j = 0; j < i; ++j) {
            EXPECT_NE(n, io_error_number(all[j]));
            EXPECT_STRNE(io_error_message(all[i]), io_error_message(all[j]));
        }
    }
}

// Text fields: A72 of a title line.
TEST(TextRead, TitleFieldIsSeventyTwoColumns) {
    ScratchDir dir;
    std::string longer(80, 'x');
    longer[71] = 'y';
    dir.write("T.DAT", "short title\r\n" + longer + "\n\nwith\ttab\0z\r\n");
    open_unit(UNIT_INPUT, dir.file("T.DAT"), OpenStatus::Old);
    EXPECT_EQ(read_text(UNIT_INPUT, 72, 72), "short title" + std::string(61, ' '));
    std::string cut = read_text(UNIT_INPUT, 72, 72);
    EXPECT_EQ(cut.size(), 72u);
    EXPECT_EQ(cut.back(), 'y');
    EXPECT_EQ(read_text(UNIT_INPUT, 72, 72), std::string(72, ' '));
    // A8 into a 4-character item skips the first 4 columns; tabs are taken as they are.
    EXPECT_EQ(read_text(UNIT_INPUT, 8, 4), "\ttab");
    release_all_units();
}

// Fixed-column fields of GPROP.DAT.
double field_F(const std::string& record, int w, int d) {
    ScratchDir dir;
    dir.write("F.DAT", record + "\r\n");
    open_unit(UNIT_TABLES, dir.file("F.DAT"), OpenStatus::Old);
    FieldReader in(UNIT_TABLES);
    double v = in.F(w, d);
    release_all_units();
    return v;
}

TEST(FieldRead, ImpliedDecimals) {
    EXPECT_DOUBLE_EQ(field_F("     125", 8, 3), 0.125);
    EXPECT_DOUBLE_EQ(field_F("   0.125", 8, 3), 0.125);
    EXPECT_DOUBLE_EQ(field_F("      -5", 8, 3), -0.005);
    EXPECT_DOUBLE_EQ(field_F("  125E02", 8, 3), 12.5);
    EXPECT_DOUBLE_EQ(field_F("       100", 10, 0), 100.0);
    EXPECT_DOUBLE_EQ(field_F("1 2 5    ", 8, 3), 0.125);  // blanks inside are ignored
    EXPECT_DOUBLE_EQ(field_F("        ", 8, 3), 0.0);
    EXPECT_DOUBLE_EQ(field_F("", 8, 3), 0.0);               // the record end stops the field
}

TEST(FieldRead, FieldsByColumnAndComma) {
    ScratchDir dir;
    dir.write("G.DAT", "LABEL     1.9872    X         4.184\r\n12,3456789\r\n-7     1\r\n");
    open_unit(UNIT_TABLES, dir.file("G.DAT"), OpenStatus::Old);
    FieldReader a(UNIT_TABLES);
    a.X(10);
    EXPECT_DOUBLE_EQ(a.F(10, 0), 1.9872);
    a.X(10);
    EXPECT_DOUBLE_EQ(a.F(10, 0), 4.184);
    EXPECT_DOUBLE_EQ(a.F(10, 0), 0.0);  // past the record end
    FieldReader b(UNIT_TABLES);
    EXPECT_DOUBLE_EQ(b.F(8, 3), 0.012);  // a comma ends the field and is used up
    EXPECT_DOUBLE_EQ(b.F(8, 3), 3456.789);
    FieldReader c(UNIT_TABLES);
    EXPECT_EQ(c.I(2), -7);
    c.X(5);
    EXPECT_EQ(c.I(1), 1);
    release_all_units();
}

TEST(FieldRead, BadFieldsEndTheRun) {
    for (const std::string& bad : std::vector<std::string>{"  12a   ", " 1.2.3  ", "  1\x1a", std::string("  1\0  ", 6)}) {
        ScratchDir dir;
        dir.write("B.DAT", bad + "\r\n");
        std::string err;
        console_capture(nullptr, &err);
        int status = 0;
        try {
            open_unit(UNIT_TABLES, dir.file("B.DAT"), OpenStatus::Old);
            FieldReader in(UNIT_TABLES);
            in.F(8, 3);
        } catch (const RunEnd& end) {
            status = end.status;
        }
        console_capture(nullptr, nullptr);
        release_all_units();
        EXPECT_EQ(status, 1) << bad;
        bool ctrl_z = bad.find('\x1a') != std::string::npos;
        EXPECT_NE(err.find(ctrl_z ? "Ctrl-Z" : "invalid number"), std::string::npos) << err;
    }
}

}  // namespace
