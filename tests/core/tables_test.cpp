// Loading GPROP.DAT: field rules, skipped columns, unit conversions and the failures
// that end a run, on small files written for each case.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "routines.h"
#include "runend.h"
#include "scratch.h"
#include "state.h"
#include "units.h"

using namespace core;
using testing_support::RunResult;
using testing_support::ScratchDir;

namespace {

// A crafted property file whose every point tells where it belongs:
//   species I, point J: enthalpy I + J/100 kcal/mol, heat capacity 2I + J/1000 cal/(mol K);
//   reaction K, point J: log10 K = J/10 - 10K; DHTO(I) = -I/2, except N2 (11) with 0.
// The constants are chosen so that the conversions give exact numbers.
constexpr double kGRCAL = 2.0, kCALTOJ = 4.0, kPSATM = 101325.0;

double h_point(int I, int J) { return I + J / 100.0; }
double cp_point(int I, int J) { return 2 * I + J / 1000.0; }
double logk_point(int K, int J) { return J / 10.0 - 10 * K; }
double dhto(int I) { return I == 11 ? 0.0 : -I / 2.0; }

std::string fmt(const char* f, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, f, v);
    return buf;
}

template <class Fn>
void add_points(std::vector<std::string>& recs, Fn value) {
    for (int first = 1; first <= 50; first += 9) {
        std::string r;
        for (int J = first; J <= 50 && J < first + 9; ++J) r += fmt("%8.3f", value(J));
        recs.push_back(r);
    }
}

// Record n of the file is element n-1.
std::vector<std::string> crafted_records() {
    std::vector<std::string> recs;
    recs.push_back("CRAFTED PROPERTY FILE");
    recs.push_back("GRCAL     " + fmt("%10.4f", kGRCAL) + "CALTOJ    " + fmt("%10.4f", kCALTOJ) + "PSATM     " +
                   fmt("%10.1f", kPSATM));
    for (int I = 1; I <= 12; ++I) {
        std::string name = "SPECIES " + std::to_string(I);
        name.resize(20, ' ');
        recs.push_back(name + fmt("%10.4f", 10.0 * I) + fmt("%10.4f", 99.0) + fmt("%10.4f", 88.0) +
                       fmt("%10.4f", dhto(I)));
        add_points(recs, [I](int J) { return h_point(I, J); });
        add_points(recs, [I](int J) { return cp_point(I, J); });
    }
    for (int K = 1; K <= 7; ++K) {
        recs.push_back("REACTION NUMBER" + std::to_string(K));
        add_points(recs, [K](int J) { return logk_point(K, J); });
    }
    return recs;
}

// Indices (0-based) into the record list.
int species_header(int I) { return 2 + (I - 1) * 13; }
int reaction_header(int K) { return 158 + (K - 1) * 7; }

std::string join(const std::vector<std::string>& recs) {
    std::string s;
    for (const auto& r : recs) s += r + "\r\n";
    return s;
}

// Loads the file in-process; DDATA, DDCON and DDAIR keep what TABLES left.
RunResult load(const std::string& bytes) {
    ScratchDir dir;
    dir.write("GPROP.DAT", bytes);
    return testing_support::run_inprocess_in(dir, [] { TABLES(); });
}

bool same_tables(const DDATA_t& a, const DDATA_t& b) {
    return std::memcmp(&a, &b, sizeof(DDATA_t)) == 0;
}

TEST(Tables, LoadsConstantsOxidizerAndConvertedTables) {
    RunResult r = load(join(crafted_records()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(DDCON.GRCAL, 2.0);
    EXPECT_EQ(DDCON.CALTOJ, 4.0);
    EXPECT_EQ(DDCON.PSATM, 101325.0);
    EXPECT_EQ(DDCON.RJOUL, 8000.0);  // GRCAL * CALTOJ * 1000
    EXPECT_EQ(DDAIR.QN2, 3.76);
    EXPECT_EQ(DDAIR.QAR, 0.0);
    EXPECT_EQ(DDAIR.QCO2, 0.0);
    EXPECT_EQ(DDAIR.QH2O, 0.0);

    // Hand values: H at point 1 of species 1 is (1.01 - 0.5) kcal/mol = 2.04e6 J/kmol;
    // Cp at point 50 of species 12 is 24.05 cal/(mol K) = 96200 J/(kmol K).
    EXPECT_NEAR(DDATA.HT(1, 1), 2.04e6, 1e-6);
    EXPECT_NEAR(DDATA.CT(50, 12), 96200.0, 1e-9);
    EXPECT_NEAR(DDATA.CKP(50, 7), -65.0, 1e-12);
    // N2 has no enthalpy offset: its points are only scaled.
    EXPECT_NEAR(DDATA.HT(20, 11), 11.2 * 4e6, 1e-6);

    for (int I = 1; I <= 12; ++I) {
        EXPECT_EQ(DDATA.SM(I), 10.0 * I);
        for (int J = 1; J <= 50; ++J) {
            EXPECT_NEAR(DDATA.HT(J, I), (h_point(I, J) + dhto(I)) * 4e6, 1e-6) << I << "," << J;
            EXPECT_NEAR(DDATA.CT(J, I), cp_point(I, J) * 4e3, 1e-9) << I << "," << J;
        }
    }
    for (int K = 1; K <= 7; ++K)
        for (int J = 1; J <= 50; ++J) EXPECT_NEAR(DDATA.CKP(J, K), logk_point(K, J), 1e-12) << K << "," << J;
}

TEST(Tables, ImpliedDecimalsOnlyInTheEightColumnFields) {
    std::vector<std::string> recs = crafted_records();
    // Species 1, enthalpy points 1 and 2: the digits 125 without and with the point;
    // point 3 negative without a point.
    std::string& h1 = recs[species_header(1) + 1];
    h1.replace(0, 24, "     125   0.125    -125");
    // 10-column fields take no implied decimals.
    recs[1].replace(10, 10, "         2");
    recs[species_header(1)].replace(20, 10, "       100");
    ASSERT_EQ(load(join(recs)).status, 0);

    EXPECT_EQ(DDCON.GRCAL, 2.0);
    EXPECT_EQ(DDATA.SM(1), 100.0);
    // Both read as 0.125 kcal/mol before the offset of -0.5 and the scaling.
    EXPECT_NEAR(DDATA.HT(1, 1), (0.125 - 0.5) * 4e6, 1e-6);
    EXPECT_EQ(DDATA.HT(1, 1), DDATA.HT(2, 1));
    EXPECT_NEAR(DDATA.HT(3, 1), (-0.125 - 0.5) * 4e6, 1e-6);
}

TEST(Tables, TextAndColumnsOutsideTheFieldsChangeNothing) {
    ASSERT_EQ(load(join(crafted_records())).status, 0);
    DDATA_t baseline = DDATA;

    std::vector<std::string> recs = crafted_records();
    recs[0] = "1.0 2.0 3.0  12345  GRCAL 9.9 - any text, numbers included";
    recs[1].replace(0, 10, "9999999999");  // the label columns
    recs[species_header(3)].replace(0, 20, std::string(20, ' '));
    recs[species_header(4)].replace(0, 20, "HYDROGNE  1.23      ");
    for (auto& r : recs)
        if (r.size() == 72) r += "12345678 99.999 JUNK";  // columns 73 and beyond
    recs[species_header(5) + 6] += "  99.999  99.999 JUNK";    // after the 5th value of a 6th record
    recs[reaction_header(2) + 6] += "  -1.000";
    recs[reaction_header(3)] = "REACTION 3 HERE      ";         // column 16 blank: reads as 0
    recs[reaction_header(4)].replace(0, 15, "123456789012345");
    recs.push_back("A 208TH RECORD, NEVER READ");
    RunResult r = load(join(recs));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(same_tables(DDATA, baseline));
    EXPECT_EQ(DDCON.RJOUL, 8000.0);
}

TEST(Tables, LeavesTheFileOpenAfterRecord207) {
    std::vector<std::string> recs = crafted_records();
    recs.push_back("RECORD 208");
    ScratchDir dir;
    dir.write("GPROP.DAT", join(recs));
    static std::string next;
    RunResult r = testing_support::run_inprocess_in(dir, [] {
        TABLES();
        next = std::string(read_record(UNIT_TABLES));
    });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(next, "RECORD 208");
}

TEST(Tables, ShortRecordGivesZerosForItsMissingFields) {
    // A record end ends a field early and the fields after it read as empty: only a
    // missing record, not a short one, is an end of file.
    std::vector<std::string> recs = crafted_records();
    recs[species_header(2) + 6].resize(24);  // points 46-48 only
    ASSERT_EQ(load(join(recs)).status, 0);
    EXPECT_EQ(DDATA.HT(49, 2), (0.0 + dhto(2)) * 4e6);  // an empty field is 0
    EXPECT_NEAR(DDATA.HT(48, 2), (h_point(2, 48) + dhto(2)) * 4e6, 1e-6);
}

// The driver's report holds its echo before TABLES runs; a failure keeps it.
void echo_then_tables() {
    open_unit(UNIT_REPORT, "OUTPUT.TP", OpenStatus::Unknown);
    write_record(UNIT_REPORT, "ECHO OF THE INPUT");
    TABLES();
    write_record(UNIT_REPORT, "NOT REACHED");
}

std::string report(IoOp op, int number, const std::string& message) {
    const char* name = op == IoOp::Open ? "OPEN(GPROP.DAT)" : "READ(GPROP.DAT)";
    return "\r\nrun-time error F" + std::to_string(number) + ": " + name + "\r\n- " + message + "\r\n";
}

TEST(TablesFailure, TruncatedFileEndsTheRunWithEndOfFile) {
    std::vector<std::string> recs = crafted_records();
    recs.resize(200);  // inside the last reaction block
    ScratchDir dir;
    dir.write("GPROP.DAT", join(recs));
    RunResult r = testing_support::run_inprocess_in(dir, echo_then_tables);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, report(IoOp::Read, 2002, "end of file: GPROP.DAT has 200 lines, the program reads 207 lines"));
    EXPECT_EQ(dir.read("OUTPUT.TP"), "ECHO OF THE INPUT\r\n");
}

TEST(TablesFailure, MissingFileEndsTheRunAtTheOpen) {
    ScratchDir dir;
    RunResult r = testing_support::run_inprocess_in(dir, echo_then_tables);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, report(IoOp::Open, 2001, io_error_message(IoError::FileNotFound)));
    EXPECT_EQ(dir.read("OUTPUT.TP"), "ECHO OF THE INPUT\r\n");
    EXPECT_EQ(DDAIR.QN2, 0.0);  // the open failed before the oxidizer was set
}

TEST(TablesFailure, FieldThatIsNotANumberEndsTheRun) {
    std::vector<std::string> recs = crafted_records();
    recs[species_header(6) + 8].replace(8, 8, "   1.2x4");
    ScratchDir dir;
    dir.write("GPROP.DAT", join(recs));
    RunResult r = testing_support::run_inprocess_in(dir, echo_then_tables);
    EXPECT_EQ(r.status, 1);
    const std::string line = std::to_string(species_header(6) + 9);
    EXPECT_EQ(r.err, report(IoOp::Read, 2003, "invalid number: line " + line + ", columns 9-16 hold '1.2x4', which is not a decimal number"));
    EXPECT_EQ(dir.read("OUTPUT.TP"), "ECHO OF THE INPUT\r\n");
}

}  // namespace
