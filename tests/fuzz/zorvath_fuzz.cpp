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
    const fuzz::ProgramRun p = fuzz::run_program_once(tp::ZORVATH, "OUTPUT.TP");
    const fuzz::Run& r = p.run;
    const std::string& report = p.report;
    fuzz::check_program_run(r, "INPUT.TP", "OUTPUT.TP", report, 1);
    // The echo begins with the title as read and a blank record.
    std::string_view input(reinterpret_cast<const char*>(data), size);
    fuzz::check_titles(report, fuzz::echoed_titles(input, 1) + " \r\n", "the title echo");
    fuzz::check_same_again(p, tp::ZORVATH, "OUTPUT.TP");
    return 0;
}
