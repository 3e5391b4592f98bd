// The fixed-field read (X, F, I and the record end of a layout) on arbitrary records.
// The first byte gives the number of layout items, each of the next pairs one item:
// its kind and its width (and for F the implied decimals); the remaining bytes are the
// file. Every F value must be a finite number that the edit forms print soundly, and a
// CR put before every LF of the file must change nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "edit_checks.h"
#include "fuzz_support.h"
#include "reads.h"
#include "runend.h"
#include "units.h"

namespace {

struct Item {
    std::uint8_t kind, param;
};
std::vector<Item> g_layout;
std::vector<double> g_values;

void read_fields() {
    core::open_unit(core::UNIT_TABLES, "FIELDS.DAT", core::OpenStatus::Old);
    core::FieldReader r(core::UNIT_TABLES);
    for (Item item : g_layout) {
        const int w = 1 + (item.param & 15);
        switch (item.kind % 4) {
        case 0: r.X(item.param & 15); break;
        case 1: g_values.push_back(r.F(w, (item.param >> 4) & 7)); break;
        case 2: r.I(w); break;
        case 3: r.next_record(); break;
        }
    }
    core::stop_run();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    size_t items = 1 + data[0] % 16;
    if (size < 1 + 2 * items) return 0;
    g_layout.clear();
    for (size_t k = 0; k < items; ++k) g_layout.push_back({data[1 + 2 * k], data[2 + 2 * k]});
    const std::string_view file(reinterpret_cast<const char*>(data) + 1 + 2 * items, size - 1 - 2 * items);
    fuzz::run_reads("FIELDS.DAT", file, read_fields, g_values);
    for (double v : g_values) fuzz::check_edit_forms(v);
    return 0;
}
