// The free-form read on arbitrary bytes of a file: up to eight values, one read each, as
// the drivers read theirs. Every value read must be a finite number, and each one is put
// through the report's edit forms, which must give a field of exactly its width that
// reads back as the value (or asterisks when the value cannot be printed). A CR put
// before every LF must change nothing. Each line is also converted whole as a number
// and compared with a conversion done apart; the values read and the way the reads end
// are compared with reads worked out apart (number_oracle).
#include <cstddef>
#include <cstdint>
#include <string>
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
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const fuzz::Run r = fuzz::run_reads("FREE.DAT", file, read_values, g_values);
    fuzz::require(r.status == 1 || g_values.size() == kReads, "a normal end before all values were read");
    // The same values and the same ending as the reads worked out apart.
    const fuzz::FreeReads expected = fuzz::reference_free_reads(file, kReads);
    fuzz::require(expected.values == g_values, "the values read differ from the reference reads");
    fuzz::require((r.status == 1) == (expected.error != 0), "the reads failed or succeeded against the reference");
    if (expected.error != 0)
        fuzz::require(r.err.find("run-time error F" + std::to_string(expected.error) + ":") != std::string::npos,
                      "the reads failed with another error than the reference reads");
    for (double v : g_values) fuzz::check_edit_forms(v);

    // Each of the first lines as a whole number text, with 0 to 3 implied decimals.
    std::string_view rest = file;
    for (int line = 0; line < kReads && !rest.empty(); ++line) {
        const size_t end = rest.find_first_of("\r\n");
        fuzz::check_number(rest.substr(0, end), line % 4);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return 0;
}
