// The results section shared by both reports: exact bytes of every line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "report.h"
#include "runend.h"
#include "scratch.h"
#include "state.h"
#include "units.h"

using namespace core;
using testing_support::ScratchDir;

namespace {

std::string section(std::span<const ResultLine> head, const char* title = "TITLE") {
    ScratchDir dir;
    open_unit(UNIT_REPORT, dir.file("OUT"), OpenStatus::Unknown);
    write_results(title, head);
    close_unit(UNIT_REPORT);
    return dir.read("OUT");
}

void set_state() {
    reset_run_state();
    PROP.H = -2.5e6;
    PROP.DHT = 1500.0;
    PROP.DUT = 1200.0;
    PROP.AVM = 28.123456;
    BLOC.X(13) = 0.0123456789;
    const double x[12] = {0.5, 0.25, 1.0, 0.0, -1e-9, 1e-12, 0.123456785, 0.99999999, 0.000000005, 1e-5, 0.7, 0.3};
    for (int i = 1; i <= 12; ++i) BLOC.X(i) = x[i - 1];
}

const char* kExpectedTail =
    "\r\n"
    "  The mole fractions of the product species are:\r\n"
    "\r\n"
    "  H:    .50000000  O:    .25000000  N:   1.00000000\r\n"
    "  H2:   .00000000  OH:   .00000000  CO:   .00000000\r\n"
    "  NO:   .12345679  O2:   .99999999  H2O:  .00000001\r\n"
    "  CO2:  .00001000  N2:   .70000000\r\n"
    "\r\n"
    "  Above properties printed below in a column for cut & paste:\r\n"
    "\r\n";

TEST(ResultsSection, FixedTemperatureLayout) {
    set_state();
    std::string expected = std::string(
        "  TITLE\r\n"
        "\r\n"
        "  Mixture Enthalpy [J/kg] =              -.2500E+07\r\n"
        "  Mixture Specific Heat, Cp [J/kg-K] =   .150000E+04\r\n"
        "  Specific Heat Ratio, Cp/Cv =           1.2500\r\n"
        "  Mixture Molecular Weight [kg/kmol] =   28.1235\r\n"
        "  Moles of Fuel per Mole of Products =   .01234568\r\n") +
        kExpectedTail +
        "   -.250000E+07\r\n"
        "    .150000E+04\r\n"
        "    .125000E+01\r\n"
        "    .281235E+02\r\n"
        "    .123457E-01\r\n"
        "    .500000E+00\r\n"
        "    .250000E+00\r\n"
        "    .100000E+01\r\n"
        "    .000000E+00\r\n"
        "   -.100000E-08\r\n"
        "    .100000E-11\r\n"
        "    .123457E+00\r\n"
        "    .100000E+01\r\n"
        "    .500000E-08\r\n"
        "    .100000E-04\r\n"
        "    .700000E+00\r\n";
    EXPECT_EQ(section({}), expected);
}

TEST(ResultsSection, HeadLinesLeadBothTheLinesAndTheColumn) {
    set_state();
    const ResultLine head[] = {
        {"Const-vol Flame Temperature [K] =    ", 2345.675, 'F', 10, 2},
        {"Pressure [Pa] =                      ", 8.5e5, 'E', 13, 6},
    };
    std::string s = section(head, "FLAME");
    const std::string top =
        "  FLAME\r\n"
        "\r\n"
        "  Const-vol Flame Temperature [K] =       2345.68\r\n"
        "  Pressure [Pa] =                        .850000E+06\r\n"
        "  Mixture Enthalpy [J/kg] =              -.2500E+07\r\n";
    EXPECT_EQ(s.substr(0, top.size()), top);
    size_t column = s.find("cut & paste:\r\n\r\n");
    ASSERT_NE(column, std::string::npos);
    EXPECT_EQ(s.substr(column + 16, 34), "    .234568E+04\r\n    .850000E+06\r\n");
}

TEST(ResultsSection, ZeroDivisorAndOversizedValuesShowAsterisks) {
    set_state();
    PROP.DHT = 0.0;
    PROP.DUT = 0.0;  // after a failed first solution
    PROP.AVM = 1.0e4;
    BLOC.X(13) = 9.999999996;
    std::string s = section({});
    EXPECT_NE(s.find("  Specific Heat Ratio, Cp/Cv =         ********\r\n"), std::string::npos);
    EXPECT_NE(s.find("  Mixture Molecular Weight [kg/kmol] = *********\r\n"), std::string::npos);
    EXPECT_NE(s.find("  Moles of Fuel per Mole of Products =  **********\r\n"), std::string::npos);
    EXPECT_NE(s.find("\r\n  *************\r\n"), std::string::npos);
    EXPECT_EQ(s.find("nan"), std::string::npos);
    EXPECT_EQ(s.find("inf"), std::string::npos);
}

}  // namespace
