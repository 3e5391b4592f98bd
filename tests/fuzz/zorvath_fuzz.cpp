// Whole zorvath runs on arbitrary INPUT.TP bytes beside the shipped GPROP.DAT.
#include <cstddef>
#include <cstdint>

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
    fuzz::check_program_run(r, "INPUT.TP", "OUTPUT.TP", fuzz::read_file("OUTPUT.TP"), 1);
    return 0;
}
