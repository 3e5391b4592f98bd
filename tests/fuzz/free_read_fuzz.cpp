// The free-form read on arbitrary bytes of a file: up to eight values, one read each, as
// the drivers read theirs. Every value read must be a finite number, and each one is put
// through the report's edit forms, which must give a field of exactly its width that
// reads back as the value (or asterisks when the value cannot be printed). A CR put
// before every LF must change nothing. Each line is also converted whole as a number
// and compared with a conversion done apart.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "edit_checks.h"
#include "fuzz_support.h"
#include "number_oracle.h"
#include "reads.h"
#include "runend.h"
#include "units.h"

namespace {

constexpr int kReads = 8;
std::vector<double> g_values;

void read_values() {
    core::open_unit(core::UNIT_INPUT, "FREE.DAT", core::OpenStatus::Unknown);
    for (int k = 0; k < kReads; ++k) {
        double item = 0;  // a null value or a slash leaves it so
        core::read_free(core::UNIT_INPUT, item);
        g_values.push_back(item);
    }
    core::stop_run();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::write_file("FREE.DAT", data, size);
    g_values.clear();
    fuzz::Run r = fuzz::run(read_values);
    const std::vector<double> values = g_values;

    fuzz::write_file("FREE.DAT", fuzz::with_cr_before_lf({reinterpret_cast<const char*>(data), size}));
    g_values.clear();
    fuzz::Run crlf = fuzz::run(read_values);
    fuzz::require(crlf.status == r.status && crlf.err == r.err && g_values.size() == values.size(),
                  "CR LF line ends read otherwise than LF");
    for (size_t k = 0; k < values.size(); ++k)
        fuzz::require(std::memcmp(&g_values[k], &values[k], sizeof(double)) == 0, "CR LF line ends gave another value");

    std::string op = fuzz::check_ending(r, "FREE.DAT");
    fuzz::require(r.status == 1 ? op == "READ" : r.out == "Stop - Program terminated.\r\n",
                  "the reads ended otherwise than by a read failure or the stop");
    fuzz::require(r.status == 1 || g_values.size() == kReads, "a normal end before all values were read");
    for (double v : g_values) fuzz::check_edit_forms(v);

    // Each of the first lines as a whole number text, with 0 to 3 implied decimals.
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (int line = 0; line < kReads && !rest.empty(); ++line) {
        const size_t end = rest.find_first_of("\r\n");
        fuzz::check_number(rest.substr(0, end), line % 4);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return 0;
}
