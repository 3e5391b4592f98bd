#include "report.h"

#include <string>

#include "edit.h"
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

}  // namespace core
