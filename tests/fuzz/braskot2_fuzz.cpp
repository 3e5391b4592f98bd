// Whole braskot2 runs on arbitrary INPUT.UV bytes beside the shipped GPROP.DAT.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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
    // Report records 1, 2 and 4 echo the three titles; records 3 and 5 are blank.
    std::string report = fuzz::read_file("OUTPUT.UV");
    fuzz::check_program_run(r, "INPUT.UV", "OUTPUT.UV", report, 4);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string titles = fuzz::echoed_titles(input, 3);
    const size_t two = 2 * (72 + 2);
    fuzz::check_titles(report, titles.substr(0, two) + " \r\n" + titles.substr(two) + " \r\n", "the title echo");
    return 0;
}
