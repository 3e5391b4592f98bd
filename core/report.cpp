#include "report.h"

#include <string>

#include "edit.h"
#include "state.h"
#include "units.h"

namespace core {

void write_blank_record(int unit) { write_record(unit, " "); }

void write_echo_intro(std::string_view input_name) {
    write_record(UNIT_REPORT, "  Data below are as read from the input file. Compare ");
    write_record(UNIT_REPORT, Record().lit("  with ").lit(input_name).lit(". If they do not agree, your input").text());
    write_record(UNIT_REPORT, "  data have not been entered correctly.");
    write_record(UNIT_REPORT, "");
}

void write_echo_values(std::span<const EchoLine> lines, int label_width) {
    for (const EchoLine& line : lines) {
        Record r;
        r.X(2).A(line.label);
        if (static_cast<int>(line.label.size()) < label_width)
            r.X(label_width - static_cast<int>(line.label.size()));
        r.F(line.value, line.w, line.d);
        write_record(UNIT_REPORT, r.text());
    }
    write_record(UNIT_REPORT, "");
}

namespace {

void write_line(const ResultLine& line) {
    Record r;
    r.X(2).lit(line.label);
    if (line.form == 'E') r.E(line.value, line.w, line.d);
    else r.F(line.value, line.w, line.d);
    write_record(UNIT_REPORT, r.text());
}

// Cp/Cv as printed: DHT over DUT at constant pressure, evaluated afresh at each use.
// After a failed first solution DUT is zero and the field shows asterisks.
double heat_capacity_ratio() { return PROP.DHT / PROP.DUT; }

}  // namespace

void write_results(std::string_view title, std::span<const ResultLine> head) {
    const PROP_t& p = PROP;
    const BLOC_t& b = BLOC;
    write_record(UNIT_REPORT, Record().X(2).lit(title).text());
    write_record(UNIT_REPORT, "");
    for (const ResultLine& line : head) write_line(line);
    const ResultLine properties[] = {
        {"Mixture Enthalpy [J/kg] =            ", p.H, 'E', 12, 4},
        {"Mixture Specific Heat, Cp [J/kg-K] = ", p.DHT, 'E', 13, 6},
        {"Specific Heat Ratio, Cp/Cv =         ", heat_capacity_ratio(), 'F', 8, 4},
        {"Mixture Molecular Weight [kg/kmol] = ", p.AVM, 'F', 9, 4},
        {"Moles of Fuel per Mole of Products =  ", b.X(13), 'F', 10, 8},
    };
    for (const ResultLine& line : properties) write_line(line);

    write_record(UNIT_REPORT, "");
    write_record(UNIT_REPORT, "  The mole fractions of the product species are:");
    write_record(UNIT_REPORT, "");
    static constexpr std::string_view kSpecies[11] = {"H:   ", "O:   ", "N:   ", "H2:  ", "OH:  ", "CO:  ",
                                                      "NO:  ", "O2:  ", "H2O: ", "CO2: ", "N2:  "};
    for (int first = 1; first <= 11; first += 3) {
        Record r;
        r.X(2);
        for (int i = first; i <= 11 && i < first + 3; ++i) {
            if (i != first) r.X(2);
            r.lit(kSpecies[i - 1]).F(b.X(i), 10, 8);
        }
        write_record(UNIT_REPORT, r.text());
    }

    write_record(UNIT_REPORT, "");
    write_record(UNIT_REPORT, "  Above properties printed below in a column for cut & paste:");
    write_record(UNIT_REPORT, "");
    auto column = [](double v) { write_record(UNIT_REPORT, Record().X(2).E(v, 13, 6).text()); };
    for (const ResultLine& line : head) column(line.value);
    column(p.H);
    column(p.DHT);
    column(heat_capacity_ratio());
    column(p.AVM);
    column(b.X(13));
    for (int i = 1; i <= 11; ++i) column(b.X(i));
}

}  // namespace core
