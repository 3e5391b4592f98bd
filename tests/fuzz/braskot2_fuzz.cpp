// Whole braskot2 runs on arbitrary INPUT.UV bytes beside the shipped GPROP.DAT.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "uv.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enter_private_dir();
    fuzz::write_file("GPROP.DAT", fuzz::shipped("GPROP.DAT"));
    uv::configure_solver();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::write_file("INPUT.UV", data, size);
    fuzz::remove_file("OUTPUT.UV");  // a report left by the previous input would be judged again
    fuzz::Run r = fuzz::run(uv::BRASKOT2);
    // Report records 1, 2 and 4 echo the three titles (record 3 is a blank).
    fuzz::check_program_run(r, "INPUT.UV", "OUTPUT.UV", fuzz::read_file("OUTPUT.UV"), 4);
    return 0;
}
