// Whole zorvath runs on arbitrary INPUT.TP bytes beside the shipped GPROP.DAT.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "tp.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    fuzz::write_file("GPROP.DAT", fuzz::shipped("GPROP.DAT"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::write_file("INPUT.TP", data, size);
    fuzz::remove_file("OUTPUT.TP");  // a report left by the previous input would be judged again
    fuzz::Run r = fuzz::run(tp::ZORVATH);
    std::string report = fuzz::read_file("OUTPUT.TP");
    fuzz::check_program_run(r, "INPUT.TP", "OUTPUT.TP", report, 1);
    // The echo begins with the title as read and a blank record.
    std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::check_titles(report, fuzz::echoed_titles(input, 1) + " \r\n", "the title echo");
    return 0;
}
